// Integer plane geometry for hit-testing lines, polygons and the compass mark: directions,
// polar points, parallel offsets of polylines, the outline of a widened polyline, segment
// crossings and point-in-polygon. Pure functions in whatever integer unit the caller uses.
//
// Double results are converted to integers by truncation toward zero. The offset operations
// use shortened constants for the right angle, half turn and full turn; their results depend
// on them, so they must not be replaced by the exact values.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/Rect.h"

// Direction of the vector from (x1, y1) to (x2, y2) in [0, 2*pi), from the raw differences
// (y grows downward, so an increasing angle turns clockwise on the screen). A zero-length
// segment points at pi/2.
double SegmentAngle(int32_t x1, int32_t y1, int32_t x2, int32_t y2);

// The point r away from (cx, cy) in direction angle.
TPoint PolarPoint(int32_t cx, int32_t cy, int32_t r, double angle);

// p moved d across a segment of direction angle: side 1 is a quarter turn clockwise on the
// screen from the direction of travel, side 0 the other way.
TPoint OffsetPoint(TPoint p, double angle, int side, int32_t d);

// The polyline moved d to one side, with mitred inner corners; a closed path (last point equal
// to the first, more than two points) gets a mitre at its start too. Fewer than two points
// give an empty result.
std::vector<TPoint> OffsetPolyline(std::span<const TPoint> points, int side, int32_t d);

// The implicitly closed outline of the polyline widened by w on each side: the side-1 offset
// forward, then the side-0 offset backward (2n points). Fewer than two points give an empty
// result.
std::vector<TPoint> PolylineOutline(std::span<const TPoint> points, int32_t w);

// Where segment p1-p2 crosses p3-p4. With linesMode the infinite lines are crossed without a
// range test; otherwise both positions must lie in [0, 1] (inclusive) or [0, 1). Shared end
// points are returned at once. False (and out untouched) for parallel input or no crossing.
bool IntersectSegments(TPoint p1, TPoint p2, TPoint p3, TPoint p4, TPoint& out, bool linesMode,
                       bool inclusive);

// True when (x, y) lies inside the implicitly closed polygon: the vertical line through x must
// cross its edges an odd number of times both above and below the point. Points on left and
// top edges count as inside, on right and bottom edges as outside. Any number of vertices.
bool PointInPolygon(int32_t x, int32_t y, std::span<const TPoint> polygon);
