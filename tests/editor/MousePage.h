// An editor on the A4 test printer's sheet at zoom 5 (about 5 picture pixels per mm), with
// services that refuse every dialog, for driving the mouse tools with pointer events.
#pragma once

#include <memory>

#include "editor/CoreServices.h"
#include "editor/ItemDialogs.h"
#include "editor/MouseTools.h"
#include "editor/PageEditor.h"
#include "editor/PageView.h"
#include "platform/MessageBoxes.h"
#include "platform/PickerDialogs.h"
#include "platform/Screen.h"
#include "support/TestPrinters.h"

class TRefusingDialogs : public TItemDialogs {
public:
    bool NewCaption(TTextDialogData&) override { return false; }
    bool NewText(TTextDialogData&) override { return false; }
    bool NewImage(TImageDialogData&) override { return false; }
    bool LineProperties(TLineDialogData&, bool) override { return false; }
    bool ModifyCaption(TTextDialogData&) override { return false; }
    bool ModifyText(TTextDialogData&) override { return false; }
    bool ModifyImage(TImageDialogData&) override { return false; }
    bool ModifyFrame(TFrameDialogData&) override { return false; }
};

class TSilentMessages : public TMessageBoxes {
public:
    int Show(const std::string&, const std::string&, unsigned) override { return IDOK; }
};

class TRefusingColors : public TColorDialogs {
public:
    std::optional<TColor> PickColor(TColor) override { return std::nullopt; }
};

// The sheet: 209 x 296 mm, printable from (4, 4) to (206, 293).
struct TMousePage {
    TA4Printer Printer;
    TMemoryScreen Screen;
    TSilentMessages Messages;
    TRefusingColors Colors;
    TRefusingDialogs Dialogs;
    TCoreServices Core{Screen, Printer, Messages, Colors, Dialogs};
    TPageEditor E;

    TMousePage() {
        E.ResetPage(Printer);
        E.SetZoomPosition(25);
    }

    // The picture pixel inside millimetre (x, y): ViewToMm of it gives back (x, y).
    TPoint At(double x, double y) const {
        return TPoint{static_cast<int32_t>(MmToViewX(E, x + 0.5)),
                      static_cast<int32_t>(MmToViewY(E, y + 0.5))};
    }
    // The picture pixel of a sheet point in mm, as items are mapped.
    TPoint Pixel(double x, double y) const {
        return TPoint{static_cast<int32_t>(MmToViewX(E, x)), static_cast<int32_t>(MmToViewY(E, y))};
    }

    void Press(TPoint p, TMouseButton b = TMouseButton::Left) { MouseDown(E, Core, b, p.X, p.Y); }
    void Move(TPoint p) { MouseMove(E, Core, p.X, p.Y); }
    void Release(TPoint p, TMouseButton b = TMouseButton::Left) { MouseUp(E, Core, b, p.X, p.Y); }
    void PressMm(double x, double y) { Press(At(x, y)); }
    void MoveMm(double x, double y) { Move(At(x, y)); }

    TNyomtatoSzoveg& AddCaption(TRect r) {
        auto c = std::make_unique<TNyomtatoSzoveg>();
        c->Rect = r;
        return E.Items.Captions.Add(std::move(c));
    }
    TNyomtatoSorok& AddText(TRect r) {
        auto t = std::make_unique<TNyomtatoSorok>();
        t->Rect = r;
        t->LineCount = 1;
        return E.Items.Texts.Add(std::move(t));
    }
    TNyomtatoKep& AddImage(TRect r) {
        auto k = std::make_unique<TNyomtatoKep>();
        k->Rect = r;
        return E.Items.Images.Add(std::move(k));
    }
    TNyomtatoKeret& AddFrame(TRect r, TBrushStyle fill = TBrushStyle::bsSolid) {
        auto f = std::make_unique<TNyomtatoKeret>();
        f->Rect = r;
        f->FillStyle = static_cast<uint8_t>(fill);
        return E.Items.Frames.Add(std::move(f));
    }
    TNyomtatoNegyszog& AddRectangle(TRect r) {
        auto n = std::make_unique<TNyomtatoNegyszog>();
        n->Rect = r;
        return E.Items.Rectangles.Add(std::move(n));
    }
    TNyomtatoVonal& AddLine(std::initializer_list<TPoint> points, int32_t width = 1) {
        auto l = std::make_unique<TNyomtatoVonal>();
        for (TPoint p : points) l->AddPoint(p.X, p.Y);
        l->Width = width;
        return E.Items.Lines.Add(std::move(l));
    }
    TNyomtatoPoligon& AddPolygon(std::initializer_list<TPoint> points) {
        auto p = std::make_unique<TNyomtatoPoligon>();
        for (TPoint q : points) p->AddPoint(q.X, q.Y);
        return E.Items.Polygons.Add(std::move(p));
    }
};
