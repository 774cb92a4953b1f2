#include "editor/map_file.h"

#include "records/user_messages.h"

#include "file_faults.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace kx;

namespace {

const QByteArray kXmlLine = "<?xml version=\"1.0\" encoding=\"Windows-1250\" ?>\n";

// The header of a map saved with the window's default texts under `name`.
QByteArray defaultHeader(const QByteArray& name, int width, int height) {
    return kXmlLine + "<world>\n<name>" + name + "</name>\n<width>" + QByteArray::number(width) +
           "</width>\n<height>" + QByteArray::number(height) +
           "</height>\n<speed>3</speed>\n<limit>10</limit>\n<description></description>\n"
           "<author></author>\n<class>0</class>\n<min>0</min>\n<max>100</max>\n\n";
}

MapTexts defaultTexts(const QString& name = QStringLiteral("mapa")) {
    return {name,
            QString(),
            QString(),
            QStringLiteral("3"),
            QStringLiteral("10"),
            QStringLiteral("0"),
            QStringLiteral("100")};
}

// Records messages, and the caption, text and default of every question.
struct Recorder : UserMessages {
    struct Question {
        QString caption, text;
        bool defaultYes;
    };
    QStringList shown;
    std::vector<Question> questions;
    bool answer = false;

    void showMessage(const QString& text) override { shown.append(text); }
    bool askYesNo(const QString& caption, const QString& text, bool defaultYes) override {
        questions.push_back({caption, text, defaultYes});
        return answer;
    }
};

struct MapFileTest : ::testing::Test {
    QTemporaryDir dir;
    MapEditor editor;
    Recorder messages;

    QByteArray read(const QString& name) const {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QStringList files() const {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }
    bool save(const MapTexts& texts) { return saveMap(editor, texts, dir.path(), messages); }
};

TEST_F(MapFileTest, UntouchedEditorGivesTwentyRowsOfPlainFields) {
    QString path;
    ASSERT_TRUE(saveMap(editor, defaultTexts(), dir.path(), messages, &path));
    EXPECT_EQ(path, dir.filePath("mapa.xml"));
    EXPECT_TRUE(messages.shown.isEmpty());

    QByteArray expected = defaultHeader("mapa", 20, 20);
    for (int id = 0; id < 400; ++id) {
        expected += "<fld><id>" + QByteArray::number(id) + "</id><t>0</t><u></u><c>0</c></fld>\n";
        if (id % 20 == 19)
            expected += "\n";
    }
    expected += "</world>";
    EXPECT_EQ(read("mapa.xml"), expected);
}

TEST_F(MapFileTest, SavingAgainTakesTheNextFreeNumberAndNeverOverwrites) {
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(save(defaultTexts()));
    EXPECT_EQ(files(), QStringList({"mapa.xml", "mapa1.xml", "mapa2.xml"}));
    EXPECT_EQ(read("mapa.xml"), read("mapa2.xml"));

    // A gap is filled; a file of another kind, a folder or a dangling link all count as taken.
    QFile::remove(dir.filePath("mapa1.xml"));
    ASSERT_TRUE(QDir(dir.path()).mkdir("mapa3.xml"));
    ASSERT_TRUE(QFile::link(dir.filePath("nowhere"), dir.filePath("mapa4.xml")));
    ASSERT_TRUE(save(defaultTexts()));
    ASSERT_TRUE(save(defaultTexts()));
    EXPECT_TRUE(QFileInfo(dir.filePath("mapa1.xml")).isFile());
    EXPECT_TRUE(QFileInfo(dir.filePath("mapa5.xml")).isFile());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("nowhere")));
}

TEST_F(MapFileTest, FiveByThreeMapWithUnitsSwampRockAndImpassableFields) {
    editor.cbXChange(2, 0); // 5 columns, 3 rows
    editor.image1Click(2);
    editor.edUnitChange(u"12");
    editor.dgMapSelectCell(1, 2, 2); // A1: 12 Hovado on swamp, field number 5
    editor.image1Click(0);
    editor.dgMapSelectCell(5, 1, 3); // E0: impassable
    editor.image1Click(3);
    editor.edUnitChange(u"7");
    editor.dgMapSelectCell(2, 3, 3); // B2: 7 Šváb on rock
    editor.edUnitChange(u"0");
    editor.dgMapSelectCell(3, 3, 1); // C2: rock without units

    MapTexts texts = defaultTexts(QString::fromUtf8("Žluťoučký kůň"));
    texts.edAuthor = QString::fromUtf8("Pepa a spol.");
    texts.mPopis = QString::fromUtf8("Bitva u řeky");
    texts.edSpeed = "03";
    texts.edLimit = "-5";
    texts.edMinE = "+1";
    texts.edMaxE = "999";
    ASSERT_TRUE(save(texts)) << messages.shown.join('\n').toStdString();

    const QByteArray expected = kXmlLine +
                                "<world>\n"
                                "<name>\x8Elu\x9Do\x75\xE8k\xFD k\xF9\xF2</name>\n"
                                "<width>5</width>\n"
                                "<height>3</height>\n"
                                "<speed>03</speed>\n"
                                "<limit>-5</limit>\n"
                                "<description>Bitva u \xF8\x65ky</description>\n"
                                "<author>Pepa a spol.</author>\n"
                                "<class>0</class>\n"
                                "<min>+1</min>\n"
                                "<max>999</max>\n"
                                "\n"
                                "<fld><id>0</id><t>0</t><u></u><c>0</c></fld>\n"
                                "<fld><id>1</id><t>0</t><u></u><c>0</c></fld>\n"
                                "<fld><id>2</id><t>0</t><u></u><c>0</c></fld>\n"
                                "<fld><id>3</id><t>0</t><u></u><c>0</c></fld>\n"
                                "<fld><id>4</id><t>3</t><u></u><c>0</c></fld>\n"
                                "\n"
                                "<fld><id>5</id><t>1</t><u>Hovado</u><c>12</c></fld>\n"
                                "<fld><id>6</id><t>0</t><u></u><c>0</c></fld>\n"
                                "<fld><id>7</id><t>0</t><u></u><c>0</c></fld>\n"
                                "<fld><id>8</id><t>0</t><u></u><c>0</c></fld>\n"
                                "<fld><id>9</id><t>0</t><u></u><c>0</c></fld>\n"
                                "\n"
                                "<fld><id>10</id><t>0</t><u></u><c>0</c></fld>\n"
                                "<fld><id>11</id><t>2</t><u>\x8Av\xE1\x62</u><c>7</c></fld>\n"
                                "<fld><id>12</id><t>2</t><u></u><c>0</c></fld>\n"
                                "<fld><id>13</id><t>0</t><u></u><c>0</c></fld>\n"
                                "<fld><id>14</id><t>0</t><u></u><c>0</c></fld>\n"
                                "\n"
                                "</world>";
    EXPECT_EQ(read(QString::fromUtf8("Žluťoučký kůň.xml")), expected);
}

TEST_F(MapFileTest, FileTerrainNumbers) {
    const std::pair<int32_t, int32_t> cases[] = {{1, 0}, {6, 0},  {2, 1}, {7, 1}, {3, 2},
                                                 {8, 2}, {-1, 3}, {0, 0}, {5, 0}, {100, 0}};
    for (const auto& [code, t] : cases)
        EXPECT_EQ(fileTerrainType(code), t) << code;
}

TEST_F(MapFileTest, SettingThatIsNoIntegerStopsTheSaveBeforeAnyFile) {
    for (const char* bad : {"abc", "", "-", "1.5", " 3"}) {
        MapTexts texts = defaultTexts();
        texts.edMinE = QString::fromLatin1(bad);
        EXPECT_FALSE(save(texts)) << bad;
    }
    MapTexts texts = defaultTexts();
    texts.edSpeed.clear();
    EXPECT_FALSE(save(texts));
    EXPECT_EQ(messages.shown, QStringList(6, QString::fromUtf8("Špatné parametry!")));
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(MapFileTest, TextWindows1250CannotHoldIsRefusedNamingTheField) {
    const struct {
        QString MapTexts::*field;
        const char* caption;
    } cases[] = {{&MapTexts::edName, "„Jméno“"},
                 {&MapTexts::edAuthor, "„Autor“"},
                 {&MapTexts::mPopis, "„Popis“"}};
    for (const auto& c : cases) {
        MapTexts texts = defaultTexts();
        texts.*c.field = QString::fromUtf8("ok \U0001F41D ok"); // a bee, outside the code page
        EXPECT_FALSE(save(texts));
        ASSERT_FALSE(messages.shown.isEmpty());
        EXPECT_TRUE(messages.shown.last().contains(QString::fromUtf8(c.caption)));
        EXPECT_TRUE(messages.shown.last().contains(QString::fromUtf8("„\U0001F41D“")));
    }
    EXPECT_TRUE(files().isEmpty());

    // Only the description's first line is saved, so only it is checked.
    MapTexts texts = defaultTexts();
    texts.mPopis = QString::fromUtf8("Řeka\n\u4E2D");
    ASSERT_TRUE(save(texts));
    EXPECT_TRUE(read("mapa.xml").contains("<description>\xD8\x65ka</description>\n"));
}

TEST_F(MapFileTest, NameKeepsTheFileInTheFolder) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    for (const char* name : {"sub/mapa", "../mapa", "a\\b"}) {
        EXPECT_FALSE(save(defaultTexts(QString::fromLatin1(name)))) << name;
    }
    EXPECT_EQ(messages.shown.size(), 3);
    EXPECT_TRUE(messages.shown[0].contains(QString::fromUtf8("„/“")));
    EXPECT_TRUE(messages.shown[2].contains(QString::fromUtf8("„\\“")));
    EXPECT_EQ(files(), QStringList());
    EXPECT_TRUE(QDir(dir.filePath("sub")).isEmpty());
}

TEST_F(MapFileTest, MarkupCharactersAndAnEmptyNameAreRefusedNamingTheField) {
    const struct {
        QString MapTexts::*field;
        const char* text;
        const char* said; // what the message must name
    } cases[] = {{&MapTexts::edName, "Les & louka", "„&“"},
                 {&MapTexts::edName, "<mapa", "„<“"},
                 {&MapTexts::edAuthor, "Jan > Petr", "„>“"},
                 {&MapTexts::mPopis, "Mapa \"Kex\"", "„\"“"},
                 {&MapTexts::edName, "", "prázdné"}};
    for (const auto& c : cases) {
        MapTexts texts = defaultTexts();
        texts.*c.field = QString::fromUtf8(c.text);
        messages.shown.clear();
        EXPECT_FALSE(save(texts)) << c.text;
        ASSERT_EQ(messages.shown.size(), 1) << c.text;
        const QString caption = c.field == &MapTexts::edName     ? QString::fromUtf8("„Jméno“")
                                : c.field == &MapTexts::edAuthor ? QString::fromUtf8("„Autor“")
                                                                 : QString::fromUtf8("„Popis“");
        EXPECT_TRUE(messages.shown[0].contains(caption)) << messages.shown[0].toStdString();
        EXPECT_TRUE(messages.shown[0].contains(QString::fromUtf8(c.said)))
            << messages.shown[0].toStdString();
    }
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(MapFileTest, FolderThatCannotTakeTheFileGivesAMessageAndNoFile) {
    const QString missing = dir.filePath("gone");
    EXPECT_FALSE(saveMap(editor, defaultTexts(), missing, messages));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].contains(QString::fromUtf8("nepodařilo vytvořit")));
    EXPECT_TRUE(messages.shown[0].contains(QDir::toNativeSeparators(missing + "/mapa.xml")));
}

TEST_F(MapFileTest, WriteFailingPartWayRemovesTheFile) {
    {
        test::FileSizeLimit limit(1000);
        EXPECT_FALSE(save(defaultTexts()));
    }
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].contains(QString::fromUtf8("nepodařilo zapsat")));
    EXPECT_TRUE(messages.shown[0].contains("File too large"));
    EXPECT_TRUE(files().isEmpty());
    // Once writing works again the same name is free.
    ASSERT_TRUE(save(defaultTexts()));
    EXPECT_EQ(files(), QStringList({"mapa.xml"}));
}

// Each fault gives the system's reason, leaves the map that was there whole and no other file.
TEST_F(MapFileTest, FaultsLeaveNoFileAndTheExistingMapWhole) {
    const struct {
        const char* folder;  // inside the test folder; "" for the test folder itself
        const char* blocker; // made a regular file before the save, or removed when a folder
        rlim_t sizeLimit;
        const char* reason;
    } cases[] = {
        {"", "", 1000, "File too large"},
        {"plain/maps", "plain", RLIM_INFINITY, "Not a directory"},
        {"maps", "maps", RLIM_INFINITY, "No such file or directory"},
    };
    const QByteArray old = "<world>old</world>";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        QTemporaryDir root;
        QFile existing(root.filePath("mapa.xml"));
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly) && existing.write(old) == old.size());
        existing.close();
        const QString blocker = root.filePath(c.blocker);
        if (c.folder == QByteArray("maps")) { // the window's folder, removed meanwhile
            ASSERT_TRUE(QDir().mkpath(blocker));
            ASSERT_TRUE(QDir(blocker).removeRecursively());
        } else if (*c.blocker) {
            QFile plain(blocker);
            ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
        }
        Recorder recorder;
        {
            test::FileSizeLimit limit(c.sizeLimit);
            EXPECT_FALSE(saveMap(editor, defaultTexts(),
                                 *c.folder ? root.filePath(c.folder) : root.path(), recorder));
        }
        ASSERT_EQ(recorder.shown.size(), 1);
        EXPECT_TRUE(recorder.shown[0].contains(c.reason)) << recorder.shown[0].toStdString();
        const QStringList left = test::entriesUnder(root.path());
        EXPECT_EQ(left, *c.blocker && QFileInfo::exists(blocker)
                            ? QStringList({"mapa.xml", c.blocker})
                            : QStringList({"mapa.xml"}));
        ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
        EXPECT_EQ(existing.readAll(), old);
    }
}

TEST_F(MapFileTest, AFullOrReadOnlyDiskLeavesNoFileAndTheExistingMapWhole) {
    for (const bool full : {true, false}) {
        test::SmallDisk disk(64 * 1024);
        if (!disk.mounted())
            GTEST_SKIP() << disk.why().toStdString();
        QFile existing(disk.filePath("mapa.xml"));
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly) && existing.write("old") == 3);
        existing.close();
        if (full)
            disk.fill();
        else
            ASSERT_TRUE(disk.makeReadOnly());
        Recorder recorder;
        EXPECT_FALSE(saveMap(editor, defaultTexts(), disk.path(), recorder));
        ASSERT_EQ(recorder.shown.size(), 1);
        EXPECT_TRUE(
            recorder.shown[0].contains(full ? "No space left on device" : "Read-only file system"))
            << recorder.shown[0].toStdString();
        EXPECT_EQ(test::entriesUnder(disk.path()),
                  full ? QStringList({"filler", "mapa.xml"}) : QStringList({"mapa.xml"}));
        ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
        EXPECT_EQ(existing.readAll(), "old");
    }
}

TEST_F(MapFileTest, WriteTextReportsAShortOrFailedWrite) {
    QByteArray target;
    QBuffer buffer(&target);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
    EXPECT_TRUE(writeText(buffer, "<world>\n"));
    EXPECT_TRUE(writeText(buffer, ""));
    EXPECT_EQ(target, "<world>\n");
    buffer.close();
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    EXPECT_FALSE(writeText(buffer, "x"));
}

TEST_F(MapFileTest, SaveButtonOffersOneRetryWithNoAsDefault) {
    MapTexts texts = defaultTexts();
    texts.edLimit = "x";

    // Refused retry: one attempt, one question.
    EXPECT_FALSE(button1Click(editor, texts, dir.path(), messages));
    ASSERT_EQ(messages.questions.size(), 1u);
    EXPECT_EQ(messages.questions[0].caption, QString::fromUtf8("Chyba ukládání"));
    EXPECT_EQ(messages.questions[0].text,
              QString::fromUtf8("Mapu se nepodařilo uložit. Opakovat?"));
    EXPECT_FALSE(messages.questions[0].defaultYes);
    EXPECT_EQ(messages.shown.size(), 1);

    // Accepted retry that fails again: the message twice, no second question.
    messages.answer = true;
    EXPECT_FALSE(button1Click(editor, texts, dir.path(), messages));
    EXPECT_EQ(messages.questions.size(), 2u);
    EXPECT_EQ(messages.shown.size(), 3);
    EXPECT_TRUE(files().isEmpty());

    // Success: no message, no question.
    EXPECT_TRUE(button1Click(editor, defaultTexts(), dir.path(), messages));
    EXPECT_EQ(messages.questions.size(), 2u);
    EXPECT_EQ(messages.shown.size(), 3);
    EXPECT_EQ(files(), QStringList({"mapa.xml"}));
}

TEST_F(MapFileTest, RetryAfterAFailedWriteSucceedsOnceTheFolderIsBack) {
    const QString later = dir.filePath("later");
    struct MakeFolderOnQuestion : Recorder {
        QString folder;
        bool askYesNo(const QString& caption, const QString& text, bool defaultYes) override {
            QDir().mkpath(folder);
            return Recorder::askYesNo(caption, text, defaultYes);
        }
    } recorder;
    recorder.folder = later;
    recorder.answer = true;
    EXPECT_TRUE(button1Click(editor, defaultTexts(), later, recorder));
    EXPECT_EQ(recorder.shown.size(), 1);
    EXPECT_TRUE(QFileInfo(later + "/mapa.xml").isFile());
}

} // namespace
