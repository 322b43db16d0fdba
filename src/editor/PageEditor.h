// The editor's document and state without any window: the seven item lists, the page
// settings, the printer's sheet, the view's zoom and scroll position and the interaction
// mode. The editor window shows what this decides and forwards its events here, so tests
// drive the editor without a window.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/ItemKind.h"
#include "document/ItemLists.h"
#include "document/PageSettings.h"
#include "document/PointList.h"
#include "editor/EditorMode.h"
#include "editor/PrinterMetrics.h"
#include "editor/RepeatMenu.h"
#include "editor/UndoHistory.h"
#include "platform/Rect.h"

class TPrinter;
struct TDocumentData;
class TScreen;

class TPageEditor {
public:
    // The page picture's smallest and first size, in pixels. Documents store the sheet's
    // layout on a picture of this size (Settings.BasePageRect), whatever the window's size.
    static constexpr int BasePictureWidth = 360;
    static constexpr int BasePictureHeight = 312;
    // The navigator's thumbnail, in pixels.
    static constexpr int NavigatorWidth = 128;
    static constexpr int NavigatorHeight = 111;
    static constexpr int ZoomMin = 5;
    static constexpr int ZoomMax = 100;

    // Document.
    TPageItems Items;
    TPageSettings Settings;
    // The compass mark's state: none until a loaded document brings one; saved with the
    // document when present, so a page without one stays in the compact file form.
    std::optional<TCompass> Compass;
    // Every change of the items, the page settings and the compass, for undo and redo.
    TUndoHistory History;

    // Page and view.
    TPrinterMetrics Metrics;
    // The page picture's current size in pixels (the window's free space); the layout, the
    // zoom, the scroll range, hit-testing and the navigator's mark all follow it.
    int32_t PictureWidth = BasePictureWidth;
    int32_t PictureHeight = BasePictureHeight;
    int32_t PageWidthMm = 0;
    int32_t PageHeightMm = 0;
    // The sheet on the page picture at zoom 1, laid out for the current sheet. The page
    // settings keep the value a loaded document brought, which may belong to another sheet,
    // so the view never zooms that one.
    TRect BasePageRect;
    TRect PageRect;
    TRect NavigatorPageRect;
    int32_t ScrollX = 0;
    int32_t ScrollY = 0;
    int32_t ScrollMaxX = 0;
    int32_t ScrollMaxY = 0;
    int32_t ZoomPosition = ZoomMin;
    double Zoom = 1.0;
    bool NavigatorDirty = false;
    // The navigator's view mark is being dragged from this navigator pixel.
    bool NavigatorDragging = false;
    TPoint NavigatorDragPoint;
    // Ctrl+wheel turns not yet worth a whole zoom step (fine-grained wheels send parts).
    int32_t WheelZoomRest = 0;

    // Interaction.
    TEditorMode Mode = mdIdle;
    // A gesture's history step is open, from its press to its release (editor/ChangeStep.h).
    bool GestureOpen = false;
    // The mode a scroll-thumb drag or a navigator drag interrupted; it comes back after.
    TEditorMode InterruptedMode = mdIdle;
    TResizeKind ResizeKind = rkNone;
    TPoint DragAnchor; // mm: the pointer at the last accepted drag step
    // The item being dragged or resized (CaptionOrTextIndex serves captions and texts).
    int32_t CaptionOrTextIndex = -1;
    int32_t ImageIndex = -1;
    int32_t FrameIndex = -1;
    int32_t RectangleIndex = -1;
    int32_t LineIndex = -1;
    int32_t LinePointIndex = -1;
    int32_t PolygonIndex = -1;
    int32_t PolygonPointIndex = -1;
    // Items made by a dialog that wait for the press that places them.
    std::unique_ptr<TNyomtatoSzoveg> PendingCaption;
    std::unique_ptr<TNyomtatoKep> PendingImage;
    TSize PendingImageSize; // mm
    std::unique_ptr<TNyomtatoSorok> PendingText;
    std::unique_ptr<TPointList> LinePoints;    // while a line is entered
    std::unique_ptr<TPointList> PolygonPoints; // while a polygon is entered

    // The selected items, in the order they were selected. Drawn over the page with handles;
    // neither printed nor stored. Never names an item that does not exist.
    std::vector<TKKItem> Selection;
    // The rubber band's corners in picture pixels (mdRubberBand).
    TPoint BandStart;
    TPoint BandEnd;
    // The box a placing tool just made follows the pointer until the release (the tool's mode
    // stays as its press left it): spanned from SpanStart (mm); SpanPress is the press in
    // picture pixels, SpanMoved whether the pointer has really left it.
    bool Spanning = false;
    TKKItem Spanned;
    TPoint SpanStart;
    TPoint SpanPress;
    bool SpanMoved = false;
    // The corner handle hovered or dragged: 0 top-left, 1 top-right, 2 bottom-right, 3
    // bottom-left, of the box ResizeKind and its index field name.
    int32_t Corner = -1;
    // The pointer over the page picture, in picture pixels (a paste goes there).
    std::optional<TPoint> Pointer;

    // What the window shows, as the editor decided it: the info line, the pointer read-out in
    // mm (empty off the sheet), and requests the window carries out and then clears.
    std::string InfoText; // UTF-8
    std::string PointerXText;
    std::string PointerYText;
    bool RepaintRequested = false;    // PaintView(false)
    bool ForgetPictureCursor = false; // the page picture forgets its remembered cursor
    TRepeatMenu RepeatMenu;
    int32_t NewItemKind = 0; // the entry selected in "New item:" (0 caption .. 6 polygon)
    // The colour dialog of rectangles and polygons opens with the colour last chosen in it.
    TColor FillColorChoice = clBlack;
    // The repeat menu is attached to the page picture (it is detached while a tool runs and
    // comes back RepeatMenuDelayMs after the tool ends, through the window's timer).
    bool RepeatMenuAttached = true;
    bool RepeatTimerEnabled = false;
    static constexpr int RepeatMenuDelayMs = 500;

    // Reads the printer's sheet, empties the document and lays the page out anew (start-up
    // and after printer set-up). Undoing it brings the items back onto the new sheet.
    void ResetPage(TPrinter& printer);
    // Places the sheet on the page picture and the navigator, keeps the zoom and scrolls back
    // to the origin.
    void LayOut();
    // Sets the zoom bar (clamped to its range) and zooms the sheet about its top-left corner.
    void SetZoomPosition(int position);
    void SetScroll(int x, int y);
    // Escape: abandons a line or polygon being entered and returns to idle. True when points
    // were discarded (the page must be repainted).
    bool CancelEntry(TScreen& screen);
    // A new page (a load, printer set-up) ends a line or polygon being entered: its points
    // belonged to the page it replaces.
    void AbandonEntry();
    // Captions that show the page scale read "1 : " + scaleText and are measured again.
    void UpdateScaleCaptions(const std::string& scaleText, TPrinter& printer);
    // The repeat timer fired: it stops and the menu comes back.
    void RepeatTimerFired();

    // Writes the document (with its compass, when it has one) to path, replacing the file only when
    // all of it was written. The message for the user on failure.
    std::optional<std::string> SaveDocument(const std::string& path) const;
    // Reads the document at path and, only when all of it was read, installs its page
    // settings, items and (when the file has one) compass; the page keeps the current
    // printer's size. On failure nothing changes and the message for the user is returned.
    // Undoing it brings the previous page back.
    std::optional<std::string> LoadDocument(const std::string& path);
    // Installs a document already read (the second half of LoadDocument), as one step.
    void InstallDocument(TDocumentData doc);
};
