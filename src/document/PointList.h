// A persistent list of whole-number points (a polyline or polygon outline, in mm). Stored as
// an int32 count followed by the points as int32 X, Y pairs. Line and polygon items derive
// from it and append their own fields to the stored form.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "platform/BinaryStream.h"
#include "platform/Rect.h"

class TPointList {
public:
    TPointList() = default;
    TPointList(const TPointList&) = default;
    TPointList& operator=(const TPointList&) = default;
    virtual ~TPointList() = default;

    int Count() const { return static_cast<int>(Points.size()); }
    void AddPoint(int32_t x, int32_t y) { Points.push_back({x, y}); }
    // A copy of point i; i must be in range.
    TPoint PointAt(int i) const;
    void SetPoint(int i, TPoint p);
    // Replaces the points by copies of other's, in order.
    void AssignPoints(const TPointList& other) { Points = other.Points; }
    // The points as one array owned by the caller; empty when the list is.
    std::vector<TPoint> ToArray() const { return Points; }
    std::span<const TPoint> View() const { return Points; }

    friend bool operator==(const TPointList&, const TPointList&) = default;

    virtual void Clear() { Points.clear(); }
    virtual void SaveToStream(TWriteStream& out) const;
    // All-or-nothing: a damaged stream throws EReadError and the points stay as they were.
    virtual void LoadFromStream(TReadStream& in);
    virtual bool SaveToFile(const std::string& path) const;
    // False (and nothing changes) when the file cannot be opened.
    virtual bool LoadFromFile(const std::string& path);

protected:
    // Reads the point list alone (count and points) without touching this object.
    static std::vector<TPoint> ReadPoints(TReadStream& in);
    void TakePoints(std::vector<TPoint> points) { Points = std::move(points); }

private:
    std::vector<TPoint> Points;
};
