#include "library_fixture.h"
#include "tool_run.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace kx;
using namespace kx::test;

namespace {

class LibraryCli : public LibraryTest {
  protected:
    void SetUp() override {
        LibraryTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        library.reset(); // the tool alone uses the library
        writeWorld(folder("r"), QStringLiteral("Kopretinova_louka_2026-05-01.kxr"),
                   {{"Pepa", "louka", "A0"}, {"Jana", "les", "D2"}});
        writeWorld(folder("r/s"), QStringLiteral("Les_2026-05-10.kxr"),
                   {{"Pepa", "les", "A0"}, {"Olga", "les", "D2"}});
    }
    ToolRun tool(QStringList arguments) {
        return runTool(arguments << QStringLiteral("--db") << url);
    }
};

} // namespace

TEST_P(LibraryCli, IndexesAndAnswersAsJsonAndCsv) {
    ToolRun run = tool({"index", folder("r")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(
        QString::fromUtf8(run.out),
        QString::fromUtf8("Záznamů: 2, přečteno 2 (poškozeno 0), beze změny 0, odstraněno 0.\n"));

    run = tool({"query", "--player", "pepa", "--result", "won", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonArray records = QJsonDocument::fromJson(run.out).array();
    ASSERT_EQ(records.size(), 1);
    const QJsonObject record = records[0].toObject();
    EXPECT_EQ(record["map"].toString(), QStringLiteral("Les"));
    EXPECT_EQ(record["date"].toString(), QStringLiteral("2026-05-10"));
    EXPECT_EQ(record["events"].toInt(), 1);
    EXPECT_TRUE(record["ended"].toBool());
    EXPECT_EQ(record["winner"].toString(), QStringLiteral("les"));
    const QJsonObject olga = record["players"].toArray()[1].toObject();
    EXPECT_EQ(olga["name"].toString(), QStringLiteral("Olga"));
    EXPECT_EQ(olga["fields"].toInt(), 1);
    EXPECT_TRUE(olga["survivor"].toBool());

    run = tool({"query", "--map", "KOPRET", "--csv"});
    const QList<QByteArray> rows = run.out.split('\n');
    ASSERT_GE(rows.size(), 3);
    EXPECT_TRUE(rows[0].startsWith("path,map,date,world,events,ended,winner,damaged,player"));
    EXPECT_TRUE(rows[1].contains(",Kopretinova_louka,2026-05-01,")) << rows[1].toStdString();

    run = tool({"players", "--json"});
    const QJsonArray players = QJsonDocument::fromJson(run.out).array();
    ASSERT_EQ(players.size(), 3);
    EXPECT_EQ(players[2].toObject()["name"].toString(), QStringLiteral("Pepa"));
    EXPECT_EQ(players[2].toObject()["games"].toInt(), 2);
    EXPECT_EQ(players[2].toObject()["winsLes"].toInt(), 1);
}

// The default output: one tab-separated line per game, and per player; CSV holds the same.
// In a third world Pepa (louka) takes Jana's (les) HQ: one team is left and Jana lost.
TEST_P(LibraryCli, QueryAndPlayersPrintLinesByDefault) {
    QFile battle(folder("r/Bitva_2026-05-20.kxr"));
    ASSERT_TRUE(battle.open(QIODevice::WriteOnly));
    battle.write("2026-05-01-10-00-00; Svet; 2; 4; 3; 4;\r\n"
                 "2026-05-01-10-00-00; create_world; NNNNNNNNNNNN;\r\n"
                 "2026-05-01-10-01-00; create_hq; Pepa; louka; A0;\r\n"
                 "2026-05-01-10-01-00; create_hq; Jana; les; D2;\r\n"
                 "2026-05-01-12-30-00; attack; A0; D2; 0; 1; 0;\r\n");
    battle.close();
    ASSERT_EQ(tool({"index", folder("r")}).exitCode, 0);
    const QString line = QStringLiteral("%1\t%2\t%3\t1\t%4\t%5\n");
    const QString first =
        line.arg("2026-05-01", "Kopretinova_louka", "Pepa (louka), Jana (les)",
                 QString::fromUtf8("nedohráno"), folder("r/Kopretinova_louka_2026-05-01.kxr"));
    const QString second =
        line.arg("2026-05-10", "Les", "Pepa (les), Olga (les)", QString::fromUtf8("vyhrál les"),
                 folder("r/s/Les_2026-05-10.kxr"));
    const QString third =
        line.arg("2026-05-20", "Bitva", "Pepa (louka), Jana (les)",
                 QString::fromUtf8("vyhrál louka"), folder("r/Bitva_2026-05-20.kxr"));
    const struct {
        QStringList arguments;
        QString out;
    } cases[] = {
        {{"query"}, third + second + first},
        {{"query", "--vs", "jana", "--team", "louka"}, third + first},
        {{"query", "--since", "2026-05-02", "--until", "2026-05-10"}, second},
        {{"query", "--result", "unfinished"}, first},
        {{"query", "--player", "jana", "--result", "lost"}, third},
        {{"query", "--player", "pepa", "--result", "lost"}, ""},
    };
    for (const auto& c : cases) {
        const ToolRun run = tool(c.arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(QString::fromUtf8(run.out), c.out) << c.arguments.join(' ').toStdString();
    }

    // Games, wins and losses; then the same per team, louka first.
    const QString lines = QString::fromUtf8(tool({"players"}).out);
    EXPECT_TRUE(lines.startsWith(QStringLiteral("Jana\t2\t0\t1\t0\t0\t0\t2\t0\t1\t")))
        << lines.toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("\nPepa\t3\t2\t0\t2\t1\t0\t1\t1\t0\t")))
        << lines.toStdString();
    QString csv = QString::fromUtf8(tool({"players", "--csv"}).out);
    ASSERT_TRUE(csv.startsWith(QStringLiteral("name,games,wins,losses,")));
    csv = csv.mid(csv.indexOf(u'\n') + 1);
    EXPECT_EQ(csv.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u',', u'\t'),
              lines);
}

// Bad options and dates are usage errors; a missing folder fails and loses nothing indexed.
TEST_P(LibraryCli, BadInputIsReportedAndLosesNothing) {
    ASSERT_EQ(tool({"index", folder("r")}).exitCode, 0);
    const struct {
        QStringList arguments;
        int exit;
        const char* error; // the start of the message, when there is one
    } cases[] = {
        {{"query", "--since", "2026-02-30"}, 2, "Neplatné datum: 2026-02-30"},
        {{"query", "--until", "5.1.2026"}, 2, "Neplatné datum"},
        {{"query", "--result", "draw"}, 2, "Použití: kxrtool query"},
        {{"query", "--team", "pole"}, 2, "Použití: kxrtool query"},
        {{"query", "--player"}, 2, "Použití: kxrtool query"},
        {{"query", "--csv", "--json"}, 2, "Použití: kxrtool query"},
        {{"players", "navic"}, 2, "Použití: kxrtool players"},
        {{"index"}, 2, "Použití: kxrtool index"},
        {{"index", folder("zadna")}, 1, "Složka neexistuje"},
    };
    for (const auto& c : cases) {
        const ToolRun run = tool(c.arguments);
        EXPECT_EQ(run.exitCode, c.exit) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(QString::fromUtf8(run.err).startsWith(QString::fromUtf8(c.error)))
            << run.err.toStdString();
    }
    EXPECT_EQ(QJsonDocument::fromJson(tool({"query", "--json"}).out).array().size(), 2);
}

// Two programs indexing one library at once.
TEST_P(LibraryCli, ConcurrentIndexersLoseAndDuplicateNothing) {
    for (int i = 0; i < 60; ++i)
        writeWorld(folder("r/many"), QStringLiteral("Svet%1_2026-07-01.kxr").arg(i),
                   {{"Ema", "les", "A0"}});
    QProcess first, second;
    for (QProcess* p : {&first, &second})
        p->start(QStringLiteral(KX_BIN_DIR "/kxrtool"),
                 {QStringLiteral("index"), folder("r"), QStringLiteral("--db"), url});
    for (QProcess* p : {&first, &second}) {
        ASSERT_TRUE(p->waitForFinished(60000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
    }
    EXPECT_EQ(QJsonDocument::fromJson(tool({"query", "--json"}).out).array().size(), 62);
    library = openLibrary();
    ASSERT_TRUE(library);
    EXPECT_EQ(library->recordCount(), 62);
}

INSTANTIATE_TEST_SUITE_P(Engines, LibraryCli, ::testing::Values(Engine::SQLite, Engine::PostgreSQL),
                         engineName);

TEST(LibraryCliServer, AServerThatIsDownIsAClearFailure) {
    const ToolRun run = runTool({"query", "--db", "postgresql://kx@127.0.0.1:1/archiv"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.startsWith("Knihovnu nelze otev")) << run.err.toStdString();
    const ToolRun bad = runTool({"players", "--db", "mysql://h/db"});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(QString::fromUtf8(bad.err).startsWith(QString::fromUtf8("Neplatná adresa")));
}
