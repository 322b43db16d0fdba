#include <gtest/gtest.h>

#include <cstdio>

#include "document/DocumentFile.h"
#include "editor/PageEditor.h"
#include "editor/PageLayout.h"
#include "platform/Printer.h"
#include "platform/Screen.h"
#include "support/TempDir.h"
#include "support/TestPrinters.h"

TEST(PageEditor, WithoutPrinterThePageIs2000By3200AndTheClickAreaIsClamped) {
    TPageEditor editor;
    editor.Items.Captions.Add(std::make_unique<TNyomtatoSzoveg>());
    editor.Settings.ClickThroughArea = {1, 2, 3, 4};
    editor.Settings.HeightsLegendVisible = true;
    TNoPrinter none;
    editor.ResetPage(none);

    EXPECT_EQ(editor.PageWidthMm, 2000);
    EXPECT_EQ(editor.PageHeightMm, 3200);
    EXPECT_EQ(editor.Zoom(), 1.0);
    EXPECT_EQ(editor.ZoomPosition, TPageEditor::ZoomMin);
    EXPECT_EQ(editor.Items.Captions.Count(), 0);
    EXPECT_FALSE(editor.Settings.HeightsLegendVisible);
    // Without a printer the printable area is empty at the origin.
    EXPECT_EQ(editor.Settings.ClickThroughArea, (TRect{10, 20, 0, 0}));
    // Portrait: full picture height minus the shadow, centred.
    EXPECT_EQ(editor.Settings.BasePageRect, (TRect{81, 0, 269, 302}));
    EXPECT_EQ(editor.PageRect(), editor.Settings.BasePageRect);
}

TEST(PageEditor, APrinterGivesItsSheetAndPrintableArea) {
    TPageEditor editor;
    TA4Printer a4;
    editor.ResetPage(a4);
    EXPECT_EQ(editor.PageWidthMm, 209);
    EXPECT_EQ(editor.PageHeightMm, 296);
    EXPECT_EQ(editor.Settings.ClickThroughArea, (TRect{10, 20, 110, 80}));
}

TEST(PageEditor, SquareSheetsLayOutLikeLandscapeOnes) {
    EXPECT_EQ(LayOutSheet(360, 312, 100, 100), (TRect{0, 151 - 175, 350, 151 - 175 + 350}));
    EXPECT_EQ(LayOutSheet(360, 312, 300, 200), (TRect{0, 151 - 116, 350, 151 - 116 + 233}));
    // A sheet without size does not divide by zero.
    EXPECT_EQ(LayOutSheet(360, 312, 0, 0).Width(), 350);
}

TEST(PageEditor, ZoomGrowsTheSheetAboutItsCornerAndOpensTheScrollRange) {
    TPageEditor editor;
    TNoPrinter none;
    editor.ResetPage(none);
    EXPECT_EQ(editor.ScrollMaxX, 0);
    EXPECT_EQ(editor.ScrollMaxY, 0);

    editor.SetZoomPosition(1000); // clamped to the bar's maximum
    EXPECT_EQ(editor.ZoomPosition, 100);
    EXPECT_DOUBLE_EQ(editor.Zoom(), 20.0);
    const TRect& base = editor.Settings.BasePageRect;
    EXPECT_EQ(editor.PageRect().Left, base.Left);
    EXPECT_EQ(editor.PageRect().Right, static_cast<int>(base.Left + 20.0 * (base.Width() + 1) - 1));
    EXPECT_EQ(editor.ScrollMaxX, static_cast<int>(editor.PageRect().Right - 360 + 200));

    editor.SetScroll(editor.ScrollMaxX, 5);
    editor.SetZoomPosition(5); // the range shrinks, the position follows
    EXPECT_EQ(editor.ScrollX, 0);
    EXPECT_EQ(editor.ScrollY, 0);
}

TEST(PageEditor, EscapeDiscardsAPolygonBeingEnteredWithoutCreatingIt) {
    TPageEditor editor;
    TMemoryScreen screen;
    editor.Mode = mdNewPolygon;
    editor.PolygonPoints = std::make_unique<TPointList>();
    editor.PolygonPoints->AddPoint(1, 2);
    editor.RepeatMenuAttached = false;

    EXPECT_TRUE(editor.CancelEntry(screen));
    EXPECT_EQ(editor.Mode, mdIdle);
    EXPECT_EQ(editor.PolygonPoints, nullptr);
    EXPECT_EQ(editor.Items.Polygons.Count(), 0);
    EXPECT_EQ(screen.Current, crArrow);
    EXPECT_FALSE(editor.RepeatMenuAttached); // only the end of a tool brings it back

    // In any other mode Escape just returns to idle.
    editor.Mode = mdDeleteTool;
    EXPECT_FALSE(editor.CancelEntry(screen));
    EXPECT_EQ(editor.Mode, mdIdle);
}

TEST(PageEditor, TheWindowTakesEachOneTimeRequestOnceAndTheTimerAsLongAsItRuns) {
    TPageEditor editor;
    editor.Mode = mdNewLine;
    editor.LinePoints = std::make_unique<TPointList>();
    editor.AbandonEntry();
    editor.RepaintRequested = true;

    const TWindowRequests first = editor.TakeWindowRequests();
    EXPECT_TRUE(first.Repaint);
    EXPECT_TRUE(first.ForgetPictureCursor);
    EXPECT_TRUE(first.RepeatTimerRunning);
    const TWindowRequests second = editor.TakeWindowRequests();
    EXPECT_FALSE(second.Repaint);
    EXPECT_FALSE(second.ForgetPictureCursor);
    EXPECT_TRUE(second.RepeatTimerRunning); // until it fires
    editor.RepeatTimerFired();
    EXPECT_FALSE(editor.TakeWindowRequests().RepeatTimerRunning);
}

TEST(PageEditor, ScaleCaptionsShowTheScaleAndAreMeasuredAgain) {
    TPageEditor editor;
    TA4Printer a4;
    editor.ResetPage(a4);
    for (bool scale : {true, false}) {
        auto c = std::make_unique<TNyomtatoSzoveg>();
        c->Text = "old";
        c->Rect = {10, 10, 11, 11};
        c->ScaleCaption = scale;
        editor.Items.Captions.Add(std::move(c));
    }
    editor.UpdateScaleCaptions("2500", a4);
    EXPECT_EQ(editor.Items.Captions[0].Text, "1 : 2500");
    EXPECT_GT(editor.Items.Captions[0].Rect.Right, 11); // re-measured for the longer text
    EXPECT_EQ(editor.Items.Captions[1].Text, "old");
    EXPECT_EQ(editor.Items.Captions[1].Rect.Right, 11);
}

TEST(PageEditor, ALoadedDocumentsSheetPositionDoesNotDistortTheView) {
    const TTempDir dir("base-page-rect");
    const std::string path = dir.File("page.PST");
    TDocumentData made;
    made.PageWidthMm = 300;
    made.PageHeightMm = 100;
    made.PageSettings.BasePageRect = {0, 100, 350, 216}; // laid out for a wide sheet
    ASSERT_TRUE(SaveDocumentFile(path, made).Ok());

    TPageEditor editor;
    TA4Printer a4;
    editor.ResetPage(a4);
    const TRect a4Layout = editor.PageRect();
    ASSERT_TRUE(editor.LoadDocument(path).Ok());
    editor.SetZoomPosition(50);
    // Zoomed ten times about the A4 sheet's own corner, in A4's proportions.
    EXPECT_EQ(editor.PageRect().Left, a4Layout.Left);
    EXPECT_EQ(editor.PageRect().Top, a4Layout.Top);
    EXPECT_NEAR(static_cast<double>(editor.PageRect().Width()) / editor.PageRect().Height(),
                static_cast<double>(a4Layout.Width()) / a4Layout.Height(), 0.01);
    editor.SetZoomPosition(5);
    EXPECT_EQ(editor.PageRect(), a4Layout);

    // The page settings keep the loaded bytes, so saving gives them back unchanged.
    EXPECT_EQ(editor.Settings.BasePageRect, made.PageSettings.BasePageRect);
    ASSERT_TRUE(editor.SaveDocument(path).Ok());
    const TDocumentLoad again = LoadDocumentFile(path);
    ASSERT_TRUE(again.Document);
    EXPECT_EQ(again.Document->PageSettings.BasePageRect, made.PageSettings.BasePageRect);
    std::remove(path.c_str());
}
