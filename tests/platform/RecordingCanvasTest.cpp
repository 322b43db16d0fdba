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
