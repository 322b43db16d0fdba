#include "geometry/LineGeometry.h"

#include <cmath>

namespace {

__extension__ typedef __int128 Wide;

// Exact constants of the direction computation.
constexpr double kQuarter = 1.5707963267948966;
constexpr double kHalf = 3.141592653589793;
constexpr double kThreeQuarters = 4.71238898038469;
constexpr double kFull = 6.283185307179586;

// Shortened constants of the offset computations (their results are defined with these).
constexpr double kShortQuarter = 1.570796;
constexpr double kShortHalf = 3.1415;
constexpr double kShortFull = 6.283;
constexpr double kMinCosine = 0.001;

// Truncation toward zero of a coordinate; values beyond the int32 range (from absurd input)
// are held at its ends rather than overflowing.
int32_t Trunc(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(v);
}

double Angle(TPoint a, TPoint b) { return SegmentAngle(a.X, a.Y, b.X, b.Y); }

// The offset of inner vertex i, on the bisector of its two segments.
TPoint MitrePoint(TPoint prev, TPoint p, TPoint next, int side, int32_t d) {
    const double a1 = Angle(prev, p);
    double a2 = Angle(next, p);
    if (a2 > a1) a2 -= kShortFull;
    double bisector = (a1 + a2) * 0.5;
    if (side == 1) bisector += kShortHalf;
    const double normal = side == 1 ? a1 + kShortQuarter : a1 - kShortQuarter;
    double delta = bisector - normal;
    if (delta > kShortHalf) delta = kShortHalf - delta;
    const double c = std::cos(delta);
    const double m = c > kMinCosine ? d / c : 0.0;
    return TPoint{Trunc(std::cos(bisector) * m + p.X), Trunc(std::sin(bisector) * m + p.Y)};
}

} // namespace

double SegmentAngle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    const double dx = static_cast<double>(x2) - x1;
    const double dy = static_cast<double>(y2) - y1;
    if (dx == 0) return dy < 0 ? kThreeQuarters : kQuarter;
    if (dy == 0) return dx >= 0 ? 0.0 : kHalf;
    if (dy < 0) return dx < 0 ? std::atan(dy / dx) + kHalf : kFull - std::atan(-dy / dx);
    return dx < 0 ? kHalf - std::atan(dy / -dx) : std::atan(dy / dx);
}

TPoint PolarPoint(int32_t cx, int32_t cy, int32_t r, double angle) {
    return TPoint{Trunc(r * std::cos(angle) + cx), Trunc(r * std::sin(angle) + cy)};
}

TPoint OffsetPoint(TPoint p, double angle, int side, int32_t d) {
    const double theta = side == 1 ? angle + kShortQuarter : angle - kShortQuarter;
    return TPoint{Trunc(std::cos(theta) * d + p.X), Trunc(std::sin(theta) * d + p.Y)};
}

std::vector<TPoint> OffsetPolyline(std::span<const TPoint> p, int side, int32_t d) {
    const size_t n = p.size();
    if (n < 2) return {};
    std::vector<TPoint> q(n);
    q[0] = OffsetPoint(p[0], Angle(p[0], p[1]), side, d);
    for (size_t i = 1; i + 1 < n; ++i) q[i] = MitrePoint(p[i - 1], p[i], p[i + 1], side, d);
    q[n - 1] = OffsetPoint(p[n - 1], Angle(p[n - 2], p[n - 1]), side, d);
    if (n > 2 && p[n - 1] == p[0]) {
        TPoint crossing;
        if (IntersectSegments(q[0], q[1], q[n - 1], q[n - 2], crossing, true, true)) {
            q[0] = crossing;
            q[n - 1] = crossing;
        }
    }
    return q;
}

std::vector<TPoint> PolylineOutline(std::span<const TPoint> p, int32_t w) {
    const size_t n = p.size();
    if (n < 2) return {};
    std::vector<TPoint> outline = OffsetPolyline(p, 1, w);
    const std::vector<TPoint> other = OffsetPolyline(p, 0, w);
    outline.insert(outline.end(), other.rbegin(), other.rend());
    return outline;
}

bool IntersectSegments(TPoint p1, TPoint p2, TPoint p3, TPoint p4, TPoint& out, bool linesMode,
                       bool inclusive) {
    if (p1 == p3 || p1 == p4) {
        out = p1;
        return true;
    }
    if (p2 == p3 || p2 == p4) {
        out = p2;
        return true;
    }
    // 64-bit products: page and view coordinates can be far apart in damaged documents.
    const int64_t x1 = p1.X, y1 = p1.Y, x2 = p2.X, y2 = p2.Y;
    const int64_t x3 = p3.X, y3 = p3.Y, x4 = p4.X, y4 = p4.Y;
    const int64_t den = (x2 - x1) * (y3 - y4) - (x3 - x4) * (y2 - y1);
    if (den == 0) return false;
    const double t = static_cast<double>((x3 - x1) * (y3 - y4) - (x3 - x4) * (y3 - y1)) /
                     static_cast<double>(den);
    const double px = (1 - t) * static_cast<double>(x1) + t * static_cast<double>(x2);
    const double py = (1 - t) * static_cast<double>(y1) + t * static_cast<double>(y2);
    if (linesMode) {
        out = TPoint{Trunc(px), Trunc(py)};
        return true;
    }
    const double u = static_cast<double>((y3 - y1) * (x2 - x1) - (x3 - x1) * (y2 - y1)) /
                     static_cast<double>(den);
    const auto within = [inclusive](double v) { return v >= 0 && (inclusive ? v <= 1 : v < 1); };
    if (!within(t) || !within(u)) return false;
    out = TPoint{Trunc(std::floor(px)), Trunc(std::floor(py))};
    return true;
}

bool PointInPolygon(int32_t x, int32_t y, std::span<const TPoint> v) {
    // The crossings are counted as they are found, so no table limits the polygon's size.
    const size_t n = v.size();
    bool oddAbove = false;
    bool oddBelow = false;
    for (size_t i = 0; i < n; ++i) {
        const TPoint a = v[i];
        const TPoint b = v[(i + 1) % n];
        if (!((a.X <= x && x < b.X) || (b.X <= x && x < a.X))) continue;
        // Differences of int32 values fit 33 bits, so their product needs 128.
        const Wide crossing = static_cast<Wide>(static_cast<int64_t>(b.Y) - a.Y) *
                                  (static_cast<int64_t>(x) - a.X) /
                                  (static_cast<int64_t>(b.X) - a.X) +
                              a.Y;
        if (crossing < y) oddAbove = !oddAbove;
        if (crossing > y) oddBelow = !oddBelow;
    }
    return oddAbove && oddBelow;
}
