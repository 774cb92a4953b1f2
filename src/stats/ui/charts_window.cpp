#include "charts_window.h"

#include "figure_chart.h"

#include "records/atomic_file.h"
#include "records/file_path.h"
#include "replay/session.h"
#include "stats/figures_csv.h"
#include "widgets/qt_user_messages.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <atomic>

namespace kx {

namespace {

QIcon swatch(const QColor& colour) {
    QPixmap pixmap(14, 14);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

} // namespace

TFCharts::TFCharts(ReplaySession& session, QWidget* parent, FigureWorker* worker)
    : QWidget(parent), session_(session),
      worker_(worker ? worker : new FigureWorker(session, this)), progressTimer_(new QTimer(this)) {
    setObjectName(QStringLiteral("FCharts"));
    // A window of its own even when a parent owns it.
    setWindowFlag(Qt::Window);
    setWindowTitle(QString::fromUtf8("Grafy světa"));
    resize(900, 560);

    lbChartPlayers_ = new QListWidget(this);
    lbChartPlayers_->setObjectName(QStringLiteral("lbChartPlayers"));
    lbChartPlayers_->setMaximumWidth(220);
    cbFigure_ = new QComboBox(this);
    cbFigure_->setObjectName(QStringLiteral("cbFigure"));
    cbFigure_->addItems({QString::fromUtf8("Nektar"), QString::fromUtf8("Tahy"),
                         QString::fromUtf8("Území (m2)"),
                         QString::fromUtf8("Hodinová produkce (ml/hod)")});
    chart_ = new FigureChart(this);
    chart_->setObjectName(QStringLiteral("pnChart"));
    pbCharts_ = new QProgressBar(this);
    pbCharts_->setObjectName(QStringLiteral("pbCharts"));
    pbCharts_->setRange(0, 100);
    pbCharts_->hide();
    lbChartStatus_ = new QLabel(this);
    lbChartStatus_->setObjectName(QStringLiteral("lbChartStatus"));
    btnExportFigures_ = new QPushButton(QString::fromUtf8("Uložit průběh do CSV…"), this);
    btnExportFigures_->setObjectName(QStringLiteral("btnExportFigures"));
    btnExportSummary_ = new QPushButton(QString::fromUtf8("Uložit souhrn do CSV…"), this);
    btnExportSummary_->setObjectName(QStringLiteral("btnExportSummary"));

    auto* figureLabel = new QLabel(QString::fromUtf8("&Údaj:"), this);
    figureLabel->setBuddy(cbFigure_);
    auto* playersLabel = new QLabel(QString::fromUtf8("&Hráči:"), this);
    playersLabel->setBuddy(lbChartPlayers_);

    auto* side = new QVBoxLayout;
    side->addWidget(figureLabel);
    side->addWidget(cbFigure_);
    side->addWidget(playersLabel);
    side->addWidget(lbChartPlayers_, 1);
    side->addWidget(btnExportFigures_);
    side->addWidget(btnExportSummary_);
    auto* main = new QVBoxLayout;
    main->addWidget(chart_, 1);
    auto* status = new QHBoxLayout;
    status->addWidget(lbChartStatus_, 1);
    status->addWidget(pbCharts_);
    main->addLayout(status);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(side);
    layout->addLayout(main, 1);

    connect(cbFigure_, &QComboBox::currentIndexChanged, this, [this] { updateChart(); });
    connect(lbChartPlayers_, &QListWidget::itemChanged, this, [this] { updateChart(); });
    connect(btnExportFigures_, &QPushButton::clicked, this, [this] { exportClicked(false); });
    connect(btnExportSummary_, &QPushButton::clicked, this, [this] { exportClicked(true); });
    progressTimer_->setInterval(100);
    connect(progressTimer_, &QTimer::timeout, this,
            [this] { pbCharts_->setValue(worker_->progress()); });
    connect(worker_, &FigureWorker::finished, this, [this] { jobFinished(); });
    showFigures();
}

TFCharts::~TFCharts() = default;

void TFCharts::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refresh();
}

void TFCharts::refresh() {
    worker_->refresh();
    if (worker_->computing())
        showComputing();
    else
        showFigures();
}

void TFCharts::showComputing() {
    lbChartStatus_->setText(QString::fromUtf8("Počítám průběh světa…"));
    pbCharts_->setValue(worker_->progress());
    pbCharts_->show();
    btnExportFigures_->setEnabled(false);
    btnExportSummary_->setEnabled(false);
    progressTimer_->start();
}

void TFCharts::jobFinished() {
    if (worker_->computing()) // the record changed while the pass ran
        return;
    progressTimer_->stop();
    pbCharts_->hide();
    showFigures();
}

void TFCharts::showFigures() {
    const FigureCache& cache = worker_->cache();
    const WorldFigures& f = cache.cached();
    const bool have = !session_.state().lvData.isEmpty() && f.valid && cache.isCurrent(session_);
    const QSignalBlocker blocker(lbChartPlayers_);
    lbChartPlayers_->clear();
    if (have) {
        for (int i = 0; i < f.playerCount(); ++i) {
            auto* item = new QListWidgetItem(swatch(playerColour(f, i)),
                                             f.players[static_cast<size_t>(i)].entry);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
            item->setCheckState(Qt::Checked);
            lbChartPlayers_->addItem(item);
        }
        lbChartStatus_->setText(
            QString::fromUtf8("%1 událostí, %2 hodin hry")
                .arg(f.eventCount)
                .arg(f.rowHours.empty() ? 0 : f.rowHours.back() + f.hoursPerRow));
    } else if (session_.state().lvData.isEmpty()) {
        lbChartStatus_->setText(QString::fromUtf8("Není načten žádný záznam."));
    } else if (cache.isCurrent(session_)) {
        lbChartStatus_->setText(QString::fromUtf8("Záznam je poškozen, průběh nelze spočítat."));
    }
    btnExportFigures_->setEnabled(have);
    btnExportSummary_->setEnabled(have);
    updateChart();
}

std::vector<int> TFCharts::chosenPlayers() const {
    std::vector<int> players;
    for (int i = 0; i < lbChartPlayers_->count(); ++i)
        if (lbChartPlayers_->item(i)->checkState() == Qt::Checked)
            players.push_back(i);
    return players;
}

void TFCharts::updateChart() {
    const bool have = lbChartPlayers_->count() > 0;
    chart_->setView({have ? &worker_->cache().cached() : nullptr,
                     static_cast<Figure>(std::max(0, cbFigure_->currentIndex())), chosenPlayers()});
}

void TFCharts::showError(const QString& text) {
    if (messages_) {
        messages_->showMessage(text);
        return;
    }
    QtUserMessages boxes(this);
    boxes.showMessage(text);
}

bool TFCharts::writeFile(const QString& path, const QByteArray& bytes) {
    const QString failure = writeFileAtomically(path, bytes);
    if (!failure.isEmpty()) {
        showError(QString::fromUtf8("Soubor nelze uložit:\n%1\n%2")
                      .arg(QDir::toNativeSeparators(path), failure));
        return false;
    }
    return true;
}

bool TFCharts::exportFigures(const QString& path) {
    return writeFile(path, figuresCsv(worker_->cache().cached(), chosenPlayers()));
}

bool TFCharts::exportSummary(const QString& path) {
    return writeFile(path, summaryCsv(worker_->cache().cached()));
}

void TFCharts::exportClicked(bool summary) {
    if (!worker_->cache().isCurrent(session_) || !worker_->cache().cached().valid)
        return;
    if (!summary && chosenPlayers().empty()) {
        showError(QString::fromUtf8("Vyberte alespoň jednoho hráče."));
        return;
    }
    const QFileInfo record(session_.state().dlgOpen.fileName);
    const QString name =
        childPath(record.absolutePath(),
                  record.completeBaseName() +
                      (summary ? QStringLiteral("_souhrn.csv") : QStringLiteral("_prubeh.csv")));
    const QString caption = summary ? QString::fromUtf8("Uložit souhrn konce světa")
                                    : QString::fromUtf8("Uložit průběh hráčů");
    const QString path =
        chooser_ ? chooser_(caption, name)
                 : QFileDialog::getSaveFileName(this, caption, name,
                                                QString::fromUtf8("Soubory CSV (*.csv)"));
    if (path.isEmpty())
        return;
    if (summary)
        exportSummary(path);
    else
        exportFigures(path);
}

} // namespace kx
