// A page crowded with items for the drawing benchmarks: count items spread over the sheet
// (A4 or larger), a seventh of each kind, in boxes of 3 to 25 mm, the same every run.
#pragma once

#include <memory>
#include <random>

#include "editor/PageEditor.h"

inline void FillCrowdedPage(TPageEditor& e, int count) {
    std::mt19937 random(7);
    auto mm = [&](int from, int to) {
        return std::uniform_int_distribution<int>(from, to)(random);
    };
    auto box = [&] {
        const int x = mm(5, 180), y = mm(5, 260);
        return TRect{x, y, x + mm(3, 25), y + mm(3, 25)};
    };
    for (int i = 0; i < count; ++i) {
        switch (i % 7) {
        case 0: {
            auto f = std::make_unique<TNyomtatoKeret>();
            f->Rect = box();
            f->Title = "Keret";
            f->FillStyle = static_cast<uint8_t>(i / 7 % 8); // solid, hollow and the hatches
            e.Items.Frames.Add(std::move(f));
            break;
        }
        case 1: {
            auto r = std::make_unique<TNyomtatoNegyszog>();
            r->Rect = box();
            r->Color = static_cast<TColor>(random() & 0xFFFFFF);
            e.Items.Rectangles.Add(std::move(r));
            break;
        }
        case 2: {
            auto p = std::make_unique<TNyomtatoPoligon>();
            const TRect b = box();
            p->AddPoint(b.Left, b.Top);
            p->AddPoint(b.Right, b.Top + 2);
            p->AddPoint(b.Right - 1, b.Bottom);
            p->AddPoint(b.Left + 2, b.Bottom - 1);
            e.Items.Polygons.Add(std::move(p));
            break;
        }
        case 3: {
            auto k = std::make_unique<TNyomtatoKep>();
            k->Rect = box();
            k->Picture->DeviceBitmap =
                TPixmap{2, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF000000}};
            e.Items.Images.Add(std::move(k));
            break;
        }
        case 4: {
            auto c = std::make_unique<TNyomtatoSzoveg>();
            c->Rect = box();
            c->Text = "Felirat";
            c->FillBackground = i % 2 == 0;
            e.Items.Captions.Add(std::move(c));
            break;
        }
        case 5: {
            auto t = std::make_unique<TNyomtatoSorok>();
            t->Rect = box();
            t->Text = "one\r\ntwo";
            t->LineCount = 2;
            e.Items.Texts.Add(std::move(t));
            break;
        }
        default: {
            auto l = std::make_unique<TNyomtatoVonal>();
            const TRect b = box();
            l->AddPoint(b.Left, b.Top);
            l->AddPoint(b.Right, b.Bottom);
            l->AddPoint(b.Right, b.Top);
            l->Color = clBlue;
            l->Width = 1 + (i % 3);
            e.Items.Lines.Add(std::move(l));
        }
        }
    }
}
