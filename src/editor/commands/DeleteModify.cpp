// The Delete and Modify tools: one press picks the item (or, for Delete, the compass mark) and
// removes it, or shows its dialog filled from it and takes the confirmed values back.
#include <string>

#include "document/ItemLists.h"
#include "editor/commands/CommandTargets.h"
#include "editor/commands/DeleteModify.h"
#include "editor/commands/ItemCommands.h"
#include "editor/commands/ItemCommandSteps.h"
#include "editor/commands/ItemOperations.h"
#include "editor/CoreServices.h"
#include "editor/DeviceUnits.h"
#include "editor/ItemDialogs.h"
#include "editor/PageEditor.h"
#include "editor/TextMeasure.h"
#include "editor/Tools.h"
#include "platform/PickerDialogs.h"
#include "platform/Screen.h"
#include "platform/WholeNumber.h"

namespace {

constexpr const char* kModifyCaption = "Módosítás";

// A press of Delete or Modify ends the one-shot tool; the info line keeps the prompt.
void EndOneShotTool(TPageEditor& e, TCoreServices& s) {
    s.Screen.SetCursor(crArrow);
    e.ForgetPictureCursor = true;
    e.Mode = mdIdle;
    e.RepeatTimerEnabled = true;
}

void Done(TPageEditor& e, const char* caption, TRepeatCommand command) {
    e.RepaintRequested = true;
    e.RepeatMenu.Remember(caption, command);
}

// A caption's or text's new top-left corner: whole numbers no farther out than a measured
// extent can be added to (so Right and Bottom never come before Left and Top).
std::optional<TPoint> ReadTextCorner(const TTextDialogData& d) {
    const auto x = ParseWholeNumber(d.X);
    const auto y = ParseWholeNumber(d.Y);
    const auto within = [](int32_t v) {
        return v >= -kDeviceCoordinateLimit && v <= kDeviceCoordinateLimit;
    };
    if (!x || !y || !within(*x) || !within(*y)) return std::nullopt;
    return TPoint{*x, *y};
}

template <class Item>
TTextDialogData TextDialogOf(const Item& item) {
    TTextDialogData d;
    d.Text = item.Text;
    d.X = std::to_string(item.Rect.Left);
    d.Y = std::to_string(item.Rect.Top);
    d.FillBackground = item.FillBackground;
    d.Font = DialogFontOf(item);
    return d;
}

bool ModifyLine(TPageEditor& e, TCoreServices& s, int index) {
    TNyomtatoVonal& line = e.Items.Lines[index];
    TLineDialogData d{line.Color, line.Width, line.PenStyle, LineWidthMm(e.Metrics, 1)};
    if (!s.Dialogs.LineProperties(d, true)) return false;
    return ModifyItem(e, ikLine, index, [&] {
        line.Color = d.Color;
        line.Width = d.Width;
        line.PenStyle = d.PenStyle;
    });
}

bool ModifyText(TPageEditor& e, TCoreServices& s, int index) {
    TNyomtatoSorok& text = e.Items.Texts[index];
    TTextDialogData d = TextDialogOf(text);
    d.LineCount = text.LineCount;
    if (!s.Dialogs.ModifyText(d)) return false;
    const auto corner = ReadTextCorner(d);
    if (!corner) {
        WarnBadTextCoordinates(s, kModifyCaption);
        return false;
    }
    return ModifyItem(e, ikText, index, [&] {
        text.Rect.Left = corner->X;
        text.Rect.Top = corner->Y;
        text.Text = d.Text;
        text.LineCount = d.LineCount;
        text.FillBackground = d.FillBackground;
        TakeDialogFont(text, d.Font, e.Metrics);
        MeasureText(text, s.Printer, e.Metrics);
    });
}

bool ModifyCaption(TPageEditor& e, TCoreServices& s, int index) {
    TNyomtatoSzoveg& caption = e.Items.Captions[index];
    TTextDialogData d = TextDialogOf(caption);
    // Scale captions and locked ones keep their text.
    d.TextEditable = !caption.ScaleCaption && !caption.TextLocked;
    if (!s.Dialogs.ModifyCaption(d)) return false;
    const auto corner = ReadTextCorner(d);
    if (!corner) {
        WarnBadTextCoordinates(s, kModifyCaption);
        return false;
    }
    return ModifyItem(e, ikCaption, index, [&] {
        caption.Rect.Left = corner->X;
        caption.Rect.Top = corner->Y;
        if (d.TextEditable) caption.Text = d.Text;
        caption.FillBackground = d.FillBackground;
        TakeDialogFont(caption, d.Font, e.Metrics);
        MeasureCaption(caption, s.Printer, e.Metrics);
    });
}

// The image position dialog stays open on a bad field: it is shown again with the values as
// typed until they are usable or the user cancels.
bool ModifyImage(TPageEditor& e, TCoreServices& s, int index) {
    TNyomtatoKep& image = e.Items.Images[index];
    TImageDialogData d;
    d.Left = std::to_string(image.Rect.Left);
    d.Top = std::to_string(image.Rect.Top);
    d.Width = std::to_string(int64_t{image.Rect.Right} - image.Rect.Left);
    d.Height = std::to_string(int64_t{image.Rect.Bottom} - image.Rect.Top);
    d.ByMouse = false;
    if (image.Picture->HasImage) {
        d.PictureWidth = image.Picture->Width;
        d.PictureHeight = image.Picture->Height;
    }
    for (;;) {
        if (!s.Dialogs.ModifyImage(d)) return false;
        const TImageFields fields = ReadImageFields(d, true);
        if (!fields.BadField)
            return ModifyItem(e, ikImage, index, [&] { image.Rect = fields.Rect; });
        WarnBadImageField(s, fields.BadField, kModifyCaption);
    }
}

template <class Item>
bool ModifyColor(TPageEditor& e, TCoreServices& s, int32_t kind, int index, Item& item) {
    const auto color = s.Colors.PickColor(item.Color);
    if (!color) return false;
    e.FillColorChoice = *color;
    return ModifyItem(e, kind, index, [&] { item.Color = *color; });
}

bool ModifyFrame(TPageEditor& e, TCoreServices& s, int index) {
    TNyomtatoKeret& frame = e.Items.Frames[index];
    const TPrinterMetrics& m = e.Metrics;
    TFrameDialogData d;
    d.Rect = frame.Rect;
    d.Area = TPrintableArea{m.LeftMarginMm, m.TopMarginMm, m.RightEdgeMm, m.BottomEdgeMm};
    d.BorderColor = frame.BorderColor;
    d.FillColor = frame.FillColor;
    d.Shadow = frame.Shadow;
    d.FillStyle = frame.FillStyle;
    d.Title = frame.Title;
    d.TitleAlignment = frame.TitleAlignment;
    d.TitleFont = frame.TitleFont;
    if (!s.Dialogs.ModifyFrame(d)) return false;
    // The members stay where they are, whatever the new rectangle.
    return ModifyItem(e, ikFrame, index, [&] {
        frame.Rect = d.Rect;
        frame.BorderColor = d.BorderColor;
        frame.FillColor = d.FillColor;
        frame.Shadow = d.Shadow;
        frame.FillStyle = d.FillStyle;
        frame.Title = d.Title;
        frame.TitleAlignment = d.TitleAlignment;
        frame.TitleFont = d.TitleFont;
    });
}

} // namespace

void StartDeleteTool(TPageEditor& e, TCoreServices& s) { StartTool(e, s, mdDeleteTool); }

void StartModifyTool(TPageEditor& e, TCoreServices& s) { StartTool(e, s, mdModifyTool); }

void DeleteAt(TPageEditor& e, TCoreServices& s, int32_t x, int32_t y) {
    EndOneShotTool(e, s);
    if (CompassHit(e, x, y)) {
        ModifyPage(e, "deleted compass", [&] { e.Compass->Visible = false; });
        Done(e, "Törlés", TRepeatCommand::DeleteTool);
        return;
    }
    const auto target = FindDeleteTarget(e, x, y);
    if (!target || !RemoveItem(e, target->Kind, target->Index)) return;
    Done(e, "Törlés", TRepeatCommand::DeleteTool);
}

void ModifyAt(TPageEditor& e, TCoreServices& s, int32_t x, int32_t y) {
    EndOneShotTool(e, s);
    const auto target = FindModifyTarget(e, x, y);
    if (!target) return;
    if (ModifyWithDialog(e, s, *target)) Done(e, kModifyCaption, TRepeatCommand::ModifyTool);
}

bool ModifyWithDialog(TPageEditor& e, TCoreServices& s, TKKItem target) {
    if (target.Index < 0 || target.Index >= e.Items.CountOf(target.Kind)) return false;
    const int index = target.Index;
    bool changed = false;
    switch (target.Kind) {
    case ikLine: changed = ModifyLine(e, s, index); break;
    case ikText: changed = ModifyText(e, s, index); break;
    case ikCaption: changed = ModifyCaption(e, s, index); break;
    case ikImage: changed = ModifyImage(e, s, index); break;
    case ikPolygon: changed = ModifyColor(e, s, ikPolygon, index, e.Items.Polygons[index]); break;
    case ikRectangle:
        changed = ModifyColor(e, s, ikRectangle, index, e.Items.Rectangles[index]);
        break;
    case ikFrame: changed = ModifyFrame(e, s, index); break;
    default: break;
    }
    if (changed) e.RepaintRequested = true;
    return changed;
}
