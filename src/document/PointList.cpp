#include "document/PointList.h"

#include <stdexcept>

#include "platform/Files.h"

TPoint TPointList::PointAt(int i) const {
    if (i < 0 || i >= Count()) throw std::out_of_range("point index out of bounds");
    return Points[static_cast<size_t>(i)];
}

void TPointList::SetPoint(int i, TPoint p) {
    if (i < 0 || i >= Count()) throw std::out_of_range("point index out of bounds");
    Points[static_cast<size_t>(i)] = p;
}

void TPointList::SaveToStream(TWriteStream& out) const {
    out.WriteInt32(Count());
    for (const TPoint& p : Points) {
        out.WriteInt32(p.X);
        out.WriteInt32(p.Y);
    }
}

std::vector<TPoint> TPointList::ReadPoints(TReadStream& in) {
    const size_t n = in.ReadCount("point count", 8);
    std::vector<TPoint> points(n);
    for (TPoint& p : points) {
        p.X = in.ReadInt32();
        p.Y = in.ReadInt32();
    }
    return points;
}

void TPointList::LoadFromStream(TReadStream& in) { TakePoints(ReadPoints(in)); }

bool TPointList::SaveToFile(const std::string& path) const {
    TWriteStream out;
    SaveToStream(out);
    return WriteFileAtomically(path, out.Data());
}

bool TPointList::LoadFromFile(const std::string& path) {
    auto data = ReadWholeFile(path);
    if (!data) return false;
    TReadStream in(*data);
    LoadFromStream(in);
    return true;
}
