// Presses in the tool modes, the heights legend and distance indicator, and the repeat menu's
// commands.
#include "editor/commands/ItemCommands.h"

#include "editor/commands/ItemOperations.h"
#include "editor/PageEditor.h"
#include "editor/PageView.h"
#include "editor/Tools.h"

namespace {

constexpr int32_t kHeightsLegendWidth = 10;
constexpr int32_t kHeightsLegendHeight = 80;

void AddPoint(TPageEditor& e, std::unique_ptr<TPointList>& points, int32_t mx, int32_t my) {
    if (!points) points = std::make_unique<TPointList>();
    points->AddPoint(mx, my);
    e.RepaintRequested = true;
}

void PlaceHeightsLegend(TPageEditor& e, TCoreServices& s, int32_t mx, int32_t my) {
    ModifyPage(e, "new heights legend", [&] {
        e.Settings.HeightsLegendVisible = true;
        e.Settings.HeightsLegendRect =
            TRect{mx, my, mx + kHeightsLegendWidth, my + kHeightsLegendHeight};
    });
    EndTool(e, s);
    e.RepeatMenu.Remember("Új magasságok", TRepeatCommand::NewHeightsLegend);
}

void PlaceDistanceIndicator(TPageEditor& e, TCoreServices& s, int32_t mx, int32_t my) {
    ModifyPage(e, "new distance indicator", [&] {
        e.Settings.ScaleBarVisible = true;
        e.Settings.ScaleBarPos = {mx, my, 5, 5, 0, 5};
    });
    EndTool(e, s);
    e.RepeatMenu.Remember("Új lépték", TRepeatCommand::NewDistanceIndicator);
}

void RunNew(TPageEditor& e, TCoreServices& s, TNewItemEntry entry, TNewCaptionHooks* hooks) {
    e.NewItemKind = entry;
    NewItem(e, s, hooks);
}

} // namespace

bool PressInTool(TPageEditor& e, TCoreServices& s, int32_t x, int32_t y) {
    const int32_t mx = ViewToMmX(e, x);
    const int32_t my = ViewToMmY(e, y);
    switch (e.Mode) {
    case mdDeleteTool: DeleteAt(e, s, x, y); return true;
    case mdModifyTool: ModifyAt(e, s, x, y); return true;
    case mdPlaceCaption: PlaceCaption(e, s, mx, my); return true;
    case mdPlaceImage: PlaceImage(e, s, mx, my); return true;
    case mdPlaceHeightsLegend: PlaceHeightsLegend(e, s, mx, my); return true;
    case mdPlaceDistanceIndicator: PlaceDistanceIndicator(e, s, mx, my); return true;
    case mdNewFrame: AddFrame(e, s, mx, my); return true;
    case mdPlaceText: PlaceText(e, s, mx, my); return true;
    case mdNewLine: AddPoint(e, e.LinePoints, mx, my); return true;
    case mdNewRectangle: AddRectangle(e, s, mx, my); return true;
    case mdNewPolygon: AddPoint(e, e.PolygonPoints, mx, my); return true;
    default: return false;
    }
}

void RunRepeatCommand(TPageEditor& e, TCoreServices& s, TRepeatCommand command,
                      TNewCaptionHooks* hooks) {
    switch (command) {
    case TRepeatCommand::NewCaption: RunNew(e, s, neCaption, hooks); break;
    case TRepeatCommand::NewText: RunNew(e, s, neText, hooks); break;
    case TRepeatCommand::NewImage: RunNew(e, s, neImage, hooks); break;
    case TRepeatCommand::NewFrame: RunNew(e, s, neFrame, hooks); break;
    case TRepeatCommand::NewLine: RunNew(e, s, neLine, hooks); break;
    case TRepeatCommand::NewRectangle: RunNew(e, s, neRectangle, hooks); break;
    case TRepeatCommand::NewPolygon: RunNew(e, s, nePolygon, hooks); break;
    case TRepeatCommand::DeleteTool: StartDeleteTool(e, s); break;
    case TRepeatCommand::ModifyTool: StartModifyTool(e, s); break;
    case TRepeatCommand::NewHeightsLegend: StartTool(e, s, mdPlaceHeightsLegend); break;
    case TRepeatCommand::NewDistanceIndicator: StartTool(e, s, mdPlaceDistanceIndicator); break;
    }
}
