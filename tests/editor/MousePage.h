// An editor on the A4 test printer's sheet at zoom 5 (about 5 picture pixels per mm), with
// services that refuse every dialog, for driving the mouse tools with pointer events.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "editor/CoreServices.h"
#include "editor/ItemDialogs.h"
#include "editor/Keys.h"
#include "editor/MouseTools.h"
#include "editor/PageEditor.h"
#include "editor/PageView.h"
#include "platform/Clipboard.h"
#include "platform/MessageBoxes.h"
#include "platform/PickerDialogs.h"
#include "platform/Screen.h"
#include "support/TestPrinters.h"

// Refuses every dialog; counts the Modify dialogs that were opened.
class TRefusingDialogs : public TItemDialogs {
public:
    bool NewCaption(TTextDialogData&) override { return false; }
    bool NewText(TTextDialogData&) override { return false; }
    bool NewImage(TImageDialogData&) override { return false; }
    bool LineProperties(TLineDialogData&, bool) override { return Opened("line"); }
    bool ModifyCaption(TTextDialogData&) override { return Opened("caption"); }
    bool ModifyText(TTextDialogData&) override { return Opened("text"); }
    bool ModifyImage(TImageDialogData&) override { return Opened("image"); }
    bool ModifyFrame(TFrameDialogData&) override { return Opened("frame"); }

    std::vector<std::string> ModifyDialogs;

private:
    bool Opened(const char* which) {
        ModifyDialogs.push_back(which);
        return false;
    }
};

// Answers every message box with OK and keeps the texts.
class TSilentMessages : public TMessageBoxes {
public:
    int Show(const std::string& text, const std::string&, unsigned) override {
        Texts.push_back(text);
        return IDOK;
    }
    std::vector<std::string> Texts;
};

// Refuses the colour dialog unless a test queued answers.
class TRefusingColors : public TColorDialogs {
public:
    std::optional<TColor> PickColor(TColor) override {
        if (Answers.empty()) return std::nullopt;
        const TColor c = Answers.front();
        Answers.erase(Answers.begin());
        return c;
    }
    std::vector<TColor> Answers;
};

// The sheet: 209 x 296 mm, printable from (4, 4) to (206, 293).
struct TMousePage {
    TA4Printer Printer;
    TMemoryScreen Screen;
    TSilentMessages Messages;
    TRefusingColors Colors;
    TRefusingDialogs Dialogs;
    TMemoryClipboard Clipboard;
    TCoreServices Core{Screen, Printer, Messages, Colors, Dialogs, &Clipboard};
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
    // A left click on the millimetre, with the modifier bits of TShiftState.
    void ClickMm(double x, double y, unsigned shift = 0) {
        const TPoint p = At(x, y);
        MouseDown(E, Core, TMouseButton::Left, p.X, p.Y, shift);
        MouseUp(E, Core, TMouseButton::Left, p.X, p.Y, shift);
    }
    // Press at one millimetre, move to another and release there.
    void DragMm(double x0, double y0, double x1, double y1, unsigned shift = 0) {
        const TPoint a = At(x0, y0), b = At(x1, y1);
        MouseDown(E, Core, TMouseButton::Left, a.X, a.Y, shift);
        MouseMove(E, Core, b.X, b.Y, shift);
        MouseUp(E, Core, TMouseButton::Left, b.X, b.Y, shift);
    }
    bool Key(int key, unsigned shift = 0) { return KeyDown(E, Core, key, shift); }
    void MoveMm(double x, double y) { Move(At(x, y)); }

    template <class T, class List>
    static T& AddBox(List& list, TRect r) {
        auto item = std::make_unique<T>();
        item->Rect = r;
        return list.Add(std::move(item));
    }
    TNyomtatoSzoveg& AddCaption(TRect r) { return AddBox<TNyomtatoSzoveg>(E.Items.Captions, r); }
    TNyomtatoSorok& AddText(TRect r) { return AddBox<TNyomtatoSorok>(E.Items.Texts, r); }
    TNyomtatoKep& AddImage(TRect r) { return AddBox<TNyomtatoKep>(E.Items.Images, r); }
    TNyomtatoNegyszog& AddRectangle(TRect r) {
        return AddBox<TNyomtatoNegyszog>(E.Items.Rectangles, r);
    }
    TNyomtatoKeret& AddFrame(TRect r, TBrushStyle fill = TBrushStyle::bsSolid) {
        TNyomtatoKeret& frame = AddBox<TNyomtatoKeret>(E.Items.Frames, r);
        frame.FillStyle = static_cast<uint8_t>(fill);
        return frame;
    }
    TNyomtatoVonal& AddLine(std::initializer_list<TPoint> points, int32_t width = 1) {
        TNyomtatoVonal& line = E.Items.Lines.Add(std::make_unique<TNyomtatoVonal>());
        for (TPoint p : points) line.AddPoint(p.X, p.Y);
        line.Width = width;
        return line;
    }
    TNyomtatoPoligon& AddPolygon(std::initializer_list<TPoint> points) {
        TNyomtatoPoligon& polygon = E.Items.Polygons.Add(std::make_unique<TNyomtatoPoligon>());
        for (TPoint p : points) polygon.AddPoint(p.X, p.Y);
        return polygon;
    }
};
