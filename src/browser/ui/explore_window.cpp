#include "explore_window.h"

#include "directory_outline.h"
#include "widgets/elided_label.h"

#include "browser/record_filter.h"
#include "browser/record_list.h"
#include "browser/record_summary.h"
#include "records/file_path.h"
#include "widgets/named_widget.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace kx {

namespace {

constexpr int kFileNameRole = Qt::UserRole;       // a row's real file name
constexpr int kFilterTextRole = Qt::UserRole + 1; // a row's texts folded for the filter
const QString kLastFolderKey = QStringLiteral("browser/lastFolder");

// A summary value: a long text is shortened to the pane's width, never widens it.
ElidedLabel* valueLabel(const char* name) {
    auto* label = named(new ElidedLabel, name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

TFExplore::TFExplore(QWidget* parent) : QDialog(parent), boxes_(this), messages_(&boxes_) {
    setObjectName(QStringLiteral("FExplore"));
    setWindowTitle(QString::fromUtf8("Kexland Review - Prohlížeč záznamů"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    cdo_ =
        named(new TCDirectoryOutline(this, TCDirectoryOutline::tcAsIs, collationLocale()), "cdo");
    cdo_->setMinimumWidth(161);
    connect(cdo_, &TCDirectoryOutline::OnDblClick, this, &TFExplore::cdoDblClick);

    lvMaps_ = named(new QTreeWidget, "lvMaps");
    lvMaps_->setColumnCount(4);
    lvMaps_->setHeaderLabels({QStringLiteral("Mapa"), QStringLiteral("Datum"),
                              QStringLiteral("soubor"), QStringLiteral("Typ")});
    // The layout's widths, or what a date and a type need in a wider font.
    const QFontMetrics metrics = lvMaps_->fontMetrics();
    lvMaps_->setColumnWidth(0, 120);
    lvMaps_->setColumnWidth(
        1, std::max(80, metrics.horizontalAdvance(QStringLiteral("00. 00. 0000")) + 14));
    lvMaps_->setColumnHidden(2, true);
    lvMaps_->setColumnWidth(3,
                            std::max(40, metrics.horizontalAdvance(QStringLiteral("kxr2")) + 14));
    lvMaps_->header()->setSectionsClickable(false);
    lvMaps_->setRootIsDecorated(false);
    lvMaps_->setUniformRowHeights(true);
    lvMaps_->setAllColumnsShowFocus(true);
    lvMaps_->setSelectionMode(QAbstractItemView::SingleSelection);
    lvMaps_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvMaps_->setMinimumWidth(200);
    connect(lvMaps_, &QTreeWidget::itemSelectionChanged, this, [this] {
        const QList<QTreeWidgetItem*> selected = lvMaps_->selectedItems();
        if (!selected.isEmpty())
            lvMapsSelectItem(selected.first(), true);
    });

    Button2_ = named(new QPushButton(QString::fromUtf8("&Otevřít")), "Button2");
    Button2_->setDefault(true);
    connect(Button2_, &QPushButton::clicked, this, &TFExplore::Button2Click);
    Button1_ = named(new QPushButton(QStringLiteral("OK")), "Button1");
    Button1_->setAutoDefault(false);
    connect(Button1_, &QPushButton::clicked, this, &TFExplore::Button1Click);

    btnRefresh_ = named(new QPushButton(QStringLiteral("Obnovit")), "btnRefresh");
    btnRefresh_->setAutoDefault(false);
    btnRefresh_->setToolTip(
        QString::fromUtf8("Znovu načte složky stromu a záznamy vypsané složky (F5)"));
    connect(btnRefresh_, &QPushButton::clicked, this, &TFExplore::btnRefreshClick);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnRefresh_);
    buttons->addStretch(1);
    buttons->addWidget(Button2_);
    buttons->addWidget(Button1_);
    auto* right = new QVBoxLayout;
    right->addWidget(buildInfo(), 1);
    right->addLayout(buttons);

    edFilter_ = named(new QLineEdit, "edFilter");
    edFilter_->setPlaceholderText(QString::fromUtf8("Hledat mapu nebo datum"));
    edFilter_->setClearButtonEnabled(true);
    edFilter_->setToolTip(
        QString::fromUtf8("Ukáže jen záznamy, jejichž mapa nebo datum obsahuje všechna slova"));
    connect(edFilter_, &QLineEdit::textChanged, this, &TFExplore::applyFilter);
    auto* list = new QVBoxLayout;
    list->addWidget(edFilter_);
    list->addWidget(lvMaps_, 1);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(cdo_, 161);
    layout->addLayout(list, 273);
    layout->addLayout(right);
    resize(sizeHint().expandedTo(QSize(679, 373)));
}

QWidget* TFExplore::buildInfo() {
    gbInfo_ = named(new QGroupBox(QString::fromUtf8(" Podrobné informace o mapě ")), "gbInfo");
    lbMN_ = valueLabel("lbMN");
    QFont bold = lbMN_->font();
    bold.setBold(true);
    lbMN_->setFont(bold);
    lbMR_ = valueLabel("lbMR");
    lbMS_ = valueLabel("lbMS");
    lbML_ = valueLabel("lbML");
    lbTR_ = valueLabel("lbTR");
    lbTS_ = valueLabel("lbTS");
    lbPl_ = named(new QListWidget, "lbPl");
    lbPl_->setFixedSize(145, 145);

    auto* grid = new QGridLayout(gbInfo_);
    const std::pair<const char*, QWidget*> rows[] = {
        {"Jméno", lbMN_},     {"Velikost", lbMR_}, {"Rychlost", lbMS_}, {"Limit", lbML_},
        {"Recyklace", lbTR_}, {"Spušteno", lbTS_}, {"Hráči", lbPl_}};
    int row = 0;
    for (const auto& [caption, value] : rows) {
        auto* label = new QLabel(QString::fromUtf8(caption));
        label->setObjectName(QStringLiteral("Label%1").arg(row + 1));
        grid->addWidget(label, row, 0, Qt::AlignLeft | Qt::AlignTop);
        // The values take the column's width, in which a long text is shortened.
        grid->addWidget(value, row, 1,
                        value == lbPl_ ? Qt::AlignLeft | Qt::AlignTop : Qt::AlignTop);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row - 1, 1);
    return gbInfo_;
}

void TFExplore::setMessages(UserMessages* messages) {
    messages_ = messages ? messages : &boxes_;
}

void TFExplore::setFolderMemory(QSettings* settings) {
    folderMemory_ = settings;
    if (!settings)
        return;
    const QString folder = settings->value(kLastFolderKey).toString();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return;
    // Only where the browser opens: the process's directory stays where the program was
    // started (a relative record path on the command line is read from there) until the user
    // chooses a folder in the tree.
    cdo_->ShowDirectory(folder);
    listRememberedFolder_ = cdo_->Directory() == QDir(folder).absolutePath();
    if (listRememberedFolder_ && isVisible()) {
        listRememberedFolder_ = false;
        cdoDblClick();
    }
}

void TFExplore::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (listRememberedFolder_) {
        listRememberedFolder_ = false;
        cdoDblClick();
    }
}

bool TFExplore::showFolder(const QString& folder) {
    const QString path = QDir(folder).absolutePath();
    if (!QFileInfo(path).isDir())
        return false;
    cdo_->ShowDirectory(path);
    if (cdo_->Directory() != path)
        return false;
    listRememberedFolder_ = false;
    cdoDblClick();
    return true;
}

void TFExplore::cdoDblClick() {
    listReady_ = false;
    FillRecordList();
    listReady_ = true;
    if (folderMemory_) {
        folderMemory_->setValue(kLastFolderKey, listedDirectory_);
        folderMemory_->sync();
    }
}

void TFExplore::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F5 && event->modifiers() == Qt::NoModifier) {
        btnRefreshClick();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFExplore::btnRefreshClick() {
    cdo_->Refresh();
    if (!listReady_)
        return;
    const QString selected = selectedFileName();
    listReady_ = false;
    fillList(listedDirectory_);
    listReady_ = true;
    QTreeWidgetItem* again = nullptr;
    for (int i = 0; i < lvMaps_->topLevelItemCount() && !again && !selected.isEmpty(); ++i) {
        QTreeWidgetItem* item = lvMaps_->topLevelItem(i);
        if (!item->isHidden() && item->data(0, kFileNameRole).toString() == selected)
            again = item;
    }
    if (again)
        lvMaps_->setCurrentItem(again); // reads its summary again: the file may have changed
    else if (!selected.isEmpty())
        showSummary({});
}

QString TFExplore::selectedFileName() const {
    const QList<QTreeWidgetItem*> selected = lvMaps_->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->data(0, kFileNameRole).toString();
}

void TFExplore::FillRecordList() {
    fillList(cdo_->Directory());
}

void TFExplore::fillList(const QString& directory) {
    listedDirectory_ = directory;
    const QList<RecordRow> rows = kx::FillRecordList(listedDirectory_);
    QList<QTreeWidgetItem*> items;
    items.reserve(rows.size());
    for (const RecordRow& row : rows) {
        auto* item = new QTreeWidgetItem({row.map, row.date, row.base, row.type});
        item->setData(0, kFileNameRole, row.fileName);
        item->setData(0, kFilterTextRole, RecordFilter::foldedTextOf(row));
        items.append(item);
    }
    lvMaps_->setUpdatesEnabled(false);
    lvMaps_->clear();
    lvMaps_->addTopLevelItems(items);
    applyFilter();
    lvMaps_->setUpdatesEnabled(true);
}

void TFExplore::applyFilter() {
    const RecordFilter filter(edFilter_->text());
    const bool updates = lvMaps_->updatesEnabled();
    lvMaps_->setUpdatesEnabled(false);
    for (int i = 0; i < lvMaps_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = lvMaps_->topLevelItem(i);
        const bool shown = filter.matchesFolded(item->data(0, kFilterTextRole).toString());
        item->setHidden(!shown);
        // A row the filter hides cannot stay the one "&Otevřít" opens, nor stay summarised.
        if (!shown && item->isSelected()) {
            item->setSelected(false);
            showSummary({});
        }
    }
    lvMaps_->setUpdatesEnabled(updates);
}

QString TFExplore::pathOf(const QTreeWidgetItem* row) const {
    // The rows are the files of the directory they were listed from, even when the tree has
    // moved on since.
    return childPath(listedDirectory_, row->data(0, kFileNameRole).toString());
}

void TFExplore::lvMapsSelectItem(QTreeWidgetItem* item, bool selected) {
    if (selected && item)
        ShowRecordSummary(pathOf(item));
}

void TFExplore::ShowRecordSummary(const QString& path) {
    if (!listReady_)
        return;
    showSummary({});
    const SummaryResult result = kx::ShowRecordSummary(path, *messages_);
    if (result.status == SummaryStatus::Unreadable)
        messages_->showMessage(result.fileError);
    showSummary(result.summary);
}

void TFExplore::showSummary(const RecordSummary& summary) {
    lbMN_->setText(summary.lbMN);
    lbMR_->setText(summary.lbMR);
    lbMS_->setText(summary.lbMS);
    lbML_->setText(summary.lbML);
    lbTR_->setText(summary.lbTR);
    lbTS_->setText(summary.lbTS);
    lbPl_->clear();
    lbPl_->addItems(summary.lbPl);
}

void TFExplore::Button2Click() {
    const QList<QTreeWidgetItem*> selected = lvMaps_->selectedItems();
    if (selected.isEmpty())
        return;
    const QString path = pathOf(selected.first());
    close();
    if (opener_)
        opener_(path);
}

void TFExplore::Button1Click() {
    close();
}

} // namespace kx
