#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "geometry/LineGeometry.h"

namespace {

constexpr double kPi = 3.141592653589793;

TEST(SegmentAngle, CoversEveryQuadrantAndTheDegenerateCases) {
    EXPECT_DOUBLE_EQ(SegmentAngle(0, 0, 0, -5), 4.71238898038469);
    EXPECT_DOUBLE_EQ(SegmentAngle(0, 0, -5, 0), kPi);
    EXPECT_DOUBLE_EQ(SegmentAngle(0, 0, 5, 0), 0.0);
    EXPECT_DOUBLE_EQ(SegmentAngle(0, 0, 5, 5), kPi / 4);
    EXPECT_DOUBLE_EQ(SegmentAngle(0, 0, 5, -5), 7 * kPi / 4);
    EXPECT_DOUBLE_EQ(SegmentAngle(0, 0, -5, 5), 3 * kPi / 4);
    EXPECT_DOUBLE_EQ(SegmentAngle(0, 0, -5, -5), 5 * kPi / 4);
    EXPECT_DOUBLE_EQ(SegmentAngle(3, 3, 3, 3), 1.5707963267948966);
}

TEST(SegmentAngle, EqualsAtan2TakenIntoOneTurn) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> c(-1000, 1000);
    for (int i = 0; i < 2000; ++i) {
        const int dx = c(rng), dy = c(rng);
        if (dx == 0 && dy == 0) continue;
        double expected = std::atan2(dy, dx);
        if (expected < 0) expected += 2 * kPi;
        EXPECT_NEAR(SegmentAngle(0, 0, dx, dy), expected, 1e-12) << dx << "," << dy;
    }
}

TEST(PolarAndOffsetPoints, TruncateTowardZeroWithTheShortenedRightAngle) {
    EXPECT_EQ(PolarPoint(10, 10, 4, kPi / 4), (TPoint{12, 12}));
    EXPECT_EQ(PolarPoint(0, 0, 4, 5 * kPi / 4), (TPoint{-2, -2}));
    EXPECT_EQ(OffsetPoint({100, 100}, 0.0, 1, 3), (TPoint{100, 102}));
    EXPECT_EQ(OffsetPoint({100, 100}, 0.0, 0, 3), (TPoint{100, 97}));
    EXPECT_EQ(OffsetPoint({0, 0}, 0.0, 1, 3), (TPoint{0, 2}));
    EXPECT_EQ(OffsetPoint({0, 0}, 0.0, 0, 3), (TPoint{0, -2}));
}

TEST(PolylineOutline, RunsForwardOnOneSideAndBackOnTheOther) {
    const TPoint line[] = {{100, 100}, {200, 100}};
    const std::vector<TPoint> expected = {{100, 102}, {200, 102}, {200, 97}, {100, 97}};
    EXPECT_EQ(PolylineOutline(line, 3), expected);
    const TPoint single[] = {{5, 5}};
    EXPECT_TRUE(PolylineOutline(single, 3).empty());
    EXPECT_TRUE(OffsetPolyline({}, 1, 3).empty());
}

TEST(OffsetPolyline, MitresCornersOnTheirBisector) {
    // A right-angle corner: the offset vertex lies about sqrt(2) * d from the vertex.
    const TPoint corner[] = {{0, 0}, {100, 0}, {100, 100}};
    for (int side : {0, 1}) {
        const std::vector<TPoint> q = OffsetPolyline(corner, side, 10);
        ASSERT_EQ(q.size(), 3u);
        const double dist = std::hypot(q[1].X - 100.0, q[1].Y - 0.0);
        EXPECT_NEAR(dist, 14.14, 1.0) << "side " << side;
        EXPECT_NEAR(std::abs(q[1].X - 100), std::abs(q[1].Y), 1) << "on the diagonal";
    }
    // A path folding straight back on itself has no usable mitre: the vertex itself is used.
    const TPoint fold[] = {{0, 0}, {100, 0}, {0, 0}, {0, 50}};
    EXPECT_EQ(OffsetPolyline(fold, 1, 10)[1], (TPoint{100, 0}));
}

TEST(OffsetPolyline, ClosedPathGetsOneMitreAtItsStart) {
    const TPoint square[] = {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}};
    const std::vector<TPoint> q = OffsetPolyline(square, 1, 10);
    ASSERT_EQ(q.size(), 5u);
    EXPECT_EQ(q.front(), q.back());
    // The first and last offset edges are the lines y = 9 (truncated) and x = -9: they cross
    // near the outer... or inner corner, a single point off both original edges.
    EXPECT_NE(q.front(), OffsetPoint(square[0], 0.0, 1, 10));
}

TEST(IntersectSegments, SharedEndsParallelsAndRanges) {
    TPoint out{-1, -1};
    EXPECT_TRUE(IntersectSegments({0, 0}, {10, 10}, {10, 10}, {20, 0}, out, false, true));
    EXPECT_EQ(out, (TPoint{10, 10}));
    out = {-1, -1};
    EXPECT_FALSE(IntersectSegments({0, 0}, {10, 0}, {0, 5}, {10, 5}, out, false, true));
    EXPECT_EQ(out, (TPoint{-1, -1})) << "parallel input leaves the point untouched";
    EXPECT_TRUE(IntersectSegments({0, 0}, {10, 10}, {0, 10}, {10, 0}, out, false, true));
    EXPECT_EQ(out, (TPoint{5, 5}));
    // Lines mode crosses beyond the segments; segment mode does not.
    EXPECT_FALSE(IntersectSegments({0, 0}, {1, 1}, {0, 10}, {1, 9}, out, false, true));
    EXPECT_TRUE(IntersectSegments({0, 0}, {1, 1}, {0, 10}, {1, 9}, out, true, true));
    EXPECT_EQ(out, (TPoint{5, 5}));
    // Exclusive mode refuses a crossing at the far end of a segment (t = 1).
    EXPECT_TRUE(IntersectSegments({0, 0}, {10, 0}, {10, -5}, {10, 5}, out, false, true));
    EXPECT_FALSE(IntersectSegments({0, 0}, {10, 0}, {10, -5}, {10, 5}, out, false, false));
    // Segment mode floors negative positions.
    EXPECT_TRUE(IntersectSegments({-3, -1}, {0, 2}, {-3, 2}, {0, -1}, out, false, true));
    EXPECT_EQ(out, (TPoint{-2, 0}));
}

TEST(PointInPolygon, LeftAndTopEdgesAreInsideRightAndBottomOutside) {
    const TPoint square[] = {{100, 100}, {200, 100}, {200, 200}, {100, 200}};
    EXPECT_TRUE(PointInPolygon(150, 150, square));
    EXPECT_TRUE(PointInPolygon(100, 150, square));
    EXPECT_FALSE(PointInPolygon(200, 150, square));
    EXPECT_FALSE(PointInPolygon(150, 100, square));
    EXPECT_FALSE(PointInPolygon(150, 200, square));
    EXPECT_FALSE(PointInPolygon(50, 150, square));
    EXPECT_FALSE(PointInPolygon(0, 0, {}));
}

// An independent even-odd count: cast a ray upward and one downward from the point and count
// the edges each crosses strictly, with the same half-open rule for vertices.
bool ReferenceInside(int x, int y, const std::vector<TPoint>& v) {
    int above = 0, below = 0;
    for (size_t i = 0; i < v.size(); ++i) {
        const TPoint a = v[i], b = v[(i + 1) % v.size()];
        const int lo = std::min(a.X, b.X), hi = std::max(a.X, b.X);
        if (x < lo || x >= hi) continue;
        const long long num = static_cast<long long>(b.Y - a.Y) * (x - a.X);
        const long long den = b.X - a.X;
        const long long cy = num / den + a.Y; // integer division toward zero
        if (cy < y) ++above;
        if (cy > y) ++below;
    }
    return (above % 2) && (below % 2);
}

TEST(PointInPolygon, AgreesWithAnIndependentCrossingCountOnRandomPolygons) {
    std::mt19937 rng(2024);
    std::uniform_int_distribution<int> coord(-50, 50);
    for (int poly = 0; poly < 300; ++poly) {
        std::vector<TPoint> v(3 + poly % 40);
        for (TPoint& p : v) p = {coord(rng), coord(rng)};
        for (int k = 0; k < 50; ++k) {
            const int x = coord(rng), y = coord(rng);
            ASSERT_EQ(PointInPolygon(x, y, v), ReferenceInside(x, y, v)) << poly << ":" << k;
        }
    }
}

TEST(PointInPolygon, ExtremeCoordinatesDoNotOverflow) {
    const TPoint wide[] = {{INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MAX}, {INT32_MIN, INT32_MAX}};
    EXPECT_TRUE(PointInPolygon(-1000, 1000, wide));
    EXPECT_FALSE(PointInPolygon(1000, -1000, wide));
}

TEST(PointInPolygon, HandlesPolygonsWithManyCrossings) {
    // A comb with 3000 teeth: a vertical line through it crosses far more than a thousand
    // edges, which a fixed crossing table could not hold.
    std::vector<TPoint> comb;
    for (int i = 0; i < 3000; ++i) {
        comb.push_back({0, i * 4});
        comb.push_back({100, i * 4 + 1});
        comb.push_back({100, i * 4 + 2});
        comb.push_back({0, i * 4 + 3});
    }
    EXPECT_EQ(PointInPolygon(50, 6001, comb), ReferenceInside(50, 6001, comb));
}

} // namespace
