#include "records/numbers.h"

#include <gtest/gtest.h>

using namespace kx;

TEST(DecimalInt, AcceptsSignAndDigitsWithin32Bits) {
    EXPECT_EQ(parseDecimalInt(QByteArrayView("0")), 0);
    EXPECT_EQ(parseDecimalInt(QByteArrayView("-17")), -17);
    EXPECT_EQ(parseDecimalInt(QByteArrayView("+17")), 17);
    EXPECT_EQ(parseDecimalInt(QByteArrayView("03")), 3);
    EXPECT_EQ(parseDecimalInt(QByteArrayView("2147483647")), INT32_MAX);
    EXPECT_EQ(parseDecimalInt(QByteArrayView("-2147483648")), INT32_MIN);
    EXPECT_EQ(parseDecimalInt(QStringView(u"-42")), -42);
}

TEST(DecimalInt, RejectsEverythingElse) {
    for (const char* text : {"", "-", "+", " 1", "1 ", "1x", "x1", "0x10", "$10", "1.5",
                             "2147483648", "-2147483649", "99999999999", "--1"})
        EXPECT_FALSE(parseDecimalInt(QByteArrayView(text))) << text;
    EXPECT_FALSE(parseDecimalInt(QStringView(u"١٢"))) << "non-ASCII digits";
}

TEST(WrapArithmetic, WrapsLike32BitSignedAndNeverTraps) {
    EXPECT_EQ(wrapAdd(INT32_MAX, 1), INT32_MIN);
    EXPECT_EQ(wrapSub(INT32_MIN, 1), INT32_MAX);
    EXPECT_EQ(wrapMul(2147483647, 10), -10);
    EXPECT_EQ(wrapDiv(-7, 2), -3);
    EXPECT_EQ(wrapMod(-7, 2), -1);
    EXPECT_EQ(wrapDiv(INT32_MIN, -1), INT32_MIN);
    EXPECT_EQ(wrapDiv(5, 0), 0);
}
