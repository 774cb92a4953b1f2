#include "browser/record_list.h"

#include <QCollator>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using kx::RecordRow;

class RecordListing : public ::testing::Test {
  protected:
    void touch(const QString& name) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << name.toStdString();
    }
    QStringList captions(const QList<RecordRow>& rows) {
        QStringList out;
        for (const RecordRow& row : rows)
            out.append(row.map);
        return out;
    }
    QTemporaryDir dir;
    const QLocale czech{QLocale::Czech, QLocale::CzechRepublic};
};

TEST(RecordRows, SplitTheNameAtItsLastUnderscore) {
    const auto arena = kx::recordRowOf(QStringLiteral("Arena_2005-03-12.kxr2"));
    ASSERT_TRUE(arena);
    EXPECT_EQ(arena->map, QStringLiteral("Arena"));
    EXPECT_EQ(arena->date, QStringLiteral("12. 03. 2005"));
    EXPECT_EQ(arena->base, QStringLiteral("Arena_2005-03-12"));
    EXPECT_EQ(arena->type, QStringLiteral("kxr2"));
    EXPECT_EQ(arena->fileName, QStringLiteral("Arena_2005-03-12.kxr2"));

    const auto big = kx::recordRowOf(QStringLiteral("Big_Map_2004-11-30.kxr"));
    ASSERT_TRUE(big);
    EXPECT_EQ(big->map, QStringLiteral("Big_Map"));
    EXPECT_EQ(big->date, QStringLiteral("30. 11. 2004"));
    EXPECT_EQ(big->type, QStringLiteral("kxr"));
}

TEST(RecordRows, ShortOrMissingDatesGiveWhatIsThere) {
    const auto noUnderscore = kx::recordRowOf(QStringLiteral("Arena.kxr"));
    ASSERT_TRUE(noUnderscore);
    EXPECT_EQ(noUnderscore->map, QStringLiteral("Arena"));
    EXPECT_EQ(noUnderscore->date, QString());
    EXPECT_EQ(kx::recordRowOf(QStringLiteral("A_2005-03.kxr"))->date, QStringLiteral(". 03. 2005"));
    EXPECT_EQ(kx::recordRowOf(QStringLiteral("A_20.kxr"))->date, QStringLiteral(". . 20"));
    EXPECT_EQ(kx::recordRowOf(QStringLiteral("A_.kxr"))->date, QStringLiteral(". . "));
    EXPECT_EQ(kx::recordRowOf(QStringLiteral("_2005-03-12.kxr"))->map, QString());
}

TEST(RecordRows, OnlyRecordExtensionsInAnyCaseWithABaseName) {
    EXPECT_FALSE(kx::recordRowOf(QStringLiteral(".kxr")));
    EXPECT_FALSE(kx::recordRowOf(QStringLiteral(".kxr2")));
    EXPECT_FALSE(kx::recordRowOf(QStringLiteral("a.kxr.bak")));
    EXPECT_FALSE(kx::recordRowOf(QStringLiteral("a.kxrx")));
    EXPECT_FALSE(kx::recordRowOf(QStringLiteral("a.kxr3")));
    EXPECT_FALSE(kx::recordRowOf(QStringLiteral("a.kxr.kxr2")));
    EXPECT_FALSE(kx::recordRowOf(QStringLiteral("a.txt")));

    const auto upper = kx::recordRowOf(QStringLiteral("Les_2005-03-12.KXR2"));
    ASSERT_TRUE(upper);
    EXPECT_EQ(upper->type, QStringLiteral("kxr2"));
    EXPECT_EQ(upper->base, QStringLiteral("Les_2005-03-12"));
    EXPECT_EQ(upper->fileName, QStringLiteral("Les_2005-03-12.KXR2"));

    EXPECT_EQ(kx::recordTypeOf(QStringLiteral("x.Kxr")), QStringLiteral("kxr"));
    EXPECT_EQ(kx::recordTypeOf(QStringLiteral("x.txt")), QString());
}

TEST_F(RecordListing, ListsRecordFilesOnlyInCaptionOrder) {
    for (const char* name : {"Zelena_2005-01-02.kxr", "arena_2005-03-12.kxr2", "Boj_2005-01-01.KXR",
                             ".kxr", "notes.txt", "Old_2005-01-01.kxr.bak", "Hora_2006-02-03.kxr"})
        touch(QString::fromLatin1(name));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Folder_2005-01-01.kxr")));

    const QList<RecordRow> rows = kx::FillRecordList(dir.path(), czech);
    EXPECT_EQ(captions(rows), (QStringList{"arena", "Boj", "Hora", "Zelena"}));
    EXPECT_EQ(rows[1].fileName, QStringLiteral("Boj_2005-01-01.KXR"));
    EXPECT_EQ(rows[1].type, QStringLiteral("kxr"));
}

TEST_F(RecordListing, OrdersByTheLocaleAndEqualCaptionsByBaseName) {
    for (const char* name : {"Ivan_1.kxr", "Chata_1.kxr", "Hora_1.kxr", "Hora_2005-02-01.kxr",
                             "Hora_2005-01-01.kxr2", "Hora_2005-01-01.kxr", "hora_1.kxr"})
        touch(QString::fromLatin1(name));
    const QList<RecordRow> rows = kx::FillRecordList(dir.path(), czech);
    // In Czech "ch" is a letter of its own after "h"; lower case goes before upper case.
    EXPECT_EQ(captions(rows),
              (QStringList{"hora", "Hora", "Hora", "Hora", "Hora", "Chata", "Ivan"}));
    QStringList files;
    for (qsizetype i = 1; i <= 4; ++i)
        files.append(rows[i].fileName);
    EXPECT_EQ(files, (QStringList{"Hora_1.kxr", "Hora_2005-01-01.kxr", "Hora_2005-01-01.kxr2",
                                  "Hora_2005-02-01.kxr"}));
}

TEST(CollationLocale, ALocaleWithoutLanguageCollatesAsCzech) {
    const struct {
        QLocale system;
        QLocale::Language language;
    } cases[] = {{QLocale::c(), QLocale::Czech},
                 {QLocale(QStringLiteral("POSIX")), QLocale::Czech},
                 {QLocale(QLocale::German, QLocale::Germany), QLocale::German},
                 {QLocale(QLocale::English, QLocale::UnitedStates), QLocale::English}};
    for (const auto& c : cases)
        EXPECT_EQ(kx::collationLocale(c.system).language(), c.language)
            << c.system.name().toStdString();

    // Under C: Č after C, "ch" after "h", Š after S, Ž after Z, case second to the letters.
    QList<RecordRow> rows;
    for (const char* map :
         {"Zebra", "Žába", "zima", "Šíp", "Sova", "chata", "hrad", "Čáp", "Cesta", "Dub", "sova"})
        rows.append(*kx::recordRowOf(QString::fromUtf8(map) + QStringLiteral("_1.kxr")));
    kx::sortRecordRows(rows, kx::collationLocale(QLocale::c()));
    QStringList maps;
    for (const RecordRow& row : rows)
        maps.append(row.map);
    EXPECT_EQ(maps.join(u' '), QString::fromUtf8("Cesta Čáp Dub hrad chata sova Sova Šíp Zebra "
                                                 "zima Žába"));
}

TEST_F(RecordListing, AnEmptyOrMissingDirectoryHasNoRows) {
    EXPECT_TRUE(kx::FillRecordList(dir.path()).isEmpty());
    EXPECT_TRUE(kx::FillRecordList(dir.filePath(QStringLiteral("missing"))).isEmpty());
}

TEST_F(RecordListing, FiveThousandRecordsAreListedQuickly) {
    for (int i = 0; i < 5000; ++i)
        touch(QStringLiteral("Mapa %1_2005-%2-%3.kxr%4")
                  .arg(i % 997)
                  .arg(i % 12 + 1, 2, 10, QLatin1Char('0'))
                  .arg(i % 28 + 1, 2, 10, QLatin1Char('0'))
                  .arg(i % 2 ? QStringLiteral("2") : QString()));
    QElapsedTimer timer;
    timer.start();
    const QList<RecordRow> rows = kx::FillRecordList(dir.path(), czech);
    const qint64 elapsed = timer.elapsed();
    EXPECT_EQ(rows.size(), 5000);
    EXPECT_LT(elapsed, 1000);
    for (qsizetype i = 1; i < rows.size(); ++i)
        EXPECT_LE(QCollator(czech).compare(rows[i - 1].map, rows[i].map), 0);
}

} // namespace
