#include "main_window_fixture.h"

#include <QDockWidget>
#include <QScreen>
#include <QSignalSpy>
#include <QTableView>

#include <algorithm>

using namespace kx;

namespace {

struct EventDockTest : MainWindowTest {
    QDockWidget* dock() { return child<QDockWidget>("eventDock"); }
    QTableView* table() { return child<QTableView>("tvEvents"); }
    int32_t shown() { return window.session().shownEventIndex(); }
    QString cell(int row, int column) {
        return table()->model()->index(row, column).data().toString();
    }
    int selectedRow() {
        const QModelIndexList rows = table()->selectionModel()->selectedRows();
        return rows.size() == 1 ? rows.first().row() : -1;
    }
    bool rowInView(int row) {
        const QRect rect = table()->visualRect(table()->model()->index(row, 0));
        return table()->viewport()->rect().contains(rect.center());
    }
    void choose(const char* comboName, int item) {
        auto* combo = child<QComboBox>(comboName);
        combo->setCurrentIndex(item);
        Q_EMIT combo->activated(item);
    }
};

} // namespace

TEST_F(EventDockTest, MenuShowsAndHidesIt) {
    QAction* entry = action("mmUtilEvents");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->text(), QString::fromUtf8("&Seznam událostí"));
    EXPECT_FALSE(dock()->isVisible());
    entry->trigger();
    EXPECT_TRUE(dock()->isVisible());
    EXPECT_TRUE(entry->isChecked());
    entry->trigger();
    EXPECT_FALSE(dock()->isVisible());
}

// Showing the list takes its room from the map and grows the window only within the
// screen's room; closing it gives the room back: the window is as it was.
TEST_F(EventDockTest, TheListTakesItsRoomFromTheMapAndGivesItBack) {
    const QRect room = window.screen()->availableGeometry();
    struct Case {
        QSize size;
        bool atTheBottom; // of the screen
    };
    for (const Case c : {Case{QSize(760, 640), false}, Case{window.minimumSizeHint(), true}}) {
        window.resize(c.size);
        window.move(room.left(), room.top());
        QCoreApplication::processEvents();
        if (c.atTheBottom)
            window.move(room.left(), room.bottom() - window.frameGeometry().height() + 1);
        QCoreApplication::processEvents();
        const QSize mapBefore = map()->size();
        action("mmUtilEvents")->trigger();
        QCoreApplication::processEvents();
        EXPECT_TRUE(room.contains(window.frameGeometry())) << c.size.height();
        EXPECT_LE(map()->height(), mapBefore.height());
        EXPECT_GT(table()->viewport()->height(), 0);
        action("mmUtilEvents")->trigger();
        QCoreApplication::processEvents();
        EXPECT_EQ(window.size(), c.size);
        EXPECT_EQ(map()->size(), mapBefore);
    }
}

// The current event is the selected row and stays in view as the replay moves; a double
// click jumps to an event.
TEST_F(EventDockTest, HighlightsTheCurrentEventAndJumpsOnDoubleClick) {
    ASSERT_TRUE(window.openRecord(samplePath("kxr")));
    const int32_t first = window.session().firstEventIndex();
    action("mmUtilEvents")->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dock()));
    ASSERT_EQ(table()->model()->rowCount(), window.session().eventCount() - first);
    EXPECT_EQ(table()->model()->headerData(2, Qt::Horizontal).toString(),
              QString::fromUtf8("Událost"));
    EXPECT_EQ(selectedRow(), -1) << "no event replayed yet";

    click("Button1");
    EXPECT_EQ(selectedRow(), 0);
    EXPECT_TRUE(infoLines().contains(cell(0, 2))) << cell(0, 2).toStdString();
    EXPECT_FALSE(cell(0, 2).isEmpty());
    for (int i = 0; i < 20; ++i)
        click("Button2");
    const int row = shown() - first;
    EXPECT_EQ(selectedRow(), row);
    QCoreApplication::processEvents();
    EXPECT_TRUE(rowInView(row));
    EXPECT_TRUE(infoLines().contains(cell(row, 2)) || cell(row, 2).isEmpty());

    const int target = 37;
    table()->scrollTo(table()->model()->index(target, 0));
    QCoreApplication::processEvents();
    ASSERT_TRUE(rowInView(target));
    const QPoint at = table()->visualRect(table()->model()->index(target, 1)).center();
    QSignalSpy spy(table(), &QAbstractItemView::doubleClicked);
    // The view takes a double click only on the item its first press hit.
    QTest::mousePress(table()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(table()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(shown(), first + 200) << "a single click does not jump";
    QTest::mouseDClick(table()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    ASSERT_EQ(spy.size(), 1);
    EXPECT_EQ(spy.at(0).at(0).value<QModelIndex>().row(), target);
    EXPECT_EQ(shown(), first + target);
    EXPECT_EQ(selectedRow(), target);
    EXPECT_EQ(cell(target, 0), label("lbTime")->text());
}

TEST_F(EventDockTest, FiltersNarrowTheList) {
    ASSERT_TRUE(window.openRecord(samplePath("kxr")));
    action("mmUtilEvents")->trigger();
    const int all = table()->model()->rowCount();
    auto* kinds = child<QComboBox>("cbEventKind");
    const int attack = kinds->findText(QString::fromUtf8("útok"));
    ASSERT_GT(attack, 0);
    choose("cbEventKind", attack);
    const int attacks = table()->model()->rowCount();
    EXPECT_GT(attacks, 0);
    EXPECT_LT(attacks, all);
    for (int row = 0; row < attacks; ++row)
        ASSERT_EQ(cell(row, 1), QString::fromUtf8("útok"));

    auto* players = child<QComboBox>("cbEventPlayer");
    ASSERT_EQ(players->count(), window.session().state().cbPlayers.size() + 1);
    choose("cbEventPlayer", 1);
    const int ofPlayer = table()->model()->rowCount();
    EXPECT_GT(ofPlayer, 0);
    EXPECT_LT(ofPlayer, attacks);

    // The current event hidden by the filter: the row before it is marked.
    click("Button2", 5);
    const int marked = selectedRow();
    auto* model = table()->model();
    ASSERT_GE(marked, 0);
    const int32_t markedEvent = model->headerData(marked, Qt::Vertical).toInt();
    EXPECT_LE(markedEvent, shown());
    if (marked + 1 < model->rowCount()) {
        EXPECT_GT(model->headerData(marked + 1, Qt::Vertical).toInt(), shown());
    }

    choose("cbEventKind", 0);
    choose("cbEventPlayer", 0);
    EXPECT_EQ(table()->model()->rowCount(), all);
    EXPECT_EQ(selectedRow(),
              window.session().shownEventIndex() - window.session().firstEventIndex());
}

TEST_F(EventDockTest, ChartsEntryShowsItsWindow) {
    QWidget charts;
    action("mmUtilCharts")->trigger(); // not set yet: nothing happens
    window.setChartsWindow(&charts);
    EXPECT_EQ(action("mmUtilCharts")->text(), QString::fromUtf8("&Grafy…"));
    action("mmUtilCharts")->trigger();
    EXPECT_TRUE(charts.isVisible());
    charts.hide();
}
