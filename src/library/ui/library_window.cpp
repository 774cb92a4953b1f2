#include "library_window.h"

#include "record_table_model.h"

#include "browser/record_filter.h"
#include "stats/ui/figure_chart.h"

#include "widgets/named_widget.h"
#include "widgets/qt_user_messages.h"

#include <QAction>
#include <QBoxLayout>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cmath>

namespace kx {

// One indexing run on the worker thread, with a library connection of its own.
struct TFLibrary::IndexJob {
    LibraryLocation location;
    QStringList folders;
    std::atomic<int> found{0};
    std::atomic<int> toRead{0};
    std::atomic<int> read{0};
    std::atomic<bool> cancel{false};
    IndexResult result;
    QString openError;
};

namespace {

QTableWidgetItem* numberItem(double value) {
    auto* item = new QTableWidgetItem;
    item->setData(Qt::DisplayRole, value);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

} // namespace

TFLibrary::TFLibrary(QWidget* parent) : QWidget(parent), progressTimer_(new QTimer(this)) {
    setObjectName(QStringLiteral("FLibrary"));
    setWindowFlag(Qt::Window);
    setWindowTitle(QString::fromUtf8("Knihovna záznamů"));
    resize(980, 600);

    edPlayer_ = named(new QLineEdit(this), "edPlayer");
    edOpponent_ = named(new QLineEdit(this), "edOpponent");
    cbTeam_ = named(new QComboBox(this), "cbTeam");
    cbTeam_->addItems(
        {QString::fromUtf8("kterýkoli"), QStringLiteral("louka"), QStringLiteral("les")});
    edMap_ = named(new QLineEdit(this), "edMap");
    edSince_ = named(new QLineEdit(this), "edSince");
    edUntil_ = named(new QLineEdit(this), "edUntil");
    for (QLineEdit* date : {edSince_, edUntil_}) {
        date->setPlaceholderText(QStringLiteral("RRRR-MM-DD"));
        date->setMaximumWidth(110);
    }
    cbResult_ = named(new QComboBox(this), "cbResult");
    cbResult_->addItems({QString::fromUtf8("vše"), QString::fromUtf8("vyhrané"),
                         QString::fromUtf8("prohrané"), QString::fromUtf8("nedohrané")});
    // The length of a game in events; "—" (0) does not filter.
    for (QSpinBox** box : {&sbMinEvents_, &sbMaxEvents_}) {
        *box = new QSpinBox(this);
        (*box)->setRange(0, 999'999'999);
        (*box)->setSpecialValueText(QString::fromUtf8("—"));
        (*box)->setGroupSeparatorShown(true);
    }
    named(sbMinEvents_, "sbMinEvents");
    named(sbMaxEvents_, "sbMaxEvents");
    btnSearch_ = named(new QPushButton(this), "btnSearch");
    btnSearch_->setText(QString::fromUtf8("Hl&edat"));
    btnSearch_->setDefault(true);

    auto* searchRow = new QHBoxLayout;
    auto label = [this](const char* text, QWidget* buddy) {
        auto* l = new QLabel(QString::fromUtf8(text), this);
        l->setBuddy(buddy);
        return l;
    };
    searchRow->addWidget(label("&Hráč:", edPlayer_));
    searchRow->addWidget(edPlayer_, 2);
    searchRow->addWidget(label("&Soupeř:", edOpponent_));
    searchRow->addWidget(edOpponent_, 2);
    searchRow->addWidget(label("&Tým:", cbTeam_));
    searchRow->addWidget(cbTeam_);
    searchRow->addWidget(label("&Mapa:", edMap_));
    searchRow->addWidget(edMap_, 2);
    auto* searchRow2 = new QHBoxLayout;
    searchRow2->addWidget(label("&Od:", edSince_));
    searchRow2->addWidget(edSince_);
    searchRow2->addWidget(label("&Do:", edUntil_));
    searchRow2->addWidget(edUntil_);
    searchRow2->addWidget(label("&Výsledek:", cbResult_));
    searchRow2->addWidget(cbResult_);
    searchRow2->addWidget(label("Dé&lka (událostí):", sbMinEvents_));
    searchRow2->addWidget(sbMinEvents_);
    searchRow2->addWidget(new QLabel(QString::fromUtf8("až"), this));
    searchRow2->addWidget(sbMaxEvents_);
    searchRow2->addStretch(1);
    searchRow2->addWidget(btnSearch_);

    model_ = new RecordTableModel(this);
    sorted_ = new QSortFilterProxyModel(this);
    sorted_->setSourceModel(model_);
    sorted_->setSortRole(RecordTableModel::kSortRole);
    tvRecords_ = named(new QTableView(this), "tvRecords");
    tvRecords_->setModel(sorted_);
    tvRecords_->setSortingEnabled(true);
    tvRecords_->sortByColumn(RecordTableModel::Date, Qt::DescendingOrder);
    tvRecords_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tvRecords_->setSelectionMode(QAbstractItemView::SingleSelection);
    tvRecords_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvRecords_->verticalHeader()->hide();
    tvRecords_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    tvRecords_->horizontalHeader()->setStretchLastSection(true);
    // The row's actions, also from the context menu.
    tvRecords_->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* openAction = new QAction(QString::fromUtf8("&Otevřít"), tvRecords_);
    openAction->setObjectName(QStringLiteral("actLibraryOpen"));
    auto* folderAction = new QAction(QString::fromUtf8("&Ukázat ve složce"), tvRecords_);
    folderAction->setObjectName(QStringLiteral("actLibraryShowFolder"));
    tvRecords_->addActions({openAction, folderAction});
    connect(openAction, &QAction::triggered, this,
            [this] { openRow(tvRecords_->currentIndex().row()); });
    connect(folderAction, &QAction::triggered, this, [this] {
        const QString path = recordAt(tvRecords_->currentIndex().row());
        if (!path.isEmpty() && folderShower_)
            folderShower_(path);
    });

    tvPlayers_ = named(new QTableWidget(this), "tvPlayers");
    const QStringList playerColumns = {QString::fromUtf8("Hráč"),
                                       QString::fromUtf8("Her"),
                                       QString::fromUtf8("Výher"),
                                       QString::fromUtf8("Proher"),
                                       QString::fromUtf8("Za louku"),
                                       QString::fromUtf8("Výher za louku"),
                                       QString::fromUtf8("Za les"),
                                       QString::fromUtf8("Výher za les"),
                                       QString::fromUtf8("Úspěšnost (%)"),
                                       QString::fromUtf8("Prům. zkušenost"),
                                       QString::fromUtf8("Zničených velení"),
                                       QString::fromUtf8("Polí")};
    tvPlayers_->setColumnCount(static_cast<int>(playerColumns.size()));
    tvPlayers_->setHorizontalHeaderLabels(playerColumns);
    tvPlayers_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvPlayers_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tvPlayers_->verticalHeader()->hide();

    chart_ = named(new FigureChart(this), "chartExperience");
    auto* playersPage = new QSplitter(Qt::Vertical, this);
    playersPage->addWidget(tvPlayers_);
    playersPage->addWidget(chart_);

    tabs_ = named(new QTabWidget(this), "tabsLibrary");
    tabs_->addTab(tvRecords_, QString::fromUtf8("&Záznamy"));
    tabs_->addTab(playersPage, QString::fromUtf8("H&ráči"));

    edLibrary_ = named(new QLineEdit(this), "edLibrary");
    edLibrary_->setPlaceholderText(QString::fromUtf8("soubor knihovny nebo postgresql://…"));
    btnConnect_ = named(new QPushButton(this), "btnConnect");
    btnConnect_->setText(QString::fromUtf8("&Připojit"));
    btnAddFolder_ = named(new QPushButton(this), "btnAddFolder");
    btnAddFolder_->setText(QString::fromUtf8("Přid&at složku…"));
    btnReindex_ = named(new QPushButton(this), "btnReindex");
    btnReindex_->setText(QString::fromUtf8("O&bnovit"));
    pbIndex_ = named(new QProgressBar(this), "pbIndex");
    pbIndex_->hide();
    btnCancelIndex_ = named(new QPushButton(this), "btnCancelIndex");
    btnCancelIndex_->setText(QString::fromUtf8("Zrušit"));
    btnCancelIndex_->hide();
    lbLibraryStatus_ = named(new QLabel(this), "lbLibraryStatus");

    auto* libraryRow = new QHBoxLayout;
    libraryRow->addWidget(label("&Knihovna:", edLibrary_));
    libraryRow->addWidget(edLibrary_, 1);
    libraryRow->addWidget(btnConnect_);
    libraryRow->addWidget(btnAddFolder_);
    libraryRow->addWidget(btnReindex_);

    auto* statusRow = new QHBoxLayout;
    statusRow->addWidget(lbLibraryStatus_, 1);
    statusRow->addWidget(pbIndex_, 1);
    statusRow->addWidget(btnCancelIndex_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addLayout(searchRow2);
    layout->addWidget(tabs_, 1);
    layout->addLayout(libraryRow);
    layout->addLayout(statusRow);

    progressTimer_->setInterval(100);
    connect(progressTimer_, &QTimer::timeout, this, [this] { showProgress(); });
    connect(btnSearch_, &QPushButton::clicked, this, [this] { search(); });
    for (QLineEdit* edit : {edPlayer_, edOpponent_, edMap_, edSince_, edUntil_})
        connect(edit, &QLineEdit::returnPressed, this, [this] { search(); });
    for (QSpinBox* box : {sbMinEvents_, sbMaxEvents_})
        box->installEventFilter(this);
    connect(tvRecords_, &QTableView::activated, this,
            [this](const QModelIndex& index) { openRow(index.row()); });
    connect(tvPlayers_, &QTableWidget::cellActivated, this, [this](int row, int) {
        // A player's games: the search row set to the player.
        edPlayer_->setText(tvPlayers_->item(row, 0)->text());
        edOpponent_->clear();
        tabs_->setCurrentWidget(tvRecords_);
        search();
    });
    connect(tabs_, &QTabWidget::currentChanged, this, [this] {
        if (tabs_->currentIndex() == 1)
            showCareers();
    });
    connect(tvPlayers_, &QTableWidget::currentCellChanged, this,
            [this](int row) { showPlayerExperience(row); });
    connect(btnConnect_, &QPushButton::clicked, this,
            [this] { openLibrary(edLibrary_->text().trimmed()); });
    connect(btnAddFolder_, &QPushButton::clicked, this, [this] {
        const QString folder =
            chooser_ ? chooser_()
                     : QFileDialog::getExistingDirectory(this, QString::fromUtf8("Přidat složku"));
        if (!folder.isEmpty())
            addFolder(folder);
    });
    connect(btnReindex_, &QPushButton::clicked, this, [this] { reindex(); });
    connect(btnCancelIndex_, &QPushButton::clicked, this, [this] { cancelIndexing(); });
    setStatus();
}

TFLibrary::~TFLibrary() {
    if (thread_) {
        job_->cancel = true;
        thread_->wait();
        delete thread_;
    }
}

void TFLibrary::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!library_)
        openLibrary(edLibrary_->text().trimmed());
}

void TFLibrary::showError(const QString& text) {
    if (messages_) {
        messages_->showMessage(text);
        return;
    }
    QtUserMessages boxes(this);
    boxes.showMessage(text);
}

bool TFLibrary::openLibrary(const QString& location) {
    if (indexing())
        return false;
    QString error;
    const std::optional<LibraryLocation> parsed = parseLibraryLocation(location, &error);
    if (!parsed) {
        showError(error);
        return false;
    }
    QString notice;
    std::unique_ptr<Library> opened = Library::open(*parsed, &error, &notice);
    if (!notice.isEmpty())
        showError(notice);
    if (!opened) {
        showError(error);
        return false;
    }
    library_ = std::move(opened);
    edLibrary_->setText(location);
    search();
    setStatus();
    return true;
}

void TFLibrary::setStatus() {
    if (indexing())
        return;
    if (!library_) {
        lbLibraryStatus_->setText(QString::fromUtf8("Knihovna není otevřena."));
    } else {
        const QStringList folders = library_->folders();
        lbLibraryStatus_->setText(
            folders.isEmpty()
                ? QString::fromUtf8("Knihovna je prázdná: přidejte složku se záznamy.")
                : QString::fromUtf8("%1 · %2 záznamů ve složkách: %3")
                      .arg(library_->location().displayName())
                      .arg(library_->recordCount())
                      .arg(folders.join(QStringLiteral(", "))));
    }
    btnAddFolder_->setEnabled(library_ != nullptr);
    btnReindex_->setEnabled(library_ != nullptr);
    btnConnect_->setEnabled(true);
}

bool TFLibrary::eventFilter(QObject* watched, QEvent* event) {
    // Enter in a length box searches, as it does in the text fields.
    if (event->type() == QEvent::KeyPress && (watched == sbMinEvents_ || watched == sbMaxEvents_)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            static_cast<QSpinBox*>(watched)->interpretText();
            search();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool TFLibrary::search() {
    if (!library_)
        return false;
    RecordQuery query;
    query.player = edPlayer_->text().trimmed();
    query.opponent = edOpponent_->text().trimmed();
    query.team = cbTeam_->currentIndex() == 0 ? QString() : cbTeam_->currentText();
    query.map = edMap_->text().trimmed();
    for (auto [edit, date] : {std::pair{edSince_, &query.since}, {edUntil_, &query.until}}) {
        const QString text = edit->text().trimmed();
        if (text.isEmpty())
            continue;
        *date = QDate::fromString(text, Qt::ISODate);
        if (!date->isValid() || text.size() != 10) {
            showError(QString::fromUtf8("Neplatné datum: %1 (čekám RRRR-MM-DD)").arg(text));
            edit->setFocus();
            return false;
        }
    }
    query.result = static_cast<RecordQuery::Result>(cbResult_->currentIndex());
    if (sbMinEvents_->value() > 0)
        query.minEvents = sbMinEvents_->value();
    if (sbMaxEvents_->value() > 0)
        query.maxEvents = sbMaxEvents_->value();
    std::vector<RecordEntry> found = library_->query(query, false);
    if (!library_->lastError().isEmpty()) {
        showError(library_->lastError());
        return false;
    }
    model_->setEntries(std::move(found));
    tvRecords_->resizeColumnsToContents();
    // A long map or world name keeps to a readable width (the tool tip has the whole path),
    // so that the winner stays in view.
    const int widest = std::max(120, tvRecords_->viewport()->width() / 4);
    for (int column = 0; column < model_->columnCount(); ++column)
        if (tvRecords_->columnWidth(column) > widest)
            tvRecords_->setColumnWidth(column, widest);
    if (tabs_->currentIndex() == 1)
        showCareers();
    return true;
}

void TFLibrary::showCareers() {
    if (!library_)
        return;
    const std::vector<PlayerCareer> careers = library_->careers();
    tvPlayers_->setSortingEnabled(false);
    tvPlayers_->setRowCount(static_cast<int>(careers.size()));
    for (int row = 0; row < static_cast<int>(careers.size()); ++row) {
        const PlayerCareer& c = careers[static_cast<size_t>(row)];
        tvPlayers_->setItem(row, 0, new QTableWidgetItem(c.name));
        const double values[] = {double(c.games()),
                                 double(c.wins()),
                                 double(c.losses()),
                                 double(c.gamesLouka),
                                 double(c.winsLouka),
                                 double(c.gamesLes),
                                 double(c.winsLes),
                                 std::round(c.winRate() * 1000) / 10,
                                 std::round(c.averageExperience),
                                 double(c.kills),
                                 double(c.fields)};
        for (int k = 0; k < 11; ++k)
            tvPlayers_->setItem(row, k + 1, numberItem(values[k]));
    }
    tvPlayers_->setSortingEnabled(true);
    tvPlayers_->resizeColumnsToContents();
}

void TFLibrary::showPlayerExperience(int row) {
    experience_ = WorldFigures();
    QTableWidgetItem* item = row >= 0 ? tvPlayers_->item(row, 0) : nullptr;
    if (library_ && item) {
        // The player's games from the oldest, one row each at the game's start, the figure
        // drawn being the experience the player earned in it.
        RecordQuery query;
        query.player = item->text();
        std::vector<RecordEntry> games = library_->query(query);
        std::sort(games.begin(), games.end(), [](const RecordEntry& a, const RecordEntry& b) {
            return a.firstTime < b.firstTime;
        });
        const QString key = foldForMatching(item->text());
        experience_.players.push_back({item->text(), QString(), item->text(), false});
        int64_t firstHour = -1;
        for (const RecordEntry& game : games) {
            const QDateTime start = QDateTime::fromString(game.firstTime, Qt::ISODate);
            if (!start.isValid())
                continue;
            const int64_t hour = start.toSecsSinceEpoch() / 3600;
            if (firstHour < 0)
                firstHour = hour;
            for (const EntryPlayer& p : game.players) {
                if (foldForMatching(p.name) != key)
                    continue;
                experience_.rowHours.push_back(std::max(
                    hour - firstHour,
                    experience_.rowHours.empty() ? int64_t{0} : experience_.rowHours.back()));
                experience_.rowTimes.push_back(
                    start.toString(QStringLiteral("yyyy-dd-MM-hh-mm-ss")).toLatin1());
                experience_.values.insert(experience_.values.end(), {p.experience, 0, 0, 0});
                break;
            }
        }
        experience_.eventCount = static_cast<qsizetype>(experience_.rowHours.size());
        experience_.valid = !experience_.rowHours.empty();
    }
    chart_->setView({&experience_, Figure::Nectar,
                     experience_.valid ? std::vector<int>{0} : std::vector<int>{}});
}

QString TFLibrary::recordAt(int row) const {
    const QModelIndex index = sorted_->mapToSource(sorted_->index(row, 0));
    return index.isValid() ? model_->entry(index.row()).path : QString();
}

void TFLibrary::openRow(int row) {
    const QString path = recordAt(row);
    if (!path.isEmpty() && opener_)
        opener_(path);
}

void TFLibrary::addFolder(const QString& folder) {
    startIndexing({folder});
}

void TFLibrary::reindex() {
    if (library_)
        startIndexing(library_->folders());
}

void TFLibrary::cancelIndexing() {
    if (job_)
        job_->cancel = true;
}

void TFLibrary::startIndexing(const QStringList& folders) {
    if (!library_ || indexing() || folders.isEmpty())
        return;
    job_ = std::make_shared<IndexJob>();
    job_->location = library_->location();
    job_->folders = folders;
    std::shared_ptr<IndexJob> job = job_;
    thread_ = QThread::create([job] {
        std::unique_ptr<Library> own = Library::open(job->location, &job->openError);
        if (!own)
            return;
        job->result = indexFolders(
            *own, job->folders,
            [&job](const IndexProgress& p) {
                job->found = p.found;
                job->toRead = p.toRead;
                job->read = p.read;
            },
            &job->cancel);
    });
    connect(thread_, &QThread::finished, this, [this] { indexingFinished(); });
    btnConnect_->setEnabled(false);
    btnAddFolder_->setEnabled(false);
    btnReindex_->setEnabled(false);
    pbIndex_->setRange(0, 0);
    pbIndex_->show();
    btnCancelIndex_->show();
    showProgress();
    progressTimer_->start();
    thread_->start();
}

void TFLibrary::showProgress() {
    if (!job_)
        return;
    const int toRead = job_->toRead;
    const int read = job_->read;
    if (toRead > 0) {
        pbIndex_->setRange(0, toRead);
        pbIndex_->setValue(read);
        lbLibraryStatus_->setText(QString::fromUtf8("Čtu záznamy: %1 z %2").arg(read).arg(toRead));
    } else {
        lbLibraryStatus_->setText(QString::fromUtf8("Hledám záznamy: %1").arg(job_->found.load()));
    }
}

void TFLibrary::indexingFinished() {
    progressTimer_->stop();
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
    std::shared_ptr<IndexJob> job = std::move(job_);
    pbIndex_->hide();
    btnCancelIndex_->hide();
    setStatus();
    search();
    if (!job->openError.isEmpty())
        showError(job->openError);
    if (!job->result.errors.isEmpty())
        showError(job->result.errors.join(u'\n'));
}

} // namespace kx
