// Hit-testing on the page picture: which item lies under a picture pixel, and which edge of a
// resizable box the pointer is on. Positions are page-picture pixels; items are mapped from
// their millimetres at the current zoom and scroll position. Point lists are read within
// their own counts only, and far-off coordinates of damaged documents are held at a limit
// before any pixels are added to them.
#pragma once

#include <cstdint>

#include "editor/EditorMode.h"
#include "platform/Rect.h"

class TPageEditor;
class TPointList;
class TNyomtatoVonal;

// The picture pixel of a sheet point in mm (truncated toward zero).
TPoint ViewPointOf(const TPageEditor& e, TPoint mm);

// The primitive tests, shared by the pick below and by the Delete and Modify tools, which
// search the lists in their own orders.

// (x, y) lies in the 4 x 4 box around picture point p: from 2 pixels left of and above p up to
// 2 pixels right of and below it, the right and bottom edges excluded.
bool PointBoxHit(TPoint p, int32_t x, int32_t y);
// The first point of the list (in mm) whose box holds (x, y), or -1.
int32_t PointBoxIndex(const TPageEditor& e, const TPointList& points, int32_t x, int32_t y);
// The body of a line for picking: its mm points widened by 3 mm on each side (by its Width
// when that is over 2), the outline then mapped to the picture. A line needs two points to
// have a body.
bool LineBodyHit(const TPageEditor& e, const TNyomtatoVonal& line, int32_t x, int32_t y);
// The body of a line as the Delete and Modify tools find it: the points mapped to the picture
// first, then widened by 3 pixels on each side.
bool LineViewBodyHit(const TPageEditor& e, const TPointList& line, int32_t x, int32_t y);
// The polygon's points mapped to the picture enclose (x, y).
bool PolygonBodyHit(const TPageEditor& e, const TPointList& polygon, int32_t x, int32_t y);
// The mm rectangle mapped to the picture holds (x, y), right and bottom excluded.
bool BoxHit(const TPageEditor& e, const TRect& mm, int32_t x, int32_t y);

// What a press picks: the topmost item under the pointer. Lines (points, then body), texts,
// captions, images, polygons (points, then body), rectangles, frames; each list from its last
// item to its first. A frame without fill (bsClear) is passed over inside the click-through
// area.
enum class TPickKind {
    None,
    LinePoint,
    Line,
    Text,
    Caption,
    Image,
    PolygonPoint,
    Polygon,
    Rectangle,
    Frame,
};

struct TPick {
    TPickKind Kind = TPickKind::None;
    int32_t Index = -1;      // in the list of the kind
    int32_t PointIndex = -1; // line and polygon points
};

TPick PickItem(const TPageEditor& e, int32_t x, int32_t y);

// (x, y) is in the box of some line point or polygon point (where a press drags a point).
bool AnyPointBoxAt(const TPageEditor& e, int32_t x, int32_t y);

// Edges of a box on the picture, as hover modes (top, bottom, left, right). The top and
// bottom edges are 3 pixels high and span left .. right - 1; the side edges are 3 pixels wide
// and span top .. bottom.
TEditorMode EdgeModeAt(const TRect& r, int32_t x, int32_t y); // the first edge hit, or idle
bool OnEdge(const TRect& r, TEditorMode edgeMode, int32_t x, int32_t y);

// A resizable edge under the pointer: the heights legend, then frames, rectangles and images
// (each last to first). Frames, rectangles and images do not offer an edge that lies over
// another item which a press there would pick (frames: captions, images, texts, rectangles,
// polygons; rectangles: captions, images, texts, polygons; images: captions, texts).
struct THoveredEdge {
    TEditorMode Mode = mdIdle; // a hover mode, or idle when no edge is offered
    TResizeKind ResizeKind = rkNone;
    int32_t Index = -1; // of the frame, rectangle or image
};

// In the idle mode any edge counts; while an edge is already hovered only an
// edge of the same kind keeps the hover; in any other mode no edge is offered.
THoveredEdge HoveredEdge(const TPageEditor& e, int32_t x, int32_t y);
