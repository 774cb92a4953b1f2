#include "library_fixture.h"
#include "tool_run.h"

#include "library/bookmarks.h"
#include "library/record_entry.h"
#include "replay/session.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace kx;
using namespace kx::test;

namespace {

QString hashOf(const QString& path) {
    RecordedMessages messages;
    ReplaySession session(messages);
    if (session.openRecord(path, RecordFormat::EventLog) != LoadStatus::Loaded)
        return {};
    return recordContentHash(session.state().lbOpen);
}

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// Bookmarks follow the record's content to its new name, in the library when it exists and
// in the bookmark file otherwise; the record file is never written.
TEST(Bookmarks, KeptByContentInTheLibraryOrTheFile) {
    for (const bool withLibrary : {false, true}) {
        QTemporaryDir dir;
        const QString libraryFile = dir.path() + QStringLiteral("/library.sqlite");
        const QString file = dir.path() + QStringLiteral("/bookmarks.json");
        if (withLibrary) {
            LibraryLocation location;
            location.file = libraryFile;
            QString error;
            ASSERT_TRUE(Library::open(location, &error)) << error.toStdString();
        }
        const QString record = writeWorld(dir.path(), QStringLiteral("Louka_2026-05-01.kxr"),
                                          {{"Pepa", "louka", "A0"}});
        const QByteArray before = bytesOf(record);
        Bookmarks bookmarks(libraryFile, file);
        const QString hash = hashOf(record);
        ASSERT_FALSE(hash.isEmpty());
        ASSERT_TRUE(bookmarks.set(hash, {4, QStringLiteral("nákup")}));
        ASSERT_TRUE(bookmarks.set(hash, {3, QStringLiteral("velení")}));
        ASSERT_TRUE(bookmarks.set(hash, {4, QStringLiteral("první nákup")})); // renamed
        ASSERT_TRUE(QFile::rename(record, dir.path() + QStringLiteral("/jinde.kxr")));
        const QString moved = hashOf(dir.path() + QStringLiteral("/jinde.kxr"));
        EXPECT_EQ(bookmarks.list(moved),
                  (std::vector<Bookmark>{{3, QStringLiteral("velení")},
                                         {4, QStringLiteral("první nákup")}}))
            << withLibrary;
        ASSERT_TRUE(bookmarks.remove(moved, 3));
        EXPECT_EQ(bookmarks.list(moved).size(), 1u);
        EXPECT_EQ(QFileInfo::exists(file), !withLibrary);
        EXPECT_EQ(QFileInfo::exists(libraryFile), withLibrary);
        EXPECT_EQ(bytesOf(dir.path() + QStringLiteral("/jinde.kxr")), before);
    }
}

// Bookmarks made before the library existed stay listed; a damaged bookmark file is left as
// it is and a change to it fails with a message.
TEST(Bookmarks, FileBookmarksSurviveTheLibraryAndDamageIsKept) {
    QTemporaryDir dir;
    const QString libraryFile = dir.path() + QStringLiteral("/library.sqlite");
    const QString file = dir.path() + QStringLiteral("/bookmarks.json");
    Bookmarks bookmarks(libraryFile, file);
    ASSERT_TRUE(bookmarks.set(QStringLiteral("abc"), {7, QStringLiteral("dřív")}));
    LibraryLocation location;
    location.file = libraryFile;
    QString error;
    ASSERT_TRUE(Library::open(location, &error));
    ASSERT_TRUE(bookmarks.set(QStringLiteral("abc"), {9, QStringLiteral("teď")}));
    EXPECT_EQ(bookmarks.list(QStringLiteral("abc")),
              (std::vector<Bookmark>{{7, QStringLiteral("dřív")}, {9, QStringLiteral("teď")}}));

    QFile::remove(libraryFile);
    QFile damaged(file);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write("{nic");
    damaged.close();
    EXPECT_FALSE(bookmarks.set(QStringLiteral("abc"), {1, QStringLiteral("x")}));
    EXPECT_TRUE(bookmarks.lastError().startsWith(QString::fromUtf8("Soubor záložek je poškozen")));
    EXPECT_EQ(bytesOf(file), QByteArray("{nic"));
}

TEST(Bookmarks, CommandLineListsThemAsTextCsvAndJson) {
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", dir.path().toUtf8());
    const QString record =
        writeWorld(dir.path(), QStringLiteral("Louka_2026-05-01.kxr"), {{"Pepa", "louka", "A0"}});
    ASSERT_TRUE(Bookmarks().set(hashOf(record), {3, QStringLiteral("velení, \"Pepa\"")}));

    ToolRun run = runTool({"bookmarks", record, "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonArray list = QJsonDocument::fromJson(run.out).array();
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list[0].toObject()["event"].toInt(), 3);
    EXPECT_EQ(list[0].toObject()["time"].toString(), QStringLiteral("05. 01. - 12:30:00"));
    run = runTool({"bookmarks", record, "--csv"});
    EXPECT_EQ(
        QString::fromUtf8(run.out),
        QString::fromUtf8("event,time,note\r\n3,05. 01. - 12:30:00,\"velení, \"\"Pepa\"\"\"\r\n"));
    run = runTool({"bookmarks", record});
    EXPECT_EQ(QString::fromUtf8(run.out),
              QString::fromUtf8("Akce 3 z 4\t05. 01. - 12:30:00\tvelení, \"Pepa\"\n"));

    struct Case {
        QStringList args;
        int exit;
    } cases[] = {{{"bookmarks"}, 2},
                 {{"bookmarks", record, "--db", "x"}, 2},
                 {{"bookmarks", record, "--xml"}, 2},
                 {{"bookmarks", record, "--as"}, 2},
                 {{"bookmarks", record, "--as", "csv"}, 2},
                 {{"bookmarks", record, record}, 2},
                 {{"bookmarks", dir.path() + QStringLiteral("/chybi.kxr")}, 1}};
    for (const Case& c : cases)
        EXPECT_EQ(runTool(c.args).exitCode, c.exit) << c.args.join(' ').toStdString();
}
