#include "explore_window.h"

#include "directory_outline.h"

#include "browser/record_list.h"
#include "browser/record_summary.h"

#include <QDir>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace kx {

namespace {

constexpr int kFileNameRole = Qt::UserRole; // a row's real file name

template <typename T> T* named(T* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel* valueLabel(const char* name) {
    auto* label = named(new QLabel, name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

TFExplore::TFExplore(QWidget* parent) : QDialog(parent), boxes_(this), messages_(&boxes_) {
    setObjectName(QStringLiteral("FExplore"));
    setWindowTitle(QString::fromUtf8("Kexland Review - Prohlížeč záznamů"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    cdo_ = named(new TCDirectoryOutline(this, TCDirectoryOutline::tcAsIs), "cdo");
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

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button2_);
    buttons->addWidget(Button1_);
    auto* right = new QVBoxLayout;
    right->addWidget(buildInfo(), 1);
    right->addLayout(buttons);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(cdo_, 161);
    layout->addWidget(lvMaps_, 273);
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
        grid->addWidget(value, row, 1, Qt::AlignLeft | Qt::AlignTop);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row - 1, 1);
    return gbInfo_;
}

void TFExplore::setMessages(UserMessages* messages) {
    messages_ = messages ? messages : &boxes_;
}

void TFExplore::cdoDblClick() {
    listReady_ = false;
    FillRecordList();
    listReady_ = true;
}

void TFExplore::FillRecordList() {
    listedDirectory_ = cdo_->Directory();
    const QList<RecordRow> rows = kx::FillRecordList(listedDirectory_);
    QList<QTreeWidgetItem*> items;
    items.reserve(rows.size());
    for (const RecordRow& row : rows) {
        auto* item = new QTreeWidgetItem({row.map, row.date, row.base, row.type});
        item->setData(0, kFileNameRole, row.fileName);
        items.append(item);
    }
    lvMaps_->setUpdatesEnabled(false);
    lvMaps_->clear();
    lvMaps_->addTopLevelItems(items);
    lvMaps_->setUpdatesEnabled(true);
}

QString TFExplore::pathOf(const QTreeWidgetItem* row) const {
    // The rows are the files of the directory they were listed from, even when the tree has
    // moved on since.
    return QDir(listedDirectory_).filePath(row->data(0, kFileNameRole).toString());
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
