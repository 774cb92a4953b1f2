#include "../library/library_fixture.h"
#include "wait_for.h"

#include "library/ui/library_window.h"
#include "library/ui/record_table_model.h"
#include "records/user_messages.h"
#include "stats/ui/figure_chart.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

using namespace kx;
using namespace kx::test;

namespace {

struct LibraryWindowTest : ::testing::Test {
    QTemporaryDir dir;
    RecordedMessages messages;
    TFLibrary window;
    QStringList opened;

    void SetUp() override {
        window.setMessages(&messages);
        window.setRecordOpener([this](const QString& path) { opened << path; });
        window.setFolderChooser([this] { return dir.path() + QStringLiteral("/zaznamy"); });
        writeWorld(dir.path() + QStringLiteral("/zaznamy"),
                   QStringLiteral("Kopretinova_louka_2026-05-01.kxr"),
                   {{"Pepa", "louka", "A0"}, {"Jana", "les", "D2"}});
        writeWorld(dir.path() + QStringLiteral("/zaznamy/starsi"),
                   QStringLiteral("Les_2026-04-10.kxr"),
                   {{"Pepa", "les", "A0"}, {"Olga", "les", "D2"}, {"Ema", "les", "C1"}});
        writeWorld(dir.path() + QStringLiteral("/zaznamy"), QStringLiteral("Louka_2026-06-02.kxr"),
                   {{"Jana", "louka", "A0"}});
        ASSERT_TRUE(window.openLibrary(dir.path() + QStringLiteral("/knihovna.sqlite")));
        window.show();
    }
    template <typename T> T* child(const char* name) {
        return window.findChild<T*>(QLatin1String(name));
    }
    bool indexFolder() {
        child<QPushButton>("btnAddFolder")->click();
        EXPECT_TRUE(window.indexing() || window.results().rowCount() == 3);
        QElapsedTimer timer;
        timer.start();
        while (window.indexing() && timer.elapsed() < 20000)
            QTest::qWait(10);
        return !window.indexing();
    }
};

} // namespace

// Add a folder, search by player, open a game: three actions.
TEST_F(LibraryWindowTest, AddAFolderSearchAPlayerOpenAGame) {
    ASSERT_TRUE(indexFolder());
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join('|').toStdString();
    EXPECT_EQ(window.results().rowCount(), 3);
    EXPECT_FALSE(child<QProgressBar>("pbIndex")->isVisible());

    child<QLineEdit>("edPlayer")->setText(QStringLiteral("pepa"));
    QTest::keyClick(child<QLineEdit>("edPlayer"), Qt::Key_Return);
    ASSERT_EQ(window.results().rowCount(), 2);
    // Newest first; sorting by the number of players puts the three-player world last.
    EXPECT_TRUE(window.recordAt(0).endsWith(QStringLiteral("Kopretinova_louka_2026-05-01.kxr")));
    child<QTableView>("tvRecords")->sortByColumn(RecordTableModel::Players, Qt::AscendingOrder);
    EXPECT_TRUE(window.recordAt(1).endsWith(QStringLiteral("Les_2026-04-10.kxr")));

    // Enter on a row opens it, as a double click does.
    QTableView* table = child<QTableView>("tvRecords");
    table->setFocus();
    table->setCurrentIndex(table->model()->index(1, 0));
    QTest::keyClick(table, Qt::Key_Return);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened[0].endsWith(QStringLiteral("Les_2026-04-10.kxr")));

    // The row's context action shows its folder in the record browser.
    QStringList shown;
    window.setFolderShower([&](const QString& path) { shown << path; });
    table->findChild<QAction*>(QStringLiteral("actLibraryShowFolder"))->trigger();
    EXPECT_EQ(shown, opened);
}

TEST_F(LibraryWindowTest, FiltersDatesAndListsPlayers) {
    ASSERT_TRUE(indexFolder());
    child<QLineEdit>("edSince")->setText(QStringLiteral("2026-05-01"));
    child<QComboBox>("cbResult")->setCurrentIndex(1); // won: the worlds with one team left
    child<QPushButton>("btnSearch")->click();
    ASSERT_EQ(window.results().rowCount(), 1);
    EXPECT_TRUE(window.recordAt(0).endsWith(QStringLiteral("Louka_2026-06-02.kxr")));
    // The length in events; Enter in its box searches.
    child<QSpinBox>("sbMinEvents")->setValue(999'999);
    QTest::keyClick(child<QSpinBox>("sbMinEvents"), Qt::Key_Return);
    EXPECT_EQ(window.results().rowCount(), 0);
    child<QSpinBox>("sbMinEvents")->setValue(0);
    child<QPushButton>("btnSearch")->click();
    ASSERT_EQ(window.results().rowCount(), 1);

    child<QLineEdit>("edUntil")->setText(QStringLiteral("1. 6. 2026"));
    child<QPushButton>("btnSearch")->click();
    EXPECT_EQ(messages.shown,
              QStringList{QString::fromUtf8("Neplatné datum: 1. 6. 2026 (čekám RRRR-MM-DD)")});
    EXPECT_EQ(window.results().rowCount(), 1); // the last results stay

    window.findChild<QTabWidget*>(QStringLiteral("tabsLibrary"))->setCurrentIndex(1);
    QTableWidget* players = child<QTableWidget>("tvPlayers");
    ASSERT_EQ(players->rowCount(), 4);
    EXPECT_EQ(players->item(0, 0)->text(), QStringLiteral("Ema"));
    EXPECT_EQ(players->item(1, 0)->text(), QStringLiteral("Jana"));
    EXPECT_EQ(players->item(1, 1)->data(Qt::DisplayRole).toInt(), 2);

    // Choosing a player draws the experience of each of their games.
    players->setCurrentCell(1, 0);
    const ChartView& chart = window.experienceChart().view();
    ASSERT_TRUE(chart.figures && chart.figures->valid);
    EXPECT_EQ(chart.figures->rowCount(), 2);
    EXPECT_EQ(chart.players, std::vector<int>{0});
    EXPECT_EQ(chart.figures->players[0].entry, QStringLiteral("Jana"));
}

TEST_F(LibraryWindowTest, AnUnusableLibraryKeepsTheOpenOne) {
    ASSERT_TRUE(indexFolder());
    EXPECT_FALSE(window.openLibrary(QStringLiteral("mysql://h/db")));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].startsWith(QString::fromUtf8("Neplatná adresa knihovny")));
    ASSERT_TRUE(window.library());
    EXPECT_EQ(window.library()->recordCount(), 3);
}

// Alt with a letter reaches one control: no two labels or buttons share a mnemonic.
TEST_F(LibraryWindowTest, MnemonicsAreUnique) {
    QStringList texts;
    for (QAbstractButton* b : window.findChildren<QAbstractButton*>())
        texts << b->text();
    for (QLabel* l : window.findChildren<QLabel*>())
        if (l->buddy())
            texts << l->text();
    auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("tabsLibrary"));
    for (int i = 0; i < tabs->count(); ++i)
        texts << tabs->tabText(i);
    QMap<QChar, QString> seen;
    for (const QString& text : texts) {
        const qsizetype at = text.indexOf(u'&');
        if (at < 0 || at + 1 >= text.size())
            continue;
        const QChar letter = text.at(at + 1).toLower();
        EXPECT_FALSE(seen.contains(letter))
            << text.toStdString() << " and " << seen.value(letter).toStdString();
        seen.insert(letter, text);
    }
}
