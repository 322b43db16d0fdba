#include <gtest/gtest.h>

#include "platform/WholeNumber.h"

TEST(WholeNumber, ReadsDecimalWithLeadingZerosAndMinus) {
    EXPECT_EQ(ParseWholeNumber("010"), 10);
    EXPECT_EQ(ParseWholeNumber("09"), 9);
    EXPECT_EQ(ParseWholeNumber("-25"), -25);
    EXPECT_EQ(ParseWholeNumber("0"), 0);
    EXPECT_EQ(ParseWholeNumber("2147483647"), 2147483647);
    EXPECT_EQ(ParseWholeNumber("-2147483648"), INT32_MIN);
}

TEST(WholeNumber, RefusesAnythingButAWholeNumber) {
    for (const char* bad : {"", "-", "12.5", "1e3", "abc", "12a", " 12", "12 ", "+5", "--1",
                            "2147483648", "-2147483649", "99999999999999999999"}) {
        EXPECT_EQ(ParseWholeNumber(bad), std::nullopt) << '"' << bad << '"';
    }
}
