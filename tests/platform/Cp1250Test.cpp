#include <gtest/gtest.h>

#include "platform/Cp1250.h"

TEST(Cp1250, HungarianLettersConvertBothWays) {
    // "Árvíztűrő tükörfúrógép" in code page 1250.
    const std::string cp = "\xC1rv\xEDzt\xFBr\xF5 t\xFCk\xF6rf\xFAr\xF3g\xE9p";
    const std::string utf8 = "Árvíztűrő tükörfúrógép";
    EXPECT_EQ(Cp1250ToUtf8(cp), utf8);
    EXPECT_EQ(Utf8ToCp1250(utf8), cp);
}

TEST(Cp1250, EveryByteRoundTripsThroughUtf8) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp1250(Cp1250ToUtf8(all)), all);
}

TEST(Cp1250, UnmappableAndMalformedInputBecomesQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1250("\xE6\x97\xA5"), "?"); // a CJK character
    EXPECT_EQ(Utf8ToCp1250("a\xC3"), "a?");       // truncated sequence
    EXPECT_EQ(Utf8ToCp1250("\xFF"
                           "b"),
              "?b");                                 // invalid lead byte
    EXPECT_EQ(Utf8ToCp1250("\xE2\x82\xAC"), "\x80"); // euro sign
}
