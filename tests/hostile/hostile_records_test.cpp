// Damaged and hostile records loaded through the replay session: each gives its message and
// leaves the record loaded before it whole and usable, or loads to a sane world that replays
// to its end and back.

#include "record_files.h"

#include "records/record_loader.h"
#include "records/time_stamp.h"
#include "replay/session.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace kx;

namespace {

QByteArray crlf(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += *encodeWindows1250(line) + "\r\n";
    return bytes;
}

const QStringList kGoodLog = {
    "2005-07-03-14-00-00; Louka; 2; 4; 3; 4;",
    "2005-07-03-14-00-00; create_world; NNBSNNNNSBNN;",
    "2005-07-03-14-01-00; create_hq; Pepa; louka; A0;",
    "2005-07-03-14-02-00; create_hq; Jana; les; D2;",
    QString::fromUtf8("2005-07-03-15-00-00; buy; A0; komár; 20;"),
    "2005-07-03-15-10-00; move; A0; B0; 10;",
    QString::fromUtf8("2005-07-03-17-00-00; buy; D2; šváb; 3;"),
    "2005-07-03-18-00-00; attack; B0; C1; 5; 1; 4;",
    "2005-07-03-19-00-00; trade; Pepa; Jana; 40;",
    "2005-07-03-21-00-00; retreat; A0; 2;",
};

// An XML record of the same shape: world children, HQ elements, event elements.
struct Xml {
    QString world = "<world><id>1</id><name>Louka</name><created>1120392000</created>"
                    "<width>4</width><height>3</height><players>2</players><speed>4</speed>"
                    "<map>NNBSNNNNSBNN</map></world>";
    QStringList hqs = {
        "<chq><time>1120392060</time><player>Pepa</player><cell>A0</cell><team>louka</team></chq>",
        "<chq><time>1120392120</time><player>Jana</player><cell>D2</cell><team>les</team></chq>"};
    QStringList events = {
        QString::fromUtf8(
            "<buy><time>1120395600</time><cell>A0</cell><unit>komár</unit><count>20</count></buy>"),
        "<mov><time>1120396200</time><from>A0</from><to>B0</to><count>10</count></mov>"};
    QString declaration = R"(<?xml version="1.0" encoding="windows-1250"?>)";
    QString record = "<record>";
    QString eventsOpen = "<events>";
    QString eventsClose = "</events>";

    QByteArray bytes() const {
        QStringList lines = {declaration, record, "  " + world, eventsOpen};
        for (const QString& hq : hqs)
            lines << "    " + hq;
        for (const QString& event : events)
            lines << "    " + event;
        if (!eventsClose.isEmpty())
            lines << eventsClose;
        lines << "</record>";
        return crlf(lines);
    }
};

QString replaced(QString text, const QString& from, const QString& to) {
    return text.replace(from, to);
}

struct HostileRecords : ::testing::Test {
    RecordFiles files;
    RecordedMessages messages;
    ReplaySession session{messages, QLocale::c()};
    int written = 0;

    QString write(const QByteArray& bytes) {
        return files.writeBytes(QStringLiteral("r%1.kxr").arg(++written), bytes);
    }
    bool load(const QByteArray& bytes, kx::RecordFormat reading) {
        messages.shown.clear();
        return session.loadRecord(write(bytes), reading);
    }

    // Loads the good record, selects a player and replays three events.
    void loadGood() {
        ASSERT_TRUE(load(crlf(kGoodLog), RecordFormat::EventLog));
        session.selectPlayer(1);
        for (int i = 0; i < 3; ++i)
            session.Button1Click();
        ASSERT_EQ(session.state().world.eventIndex, 7);
    }

    // After a failed load the good record is still there, at the same event, and replays
    // forward and back as a fresh load of it does.
    void expectGoodRecordStill(const char* what) {
        SCOPED_TRACE(what);
        const MainState& s = session.state();
        EXPECT_EQ(s.cbPlayers, (QStringList{"Pepa (louka)", "Jana (les)"}));
        EXPECT_EQ(s.selectedPlayer, 1);
        EXPECT_EQ(s.world.width(), 4);
        EXPECT_EQ(s.world.eventIndex, 7);
        EXPECT_TRUE(s.panelEnabled);
        EXPECT_FALSE(s.progressVisible);

        RecordedMessages quiet;
        ReplaySession fresh(quiet, QLocale::c());
        ASSERT_TRUE(fresh.loadRecord(write(crlf(kGoodLog)), RecordFormat::EventLog));
        fresh.selectPlayer(1);
        for (ReplaySession* r : {&session, &fresh}) {
            r->Button2Click();
            r->Button6Click();
        }
        EXPECT_EQ(s.world.eventIndex, fresh.state().world.eventIndex);
        EXPECT_EQ(s.world.playerTable, fresh.state().world.playerTable);
        EXPECT_EQ(s.info, fresh.state().info);
        EXPECT_EQ(s.stats.lbPN, fresh.state().stats.lbPN);
        // Back where the failed load found it, for the next case.
        ASSERT_TRUE(session.btnNextClick() || load(crlf(kGoodLog), RecordFormat::EventLog));
        session.selectPlayer(1);
        for (int i = 0; i < 3; ++i)
            session.Button1Click();
        messages.shown.clear();
    }

    // A record that loads: the world is within its bounds and replays to its end and back.
    void expectSaneReplay(const char* what) {
        SCOPED_TRACE(what);
        const MainState& s = session.state();
        EXPECT_GE(s.world.width(), 1);
        EXPECT_LE(s.world.width(), kMaxWorldSide);
        EXPECT_EQ(s.cbPlayers.size(), s.world.playerCount());
        session.selectPlayer(0);
        session.dgMapMouseMove(1, 1);
        for (qsizetype i = 0; i <= s.lvData.size() && !s.summaryShown; ++i)
            session.Button1Click();
        EXPECT_TRUE(s.summaryShown);
        session.Button7Click();
        session.Button6Click();
        EXPECT_LE(s.world.eventIndex, s.lvData.size());
    }
};

struct Failing {
    const char* what;
    QByteArray bytes;
    kx::RecordFormat reading;
    const char* message;
};

} // namespace

TEST_F(HostileRecords, DamagedEventLogsShowTheirMessageAndKeepTheLoadedRecord) {
    loadGood();
    auto withLine = [](int index, const QString& line) {
        QStringList lines = kGoodLog;
        lines[index] = line;
        return crlf(lines);
    };
    QStringList twoMaps = kGoodLog;
    twoMaps[0] = kGoodLog[1];
    const std::vector<Failing> cases = {
        {"empty file", QByteArray(), RecordFormat::EventLog, LoadMessages::kNoHeader},
        {"only line ends", "\r\n\n\r", RecordFormat::EventLog, LoadMessages::kNoHeader},
        {"cut inside the header", crlf(kGoodLog).left(25), RecordFormat::EventLog,
         LoadMessages::kNoHeader},
        {"cut inside the map keyword", crlf(kGoodLog).left(70), RecordFormat::EventLog,
         LoadMessages::kNoHeader},
        {"cut inside the map text", crlf(kGoodLog).left(81), RecordFormat::EventLog,
         LoadMessages::kNoMap},
        {"cut inside an HQ time", crlf(kGoodLog).left(160), RecordFormat::EventLog,
         LoadMessages::kPlayersMismatch},
        {"cut inside an HQ line", crlf(kGoodLog).left(182), RecordFormat::EventLog,
         LoadMessages::kHqOutside},
        {"two map lines", crlf(twoMaps), RecordFormat::EventLog, LoadMessages::kNoWorld},
        {"an HQ line before the map", crlf({kGoodLog[0], kGoodLog[2], kGoodLog[1]}),
         RecordFormat::EventLog, LoadMessages::kNoHeader},
        {"players 2147483647", withLine(0, "2005-07-03-14-00-00; L; 2147483647; 4; 3; 4;"),
         RecordFormat::EventLog, LoadMessages::kPlayerCount},
        {"players 99999999999", withLine(0, "2005-07-03-14-00-00; L; 99999999999; 4; 3; 4;"),
         RecordFormat::EventLog, LoadMessages::kNoWorld},
        {"players -1", withLine(0, "2005-07-03-14-00-00; L; -1; 4; 3; 4;"), RecordFormat::EventLog,
         LoadMessages::kPlayerCount},
        {"width -4", withLine(0, "2005-07-03-14-00-00; L; 2; -4; 3; 4;"), RecordFormat::EventLog,
         LoadMessages::kWorldSize},
        {"height 100000", withLine(0, "2005-07-03-14-00-00; L; 2; 4; 100000; 4;"),
         RecordFormat::EventLog, LoadMessages::kWorldSize},
        {"width and height 1000 with a short map",
         withLine(0, "2005-07-03-14-00-00; L; 2; 1000; 1000; 4;"), RecordFormat::EventLog,
         LoadMessages::kNoMap},
        {"empty player count", withLine(0, "2005-07-03-14-00-00; L; ; 4; 3; 4;"),
         RecordFormat::EventLog, LoadMessages::kNoWorld},
        {"empty map text", withLine(1, "2005-07-03-14-00-00; create_world; ; x;"),
         RecordFormat::EventLog, LoadMessages::kNoMap},
        {"HQ without a name", withLine(3, "2005-07-03-14-02-00; create_hq; ; les; D2;"),
         RecordFormat::EventLog, LoadMessages::kHqOutside},
        {"HQ name with a semicolon", withLine(3, "2005-07-03-14-02-00; create_hq; Ja;na; les; D2;"),
         RecordFormat::EventLog, LoadMessages::kHqOutside},
        {"HQ at Z99", withLine(3, "2005-07-03-14-02-00; create_hq; Jana; les; Z99;"),
         RecordFormat::EventLog, LoadMessages::kHqOutside},
        {"create_hq in capitals", withLine(3, "2005-07-03-14-02-00; CREATE_HQ; Jana; les; D2;"),
         RecordFormat::EventLog, LoadMessages::kPlayersMismatch},
        {"an XML record read as an event log", Xml().bytes(), RecordFormat::EventLog,
         LoadMessages::kNoHeader},
    };
    for (const Failing& c : cases) {
        EXPECT_FALSE(load(c.bytes, c.reading)) << c.what;
        EXPECT_EQ(messages.shown, QStringList{QString::fromUtf8(c.message)}) << c.what;
        expectGoodRecordStill(c.what);
    }
}

TEST_F(HostileRecords, DamagedXmlRecordsFailTheConversionAndKeepTheLoadedRecord) {
    loadGood();
    auto xml = [](auto change) {
        Xml x;
        change(x);
        return x.bytes();
    };
    const QByteArray good = Xml().bytes();
    const std::vector<Failing> cases = {
        {"empty file", QByteArray(), RecordFormat::Xml, LoadMessages::kReadFailed},
        {"cut inside the world element", good.left(120), RecordFormat::Xml,
         LoadMessages::kReadFailed},
        {"cut inside an event", good.left(good.size() - 40), RecordFormat::Xml,
         LoadMessages::kReadFailed},
        {"no </events>", xml([](Xml& x) { x.eventsClose.clear(); }), RecordFormat::Xml,
         LoadMessages::kReadFailed},
        {"tab before <record>", xml([](Xml& x) { x.record = "\t<record>"; }), RecordFormat::Xml,
         LoadMessages::kReadFailed},
        {"tab before <events>", xml([](Xml& x) { x.eventsOpen = "\t<events>"; }), RecordFormat::Xml,
         LoadMessages::kReadFailed},
        {"declaration in single quotes",
         xml([](Xml& x) { x.declaration = "<?xml version='1.0' encoding='windows-1250'?>"; }),
         RecordFormat::Xml, LoadMessages::kReadFailed},
        {"events before the world", xml([](Xml& x) { x.world = x.events[0]; }), RecordFormat::Xml,
         LoadMessages::kReadFailed},
        {"an unclosed child in an HQ",
         xml([](Xml& x) { x.hqs[1] = replaced(x.hqs[1], "</time>", ""); }), RecordFormat::Xml,
         LoadMessages::kReadFailed},
        {"an event spread over two lines",
         xml([](Xml& x) { x.events[1] = replaced(x.events[1], "<from>", "\r\n<from>"); }),
         RecordFormat::Xml, LoadMessages::kReadFailed},
        {"fewer HQs than players", xml([](Xml& x) { x.hqs.removeLast(); }), RecordFormat::Xml,
         LoadMessages::kReadFailed},
        {"an HQ removed and not created again", xml([](Xml& x) {
             x.hqs.insert(1,
                          "<rhq><time>1120392070</time><player>Pepa</player><cell>A0</cell></rhq>");
         }),
         RecordFormat::Xml, LoadMessages::kReadFailed},
        {"players 2147483647",
         xml([](Xml& x) { x.world = replaced(x.world, ">2</players>", ">2147483647</players>"); }),
         RecordFormat::Xml, LoadMessages::kReadFailed},
        {"players -2",
         xml([](Xml& x) { x.world = replaced(x.world, ">2</players>", ">-2</players>"); }),
         RecordFormat::Xml, LoadMessages::kReadFailed},
        {"time 99999999999",
         xml([](Xml& x) { x.events[0] = replaced(x.events[0], "1120395600", "99999999999"); }),
         RecordFormat::Xml, LoadMessages::kReadFailed},
        {"an empty line among the events", xml([](Xml& x) { x.events.insert(1, QString()); }),
         RecordFormat::Xml, LoadMessages::kReadFailed},
        {"a line of blanks among the HQs", xml([](Xml& x) { x.hqs.insert(1, "   "); }),
         RecordFormat::Xml, LoadMessages::kReadFailed},
        {"an event log read as an XML record", crlf(kGoodLog), RecordFormat::Xml,
         LoadMessages::kReadFailed},
        // Converted, then refused by the world builder.
        {"width 0", xml([](Xml& x) { x.world = replaced(x.world, ">4</width>", ">0</width>"); }),
         RecordFormat::Xml, LoadMessages::kWorldSize},
        {"width 100000",
         xml([](Xml& x) { x.world = replaced(x.world, ">4</width>", ">100000</width>"); }),
         RecordFormat::Xml, LoadMessages::kWorldSize},
        {"map text too short",
         xml([](Xml& x) { x.world = replaced(x.world, "NNBSNNNNSBNN", "NNBS"); }),
         RecordFormat::Xml, LoadMessages::kNoMap},
        {"HQ at A-1", xml([](Xml& x) { x.hqs[0] = replaced(x.hqs[0], ">A0<", ">A-1<"); }),
         RecordFormat::Xml, LoadMessages::kHqOutside},
        // Entities are not decoded: the ';' of "&amp;" splits the header line.
        {"world name with an entity",
         xml([](Xml& x) { x.world = replaced(x.world, ">Louka<", ">L&amp;ouka<"); }),
         RecordFormat::Xml, LoadMessages::kNoWorld},
        {"player name with a semicolon",
         xml([](Xml& x) { x.hqs[0] = replaced(x.hqs[0], ">Pepa<", ">Pe;pa<"); }), RecordFormat::Xml,
         LoadMessages::kHqOutside},
    };
    for (const Failing& c : cases) {
        EXPECT_FALSE(load(c.bytes, c.reading)) << c.what;
        EXPECT_EQ(messages.shown, QStringList{QString::fromUtf8(c.message)}) << c.what;
        expectGoodRecordStill(c.what);
    }
}

TEST_F(HostileRecords, FilesThatAreNoFilesKeepTheLoadedRecord) {
    loadGood();
    QDir(files.path(QString())).mkdir("folder.kxr2");
    const QString folder = files.path("folder.kxr2");
    for (const kx::RecordFormat reading : {RecordFormat::Xml, RecordFormat::EventLog}) {
        messages.shown.clear();
        EXPECT_FALSE(session.loadRecord(folder, reading));
        EXPECT_EQ(messages.shown,
                  QStringList{QString::fromUtf8(LoadMessages::kCannotOpen) + folder});
        expectGoodRecordStill("a directory");
    }
    messages.shown.clear();
    EXPECT_FALSE(session.loadRecord(QString(), RecordFormat::EventLog));
    EXPECT_EQ(messages.shown.size(), 1);
    expectGoodRecordStill("no name");
}

TEST_F(HostileRecords, EveryCutOfARecordLoadsOrFailsCleanly) {
    loadGood();
    const QStringList known = {QString::fromUtf8(LoadMessages::kReadFailed),
                               QString::fromUtf8(LoadMessages::kNoHeader),
                               QString::fromUtf8(LoadMessages::kNoWorld),
                               QString::fromUtf8(LoadMessages::kWorldSize),
                               QString::fromUtf8(LoadMessages::kNoMap),
                               QString::fromUtf8(LoadMessages::kHqOutside),
                               QString::fromUtf8(LoadMessages::kPlayersMismatch),
                               QString::fromUtf8(kTimeFormatError)};
    for (const kx::RecordFormat reading : {RecordFormat::EventLog, RecordFormat::Xml}) {
        const QByteArray whole = reading == RecordFormat::Xml ? Xml().bytes() : crlf(kGoodLog);
        for (qsizetype cut = 0; cut < whole.size(); cut += 3) {
            const bool loaded = load(whole.left(cut), reading);
            for (const QString& shown : messages.shown)
                EXPECT_TRUE(known.contains(shown)) << cut << ": " << shown.toStdString();
            if (loaded) {
                // Cut after the HQs: a shorter record of the same world.
                EXPECT_EQ(session.state().cbPlayers.size(), 2) << cut;
                expectSaneReplay("a cut record");
                loadGood();
            } else {
                EXPECT_EQ(messages.shown.size(), 1) << cut;
                EXPECT_EQ(session.state().world.eventIndex, 7) << cut;
                EXPECT_EQ(session.state().cbPlayers.size(), 2) << cut;
            }
        }
    }
    expectGoodRecordStill("after every cut");
}

TEST_F(HostileRecords, OddButReadableRecordsLoadToASaneWorld) {
    loadGood();
    // Twelve fields on every line: fields past the tenth are dropped.
    QStringList twelve;
    for (const QString& line : kGoodLog)
        twelve << line + " a; b; c; d; e; f; g; h; i; j; k; l;";
    twelve[0] = "2005-07-03-14-00-00; Louka; 2; 4; 3; 4; x; y; z; w; v; u;";
    ASSERT_TRUE(load(crlf(twelve), RecordFormat::EventLog));
    EXPECT_EQ(session.state().world.width(), 4);
    expectSaneReplay("twelve fields");

    // Header and map line swapped, the largest speed, events in the far future.
    QStringList odd = kGoodLog;
    std::swap(odd[0], odd[1]);
    odd[1] = "2005-07-03-14-00-00; Louka; 2; 4; 3; 2147483647;";
    odd << "2037-31-12-23-59-59; buy; A0; komár; 1;"
        << "1901-01-01-00-00-00; buy; A0; komár; 1;";
    ASSERT_TRUE(load(crlf(odd), RecordFormat::EventLog));
    EXPECT_EQ(session.state().world.movesPerHour, 2147483647);
    expectSaneReplay("swapped header, largest speed");

    // The largest world: 1000 x 1000 cells, no players.
    const QByteArray map(1000 * 1000, 'N');
    ASSERT_TRUE(load("2005-07-03-14-00-00; Velký; 0; 1000; 1000; 4;\r\n"
                     "2005-07-03-14-00-00; create_world; " +
                         map +
                         ";\r\n"
                         "2005-07-03-15-00-00; buy; A999; komár; 1;\r\n",
                     RecordFormat::EventLog));
    EXPECT_EQ(session.state().mapColumns, 1001);
    expectSaneReplay("largest world");
}

TEST_F(HostileRecords, NamesWithMarkupAndUndefinedBytesStayTheirOwn) {
    loadGood();
    // '&' and '<' are copied as they stand; bytes that Windows-1250 does not define stay one
    // character each and still find their player.
    Xml x;
    x.world = replaced(x.world, ">Louka<", ">L&<ouka<");
    x.hqs[1] = replaced(x.hqs[1], ">Jana<", ">J&a<na<");
    x.events << "<trn><time>1120396300</time><from>Pepa</from><to>J&a<na</to>"
                "<nectar>40</nectar></trn>";
    ASSERT_TRUE(load(x.bytes(), RecordFormat::Xml)) << messages.shown.join('|').toStdString();
    EXPECT_EQ(session.state().cbPlayers, (QStringList{"Pepa (louka)", "J&a<na (les)"}));
    EXPECT_EQ(session.state().gbPlayersCaption, QString::fromUtf8(" L&<ouka - hráči "));
    for (int i = 0; i < 3; ++i)
        session.Button1Click();
    // 500, one hour of the HQ's 12, and the 40 sent.
    EXPECT_EQ(session.state().world.playerTable[1][Nectar], 552);
    expectSaneReplay("markup in names");

    // The same record with plain names replays to the same players.
    QByteArray plain = crlf(kGoodLog) + "2005-07-03-22-00-00; trade; Pepa; jANA; 7;\r\n";
    QByteArray odd = plain;
    odd.replace("Jana", "J\x81\x98na").replace("jANA", "j\x81\x98NA");
    RecordedMessages quiet;
    ReplaySession reference(quiet, QLocale::c());
    ASSERT_TRUE(reference.loadRecord(write(plain), RecordFormat::EventLog));
    ASSERT_TRUE(load(odd, RecordFormat::EventLog));
    // One character per byte, whatever the byte.
    EXPECT_EQ(session.state().cbPlayers.at(1).size(), QStringLiteral("J..na (les)").size());
    for (ReplaySession* r : {&session, &reference}) {
        r->Button2Click();
        r->Button1Click();
    }
    EXPECT_EQ(session.state().world.playerTable, reference.state().world.playerTable);
    EXPECT_EQ(session.state().info.size(), reference.state().info.size());
}
