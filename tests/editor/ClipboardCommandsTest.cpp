// Copy, cut, paste and duplicate through the clipboard bytes, within one page and into a
// second editor, and the refusal of damaged clipboard content.
#include <gtest/gtest.h>

#include "document/DocumentFile.h"
#include "editor/commands/ClipboardCommands.h"
#include "MousePage.h"
#include "PageDescription.h"
#include "support/BmpFixtures.h"

namespace {

std::vector<TKKItem> Members(const TNyomtatoKeret& frame) {
    std::vector<TKKItem> out;
    for (int i = 0; i < frame.Members.Count(); ++i) out.push_back(frame.Members[i]);
    return out;
}

// A frame holding a caption and an image with a picture, and a loose rectangle.
struct ClipboardTest : ::testing::Test {
    ClipboardTest() {
        TNyomtatoKeret& frame = Page.AddFrame({10, 10, 100, 100});
        frame.Title = "Group";
        Page.AddCaption({20, 20, 40, 30}).Text = "Name";
        TNyomtatoKep& image = Page.AddImage({50, 20, 80, 40});
        image.Picture->LoadFromBitmapFileData(MakeBmp(TBmpShape{4, 3, 24}));
        Page.AddRectangle({150, 150, 160, 160}).Color = clRed;
        frame.Members.AddReference(ikCaption, 0);
        frame.Members.AddReference(ikImage, 0);
    }
    TMousePage Page;
    TPageEditor& E = Page.E;
};

} // namespace

TEST_F(ClipboardTest, CopyAndPasteAddTheItemsFiveMillimetresOnAsOneSelectedStep) {
    Page.ClickMm(155, 155);
    EXPECT_TRUE(Page.Key(VK_C, ssCtrl));
    EXPECT_TRUE(Page.Clipboard.HasPicture);
    EXPECT_EQ(Page.Clipboard.MimeType, kItemsMimeType);
    MouseLeave(E); // the pointer is off the page: beside the originals
    Page.Key(VK_V, ssCtrl);
    ASSERT_EQ(E.Items.Rectangles.Count(), 2);
    EXPECT_EQ(E.Items.Rectangles[1].Rect, (TRect{155, 155, 165, 165}));
    EXPECT_EQ(E.Items.Rectangles[1].Color, clRed);
    EXPECT_EQ(E.Selection, (std::vector<TKKItem>{{ikRectangle, 1}}));
    EXPECT_EQ(E.History.UndoCount(), 1);

    // With the pointer over the page the items go there.
    Page.MoveMm(120, 200);
    Page.Key(VK_V, ssCtrl);
    EXPECT_EQ(E.Items.Rectangles[2].Rect, (TRect{120, 200, 130, 210}));
    // And never past the printable area (206 x 293).
    Page.MoveMm(204, 292);
    Page.Key(VK_V, ssCtrl);
    EXPECT_EQ(E.Items.Rectangles[3].Rect, (TRect{195, 282, 205, 292}));
    Page.Key(VK_Z, ssCtrl);
    EXPECT_EQ(E.Items.Rectangles.Count(), 3);
    EXPECT_TRUE(E.Selection.empty());
}

TEST_F(ClipboardTest, ItemsPastedIntoASecondEditorKeepTheirFrameAndPicture) {
    Page.ClickMm(90, 90); // the frame: its members come along
    Page.Key(VK_C, ssCtrl);

    TMousePage other;
    other.AddCaption({5, 5, 8, 8});
    other.Clipboard.SetData(kItemsMimeType, Page.Clipboard.Bytes, nullptr);
    MouseLeave(other.E);
    other.Key(VK_V, ssCtrl);
    const TPageItems& items = other.E.Items;
    ASSERT_EQ(items.Frames.Count(), 1);
    ASSERT_EQ(items.Captions.Count(), 2);
    ASSERT_EQ(items.Images.Count(), 1);
    EXPECT_EQ(items.Rectangles.Count(), 0);
    EXPECT_EQ(items.Frames[0].Title, "Group");
    EXPECT_EQ(items.Frames[0].Rect, (TRect{15, 15, 105, 105}));
    EXPECT_EQ(Members(items.Frames[0]), (std::vector<TKKItem>{{ikCaption, 1}, {ikImage, 0}}));
    EXPECT_EQ(items.Captions[1].Text, "Name");
    const TMemBitmap& picture = *items.Images[0].Picture;
    EXPECT_TRUE(picture.HasImage);
    EXPECT_EQ(picture.DibBlock, E.Items.Images[0].Picture->DibBlock);
    EXPECT_EQ(other.E.Selection.size(), 3u);
    EXPECT_EQ(CheckFrameMembers(items), std::nullopt);
}

TEST_F(ClipboardTest, DuplicatingAFrameDuplicatesItsMembersUnderTheNewFrame) {
    Page.ClickMm(90, 90);
    Page.Key(VK_D, ssCtrl);
    ASSERT_EQ(E.Items.Frames.Count(), 2);
    EXPECT_EQ(Members(E.Items.Frames[0]), (std::vector<TKKItem>{{ikCaption, 0}, {ikImage, 0}}));
    EXPECT_EQ(Members(E.Items.Frames[1]), (std::vector<TKKItem>{{ikCaption, 1}, {ikImage, 1}}));
    EXPECT_EQ(E.Items.Captions[1].Rect, (TRect{25, 25, 45, 35}));
    // The copies share the picture rather than duplicate it.
    EXPECT_EQ(E.Items.Images[1].Picture, E.Items.Images[0].Picture);
    EXPECT_EQ(E.History.UndoCount(), 1);
}

TEST_F(ClipboardTest, ALoosePastedItemJoinsTheFrameItLandsInAsANewItemWould) {
    Page.ClickMm(155, 155);
    Page.Key(VK_C, ssCtrl);
    Page.MoveMm(60, 60);
    Page.Key(VK_V, ssCtrl);
    EXPECT_EQ(Members(E.Items.Frames[0]).back(), (TKKItem{ikRectangle, 1}));
}

TEST_F(ClipboardTest, CutThenUndoGivesThePageBack) {
    const std::string before = DescribePage(E);
    Page.ClickMm(90, 90);
    Page.Key(VK_X, ssCtrl);
    EXPECT_EQ(E.Items.Frames.Count(), 0);
    EXPECT_EQ(E.Items.Captions.Count(), 1); // a frame's members stay, as with Delete
    Page.Key(VK_Z, ssCtrl);
    EXPECT_EQ(DescribePage(E), before);
}

TEST_F(ClipboardTest, DamagedClipboardItemsAreRefusedWithAMessageAndChangeNothing) {
    Page.ClickMm(90, 90);
    Page.Key(VK_C, ssCtrl);
    const std::vector<uint8_t> good = Page.Clipboard.Bytes;
    const std::string before = DescribePage(E);

    std::vector<std::vector<uint8_t>> damaged;
    damaged.emplace_back(good.begin(), good.begin() + good.size() / 2); // cut short
    damaged.push_back(good);
    damaged.back()[0] ^= 1; // not our magic word
    damaged.push_back(good);
    damaged.back().push_back(0); // a byte after the items
    // The frame's member count claims more references than there are bytes for.
    TPageItems items = CopyOfSelection(E);
    items.Frames[0].Members.AddReference(ikCaption, 7); // names no copied caption
    damaged.push_back(EncodeItems(items));

    for (const auto& bytes : damaged) {
        Page.Clipboard.Bytes = bytes;
        Page.Messages.Texts.clear();
        EXPECT_TRUE(Page.Key(VK_V, ssCtrl));
        ASSERT_EQ(Page.Messages.Texts.size(), 1u);
        EXPECT_EQ(Page.Messages.Texts[0].rfind("The clipboard's items cannot be pasted: ", 0), 0u);
        EXPECT_EQ(DescribePage(E), before);
        EXPECT_EQ(E.History.UndoCount(), 0);
    }
    // Another program's content is no item: nothing happens, no message.
    Page.Clipboard.MimeType = "text/plain";
    Page.Messages.Texts.clear();
    Page.Key(VK_V, ssCtrl);
    EXPECT_TRUE(Page.Messages.Texts.empty());
    EXPECT_EQ(DescribePage(E), before);
}

TEST(ClipboardBytes, EncodeAndDecodeGiveTheSameBytesAgain) {
    TMousePage page;
    page.AddLine({{10, 10}, {20, 30}}).Color = clBlue;
    page.AddPolygon({{40, 40}, {50, 40}, {45, 50}});
    page.AddText({60, 60, 90, 70}).Text = "two\r\nlines";
    const std::vector<uint8_t> bytes = EncodeItems(page.E.Items);
    EXPECT_EQ(EncodeItems(DecodeItems(bytes)), bytes);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 19), std::string(kItemsMagic, 19));
}
