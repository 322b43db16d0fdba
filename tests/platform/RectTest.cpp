#include <gtest/gtest.h>

#include "platform/Rect.h"
#include "platform/TextLines.h"

TEST(Rect, PointInRectExcludesRightAndBottomEdges) {
    const TRect r{10, 20, 30, 40};
    EXPECT_TRUE(PtInRect(r, {10, 20}));
    EXPECT_TRUE(PtInRect(r, {29, 39}));
    EXPECT_FALSE(PtInRect(r, {30, 25}));
    EXPECT_FALSE(PtInRect(r, {15, 40}));
    EXPECT_FALSE(PtInRect(r, {9, 25}));
}

TEST(Rect, IntersectionOfTouchingRectanglesIsEmpty) {
    TRect out{1, 1, 1, 1};
    EXPECT_FALSE(IntersectRect(out, {0, 0, 10, 10}, {10, 0, 20, 10}));
    EXPECT_EQ(out, (TRect{}));
    EXPECT_TRUE(IntersectRect(out, {0, 0, 10, 10}, {5, -5, 20, 7}));
    EXPECT_EQ(out, (TRect{5, 0, 10, 7}));
}

TEST(TextLines, SplitsOnCrLfAndKeepsEmptyLines) {
    auto lines = SplitTextLines("one\r\n\r\nthree\r\n");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "one");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "three");
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(SplitTextLines("").size(), 1u);
}
