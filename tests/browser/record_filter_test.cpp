#include "browser/record_filter.h"

#include <gtest/gtest.h>

using namespace kx;

namespace {

RecordRow row(const char* fileName) {
    return *recordRowOf(QString::fromUtf8(fileName));
}

} // namespace

TEST(RecordFilter, EveryWordMustOccurInTheMapTheShownDateOrTheFileName) {
    const RecordRow arena = row("Velká_Arena_2005-03-12.kxr2");
    EXPECT_TRUE(RecordFilter().matches(arena));
    EXPECT_TRUE(RecordFilter(QStringLiteral("   ")).matches(arena));
    EXPECT_TRUE(RecordFilter(QStringLiteral("arena")).matches(arena));
    EXPECT_TRUE(RecordFilter(QStringLiteral("12. 03.")).matches(arena)); // the date as shown
    EXPECT_TRUE(RecordFilter(QStringLiteral("2005-03")).matches(arena)); // as in the file name
    EXPECT_TRUE(RecordFilter(QStringLiteral("ARENA 2005")).matches(arena));
    EXPECT_FALSE(RecordFilter(QStringLiteral("arena 2006")).matches(arena));
    EXPECT_FALSE(RecordFilter(QStringLiteral("les")).matches(arena));
    // The type column is not searched: every row would match "kxr".
    EXPECT_FALSE(RecordFilter(QStringLiteral("kxr2")).matches(arena));
}

TEST(RecordFilter, CaseAndDiacriticsDoNotMatter) {
    const RecordRow row1 = row("Jánův_háj_2004-11-30.kxr");
    EXPECT_TRUE(RecordFilter(QStringLiteral("januv HAJ")).matches(row1));
    EXPECT_TRUE(RecordFilter(QString::fromUtf8("JÁNŮV")).matches(row1));
    EXPECT_TRUE(RecordFilter(QStringLiteral("v_h")).matches(row1)); // the raw file name
    // Words are not matched across the map name and the date.
    EXPECT_FALSE(RecordFilter(QStringLiteral("haj30")).matches(row1));
    EXPECT_EQ(foldForMatching(QString::fromUtf8("Řeřicha ŽLUŤOUČKÁ")),
              QStringLiteral("rericha zlutoucka"));
}
