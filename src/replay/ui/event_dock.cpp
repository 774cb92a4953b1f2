#include "event_dock.h"

#include "event_table_model.h"

#include "replay/session.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTableView>
#include <QVBoxLayout>

namespace kx {

namespace {

constexpr int kMinimumRows = 3;
constexpr int kScreenfulRows = 9;

} // namespace

EventDock::EventDock(ReplaySession& session, QWidget* parent)
    : QDockWidget(QString::fromUtf8("Seznam událostí"), parent), session_(session) {
    setObjectName(QStringLiteral("eventDock"));
    auto* body = new QWidget;
    player_ = new QComboBox;
    player_->setObjectName(QStringLiteral("cbEventPlayer"));
    kind_ = new QComboBox;
    kind_->setObjectName(QStringLiteral("cbEventKind"));
    kind_->addItem(QString::fromUtf8("Všechny druhy"));
    for (const EventKindInfo& kind : kEventKinds)
        kind_->addItem(QString::fromUtf8(kind.name), static_cast<int>(kind.kind));

    markersOnly_ = new QCheckBox(QString::fromUtf8("Jen značky"));
    markersOnly_->setObjectName(QStringLiteral("cbEventMarkers"));
    markersOnly_->setToolTip(QString::fromUtf8("Ukázat jen události označené na časové ose"));
    model_ = new EventTableModel(session_, this);
    table_ = new QTableView;
    table_->setObjectName(QStringLiteral("tvEvents"));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->setAlternatingRowColors(true);
    // Fixed row heights: the view never measures a million rows.
    QHeaderView* rowsHeader = table_->verticalHeader();
    rowsHeader->setSectionResizeMode(QHeaderView::Fixed);
    rowsHeader->setDefaultSectionSize(table_->fontMetrics().height() + 4);
    rowsHeader->hide();
    QHeaderView* columns = table_->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setStretchLastSection(true);
    // The current row is bold: room for bold text.
    QFont bold = table_->font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    columns->resizeSection(0, metrics.horizontalAdvance(QStringLiteral("00. 00. - 00:00:00")) + 16);
    columns->resizeSection(1,
                           metrics.horizontalAdvance(QString::fromUtf8("nektar na velení")) + 16);
    // A few rows at least: the pane asks the window for little room of its own.
    table_->setMinimumHeight(rowsHeader->defaultSectionSize() * kMinimumRows +
                             columns->sizeHint().height());

    auto* filters = new QHBoxLayout;
    filters->addWidget(new QLabel(QString::fromUtf8("Hráč:")));
    filters->addWidget(player_, 1);
    filters->addWidget(new QLabel(QString::fromUtf8("Druh:")));
    filters->addWidget(kind_, 1);
    filters->addWidget(markersOnly_);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(filters);
    layout->addWidget(table_, 1);
    setWidget(body);
    refreshPlayers();

    connect(table_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        const int32_t event = model_->eventAt(index.row());
        if (event >= 0)
            Q_EMIT jumpRequested(event);
    });
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table_, &QWidget::customContextMenuRequested, this, &EventDock::showContextMenu);
    connect(markersOnly_, &QCheckBox::toggled, this, [this] { applyMarkersOnly(); });
    connect(player_, qOverload<int>(&QComboBox::activated), this, [this] { applyFilter(); });
    connect(kind_, qOverload<int>(&QComboBox::activated), this, [this] { applyFilter(); });
}

int EventDock::preferredHeight() const {
    return minimumSizeHint().height() +
           table_->verticalHeader()->defaultSectionSize() * (kScreenfulRows - kMinimumRows);
}

void EventDock::refreshPlayers() {
    const QStringList& players = session_.state().cbPlayers;
    if (players == shownPlayers_ && player_->count() > 0)
        return;
    const QSignalBlocker blocker(player_);
    player_->clear();
    player_->addItem(QString::fromUtf8("Všichni hráči"));
    player_->addItems(players);
    player_->setCurrentIndex(model_->playerFilter() + 1);
    shownPlayers_ = players;
}

void EventDock::applyFilter() {
    const int kindData = kind_->currentData().toInt();
    const std::optional<EventKind> kind =
        kindData > 0 ? std::optional<EventKind>(static_cast<EventKind>(kindData)) : std::nullopt;
    // The first player filter of a record replays it once to learn who took part in what.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    model_->setFilter(player_->currentIndex() - 1, kind);
    QApplication::restoreOverrideCursor();
    shownEvent_ = -2;
    refresh();
}

void EventDock::setMarkedEvents(std::vector<int32_t> events) {
    if (events == markedEvents_)
        return;
    markedEvents_ = std::move(events);
    if (markersOnly_->isChecked())
        applyMarkersOnly();
}

void EventDock::applyMarkersOnly() {
    if (markersOnly_->isChecked())
        model_->setOnlyEvents(markedEvents_);
    else if (model_->onlyEvents())
        model_->setOnlyEvents(std::nullopt);
    shownEvent_ = -2;
    refresh();
}

void EventDock::setBookmarks(const std::map<int32_t, QString>& bookmarks) {
    model_->setBookmarks(bookmarks);
}

void EventDock::showContextMenu(const QPoint& position) {
    const int32_t event = model_->eventAt(table_->indexAt(position).row());
    if (event < 0)
        return;
    QMenu menu(this);
    const bool marked = model_->bookmarks().contains(event);
    QAction* add = menu.addAction(QString::fromUtf8("Přidat záložku…"));
    add->setObjectName(QStringLiteral("actEventBookmarkAdd"));
    add->setEnabled(!marked);
    QAction* rename = menu.addAction(QString::fromUtf8("Přejmenovat záložku…"));
    rename->setEnabled(marked);
    QAction* remove = menu.addAction(QString::fromUtf8("Odstranit záložku"));
    remove->setEnabled(marked);
    QAction* chosen = menu.exec(table_->viewport()->mapToGlobal(position));
    if (chosen == add)
        Q_EMIT bookmarkAddRequested(event);
    else if (chosen == rename)
        Q_EMIT bookmarkRenameRequested(event);
    else if (chosen == remove)
        Q_EMIT bookmarkRemoveRequested(event);
}

void EventDock::showEvent(QShowEvent* event) {
    QDockWidget::showEvent(event);
    shownEvent_ = -2;
    refresh();
}

void EventDock::refresh() {
    if (!isVisible() || session_.busy())
        return;
    if (model_->sync()) {
        shownEvent_ = -2;
        // The rows of another record: the marked events (the window keeps them current) are
        // kept to again.
        if (markersOnly_->isChecked())
            model_->setOnlyEvents(markedEvents_);
        refreshPlayers();
        player_->setCurrentIndex(model_->playerFilter() + 1);
    }
    const int32_t current = session_.shownEventIndex();
    if (current == shownEvent_)
        return;
    shownEvent_ = current;
    const int row = model_->currentRow();
    if (row < 0) {
        table_->clearSelection();
        table_->scrollToTop();
    } else {
        const QModelIndex index = model_->index(row, 0);
        table_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                             QItemSelectionModel::Rows);
        table_->scrollTo(index, QAbstractItemView::EnsureVisible);
    }
    table_->viewport()->update(); // the bold row moves with the current event
}

} // namespace kx
