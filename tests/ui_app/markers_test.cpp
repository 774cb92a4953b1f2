#include "main_window_fixture.h"

#include "replay/slide_speed.h"
#include "stats/ui/figure_worker.h"

#include <QMenu>
#include <QSlider>
#include <QTableView>
#include <QTemporaryDir>

using namespace kx;

namespace {

// Pepa takes B1 (5), a new day starts (6), Jana's attack on free C1 fails (8), the end (9).
const QStringList kMarkedRecord = {
    QString::fromUtf8("2005-07-03-14-00-00; Mapa; 2; 4; 3; 4;"),
    QString::fromUtf8("2005-07-03-14-00-00; create_world; NNNNNNNNNNNN;"),
    QString::fromUtf8("2005-07-03-14-01-00; create_hq; Pepa; louka; A1;"),
    QString::fromUtf8("2005-07-03-14-02-00; create_hq; Jana; les; D1;"),
    QString::fromUtf8("2005-07-03-14-10-00; buy; A1; komár; 10;"),
    QString::fromUtf8("2005-07-03-14-20-00; attack; A1; B1; 5; 1; 5;"),
    QString::fromUtf8("2005-08-03-09-00-00; buy; B1; komár; 3;"),
    QString::fromUtf8("2005-08-03-09-05-00; buy; D1; hovado; 4;"),
    QString::fromUtf8("2005-08-03-09-10-00; attack; D1; C1; 2; 0; 0;"),
    QString::fromUtf8("2005-08-03-09-20-00; buy; A1; komár; 1;"),
};

struct MarkersTest : MainWindowTest {
    QTemporaryDir data;
    QStringList asked;
    QString answer = QStringLiteral("zlom");

    void SetUp() override {
        MainWindowTest::SetUp();
        window.setBookmarkStore(Bookmarks(data.path() + QStringLiteral("/library.sqlite"),
                                          data.path() + QStringLiteral("/bookmarks.json")));
        window.setNoteAsker([this](const QString&, const QString& note) {
            asked << note;
            return std::optional<QString>(answer);
        });
        ASSERT_TRUE(window.openRecord(files.write(QStringLiteral("znacky.kxr"), kMarkedRecord)));
        ASSERT_TRUE(waitFor([&] { return window.figureWorker().current() != nullptr; }));
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        map()->setFocus();
    }
    int32_t shown() { return window.session().shownEventIndex(); }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        QTest::keyClick(QApplication::focusWidget(), k, modifiers);
    }
    void showKind(MarkerKind kind, bool shown) {
        for (QAction* a : child<QMenu>("mnMarkerKinds")->actions())
            if (a->data().toInt() == int(kind))
                a->setChecked(shown);
    }
};

} // namespace

TEST_F(MarkersTest, CtrlArrowsStepFromMarkerToMarkerByKindAndPlayer) {
    for (const int32_t expected : {5, 6, 8, 9}) {
        key(Qt::Key_Right);
        EXPECT_EQ(shown(), expected);
    }
    key(Qt::Key_Right); // none after the last: nothing moves
    EXPECT_EQ(shown(), 9);
    key(Qt::Key_Left);
    EXPECT_EQ(shown(), 8);

    showKind(MarkerKind::DayStart, false);
    key(Qt::Key_Left);
    EXPECT_EQ(shown(), 5);
    // Jana chosen in the player list: only her attack.
    window.session().selectPlayer(1);
    QTest::mouseClick(child<QWidget>("btnNextMarker"), Qt::LeftButton);
    EXPECT_EQ(shown(), 8);
    key(Qt::Key_Right);
    EXPECT_EQ(shown(), 8);
}

TEST_F(MarkersTest, SlideShowStopsAtTheNextMarkerAndItsSpeedFollowsTheEdit) {
    auto* speed = child<QSlider>("tbSpeed");
    speed->setValue(kSlideSpeedSteps - 1);
    EXPECT_EQ(child<QLineEdit>("edTime")->text(), QStringLiteral("16"));
    EXPECT_EQ(child<QTimer>("slajd")->interval(), 16);
    child<QLineEdit>("edTime")->setText(QStringLiteral("1000"));
    EXPECT_EQ(speed->value(), 1);
    EXPECT_EQ(label("lbSpeed")->text(), QString::fromUtf8("0,5× (1000 ms)"));

    speed->setValue(kSlideSpeedSteps - 1);
    child<QCheckBox>("cbStopAtMarkers")->setChecked(true);
    click("Button4");
    EXPECT_TRUE(button("Button4")->isChecked()); // pressed while it runs
    ASSERT_TRUE(waitFor([&] { return !window.session().state().slideShowEnabled; }));
    EXPECT_EQ(shown(), 5);
    EXPECT_FALSE(button("Button4")->isChecked());
}

TEST_F(MarkersTest, BookmarksAreMadeRenamedRemovedAndListed) {
    key(Qt::Key_Right); // event 5
    key(Qt::Key_B);
    EXPECT_EQ(asked, QStringList{QString()});
    EXPECT_EQ(window.bookmarks(), (std::map<int32_t, QString>{{5, QStringLiteral("zlom")}}));

    // The event list: a star and the note; only the marked events on request.
    action("mmUtilEvents")->trigger();
    auto* table = child<QTableView>("tvEvents");
    ASSERT_TRUE(waitFor([&] { return table->model()->rowCount() == 6; }));
    EXPECT_TRUE(table->model()->index(1, 0).data().toString().startsWith(QString::fromUtf8("★")));
    EXPECT_TRUE(
        table->model()->index(1, 2).data().toString().startsWith(QString::fromUtf8("„zlom“")));
    child<QCheckBox>("cbEventMarkers")->setChecked(true);
    EXPECT_EQ(table->model()->rowCount(), 4); // 5, 6, 8, 9

    answer = QStringLiteral("obrat");
    key(Qt::Key_B); // on a bookmarked event: rename
    EXPECT_EQ(asked.last(), QStringLiteral("zlom"));
    EXPECT_EQ(window.bookmarks().at(5), QStringLiteral("obrat"));
    action("mmRemoveBookmark")->trigger();
    EXPECT_TRUE(window.bookmarks().empty());
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join('|').toStdString();
}
