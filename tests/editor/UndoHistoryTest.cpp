#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "document/DocumentFile.h"
#include "editor/ChangeStep.h"
#include "editor/commands/ItemCommands.h"
#include "editor/commands/ItemOperations.h"
#include "editor/ContextMenu.h"
#include "editor/Keys.h"
#include "editor/MouseTools.h"
#include "editor/PageDescription.h"
#include "editor/PageView.h"
#include "editor/Selection.h"
#include "platform/Clipboard.h"
#include "platform/RecordingCanvas.h"
#include "support/BmpFixtures.h"
#include "support/ScriptedItemDialogs.h"
#include "support/TempDir.h"
#include "support/TestPrinters.h"

namespace {

// A printer with a sheet half as wide, for Printer setup.
class TA5Printer : public TA4Printer {
public:
    TPrinterDeviceCaps DeviceCaps() override {
        TPrinterDeviceCaps c = A4Caps();
        c.PhysicalWidth /= 2;
        c.HorzRes /= 2;
        c.HorzSize /= 2;
        return c;
    }
};

template <class List>
auto& AddBox(List& list, TRect r) {
    using Item = std::remove_reference_t<decltype(list[0])>;
    Item& item = list.Add(std::make_unique<Item>());
    item.Rect = r;
    return item;
}

// The A4 sheet at zoom 5 with a page of every kind of item and a compass. The frame holds the
// first caption, the rectangle and (as documents may have it) the third caption, which lies
// outside it: moving the frame changes captions that are not neighbours.
struct TUndoPage {
    TA4Printer Printer;
    TMemoryScreen Screen;
    TRecordedMessages Messages;
    TQueuedColors Colors;
    TScriptedItemDialogs Dialogs;
    TMemoryClipboard Clipboard;
    TCoreServices Core{Screen, Printer, Messages, Colors, Dialogs, &Clipboard};
    TPageEditor E;
    std::shared_ptr<TMemBitmap> Picture;

    TUndoPage() {
        E.ResetPage(Printer);
        E.SetZoomPosition(25);
        TPageItems& items = E.Items;
        TNyomtatoKeret& frame = items.Frames.Add(std::make_unique<TNyomtatoKeret>());
        frame.Rect = {10, 10, 40, 40};
        frame.Title = "Keret";
        frame.Members.AddReference(ikCaption, 0);
        frame.Members.AddReference(ikRectangle, 0);
        frame.Members.AddReference(ikCaption, 2);
        AddBox(items.Captions, {12, 12, 30, 16}).Text = "Első";
        AddBox(items.Captions, {45, 45, 55, 49}).Text = "Második";
        AddBox(items.Captions, {60, 45, 70, 49}).Text = "Harmadik";
        AddBox(items.Texts, {45, 20, 58, 26}).Text = "a\r\nb";
        TNyomtatoKep& image = AddBox(items.Images, {42, 30, 52, 40});
        image.FileName = "kép.bmp";
        Picture = image.Picture;
        AddBox(items.Rectangles, {20, 25, 28, 33}).Color = clRed;
        TNyomtatoVonal& line = items.Lines.Add(std::make_unique<TNyomtatoVonal>());
        for (TPoint p : {TPoint{5, 50}, TPoint{20, 55}, TPoint{30, 50}}) line.AddPoint(p.X, p.Y);
        TNyomtatoPoligon& polygon = items.Polygons.Add(std::make_unique<TNyomtatoPoligon>());
        for (TPoint p : {TPoint{50, 5}, TPoint{60, 5}, TPoint{55, 12}}) polygon.AddPoint(p.X, p.Y);
        E.Compass = TCompass{true, {35, 52}, 4, true};
    }

    // The picture pixel inside millimetre (x, y), and the pixel of the point (x, y) itself.
    TPoint At(double x, double y) const {
        return TPoint{static_cast<int32_t>(MmToViewX(E, x + 0.5)),
                      static_cast<int32_t>(MmToViewY(E, y + 0.5))};
    }
    TPoint Pixel(double x, double y) const {
        return TPoint{static_cast<int32_t>(MmToViewX(E, x)), static_cast<int32_t>(MmToViewY(E, y))};
    }
    void Press(TPoint p, TMouseButton b = TMouseButton::Left, unsigned shift = 0) {
        MouseDown(E, Core, b, p.X, p.Y, shift);
    }
    void Move(TPoint p) { MouseMove(E, Core, p.X, p.Y); }
    void Release(TPoint p) { MouseUp(E, Core, TMouseButton::Left, p.X, p.Y); }
    void Click(double x, double y, unsigned shift = 0) {
        Press(At(x, y), TMouseButton::Left, shift);
        Release(At(x, y));
    }
    void RightClick() { Press({0, 0}, TMouseButton::Right); }
    // A press at (x0, y0) dragged through the given millimetres and released at the last.
    void Drag(TPoint from, std::initializer_list<TPoint> through) {
        Press(from);
        TPoint last = from;
        for (TPoint mm : through) Move(last = At(mm.X, mm.Y));
        Release(last);
    }
    void New(TNewItemEntry entry) {
        E.NewItemKind = entry;
        NewItem(E, Core);
    }
    // Delete or Modify, then a press at p.
    void Tool(void (*start)(TPageEditor&, TCoreServices&), TPoint p) {
        start(E, Core);
        Press(p);
        Release(p);
    }
    bool Key(int key, unsigned shift = ssCtrl) {
        E.RepaintRequested = false;
        return KeyDown(E, Core, key, shift);
    }
};

struct TChange {
    const char* Step; // the step's name in the info line
    std::function<void(TUndoPage&)> Make;
};

const TChange kChanges[] = {
    {"new caption", // typed into the frame, which gains a reference
     [](TUndoPage& p) {
         p.Dialogs.NewCaptionScript.Ok({.Text = "Új", .X = "15", .Y = "35", .ByMouse = false});
         p.New(neCaption);
     }},
    {"new frame", // inside the first frame, whose member it becomes
     [](TUndoPage& p) {
         p.New(neFrame);
         p.Click(15, 20);
         p.RightClick();
     }},
    {"new rectangle",
     [](TUndoPage& p) {
         p.Colors.Answers = {clBlue};
         p.New(neRectangle);
         p.Click(30, 35);
     }},
    {"new line",
     [](TUndoPage& p) {
         p.Dialogs.LineScript.Ok(TLineDialogData{clGreen, 3, 2});
         p.New(neLine);
         p.Click(33, 20);
         p.Click(38, 30);
         p.RightClick();
     }},
    // No frame holds this caption, but the third caption's reference moves down.
    {"deleted caption", [](TUndoPage& p) { p.Tool(StartDeleteTool, p.At(47, 46)); }},
    {"deleted rectangle", [](TUndoPage& p) { p.Tool(StartDeleteTool, p.At(24, 29)); }},
    {"deleted image", [](TUndoPage& p) { p.Tool(StartDeleteTool, p.At(47, 35)); }},
    {"deleted compass", [](TUndoPage& p) { p.Tool(StartDeleteTool, p.At(35, 52)); }},
    {"modified frame",
     [](TUndoPage& p) {
         p.Dialogs.ModifyFrameScript.Answers.push_back([](TFrameDialogData& d) {
             d.Rect = {11, 11, 41, 41};
             d.Title = "Más";
         });
         p.Tool(StartModifyTool, p.At(35, 35));
     }},
    {"new heights legend",
     [](TUndoPage& p) {
         RunRepeatCommand(p.E, p.Core, TRepeatCommand::NewHeightsLegend);
         p.Click(60, 30);
     }},
    {"moved frame", // with its members, among them captions 0 and 2
     [](TUndoPage& p) {
         p.Drag(p.At(35, 35), {{37, 36}, {40, 39}, {41, 41}});
     }},
    {"moved polygon point",
     [](TUndoPage& p) {
         p.Drag(p.Pixel(60, 5), {{62, 8}});
     }},
    {"resized rectangle", // its right edge is offered first
     [](TUndoPage& p) {
         p.Move(p.Pixel(28, 29));
         p.Drag(p.Pixel(28, 29), {{33, 29}});
     }},
};

// The commands on the selection, by key, by the item menu and by the pointer; each is one
// step. The second caption ("Második") lies alone; the rectangle belongs to the frame.
const TChange kSelectionChanges[] = {
    {"deleted caption",
     [](TUndoPage& p) {
         p.Click(47, 46);
         p.Key(VK_DELETE, 0);
     }},
    {"deleted 2 items",
     [](TUndoPage& p) {
         p.Click(47, 46);
         p.Click(24, 29, ssShift);
         RunContextCommand(p.E, p.Core, TContextCommand::Delete);
     }},
    {"moved selection",
     [](TUndoPage& p) {
         p.Click(47, 46);
         p.Key(VK_RIGHT, ssShift);
     }},
    {"deleted 9 items",
     [](TUndoPage& p) {
         p.Key(VK_A);
         p.Key(VK_DELETE, 0);
     }},
    {"pasted items",
     [](TUndoPage& p) {
         p.Click(47, 46);
         p.Key(VK_C);
         p.Key(VK_V);
     }},
    {"duplicated caption",
     [](TUndoPage& p) {
         p.Click(47, 46);
         p.Key(VK_D);
     }},
    {"cut caption",
     [](TUndoPage& p) {
         p.Click(47, 46);
         p.Key(VK_X);
     }},
    {"taken out of frame",
     [](TUndoPage& p) {
         p.Click(24, 29);
         RunContextCommand(p.E, p.Core, TContextCommand::TakeOutOfFrame);
     }},
    {"modified caption",
     [](TUndoPage& p) {
         p.Dialogs.ModifyCaptionScript.Answers.push_back(
             [](TTextDialogData& d) { d.Text = "Átírva"; });
         p.Click(47, 46);
         p.Key(VK_RETURN, 0);
     }},
    {"modified text",
     [](TUndoPage& p) {
         p.Dialogs.ModifyTextScript.Answers.push_back(
             [](TTextDialogData& d) { d.Text = "c\r\nd"; });
         const TPoint at = p.At(50, 22);
         MouseDoubleClick(p.E, p.Core, at.X, at.Y);
     }},
    {"new distance indicator",
     [](TUndoPage& p) {
         RunRepeatCommand(p.E, p.Core, TRepeatCommand::NewDistanceIndicator);
         p.Click(80, 30);
     }},
};

// The change is one step that matches the page; Ctrl+Z gives the page before back,
// Ctrl+Shift+Z and Ctrl+Y the page after, each asking for a repaint.
void ExpectOneUndoableStep(const TChange& change) {
    SCOPED_TRACE(change.Step);
    TUndoPage p;
    const std::string before = DescribePage(p.E);
    change.Make(p);
    const std::string after = DescribePage(p.E);
    ASSERT_NE(after, before);
    ASSERT_EQ(p.E.Mode, mdIdle);
    EXPECT_EQ(p.E.History.UndoCount(), 1);
    EXPECT_TRUE(p.E.History.Matches(p.E));

    EXPECT_TRUE(p.Key(VK_Z));
    EXPECT_EQ(DescribePage(p.E), before);
    EXPECT_EQ(p.E.InfoText, std::string("Undo: ") + change.Step);
    EXPECT_TRUE(p.E.RepaintRequested);
    EXPECT_TRUE(p.E.History.Matches(p.E));

    EXPECT_TRUE(p.Key(VK_Z, ssCtrl | ssShift));
    EXPECT_EQ(DescribePage(p.E), after);
    EXPECT_EQ(p.E.InfoText, std::string("Redo: ") + change.Step);
    EXPECT_TRUE(p.E.RepaintRequested);

    // Once more, redoing with Ctrl+Y.
    p.Key(VK_Z);
    EXPECT_TRUE(p.Key(VK_Y));
    EXPECT_EQ(DescribePage(p.E), after);
    EXPECT_TRUE(p.E.History.Matches(p.E));
    // The picture came back as the very same object, never as a copy.
    if (p.E.Items.Images.Count() > 0) {
        EXPECT_EQ(p.E.Items.Images[0].Picture, p.Picture);
    }
    // The selection never names an item that the undo or redo took away.
    for (const TKKItem& item : p.E.Selection) EXPECT_TRUE(ItemBounds(p.E.Items, item));
}

} // namespace

TEST(UndoHistory, EveryKindOfChangeIsUndoneToThePageBeforeAndRedoneToThePageAfter) {
    for (const TChange& change : kChanges) ExpectOneUndoableStep(change);
}

TEST(UndoHistory, EveryCommandOnTheSelectionIsOneStepUndoneAndRedoneWhole) {
    for (const TChange& change : kSelectionChanges) ExpectOneUndoableStep(change);

    // Put back into the frame it was taken out of: two steps, undone one by one.
    TUndoPage p;
    const std::string before = DescribePage(p.E);
    p.Click(24, 29);
    RunContextCommand(p.E, p.Core, TContextCommand::TakeOutOfFrame);
    const std::string out = DescribePage(p.E);
    RunContextCommand(p.E, p.Core, TContextCommand::PutIntoFrame);
    EXPECT_EQ(p.E.History.UndoCount(), 2);
    EXPECT_TRUE(p.E.History.Matches(p.E));
    p.Key(VK_Z);
    EXPECT_EQ(p.E.InfoText, "Undo: put into frame");
    EXPECT_EQ(DescribePage(p.E), out);
    p.Key(VK_Z);
    EXPECT_EQ(DescribePage(p.E), before);
}

TEST(UndoHistory, ADragIsOneStepFromPressToReleaseAndOnlyIfItMovedSomething) {
    TUndoPage p;
    const std::string before = DescribePage(p.E);
    p.Drag(p.At(47, 35), {}); // pressed and released where it lay
    p.Click(100, 150);        // a press on no item
    EXPECT_EQ(p.E.History.UndoCount(), 0);

    p.Drag(p.At(47, 35), {{48, 35}, {49, 36}, {50, 38}, {51, 40}, {52, 41}});
    EXPECT_EQ(p.E.History.UndoCount(), 1);
    // A drag the right button ends is one step too, and so is one that Escape ends.
    p.Press(p.At(52, 41));
    p.Move(p.At(54, 41));
    p.RightClick();
    EXPECT_EQ(p.E.History.UndoCount(), 2);
    p.Press(p.At(54, 41));
    p.Move(p.At(56, 41));
    EXPECT_TRUE(p.Key(VK_ESCAPE, 0));
    p.Release(p.At(56, 41));
    EXPECT_EQ(p.E.History.UndoCount(), 3);
    EXPECT_EQ(p.E.Items.Images[0].Rect, (TRect{51, 36, 61, 46}));

    for (int i = 0; i < 3; ++i) p.Key(VK_Z);
    EXPECT_EQ(DescribePage(p.E), before);
}

TEST(UndoHistory, UndoingALoadBringsBackThePreviousItemsSettingsAndCompass) {
    const TTempDir dir("undo-load");
    const std::string path = dir.File("other.PST");
    {
        TUndoPage other;
        other.E.Items.Captions[0].Text = "Más";
        other.E.Items.Polygons.Delete(0);
        other.E.Settings.PageBorderVisible = true;
        other.E.Settings.BasePageRect = {1, 2, 3, 4};
        other.E.Compass = TCompass{true, {70, 70}, 15, false};
        ASSERT_TRUE(other.E.SaveDocument(path).Ok());
    }
    TUndoPage p;
    p.E.Settings.HeightsLegendVisible = true;
    const std::string before = DescribePage(p.E);
    ASSERT_TRUE(p.E.LoadDocument(path).Ok());
    const std::string loaded = DescribePage(p.E);
    ASSERT_NE(loaded, before);
    // Saving leaves the history as it is.
    ASSERT_TRUE(p.E.SaveDocument(dir.File("saved.PST")).Ok());

    p.Key(VK_Z);
    EXPECT_EQ(p.E.InfoText, "Undo: loaded document");
    EXPECT_EQ(DescribePage(p.E), before);
    p.Key(VK_Y);
    EXPECT_EQ(DescribePage(p.E), loaded);
}

TEST(UndoHistory, UndoingPrinterSetupBringsTheItemsBackOntoTheNewSheet) {
    TUndoPage p;
    p.E.Settings.HeightsLegendVisible = true;
    const std::string before = DescribePage(p.E);
    const TPageSettings oldSettings = p.E.Settings;
    TA5Printer a5;
    p.E.ResetPage(a5);
    const TPageSettings newSettings = p.E.Settings;
    ASSERT_NE(newSettings.BasePageRect, oldSettings.BasePageRect);
    ASSERT_NE(newSettings.ClickThroughArea, oldSettings.ClickThroughArea);
    ASSERT_EQ(p.E.Items.Captions.Count(), 0);
    const std::string emptied = DescribePage(p.E);

    p.Key(VK_Z);
    EXPECT_EQ(p.E.InfoText, "Undo: printer setup");
    // The sheet's place on the picture and the click-through area stay the new sheet's.
    EXPECT_EQ(p.E.Settings.BasePageRect, newSettings.BasePageRect);
    EXPECT_EQ(p.E.Settings.ClickThroughArea, newSettings.ClickThroughArea);
    // Everything else is the page before, heights legend included.
    TPageSettings& settings = p.E.Settings;
    settings.BasePageRect = oldSettings.BasePageRect;
    settings.ClickThroughArea = oldSettings.ClickThroughArea;
    EXPECT_EQ(DescribePage(p.E), before);

    settings.BasePageRect = newSettings.BasePageRect;
    settings.ClickThroughArea = newSettings.ClickThroughArea;
    p.Key(VK_Y);
    EXPECT_EQ(DescribePage(p.E), emptied);
}

TEST(UndoHistory, TheKeysDoNothingWhileAToolRuns) {
    TUndoPage p;
    p.New(neRectangle);
    p.Colors.Answers = {clBlue};
    p.Click(30, 35);
    ASSERT_EQ(p.E.History.UndoCount(), 1);
    const std::string page = DescribePage(p.E);

    p.New(neLine);
    p.Click(33, 20);
    p.E.InfoText = "tool";
    EXPECT_TRUE(p.Key(VK_Z));
    EXPECT_TRUE(p.Key(VK_Y));
    EXPECT_EQ(p.E.Mode, mdNewLine);
    EXPECT_EQ(p.E.LinePoints->Count(), 1);
    EXPECT_EQ(p.E.InfoText, "tool");
    EXPECT_FALSE(p.E.RepaintRequested);
    p.E.CancelEntry(p.Screen);
    EXPECT_EQ(DescribePage(p.E), page);
    EXPECT_EQ(p.E.History.UndoCount(), 1);

    // Other combinations are not the editor's.
    EXPECT_FALSE(p.Key(VK_Z, 0));
    EXPECT_FALSE(p.Key(VK_Z, ssCtrl | ssAlt));
    EXPECT_FALSE(p.Key(VK_Y, ssCtrl | ssShift));
    EXPECT_EQ(p.E.History.UndoCount(), 1);
}

TEST(UndoHistory, TheKeysWorkWhileThePointerRestsOnAResizableEdge) {
    TUndoPage p;
    const std::string before = DescribePage(p.E);
    // A rectangle is resized, then the pointer rests on its right edge again.
    p.Move(p.Pixel(28, 29));
    p.Drag(p.Pixel(28, 29), {{33, 29}});
    const std::string resized = DescribePage(p.E);
    p.Move(p.Pixel(33, 29));
    ASSERT_TRUE(IsHovering(p.E.Mode));

    EXPECT_TRUE(p.Key(VK_Z));
    EXPECT_EQ(p.E.InfoText, "Undo: resized rectangle");
    EXPECT_EQ(DescribePage(p.E), before);
    // The edge has moved away from under the pointer, which holds no edge any more.
    EXPECT_EQ(p.E.Mode, mdIdle);
    EXPECT_EQ(p.Screen.Current, crArrow);

    p.Move(p.Pixel(28, 29));
    ASSERT_TRUE(IsHovering(p.E.Mode));
    EXPECT_TRUE(p.Key(VK_Y));
    EXPECT_EQ(DescribePage(p.E), resized);
    EXPECT_EQ(p.E.History.UndoCount(), 1);
}

TEST(UndoHistory, TheHundredAndFirstStepDropsTheOldestAndANewChangeDropsTheRedoSteps) {
    TUndoPage p;
    p.New(neFrame);
    for (int i = 0; i <= TUndoHistory::kMaxSteps; ++i) p.Click(60 + i % 50, 60 + i / 50);
    p.RightClick();
    ASSERT_EQ(p.E.Items.Frames.Count(), 102);
    EXPECT_EQ(p.E.History.UndoCount(), 100);
    for (int i = 0; i < 100; ++i) p.Key(VK_Z);
    EXPECT_EQ(p.E.Items.Frames.Count(), 2); // the first new frame stays
    p.Key(VK_Z);
    EXPECT_EQ(p.E.InfoText, "Nothing to undo");

    for (int i = 0; i < 3; ++i) p.Key(VK_Y);
    EXPECT_EQ(p.E.History.RedoCount(), 97);
    // A change that changes nothing (a cancelled dialog) keeps them; a real one drops them.
    StartModifyTool(p.E, p.Core);
    p.Click(35, 35);
    EXPECT_EQ(p.E.History.RedoCount(), 97);
    StartDeleteTool(p.E, p.Core);
    p.Click(35, 35);
    EXPECT_EQ(p.E.History.RedoCount(), 0);
    p.Key(VK_Y);
    EXPECT_EQ(p.E.InfoText, "Nothing to redo");
    p.Key(VK_Z);
    EXPECT_EQ(p.E.InfoText, "Undo: deleted frame");
    EXPECT_EQ(p.E.Items.Frames.Count(), 5);
}

TEST(UndoHistory, ChangesMadeOutsideTheStepsAreNotTakenBackByThem) {
    // A new layout of the sheet and scale captions following an outside scale are not steps:
    // undoing the step before them leaves them as they are.
    TUndoPage p;
    p.E.Items.Captions[1].ScaleCaption = true;
    p.Drag(p.At(47, 35), {{50, 36}});
    p.E.PageWidthMm = 300;
    p.E.LayOut();
    const TRect sheet = p.E.Settings.BasePageRect;
    p.E.UpdateScaleCaptions("500", p.Printer);
    p.Key(VK_Z);
    EXPECT_EQ(p.E.InfoText, "Undo: moved image");
    EXPECT_EQ(p.E.Items.Images[0].Rect, (TRect{42, 30, 52, 40}));
    EXPECT_EQ(p.E.Settings.BasePageRect, sheet);
    EXPECT_EQ(p.E.Items.Captions[1].Text, "1 : 500");
    p.Key(VK_Y);
    EXPECT_EQ(p.E.Items.Images[0].Rect, (TRect{45, 31, 55, 41}));
    EXPECT_EQ(p.E.Items.Captions[1].Text, "1 : 500");
}

TEST(UndoHistory, ThePageIsModifiedExactlyWhileTheHistoryStandsAwayFromTheSavedMark) {
    TUndoPage p;
    p.E.History.MarkSaved();
    EXPECT_FALSE(p.E.History.IsModified());
    p.Drag(p.At(47, 35), {{50, 36}});
    EXPECT_TRUE(p.E.History.IsModified());
    p.Key(VK_Z);
    EXPECT_FALSE(p.E.History.IsModified()); // undone back to what was saved
    p.Key(VK_Y);
    EXPECT_TRUE(p.E.History.IsModified());
    p.E.History.MarkSaved(); // saved after the drag
    p.Key(VK_Z);
    EXPECT_TRUE(p.E.History.IsModified());
    // A different change from the same point never comes back to the saved page.
    StartDeleteTool(p.E, p.Core);
    p.Click(35, 35);
    EXPECT_TRUE(p.E.History.IsModified());
    p.Key(VK_Z);
    EXPECT_TRUE(p.E.History.IsModified());

    // Saved with no steps at all, then more steps than the history keeps: undoing all that
    // it keeps still leaves the oldest change made, so the page stays modified.
    TUndoPage q;
    q.E.History.MarkSaved();
    q.New(neFrame);
    for (int i = 0; i <= TUndoHistory::kMaxSteps; ++i) q.Click(60 + i % 50, 60 + i / 50);
    q.RightClick();
    for (int i = 0; i < TUndoHistory::kMaxSteps; ++i) q.Key(VK_Z);
    EXPECT_EQ(q.E.History.UndoCount(), 0);
    EXPECT_TRUE(q.E.History.IsModified());
}

namespace {

// Commands that replace or change the page and can be given from the keyboard while the
// mouse button is still down.
struct TInterruption {
    const char* Step;
    std::function<void(TUndoPage&)> Give;
    bool ReplacesPage = true;
};

const TInterruption kInterruptions[] = {
    {"loaded document",
     [](TUndoPage& p) {
         TDocumentData doc;
         doc.PageSettings = p.E.Settings;
         doc.PageSettings.PageBorderVisible = true;
         p.E.InstallDocument(std::move(doc));
     }},
    {"printer setup", [](TUndoPage& p) { p.E.ResetPage(p.Printer); }},
    {"modified page",
     [](TUndoPage& p) {
         ModifyPage(p.E, "modified page", [&p] { p.E.Items.Captions[1].Text = "Más"; });
     },
     false},
};

} // namespace

TEST(UndoHistory, ACommandDuringAGestureEndsItAndTheHistoryKeepsMatchingThePage) {
    // A frame drag, an image's edge resize and the span of a new frame, each interrupted.
    struct TGesture {
        const char* Step;
        std::function<void(TUndoPage&)> Start; // press and a first move
        TPoint Further;                        // where the pointer goes after the command
    };
    const TGesture gestures[] = {
        {"moved frame",
         [](TUndoPage& p) {
             p.Press(p.At(35, 35));
             p.Move(p.At(37, 36));
         },
         {41, 41}},
        {"resized image",
         [](TUndoPage& p) {
             p.Move(p.Pixel(52, 35));
             p.Press(p.Pixel(52, 35));
             p.Move(p.Pixel(56, 35));
         },
         {60, 35}},
        {"new frame",
         [](TUndoPage& p) {
             p.New(neFrame);
             p.Press(p.At(15, 20));
             p.Move(p.At(25, 28));
         },
         {30, 35}},
    };
    for (const TGesture& gesture : gestures) {
        for (const TInterruption& command : kInterruptions) {
            SCOPED_TRACE(std::string(gesture.Step) + ", then " + command.Step);
            TUndoPage p;
            const std::string before = DescribePage(p.E);
            gesture.Start(p);
            const std::string gestured = DescribePage(p.E);
            ASSERT_NE(gestured, before);
            command.Give(p);
            EXPECT_FALSE(p.E.History.IsOpen());
            EXPECT_FALSE(IsGestureUnderWay(p.E));
            const std::string commanded = DescribePage(p.E);
            // The pointer has let go: moving and releasing change nothing more.
            p.Move(p.At(gesture.Further.X, gesture.Further.Y));
            p.Release(p.At(gesture.Further.X, gesture.Further.Y));
            EXPECT_EQ(DescribePage(p.E), commanded);
            EXPECT_TRUE(p.E.History.Matches(p.E));
            ASSERT_EQ(p.E.History.UndoCount(), 2);
            // A placing tool stays armed after its span ends; Escape puts it away.
            if (p.E.Mode != mdIdle) p.Key(VK_ESCAPE, 0);

            p.Key(VK_Z);
            EXPECT_EQ(p.E.InfoText, std::string("Undo: ") + command.Step);
            p.Key(VK_Z);
            EXPECT_EQ(p.E.InfoText, std::string("Undo: ") + gesture.Step);
            EXPECT_EQ(DescribePage(p.E), before);
            p.Key(VK_Y);
            EXPECT_EQ(DescribePage(p.E), gestured);
            p.Key(VK_Y);
            EXPECT_EQ(DescribePage(p.E), commanded);
        }
    }
}

TEST(UndoHistory, ALoadOrPrinterSetupEndsALineBeingEntered) {
    for (const TInterruption& command : kInterruptions) {
        if (!command.ReplacesPage) continue;
        SCOPED_TRACE(command.Step);
        TUndoPage p;
        p.Dialogs.LineScript.Ok(TLineDialogData{clGreen, 3, 2});
        p.New(neLine);
        p.Click(33, 20);
        p.Click(38, 30);
        command.Give(p);
        EXPECT_EQ(p.E.Mode, mdIdle);
        EXPECT_EQ(p.E.LinePoints, nullptr);
        // The right press that would have finished the line adds nothing.
        const int lines = p.E.Items.Lines.Count();
        p.RightClick();
        EXPECT_EQ(p.E.Items.Lines.Count(), lines);
        EXPECT_EQ(p.E.History.UndoCount(), 1);
    }
}

TEST(UndoHistory, PicturesTakenOffThePageKeepNoCopiesForDrawing) {
    // A page loaded again and again keeps every earlier page in the history: their pictures
    // must not keep the scaled copies made to draw them.
    TPageEditor e;
    for (int i = 0; i < 2; ++i) {
        auto image = std::make_unique<TNyomtatoKep>();
        image->Rect = {10 + 50 * i, 10, 50 + 50 * i, 40};
        image->Picture->LoadFromBitmapFileData(MakeBmp(TBmpShape{40, 30, 24}));
        e.Items.Images.Add(std::move(image));
    }
    e.History.Restart(e);
    const auto draw = [&e](int i) {
        TRecordingCanvas canvas;
        e.Items.Images[i].Picture->StretchDrawVisible(canvas, 0, 0, 400, 300, {0, 0, 400, 300});
    };
    draw(0);
    draw(1);
    const std::shared_ptr<TMemBitmap> first = e.Items.Images[0].Picture;
    const std::shared_ptr<TMemBitmap> second = e.Items.Images[1].Picture;
    ASSERT_GT(first->ViewCopy.KeptBytes(), 0u);
    {
        const TChangeStep step(e, "deleted image");
        e.Items.Images.Delete(0);
    }
    EXPECT_EQ(first->ViewCopy.KeptBytes(), 0u);
    EXPECT_GT(second->ViewCopy.KeptBytes(), 0u); // still on the page
    // Undone, the picture is back and draws again; redone, it lets go once more.
    ASSERT_TRUE(e.History.Undo(e));
    ASSERT_EQ(e.Items.Images[0].Picture, first);
    draw(0);
    EXPECT_GT(first->ViewCopy.KeptBytes(), 0u);
    ASSERT_TRUE(e.History.Redo(e));
    EXPECT_EQ(first->ViewCopy.KeptBytes(), 0u);
    EXPECT_GT(second->ViewCopy.KeptBytes(), 0u);
}
