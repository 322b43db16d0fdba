// Copy, cut, paste and duplicate through the clipboard bytes, within one page and into a
// second editor, and the refusal of damaged clipboard content.
#include <gtest/gtest.h>

#include "codec/BitmapImage.h"
#include "document/DocumentFile.h"
#include "editor/commands/ClipboardCommands.h"
#include "jpeg/JpegEncoder.h"
#include "MousePage.h"
#include "PageDescription.h"
#include "platform/PictureReader.h"
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

namespace {

// A JPEG stream of a width x height picture, red to the left and blue to the right, from our
// encoder (JFIF, no stated resolution).
std::vector<uint8_t> JpegOf(int width, int height) {
    BitmapImage p;
    p.SetSize(0, 24, uint32_t(width), uint32_t(height));
    for (int y = 0; y < height; ++y) {
        uint8_t* row = p.Row(uint32_t(y));
        for (int x = 0; x < width; ++x) {
            const bool left = x < width / 2;
            row[3 * x] = left ? 0 : 255, row[3 * x + 1] = 0, row[3 * x + 2] = left ? 255 : 0;
        }
    }
    JpegEncoder encoder;
    encoder.SetQuality(90);
    return encoder.Encode(p);
}

// A bitmap file stating dotsPerMetre as its resolution.
std::vector<uint8_t> BmpAt(int width, int height, uint32_t dotsPerMetre) {
    std::vector<uint8_t> file = MakeBmp(TBmpShape{width, height, 24});
    for (int i = 0; i < 4; ++i) {
        file[38 + i] = uint8_t(dotsPerMetre >> (8 * i));
        file[42 + i] = uint8_t(dotsPerMetre >> (8 * i));
    }
    return file;
}

// Stands in for Qt's reader: PNG bytes give a grey 200 x 100 picture at 192 dpi (a high
// density screenshot); anything else is refused with Refusal.
class TFakePngReader : public TPictureReader {
public:
    std::optional<TReadPicture> Read(std::span<const uint8_t> data, uint64_t,
                                     std::string& why) override {
        ++Reads;
        if (data.size() < 8 || data[1] != 'P' || data[2] != 'N' || data[3] != 'G') {
            why = Refusal;
            return std::nullopt;
        }
        TReadPicture p;
        p.Width = 200;
        p.Height = 100;
        p.Rows.assign(size_t(600) * 100, 128);
        p.Format = "PNG";
        p.DotsPerMeterX = p.DotsPerMeterY = 7559;
        return p;
    }
    std::string Refusal = "PNG with 16 bits per channel is not supported";
    int Reads = 0;
};

const std::vector<uint8_t> kPngStart = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0};

} // namespace

TEST_F(ClipboardTest, AJpegFromAnotherProgramBecomesAJpegImageAtTheTopLeftOfThePrintableArea) {
    const std::string before = DescribePage(E);
    Page.Clipboard.SetImage(JpegOf(400, 200), "image/jpeg");
    MouseLeave(E);
    EXPECT_TRUE(Page.Key(VK_V, ssCtrl));
    ASSERT_EQ(E.Items.Images.Count(), 2);
    const TNyomtatoKep& image = E.Items.Images[1];
    // 400 x 200 pixels at 96 dpi: 105.8 x 52.9 mm, placed at the printable corner (4, 4).
    EXPECT_EQ(image.Rect, (TRect{4, 4, 110, 57}));
    EXPECT_TRUE(image.Picture->IsJpeg); // stored as a JPEG picture
    EXPECT_EQ(image.Picture->Width, 400);
    EXPECT_EQ(image.Picture->Height, 200);
    const TPixmap pixels = image.Picture->Pixels();
    EXPECT_GT(pixels.At(10, 100) >> 16 & 0xFF, 200u); // red on the left
    EXPECT_GT(pixels.At(390, 100) & 0xFF, 200u);      // blue on the right
    EXPECT_EQ(E.Selection, (std::vector<TKKItem>{{ikImage, 1}}));
    EXPECT_EQ(E.InfoText, "Pasted a JPEG picture of 400 x 200 pixels as an image of 106 x 53 mm");
    EXPECT_EQ(E.History.UndoCount(), 1);
    EXPECT_TRUE(Page.Messages.Texts.empty());

    Page.Key(VK_Z, ssCtrl);
    EXPECT_EQ(E.InfoText, "Undo: pasted picture");
    EXPECT_EQ(DescribePage(E), before);
    Page.Key(VK_Y, ssCtrl);
    EXPECT_EQ(E.Items.Images.Count(), 2);
}

TEST_F(ClipboardTest, APastedPictureTakesItsStatedResolutionAndIsShrunkIntoThePrintableArea) {
    // 1500 x 600 pixels at 150 dpi are 254 x 101.6 mm: wider than the 201 mm a paste may use,
    // so the picture is shrunk to 201 x 80 mm, keeping its proportions, and the paste at the
    // pointer (100, 100) is moved left to keep it on the printable area.
    Page.Clipboard.SetImage(BmpAt(1500, 600, 5906), "image/bmp");
    Page.MoveMm(100, 100);
    Page.Key(VK_V, ssCtrl);
    ASSERT_EQ(E.Items.Images.Count(), 2);
    EXPECT_EQ(E.Items.Images[1].Rect, (TRect{4, 100, 205, 180}));
    EXPECT_FALSE(E.Items.Images[1].Picture->IsJpeg);
    EXPECT_EQ(E.Items.Images[1].Picture->Pixels().At(7, 5), FixturePixel({1500, 600, 24}, 7, 5));

    // A small picture at the pointer keeps its size: 72 dpi, 36 x 18 pixels are 13 x 6 mm. It
    // lands inside the frame, so it joins the frame as a new item would.
    Page.Clipboard.SetImage(BmpAt(36, 18, 2835), "image/bmp");
    Page.MoveMm(30, 60);
    Page.Key(VK_V, ssCtrl);
    ASSERT_EQ(E.Items.Images.Count(), 3);
    EXPECT_EQ(E.Items.Images[2].Rect, (TRect{30, 60, 43, 66}));
    EXPECT_EQ(Members(E.Items.Frames[0]).back(), (TKKItem{ikImage, 2}));
    EXPECT_EQ(E.History.UndoCount(), 2);
}

TEST_F(ClipboardTest, PngAndOtherFormatsGoThroughThePictureReaderOfTheServices) {
    Page.Clipboard.SetImage(kPngStart, "image/png");
    MouseLeave(E);
    const std::string before = DescribePage(E);
    // Without a reader, the core reads only bitmaps and JPEG: refused, nothing changes.
    Page.Key(VK_V, ssCtrl);
    ASSERT_EQ(Page.Messages.Texts.size(), 1u);
    EXPECT_EQ(Page.Messages.Texts[0], "Hibás fájl.\nnot a Windows bitmap or JPEG file");
    EXPECT_EQ(DescribePage(E), before);
    EXPECT_EQ(E.History.UndoCount(), 0);

    TFakePngReader reader;
    Page.Core.Pictures = &reader;
    Page.Key(VK_V, ssCtrl);
    EXPECT_EQ(reader.Reads, 1);
    ASSERT_EQ(E.Items.Images.Count(), 2);
    // 200 x 100 pixels at 192 dpi: 26.5 x 13.2 mm.
    EXPECT_EQ(E.Items.Images[1].Rect, (TRect{4, 4, 30, 17}));
    EXPECT_EQ(E.Items.Images[1].Picture->Pixels().At(3, 3), 0xFF808080u);
    EXPECT_EQ(E.InfoText, "Pasted a PNG picture of 200 x 100 pixels as an image of 26 x 13 mm");
}

TEST_F(ClipboardTest, ARefusedPictureSaysWhyAndChangesNothing) {
    TFakePngReader reader;
    Page.Core.Pictures = &reader;
    const std::string before = DescribePage(E);
    std::vector<uint8_t> cut = JpegOf(64, 64);
    cut.resize(cut.size() / 2);
    const std::vector<std::pair<std::vector<uint8_t>, std::string>> refused = {
        {cut, "Hibás fájl.\nthe file ends inside the picture data"},
        {{'B', 'M', 1, 2, 3}, "Hibás fájl.\nthe bitmap file is shorter"},
        {{'G', 'I', 'F', '8'}, "Hibás fájl.\nPNG with 16 bits per channel is not supported"},
        {{}, "Hibás fájl.\nPNG with 16 bits per channel is not supported"},
    };
    for (const auto& [bytes, message] : refused) {
        Page.Clipboard.SetImage(bytes, "image/x-anything");
        Page.Messages.Texts.clear();
        EXPECT_TRUE(Page.Key(VK_V, ssCtrl));
        ASSERT_EQ(Page.Messages.Texts.size(), 1u);
        EXPECT_EQ(Page.Messages.Texts[0].substr(0, message.size()), message);
        EXPECT_EQ(DescribePage(E), before);
        EXPECT_EQ(E.History.UndoCount(), 0);
    }
    // Items on the clipboard win over a picture: what SetData put there is pasted as items.
    Page.ClickMm(155, 155);
    Page.Key(VK_C, ssCtrl);
    Page.Key(VK_V, ssCtrl);
    EXPECT_EQ(E.Items.Rectangles.Count(), 2);
    EXPECT_EQ(E.Items.Images.Count(), 1);
}
