// The document of an editor written out field by field, one item to a line, for comparing two
// states of a page: equal texts mean equal pages, and where they differ the test output shows
// the line. Pictures are named by their address, so a picture copied instead of shared shows.
#pragma once

#include <sstream>
#include <string>

#include "editor/PageEditor.h"

namespace page_description {

inline std::ostream& operator<<(std::ostream& o, const TRect& r) {
    return o << '(' << r.Left << ',' << r.Top << ',' << r.Right << ',' << r.Bottom << ')';
}

inline std::ostream& operator<<(std::ostream& o, const TFont& f) {
    return o << "font[" << f.Color << ' ' << f.Height << ' ' << f.Name << ' ' << int(f.Pitch) << ' '
             << int(f.Style) << ']';
}

inline std::ostream& operator<<(std::ostream& o, const TPointList& points) {
    o << "points[";
    for (TPoint p : points.View()) o << ' ' << p.X << ',' << p.Y;
    return o << " ]";
}

template <class List, class Write>
void Describe(std::ostream& o, const char* name, const List& list, Write write) {
    for (int i = 0; i < list.Count(); ++i) {
        o << name << ' ' << i << ':';
        write(list[i]);
        o << '\n';
    }
}

} // namespace page_description

inline std::string DescribePage(const TPageEditor& e) {
    using namespace page_description;
    std::ostringstream o;
    const TPageItems& items = e.Items;
    Describe(o, "caption", items.Captions, [&o](const TNyomtatoSzoveg& c) {
        o << c.Text << ' ' << c.Rect << ' ' << c.Font << ' ' << c.FontHeightMm << ' '
          << c.FillBackground << c.ScaleCaption << c.TextLocked;
    });
    Describe(o, "image", items.Images, [&o](const TNyomtatoKep& k) {
        o << k.Rect << ' ' << k.FileName << " picture@" << k.Picture.get();
    });
    Describe(o, "frame", items.Frames, [&o](const TNyomtatoKeret& f) {
        o << f.Rect << ' ' << f.Shadow << ' ' << f.BorderColor << ' ' << f.FillColor << ' '
          << int(f.FillStyle) << ' ' << f.Title << ' ' << f.TitleAlignment << ' ' << f.TitleFont
          << " members[";
        for (int m = 0; m < f.Members.Count(); ++m)
            o << ' ' << f.Members[m].Kind << ':' << f.Members[m].Index;
        o << " ]";
    });
    Describe(o, "text", items.Texts, [&o](const TNyomtatoSorok& t) {
        o << t.Text << ' ' << t.Rect << ' ' << t.Font << ' ' << t.FontHeightMm << ' ' << t.LineCount
          << ' ' << t.FillBackground;
    });
    Describe(o, "line", items.Lines, [&o](const TNyomtatoVonal& l) {
        o << static_cast<const TPointList&>(l) << ' ' << l.Color << ' ' << l.Width << ' '
          << int(l.PenStyle);
    });
    Describe(o, "rectangle", items.Rectangles,
             [&o](const TNyomtatoNegyszog& r) { o << r.Rect << ' ' << r.Color; });
    Describe(o, "polygon", items.Polygons, [&o](const TNyomtatoPoligon& p) {
        o << static_cast<const TPointList&>(p) << ' ' << p.Color;
    });
    const TPageSettings& s = e.Settings;
    o << "settings: " << s.BasePageRect << ' ' << s.ClickThroughArea << ' ' << s.PageBorderRect
      << ' ' << s.HeightsLegendRect << ' ' << s.HeightsLegendExtent << ' ' << s.PageBorderVisible
      << s.HeightsLegendVisible << ' ' << s.HeightsLegendFontMm << ' ' << s.HeightsLegendOrientation
      << ' ' << s.PageBorderColor << ' ' << s.ScaleBarVisible;
    for (int32_t v : s.ScaleBarPos) o << ' ' << v;
    o << "\ncompass: ";
    if (e.Compass) {
        o << e.Compass->Visible << ' ' << e.Compass->Centre.X << ',' << e.Compass->Centre.Y << ' '
          << e.Compass->Size << ' ' << e.Compass->Simple;
    } else {
        o << "none";
    }
    return o.str() + '\n';
}
