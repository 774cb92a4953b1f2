#include "record_files.h"

#include "records/time_stamp.h"
#include "replay/record_opening.h"

#include <gtest/gtest.h>

#include <QFile>

#include <cstdio>
#include <string_view>
#include <utility>

using namespace kx;

namespace {

const QString kHeader = QString::fromUtf8("2005-07-03-14-00-00; Les u potoka; 2; 5; 3; 4;");
const QString kMap = QString::fromUtf8("2005-07-03-14-00-00; create_world; NNBSNNXNNNSSSNn;");
const QString kHqPepa = QString::fromUtf8("2005-07-03-14-01-00; create_hq; Pepa; louka; C0;");
const QString kHqJana = QString::fromUtf8("2005-07-03-14-02-30; create_hq; Jana; les; B2;");
const QString kBuy = QString::fromUtf8("2005-07-03-14-05-09; buy; C0; komár; 10;");

struct Loader : ::testing::Test {
    RecordFiles files;
    MainState state;
    RecordedMessages messages;

    bool load(const QStringList& lines, RecordFormat format = RecordFormat::EventLog) {
        return loadRecord(state, files.write("r.kxr", lines), format, messages, nullptr) ==
               LoadStatus::Loaded;
    }
};

} // namespace

TEST_F(Loader, BuildsTheInitialWorldFromHeaderMapAndHqs) {
    ASSERT_TRUE(load({kHeader, kMap, QString(), kHqPepa, kHqJana, kBuy}));
    EXPECT_TRUE(messages.shown.isEmpty());
    const World& w = state.world;
    EXPECT_EQ(w.width(), 5);
    EXPECT_EQ(w.height(), 3);
    EXPECT_EQ(w.movesPerHour, 4);
    EXPECT_EQ(state.mapColumns, 6);
    EXPECT_EQ(state.mapRows, 4);
    EXPECT_EQ(state.gbPlayersCaption, QString::fromUtf8(" Les u potoka - hráči "));
    EXPECT_EQ(state.cbPlayers, (QStringList{"Pepa (louka)", "Jana (les)"}));
    EXPECT_EQ(state.lvData.size(), 5);
    EXPECT_EQ(w.eventIndex, 4);
    EXPECT_EQ(w.lastEventTime, *timeSeconds("2005-07-03-14-02-30"));
    EXPECT_TRUE(state.panelEnabled);
    EXPECT_FALSE(state.progressVisible);

    // Terrain row by row: NNBSN / NXNNN / SSSNn.
    EXPECT_EQ(w.fieldGrid(0, 0), 1);
    EXPECT_EQ(w.fieldGrid(3, 0), 3);
    EXPECT_EQ(w.fieldGrid(1, 1), -1);
    EXPECT_EQ(w.fieldGrid(4, 2), -1); // lower-case n is impassable
    // HQs: Pepa (louka) on swamp C0, Jana (les) on rock B2.
    EXPECT_EQ(w.fieldGrid(2, 0), 132);
    EXPECT_EQ(w.fieldGrid(1, 2), 238);
    EXPECT_EQ(w.playerTable[0], (PlayerRecord{0, 15, 500, 0, 2, 0, 0, 0}));
    EXPECT_EQ(w.playerTable[1], (PlayerRecord{1, 15, 500, 1, 1, 2, 0, 0}));
}

TEST_F(Loader, AcceptsTheMapLineFirstAndReadsTeamsExactly) {
    const QString hqLes = QString::fromUtf8("2005-07-03-14-02-30; create_hq; Jana; Les; B2;");
    ASSERT_TRUE(load({kMap, kHeader, kHqPepa, hqLes}));
    EXPECT_EQ(state.world.width(), 5);
    EXPECT_EQ(state.world.playerTable[1][Team], 0); // "Les" is not "les"
    EXPECT_EQ(state.world.fieldGrid(1, 2), 233);
}

TEST_F(Loader, ZeroPlayersStartAtTheThirdItem) {
    const QString header = QString::fromUtf8("2005-07-03-14-00-00; Prázdno; 0; 5; 3; 4;");
    const QString map = QString::fromUtf8("2005-07-03-15-00-00; create_world; NNNNNNNNNNNNNNN;");
    ASSERT_TRUE(load({header, map, kBuy}));
    EXPECT_EQ(state.world.eventIndex, 2);
    EXPECT_EQ(state.world.lastEventTime, *timeSeconds("2005-07-03-15-00-00"));
    EXPECT_TRUE(state.cbPlayers.isEmpty());
}

TEST_F(Loader, DamagedRecordsShowTheirMessageAndKeepThePreviousRecord) {
    ASSERT_TRUE(load({kHeader, kMap, kHqPepa, kHqJana, kBuy}));
    const MainState loaded = state;

    struct Case {
        QStringList lines;
        const char* message;
    };
    const QString shortHeader = QString::fromUtf8("2005-07-03-14-00-00; Svět; 2; 5; 3;");
    const QString wordWidth = QString::fromUtf8("2005-07-03-14-00-00; Svět; 2; pět; 3; 4;");
    const QString hugeWidth = QString::fromUtf8("2005-07-03-14-00-00; Svět; 2; 100000; 3; 4;");
    const QString zeroWidth = QString::fromUtf8("2005-07-03-14-00-00; Svět; 2; 0; 3; 4;");
    const QString manyPlayers = QString::fromUtf8("2005-07-03-14-00-00; Svět; 99999; 5; 3; 4;");
    const QString noMapText = QString::fromUtf8("2005-07-03-14-00-00; create_world;");
    const QString shortMap = QString::fromUtf8("2005-07-03-14-00-00; create_world; NNNN;");
    const QString hqOutside = QString::fromUtf8("2005-07-03-14-02-30; create_hq; Jana; les; Z99;");
    const QString hqNegative = QString::fromUtf8("2005-07-03-14-02-30; create_hq; Jana; les; A-1;");
    const std::vector<Case> cases = {
        {{}, LoadMessages::kNoHeader},
        {{kHeader}, LoadMessages::kNoHeader},
        {{kHeader, kHqPepa, kMap}, LoadMessages::kNoHeader},
        {{shortHeader, kMap}, LoadMessages::kNoWorld},
        {{wordWidth, kMap}, LoadMessages::kNoWorld},
        {{hugeWidth, kMap}, LoadMessages::kWorldSize},
        {{zeroWidth, kMap}, LoadMessages::kWorldSize},
        {{manyPlayers, kMap}, LoadMessages::kPlayerCount},
        {{kHeader, noMapText, kHqPepa, kHqJana}, LoadMessages::kNoMap},
        {{kHeader, shortMap, kHqPepa, kHqJana}, LoadMessages::kNoMap},
        {{kHeader, kMap, kHqPepa, kBuy}, LoadMessages::kPlayersMismatch},
        {{kHeader, kMap, kHqPepa}, LoadMessages::kPlayersMismatch},
        {{kHeader, kMap, kHqPepa, hqOutside}, LoadMessages::kHqOutside},
        {{kHeader, kMap, kHqPepa, hqNegative}, LoadMessages::kHqOutside},
    };
    for (const Case& c : cases) {
        messages.shown.clear();
        EXPECT_FALSE(load(c.lines)) << c.message;
        EXPECT_EQ(messages.shown, QStringList{QString::fromUtf8(c.message)});
        EXPECT_EQ(state.cbPlayers, loaded.cbPlayers) << c.message;
        EXPECT_EQ(state.lvData.size(), loaded.lvData.size()) << c.message;
        EXPECT_EQ(state.world.width(), 5) << c.message;
        EXPECT_EQ(state.world.fieldGrid(1, 2), 238) << c.message;
        EXPECT_EQ(state.world.eventIndex, 4) << c.message;
        EXPECT_EQ(state.dlgOpen.fileName, loaded.dlgOpen.fileName) << c.message;
        EXPECT_FALSE(state.progressVisible);
    }
}

TEST_F(Loader, AnUnreadableHqTimeIsReportedAndTheLoadGoesOn) {
    const QString badTime = QString::fromUtf8("2005-07-03-14-xx-30; create_hq; Jana; les; B2;");
    state.world.lastEventTime = 1234;
    ASSERT_TRUE(load({kHeader, kMap, kHqPepa, badTime}));
    EXPECT_EQ(messages.shown, QStringList{QString::fromUtf8("Chyba formátu času")});
    EXPECT_EQ(state.world.lastEventTime, 1234);
}

TEST_F(Loader, FilesThatCannotBeReadKeepThePreviousRecord) {
    ASSERT_TRUE(load({kHeader, kMap, kHqPepa, kHqJana, kBuy}));
    EXPECT_EQ(
        loadRecord(state, files.path("missing.kxr"), RecordFormat::EventLog, messages, nullptr),
        LoadStatus::Unreadable);
    EXPECT_EQ(loadRecord(state, files.path(""), RecordFormat::EventLog, messages, nullptr),
              LoadStatus::Unreadable);
    ASSERT_EQ(messages.shown.size(), 2);
    EXPECT_TRUE(messages.shown[0].startsWith(QString::fromUtf8("Soubor nelze otevřít:\n")));
    EXPECT_EQ(state.world.eventIndex, 4);
    EXPECT_EQ(state.cbPlayers.size(), 2);
}

TEST_F(Loader, TheReadingFollowsTheFilterNotTheExtension) {
    const QString path = files.write("r.kxr", {kHeader, kMap, kHqPepa, kHqJana});
    EXPECT_EQ(loadRecord(state, path, RecordFormat::Xml, messages, nullptr), LoadStatus::Damaged);
    EXPECT_EQ(messages.shown, QStringList{QString::fromUtf8(LoadMessages::kReadFailed)});

    const QString xml =
        files.write("x.kxr2", {R"(<?xml version="1.0" encoding="windows-1250"?>)", "<record>"});
    messages.shown.clear();
    EXPECT_EQ(loadRecord(state, xml, RecordFormat::EventLog, messages, nullptr),
              LoadStatus::Damaged);
    EXPECT_EQ(messages.shown, QStringList{QString::fromUtf8(LoadMessages::kNoHeader)});

    EXPECT_EQ(recordFormatForPath("a/b.KXR2"), RecordFormat::Xml);
    EXPECT_EQ(recordFormatForPath("a.kxr2/b.kxr"), RecordFormat::EventLog);
}

namespace {
class ScriptedDialog : public OpenDialog {
  public:
    bool exec(OpenDialogState& dialog) override {
        seenInitialDir = dialog.initialDir;
        seenFileName = dialog.fileName;
        if (!answer)
            return false;
        dialog.fileName = chosen;
        dialog.filterIndex = filter;
        return true;
    }
    bool answer = true;
    QString chosen;
    int filter = kFilterEventLog;
    QString seenInitialDir, seenFileName;
};
} // namespace

TEST_F(Loader, OpenDialogStartsInTheCurrentFolderAndKeepsTheFilter) {
    ScriptedDialog dialog;
    dialog.chosen = files.write("first.kxr", {kHeader, kMap, kHqPepa, kHqJana, kBuy});
    ASSERT_TRUE(mmFileOpenClick(state, dialog, messages, nullptr));
    EXPECT_EQ(state.dlgOpen.filterIndex, kFilterEventLog);
    EXPECT_EQ(state.dlgOpen.fileName, dialog.chosen);

    dialog.answer = false;
    EXPECT_FALSE(mmFileOpenClick(state, dialog, messages, nullptr));
    EXPECT_EQ(dialog.seenFileName, QString());
    EXPECT_EQ(dialog.seenInitialDir, QFileInfo(dialog.chosen).absolutePath());
    EXPECT_EQ(state.dlgOpen.fileName, dialog.chosen) << "a cancelled dialog keeps the record";

    // "Pokračovat" reloads the same record with the same reading.
    state.summaryShown = true;
    state.mapShown = false;
    state.world.eventIndex = 5;
    EXPECT_TRUE(btnNextClick(state, messages, nullptr));
    EXPECT_EQ(state.world.eventIndex, 4);
    EXPECT_TRUE(state.mapShown);
    EXPECT_FALSE(state.summaryShown);
}

// The dialog reads ".kxr" and ".kxr2" by their extension whatever filter is selected; the
// filter decides only for other names, and stays selected.
TEST_F(Loader, TheOpenDialogReadsRecordsByTheirExtension) {
    struct Case {
        const char* name;
        int filter;
        RecordFormat format;
    };
    constexpr auto kXml = RecordFormat::Xml;
    constexpr auto kLog = RecordFormat::EventLog;
    const Case cases[] = {
        {"a.kxr", kFilterXml, kLog},       {"a.KXR", kFilterXml, kLog},
        {"a.kxr2", kFilterEventLog, kXml}, {"a.Kxr2", kFilterEventLog, kXml},
        {"a.kxr2.txt", kFilterXml, kXml},  {"a.txt", kFilterEventLog, kLog},
        {"kxr", kFilterXml, kXml},         {"a.kxr3", kFilterEventLog, kLog},
    };
    for (const Case& c : cases)
        EXPECT_EQ(recordFormatForDialogChoice(c.name, c.filter), c.format) << c.name;

    ScriptedDialog dialog;
    dialog.chosen = files.write("first.KXR", {kHeader, kMap, kHqPepa, kHqJana, kBuy});
    dialog.filter = kFilterXml;
    EXPECT_TRUE(mmFileOpenClick(state, dialog, messages, nullptr));
    EXPECT_EQ(state.recordFormat, RecordFormat::EventLog);
    EXPECT_EQ(state.dlgOpen.filterIndex, kFilterXml);
}

// A record file that changes while it loads gives a message, never a world built from parts
// of two states; the record shown before stays.
TEST_F(Loader, AFileChangedWhileItLoadsKeepsThePreviousRecord) {
    ASSERT_TRUE(load({kHeader, kMap, kHqPepa, kHqJana, kBuy}));
    const MainState loaded = state;
    QStringList big = {kHeader, kMap, kHqPepa, kHqJana};
    for (int i = 0; i < 12000; ++i) // several pieces of the reader
        big << kBuy;
    using Change = void (*)(const QString&);
    const struct {
        const char* name;
        Change change; // done once, after the first piece is read
    } cases[] = {
        {"unchanged", [](const QString&) {}},
        {"cut short", [](const QString& path) { QFile::resize(path, 1000); }},
        {"rewritten",
         [](const QString& path) {
             QFile file(path);
             ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.seek(400000));
             file.write("9");
             file.setFileTime(file.fileTime(QFileDevice::FileModificationTime).addSecs(1),
                              QFileDevice::FileModificationTime);
         }},
        {"removed", [](const QString& path) { QFile::remove(path); }},
        {"replaced",
         [](const QString& path) {
             ASSERT_TRUE(QFile::copy(path, path + ".new"));
             ASSERT_EQ(::rename(QFile::encodeName(path + ".new"), QFile::encodeName(path)), 0);
         }},
    };
    // The same as an XML record, which is converted while it is read.
    QStringList bigXml = {R"(<?xml version="1.0" encoding="windows-1250"?>)", "<record>",
                          "<world><i>1</i><n>W</n><c>0</c><w>2</w><h>1</h><p>1</p><s>4</s>"
                          "<m>NN</m></world>",
                          "<events>", "<chq><t>5</t><n>A</n><c>A0</c><team>les</team></chq>"};
    for (int i = 0; i < 12000; ++i)
        bigXml << "<buy><t>7</t><c>A0</c><k>vosa</k><n>1</n></buy>";
    bigXml << "</events>"
           << "</record>";
    for (const auto& [format, lines] :
         {std::pair{RecordFormat::EventLog, big}, std::pair{RecordFormat::Xml, bigXml}})
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            SCOPED_TRACE(format == RecordFormat::Xml ? "XML" : "event log");
            state = loaded;
            messages.shown.clear();
            const QString path = files.write("big.kxr", lines);
            struct Changer : ActivityObserver {
                Change change;
                QString path;
                bool done = false;
                void progressChanged(int, bool) override {}
                void keepAlive() override {
                    if (!std::exchange(done, true))
                        change(path);
                }
            } changer;
            changer.change = c.change;
            changer.path = path;
            const LoadStatus status = loadRecord(state, path, format, messages, &changer);
            if (c.name == std::string_view("unchanged")) {
                EXPECT_EQ(status, LoadStatus::Loaded);
                EXPECT_EQ(state.lvData.size(), 12004 - (format == RecordFormat::Xml));
                continue;
            }
            EXPECT_EQ(status, LoadStatus::Unreadable);
            EXPECT_EQ(messages.shown, QStringList{LoadMessages::kChangedWhileRead + path});
            EXPECT_EQ(state.dlgOpen.fileName, loaded.dlgOpen.fileName);
            EXPECT_EQ(state.lvData.size(), loaded.lvData.size());
            EXPECT_EQ(state.cbPlayers, loaded.cbPlayers);
            EXPECT_EQ(state.world.eventIndex, loaded.world.eventIndex);
        }
}
