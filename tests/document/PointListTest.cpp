#include <gtest/gtest.h>

#include <filesystem>

#include "document/LineItem.h"
#include "document/PointList.h"
#include "document/PolygonItem.h"
#include "support/TempDir.h"

namespace {

std::vector<uint8_t> Bytes(const TPointList& list) {
    TWriteStream out;
    list.SaveToStream(out);
    return out.Take();
}

} // namespace

TEST(PointList, StreamIsCountThenLittleEndianPairs) {
    TPointList list;
    EXPECT_EQ(Bytes(list), (std::vector<uint8_t>{0, 0, 0, 0}));
    EXPECT_TRUE(list.ToArray().empty());

    list.AddPoint(1, -1);
    list.AddPoint(0x01020304, 5);
    EXPECT_EQ(Bytes(list), (std::vector<uint8_t>{2,    0,    0, 0, 1, 0, 0, 0, 0xFF, 0xFF,
                                                 0xFF, 0xFF, 4, 3, 2, 1, 5, 0, 0,    0}));
}

TEST(PointList, AssignPointsReplacesEverythingInOrder) {
    TPointList five, three;
    for (int i = 0; i < 5; ++i) five.AddPoint(i, i);
    three.AddPoint(10, 11);
    three.AddPoint(20, 21);
    three.AddPoint(30, 31);
    five.AssignPoints(three);
    ASSERT_EQ(five.Count(), 3);
    EXPECT_EQ(five.PointAt(0), (TPoint{10, 11}));
    EXPECT_EQ(five.PointAt(2), (TPoint{30, 31}));
    EXPECT_THROW(five.PointAt(3), std::out_of_range);
}

TEST(PointList, LoadReplacesPointsAndDamagedStreamsChangeNothing) {
    TPointList source;
    source.AddPoint(7, 8);
    source.AddPoint(9, 10);
    const auto good = Bytes(source);

    TPointList target;
    target.AddPoint(1, 1);
    target.AddPoint(2, 2);
    target.AddPoint(3, 3);
    {
        TReadStream in(good);
        target.LoadFromStream(in);
    }
    EXPECT_EQ(target.ToArray(), source.ToArray());

    // Every truncation and a negative count fail without touching the list.
    for (size_t len = 0; len < good.size(); ++len) {
        TReadStream in(std::span<const uint8_t>(good).first(len));
        EXPECT_THROW(target.LoadFromStream(in), EReadError) << "length " << len;
        EXPECT_EQ(target.ToArray(), source.ToArray());
    }
    const std::vector<uint8_t> negative{0xFF, 0xFF, 0xFF, 0xFF};
    TReadStream in(negative);
    EXPECT_THROW(target.LoadFromStream(in), EReadError);
    EXPECT_EQ(target.Count(), 2);
}

TEST(PointList, LinesAndPolygonsAppendTheirFieldsAndRoundTrip) {
    TNyomtatoVonal line;
    line.AddPoint(1, 2);
    line.Color = 0x123456;
    line.Width = 7;
    line.PenStyle = 3;
    const auto bytes = Bytes(line);
    ASSERT_EQ(bytes.size(), 4u + 8 + 4 + 4 + 1);
    EXPECT_EQ(bytes.back(), 3);

    TNyomtatoVonal back;
    TReadStream in(bytes);
    back.LoadFromStream(in);
    EXPECT_EQ(back.ToArray(), line.ToArray());
    EXPECT_EQ(back.Color, 0x123456);
    EXPECT_EQ(back.Width, 7);
    EXPECT_EQ(back.PenStyle, 3);

    TNyomtatoPoligon polygon;
    polygon.AddPoint(4, 5);
    polygon.Color = clRed;
    const auto pbytes = Bytes(polygon);
    EXPECT_EQ(pbytes.size(), 4u + 8 + 4);
    TNyomtatoPoligon pback;
    TReadStream pin(pbytes);
    pback.LoadFromStream(pin);
    EXPECT_EQ(pback.Color, clRed);
    EXPECT_EQ(pback.PointAt(0), (TPoint{4, 5}));
}

TEST(PointList, FilesThatCannotBeOpenedLeaveTheListAlone) {
    TPointList list;
    list.AddPoint(1, 2);
    EXPECT_FALSE(list.LoadFromFile("/nonexistent/folder/points.bin"));
    EXPECT_EQ(list.Count(), 1);

    const TTempDir dir("points");
    const auto path = dir.File("points.bin");
    ASSERT_TRUE(list.SaveToFile(path));
    TPointList other;
    ASSERT_TRUE(other.LoadFromFile(path));
    EXPECT_EQ(other.ToArray(), list.ToArray());
}
