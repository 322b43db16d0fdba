#include <gtest/gtest.h>

#include "platform/RecordingCanvas.h"

TEST(RecordingCanvas, RecordsCallsWithTheStateTheyUsed) {
    TRecordingCanvas c;
    c.Pen.Color = clRed;
    c.Brush.Style = TBrushStyle::bsClear;
    c.Rectangle(1, 2, 3, 4);
    c.Pen.Color = clBlue;
    const TPoint pts[] = {{0, 0}, {5, 6}};
    c.Polyline(pts);
    c.TextOut(7, 8, "hi");

    EXPECT_EQ(c.Log(), (std::vector<std::string>{"Rectangle(1,2,3,4)", "Polyline(0,0,5,6)",
                                                 "TextOut(7,8,\"hi\")"}));
    EXPECT_EQ(c.Calls[0].Pen.Color, clRed);
    EXPECT_EQ(c.Calls[0].Brush.Style, TBrushStyle::bsClear);
    EXPECT_EQ(c.Calls[1].Pen.Color, clBlue);
}

TEST(RecordingCanvas, DrawTextCalcRectMeasuresEveryLineWithoutDrawing) {
    TRecordingCanvas c;
    c.Font.Height = -10; // 5 wide, 10 high per character
    TRect r{100, 200, 0, 0};
    EXPECT_EQ(c.DrawText("ab\r\nabcd", r, DT_CALCRECT), 20);
    EXPECT_EQ(r, (TRect{100, 200, 120, 220}));
    EXPECT_TRUE(c.Calls.empty());
}

TEST(RecordingCanvas, HugeFontsAndLongTextsMeasureWithinTheIntRange) {
    TRecordingCanvas c;
    c.Font.Height = 270'000'000; // twenty characters of it overflowed 32-bit arithmetic
    EXPECT_EQ(c.TextExtent("abcdefghijklmnopqrst").cx, INT32_MAX);
    EXPECT_EQ(c.TextExtent("ab").cx, 270'000'000);
    c.Font.Height = INT32_MIN; // its magnitude has no int32
    EXPECT_EQ(c.TextExtent("a").cy, INT32_MAX);
    EXPECT_EQ(TRecordingCanvas::CharWidth(INT32_MIN), 1 << 30);

    // Measured boxes end at the far end of the range rather than wrapping to the near one.
    c.Font.Height = 270'000'000;
    TRect r{2'100'000'000, 2'000'000'000, 0, 0};
    EXPECT_EQ(c.DrawText("a\nb\nc\nd\ne\nf\ng\nh\ni", r, DT_CALCRECT), INT32_MAX);
    EXPECT_EQ(r.Right, INT32_MAX);
    EXPECT_EQ(r.Bottom, INT32_MAX);
}
