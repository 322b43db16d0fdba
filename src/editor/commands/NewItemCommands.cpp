// New items of every kind: through their dialogs, by the presses of the placing tools, point
// by point for lines and polygons.
#include <algorithm>

#include "document/ItemLists.h"
#include "editor/commands/ItemCommands.h"
#include "editor/commands/ItemCommandSteps.h"
#include "editor/commands/ItemOperations.h"
#include "editor/commands/NewItemCommands.h"
#include "editor/CoreServices.h"
#include "editor/ItemDialogs.h"
#include "editor/PageEditor.h"
#include "editor/TextMeasure.h"
#include "editor/Tools.h"
#include "imaging/MemBitmap.h"
#include "imaging/PictureImport.h"
#include "platform/Cp1250.h"
#include "platform/MessageBoxes.h"
#include "platform/PickerDialogs.h"
#include "platform/Screen.h"
#include "platform/WholeNumber.h"

namespace {

constexpr const char* kNewTextCaption = "Új szöveg";
constexpr const char* kNewImageCaption = "Új kép";
constexpr int32_t kNewFrameWidth = 100;
constexpr int32_t kNewFrameHeight = 60;
constexpr int32_t kNewRectangleSize = 10;

bool InPrintableArea(const TPrinterMetrics& m, int32_t x, int32_t y) {
    return x >= m.LeftMarginMm && x <= m.RightEdgeMm && y >= m.TopMarginMm && y <= m.BottomEdgeMm;
}

// from + size, but no farther than the printable edge (taken in whole mm).
int32_t UpToEdge(int32_t from, int32_t size, float edge) {
    return static_cast<int32_t>(
        std::min<int64_t>(int64_t{from} + size, static_cast<int32_t>(edge)));
}

// The position typed in a new caption or text dialog. Placed with the mouse, the position is
// only a placeholder until the press. Typed, it must be two whole numbers inside the printable
// area; otherwise the user is warned and there is no position.
std::optional<TPoint> ReadTextPosition(const TPageEditor& e, TCoreServices& s,
                                       const TTextDialogData& d) {
    if (d.ByMouse) return TPoint{};
    const auto x = ParseWholeNumber(d.X);
    const auto y = ParseWholeNumber(d.Y);
    if (!x || !y || !InPrintableArea(e.Metrics, *x, *y)) {
        WarnBadTextCoordinates(s, kNewTextCaption);
        return std::nullopt;
    }
    return TPoint{*x, *y};
}

void Remember(TPageEditor& e, const char* caption, TRepeatCommand command) {
    e.RepeatMenu.Remember(caption, command);
}

// The item made by a dialog goes to its placing tool, or straight onto the page.
template <class Item>
void PlaceOrAppend(TPageEditor& e, TCoreServices& s, std::unique_ptr<Item> item, bool byMouse,
                   std::unique_ptr<Item>& pending, TEditorMode placingMode, const char* caption,
                   TRepeatCommand command) {
    if (byMouse) {
        pending = std::move(item);
        StartTool(e, s, placingMode);
        return;
    }
    AppendItem(e, std::move(item));
    e.RepaintRequested = true;
    Remember(e, caption, command);
}

void NewCaption(TPageEditor& e, TCoreServices& s, TNewCaptionHooks* hooks) {
    if (hooks) hooks->BeforeNewCaption();
    TTextDialogData d;
    if (!s.Dialogs.NewCaption(d)) return;
    const auto at = ReadTextPosition(e, s, d);
    if (!at) return;
    auto caption = std::make_unique<TNyomtatoSzoveg>();
    caption->Text = d.Text;
    if (hooks) hooks->NewCaptionCreated(*caption);
    TakeDialogFont(*caption, d.Font, e.Metrics);
    caption->FillBackground = d.FillBackground;
    caption->Rect.Left = at->X;
    caption->Rect.Top = at->Y;
    MeasureCaption(*caption, s.Printer, e.Metrics);
    PlaceOrAppend(e, s, std::move(caption), d.ByMouse, e.PendingCaption, mdPlaceCaption,
                  "Új felirat", TRepeatCommand::NewCaption);
}

void NewText(TPageEditor& e, TCoreServices& s) {
    TTextDialogData d;
    if (!s.Dialogs.NewText(d)) return;
    if (d.Text.empty()) return;
    const auto at = ReadTextPosition(e, s, d);
    if (!at) return;
    auto text = std::make_unique<TNyomtatoSorok>();
    text->Text = d.Text;
    text->LineCount = d.LineCount;
    TakeDialogFont(*text, d.Font, e.Metrics);
    text->FillBackground = d.FillBackground;
    text->Rect.Left = at->X;
    text->Rect.Top = at->Y;
    MeasureText(*text, s.Printer, e.Metrics);
    PlaceOrAppend(e, s, std::move(text), d.ByMouse, e.PendingText, mdPlaceText, kNewTextCaption,
                  TRepeatCommand::NewText);
}

void NewImage(TPageEditor& e, TCoreServices& s) {
    TImageDialogData d;
    if (!s.Dialogs.NewImage(d)) return;
    const TImageFields fields = ReadImageFields(d, !d.ByMouse);
    if (fields.BadField) {
        WarnBadImageField(s, fields.BadField, kNewImageCaption);
        return;
    }
    auto image = std::make_unique<TNyomtatoKep>();
    image->Rect = fields.Rect;
    image->FileName = Utf8ToCp1250(d.FileName);
    std::string why;
    if (d.Picture && d.Picture->HasImage && !d.Picture->DibBlock.empty()) {
        image->Picture = d.Picture; // read by the dialog already
    } else {
        THourGlass busy(s.Screen);
        if (!ImportPictureFile(d.FileName, *image->Picture, why, s.Pictures)) {
            s.Messages.Show("Hibás fájl.\n" + why, "Kép betöltése", MB_ICONERROR);
            return;
        }
    }
    e.PendingImageSize = TSize{fields.Rect.Width(), fields.Rect.Height()};
    PlaceOrAppend(e, s, std::move(image), d.ByMouse, e.PendingImage, mdPlaceImage, kNewImageCaption,
                  TRepeatCommand::NewImage);
}

} // namespace

void NewItem(TPageEditor& e, TCoreServices& s, TNewCaptionHooks* hooks) {
    switch (e.NewItemKind) {
    case neCaption: NewCaption(e, s, hooks); break;
    case neText: NewText(e, s); break;
    case neImage: NewImage(e, s); break;
    case neFrame: StartTool(e, s, mdNewFrame); break;
    case neLine:
        e.LinePoints = std::make_unique<TPointList>();
        StartTool(e, s, mdNewLine);
        break;
    case neRectangle: StartTool(e, s, mdNewRectangle); break;
    case nePolygon:
        e.PolygonPoints = std::make_unique<TPointList>();
        StartTool(e, s, mdNewPolygon);
        break;
    default: break;
    }
}

void PlaceCaption(TPageEditor& e, TCoreServices& s, int32_t mx, int32_t my) {
    EndTool(e, s);
    if (!e.PendingCaption) return;
    std::unique_ptr<TNyomtatoSzoveg> caption = std::move(e.PendingCaption);
    caption->Rect.Left = mx;
    caption->Rect.Top = my;
    MeasureCaption(*caption, s.Printer, e.Metrics);
    AppendItem(e, std::move(caption));
    e.RepaintRequested = true;
    Remember(e, "Új felirat", TRepeatCommand::NewCaption);
}

void PlaceText(TPageEditor& e, TCoreServices& s, int32_t mx, int32_t my) {
    EndTool(e, s);
    if (!e.PendingText) return;
    std::unique_ptr<TNyomtatoSorok> text = std::move(e.PendingText);
    text->Rect.Left = mx;
    text->Rect.Top = my;
    MeasureText(*text, s.Printer, e.Metrics);
    AppendItem(e, std::move(text));
    e.RepaintRequested = true;
    Remember(e, kNewTextCaption, TRepeatCommand::NewText);
}

void PlaceImage(TPageEditor& e, TCoreServices& s, int32_t mx, int32_t my) {
    EndTool(e, s);
    if (!e.PendingImage) return;
    const TSize size = e.PendingImageSize;
    if (!BoxFits(mx, my, size.cx, size.cy)) {
        WarnBadImageField(s, BoxFits(mx, 0, size.cx, 0) ? "Height" : "Width", kNewImageCaption);
        return;
    }
    std::unique_ptr<TNyomtatoKep> image = std::move(e.PendingImage);
    image->Rect = TRect{mx, my, mx + size.cx, my + size.cy};
    AppendItem(e, std::move(image));
    e.RepaintRequested = true;
    Remember(e, kNewImageCaption, TRepeatCommand::NewImage);
}

void AddFrame(TPageEditor& e, TCoreServices&, int32_t mx, int32_t my) {
    const TPrinterMetrics& m = e.Metrics;
    auto frame = std::make_unique<TNyomtatoKeret>();
    frame->Rect = TRect{mx, my, UpToEdge(mx, kNewFrameWidth, m.RightEdgeMm),
                        UpToEdge(my, kNewFrameHeight, m.BottomEdgeMm)};
    // Beyond the printable right or bottom edge the frame would be empty: it could be neither
    // seen nor picked, so no frame is made there. The tool stays armed either way.
    if (IsRectEmpty(frame->Rect)) return;
    AppendItem(e, std::move(frame));
    e.RepaintRequested = true;
    Remember(e, "Új keret", TRepeatCommand::NewFrame);
}

void AddRectangle(TPageEditor& e, TCoreServices& s, int32_t mx, int32_t my) {
    if (InPrintableArea(e.Metrics, mx, my)) {
        if (const auto color = s.Colors.PickColor(e.FillColorChoice)) {
            e.FillColorChoice = *color;
            auto rectangle = std::make_unique<TNyomtatoNegyszog>();
            rectangle->Rect = TRect{mx, my, mx + kNewRectangleSize, my + kNewRectangleSize};
            rectangle->Color = *color;
            AppendItem(e, std::move(rectangle));
            e.RepaintRequested = true;
            Remember(e, "Új négyszög", TRepeatCommand::NewRectangle);
        }
    }
    EndTool(e, s);
}

void FinishLine(TPageEditor& e, TCoreServices& s) {
    const std::unique_ptr<TPointList> points = std::move(e.LinePoints);
    if (!points || points->Count() == 0) return;
    TLineDialogData d;
    d.MmPerPrinterPixel = LineWidthMm(e.Metrics, 1);
    if (!s.Dialogs.LineProperties(d, false)) return;
    auto line = std::make_unique<TNyomtatoVonal>();
    line->Color = d.Color;
    line->Width = d.Width;
    line->PenStyle = d.PenStyle;
    line->AssignPoints(*points);
    AppendItem(e, std::move(line));
    e.RepaintRequested = true;
    Remember(e, "Új vonal", TRepeatCommand::NewLine);
}

void FinishPolygon(TPageEditor& e, TCoreServices& s) {
    const std::unique_ptr<TPointList> points = std::move(e.PolygonPoints);
    if (!points || points->Count() == 0) return;
    const auto color = s.Colors.PickColor(e.FillColorChoice);
    if (!color) return;
    e.FillColorChoice = *color;
    auto polygon = std::make_unique<TNyomtatoPoligon>();
    polygon->Color = *color;
    polygon->AssignPoints(*points);
    AppendItem(e, std::move(polygon));
    e.RepaintRequested = true;
    Remember(e, "Új poligon", TRepeatCommand::NewPolygon);
}
