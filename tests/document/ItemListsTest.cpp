#include <gtest/gtest.h>

#include "document/ItemLists.h"

namespace {

// Counts destructions so ownership mistakes show up as wrong numbers (ASan catches the
// double deletes).
struct Probe {
    explicit Probe(int& counter) : Destroyed(counter) {}
    ~Probe() { ++Destroyed; }
    int& Destroyed;
};

TNyomtatoNegyszogLista ThreeRectangles() {
    TNyomtatoNegyszogLista list;
    for (int i = 0; i < 3; ++i) {
        auto r = std::make_unique<TNyomtatoNegyszog>();
        r->Rect = {i, i + 1, i + 10, i + 11};
        r->Color = 0x010203 * (i + 1);
        list.Add(std::move(r));
    }
    return list;
}

std::vector<uint8_t> Bytes(const auto& list) {
    TWriteStream out;
    list.SaveToStream(out);
    return out.Take();
}

} // namespace

TEST(ItemLists, ListsDestroyEachItemExactlyOnce) {
    int destroyed = 0;
    {
        TOwningList<Probe> list;
        for (int i = 0; i < 4; ++i) list.Add(std::make_unique<Probe>(destroyed));
        list.Delete(1);
        EXPECT_EQ(destroyed, 1);
        auto taken = list.Extract(0);
        EXPECT_EQ(destroyed, 1);
        EXPECT_EQ(list.Count(), 2);
    }
    EXPECT_EQ(destroyed, 4);
}

TEST(ItemLists, DeleteShiftsLaterItemsDown) {
    auto list = ThreeRectangles();
    list.Delete(0);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list[0].Rect.Left, 1);
    EXPECT_EQ(list[1].Rect.Left, 2);
    EXPECT_THROW(list.Delete(2), std::out_of_range);
}

TEST(ItemLists, RectanglesAreStoredAsTwentyByteRecords) {
    const auto list = ThreeRectangles();
    const auto bytes = Bytes(list);
    ASSERT_EQ(bytes.size(), 4u + 3 * 20);
    EXPECT_EQ(bytes[0], 3);
    EXPECT_EQ(bytes[4 + 20 + 0], 1);     // second rectangle's Left
    EXPECT_EQ(bytes[4 + 20 + 16], 0x06); // its colour 0x020406, low byte first

    TNyomtatoNegyszogLista back;
    TReadStream in(bytes);
    back.LoadFromStream(in);
    ASSERT_EQ(back.Count(), 3);
    EXPECT_EQ(back[2].Rect, (TRect{2, 3, 12, 13}));
    EXPECT_EQ(back[2].Color, 0x010203 * 3);
}

TEST(ItemLists, DamagedListStreamsLeaveTheListAsItWas) {
    const auto bytes = Bytes(ThreeRectangles());
    TNyomtatoVonalLista lines;
    auto line = std::make_unique<TNyomtatoVonal>();
    line->AddPoint(1, 2);
    lines.Add(std::move(line));
    const auto lineBytes = Bytes(lines);

    auto rects = ThreeRectangles();
    rects.Delete(0);
    for (size_t len = 0; len < bytes.size(); len += 3) {
        TReadStream in(std::span<const uint8_t>(bytes).first(len));
        EXPECT_THROW(rects.LoadFromStream(in), EReadError);
        EXPECT_EQ(rects.Count(), 2);
    }
    // A count far larger than the file is refused before anything is allocated.
    std::vector<uint8_t> huge{0xFF, 0xFF, 0xFF, 0x7F};
    TReadStream in(huge);
    EXPECT_THROW(lines.LoadFromStream(in), EReadError);
    EXPECT_EQ(Bytes(lines), lineBytes);
}

TEST(ItemLists, FrameMembersAreKindIndexPairs) {
    TNyomtatoKeret frame;
    EXPECT_TRUE(frame.Shadow);
    EXPECT_EQ(frame.FillColor, clWhite);
    EXPECT_EQ(frame.TitleFont.Name, "Arial");
    EXPECT_EQ(frame.TitleFont.Height, 8);
    frame.Members.AddReference(ikCaption, 2);
    frame.Members.AddReference(ikFrame, 0);
    EXPECT_EQ(Bytes(frame.Members),
              (std::vector<uint8_t>{2, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 6, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(ItemLists, PageItemsCountByKindCode) {
    TPageItems items;
    items.Frames.Add(std::make_unique<TNyomtatoKeret>());
    items.Images.Add(std::make_unique<TNyomtatoKep>());
    items.Images.Add(std::make_unique<TNyomtatoKep>());
    EXPECT_EQ(items.CountOf(ikFrame), 1);
    EXPECT_EQ(items.CountOf(ikImage), 2);
    EXPECT_EQ(items.CountOf(ikCaption), 0);
    EXPECT_EQ(items.CountOf(42), 0);
}
