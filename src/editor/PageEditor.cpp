#include "editor/PageEditor.h"

#include <algorithm>

#include "document/DocumentFile.h"
#include "editor/ChangeStep.h"
#include "editor/PageLayout.h"
#include "editor/TextMeasure.h"
#include "platform/Screen.h"

void TPageEditor::ResetPage(TPrinter& printer) {
    // The printer stays as chosen: undoing brings back the page's content, not its sheet.
    TChangeStep step(*this, "printer setup");
    step.KeepSheet();
    AbandonEntry();
    Selection.clear();
    ReadDefaultPrinter(printer, Metrics);
    Items = TPageItems{};
    Settings.HeightsLegendFontMm = 5;
    Settings.HeightsLegendOrientation = 0;
    Settings.HeightsLegendVisible = false;
    Settings.PageBorderColor = 0;
    Settings.ClickThroughArea = TRect{10, 20, 110, 80};

    PageWidthMm = static_cast<int32_t>(Metrics.PhysicalWidthPx * Metrics.MmPerPixelX);
    PageHeightMm = static_cast<int32_t>(Metrics.PhysicalHeightPx * Metrics.MmPerPixelY);
    if (PageWidthMm == 0 && PageHeightMm == 0) {
        // No printer: a large sheet so that the editor stays usable.
        PageWidthMm = 2000;
        PageHeightMm = 3200;
    }
    SetZoomPosition(0); // the bar's minimum: zoom 1.0
    LayOut();

    TRect& area = Settings.ClickThroughArea;
    area.Left = std::max(10, static_cast<int>(Metrics.LeftMarginMm));
    area.Top = std::max(20, static_cast<int>(Metrics.TopMarginMm));
    area.Right = std::min(110, static_cast<int>(Metrics.RightEdgeMm));
    area.Bottom = std::min(80, static_cast<int>(Metrics.BottomEdgeMm));
}

void TPageEditor::LayOut() {
    BasePageRect = FitSheet(PictureWidth, PictureHeight, PageWidthMm, PageHeightMm);
    // A document saved now carries the layout of this sheet on the base-size picture,
    // however large the window is.
    Settings.BasePageRect =
        LayOutSheet(BasePictureWidth, BasePictureHeight, PageWidthMm, PageHeightMm);
    NavigatorPageRect = LayOutSheet(NavigatorWidth, NavigatorHeight, PageWidthMm, PageHeightMm);
    ScrollX = ScrollY = 0;
    // The sheet at the current zoom (at zoom 1, the base itself with no scroll range).
    SetZoomPosition(ZoomPosition);
}

void TPageEditor::SetZoomPosition(int position) {
    ZoomPosition = std::clamp(position, static_cast<int>(ZoomMin), static_cast<int>(ZoomMax));
    NavigatorDirty = true;
    const TRect sheet = PageRect();
    ScrollMaxX = ScrollMaximum(sheet.Right, PictureWidth, Zoom());
    ScrollMaxY = ScrollMaximum(sheet.Bottom, PictureHeight, Zoom());
    // A smaller range pulls the position back inside it, as a scroll bar does.
    SetScroll(ScrollX, ScrollY);
}

void TPageEditor::SetScroll(int x, int y) {
    ScrollX = std::clamp(x, 0, ScrollMaxX);
    ScrollY = std::clamp(y, 0, ScrollMaxY);
    NavigatorDirty = true;
}

bool TPageEditor::CancelEntry(TScreen& screen) {
    bool discarded = false;
    if (Mode == mdNewLine && LinePoints) {
        LinePoints.reset();
        discarded = true;
    } else if (Mode == mdNewPolygon && PolygonPoints) {
        PolygonPoints.reset();
        discarded = true;
    }
    screen.SetCursor(crArrow);
    Mode = mdIdle;
    return discarded;
}

void TPageEditor::AbandonEntry() {
    if (!IsEnteringPoints(Mode)) return;
    LinePoints.reset();
    PolygonPoints.reset();
    Mode = mdIdle;
    InfoText.clear();
    ForgetPictureCursor = true;
    RepeatTimerEnabled = true;
}

void TPageEditor::UpdateScaleCaptions(const std::string& scaleText, TPrinter& printer) {
    for (int i = 0; i < Items.Captions.Count(); ++i) {
        TNyomtatoSzoveg& caption = Items.Captions[i];
        if (!caption.ScaleCaption) continue;
        caption.Text = "1 : " + scaleText;
        MeasureCaption(caption, printer, Metrics);
    }
}

void TPageEditor::RepeatTimerFired() {
    RepeatTimerEnabled = false;
    RepeatMenuAttached = true;
}

TOutcome TPageEditor::SaveDocument(const std::string& path) const {
    return SaveDocumentFile(path, PageWidthMm, PageHeightMm, Settings, Items,
                            Compass ? &*Compass : nullptr);
}

TOutcome TPageEditor::LoadDocument(const std::string& path) {
    TDocumentLoad load = LoadDocumentFile(path);
    if (!load.Document) return TOutcome::Failure(load.Error);
    InstallDocument(std::move(*load.Document));
    return TOutcome::Success();
}

TRect TPageViewState::PageRect() const { return ZoomSheet(BasePageRect, Zoom()); }

void TPageEditor::InstallDocument(TDocumentData doc) {
    TChangeStep step(*this, "loaded document");
    AbandonEntry();
    Selection.clear();
    // The loaded settings are kept whole, so saving gives their bytes back; the view keeps
    // its own layout of the current sheet (BasePageRect), whatever sheet the file was made on.
    Settings = doc.PageSettings;
    Items = std::move(doc.Items);
    if (doc.Compass) Compass = doc.Compass;
}
