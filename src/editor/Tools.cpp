#include "editor/Tools.h"

#include "editor/ChangeStep.h"
#include "editor/commands/NewItemCommands.h"
#include "editor/CoreServices.h"
#include "editor/PageEditor.h"
#include "platform/Screen.h"

const char* ToolPrompt(TEditorMode mode) {
    switch (mode) {
    case mdDeleteTool: return "Jelölje ki a törlendő elemet.";
    case mdModifyTool: return "Jelölje ki a módosítandó elemet.";
    case mdPlaceCaption: return "Jelölje ki a felirat bal felső sarkát.";
    case mdPlaceImage: return "Jelölje ki a kép bal felső sarkát.";
    case mdPlaceHeightsLegend: return "Jelölje ki a magasság bal felső sarkát.";
    case mdPlaceDistanceIndicator: return "Jelölje ki a távolságmutató bal felső sarkát.";
    case mdNewFrame: return "Jelölje ki a keret bal felső sarkát";
    case mdPlaceText: return "Jelöje ki a szöveg bal felső sarkát.";
    case mdNewLine: return "Jelölje ki a vonal pontjait.";
    case mdNewRectangle: return "Jelölje ki a négszög bal felső sarkát.";
    case mdNewPolygon: return "Jelölje ki a poligon pontjait.";
    default: return "";
    }
}

void StartTool(TPageEditor& e, TCoreServices& s, TEditorMode mode) {
    // A tool armed while a gesture runs (from the keyboard) takes over from it.
    EndGesture(e);
    e.Mode = mode;
    s.Screen.SetCursor(crCross);
    e.ForgetPictureCursor = true;
    e.RepeatMenuAttached = false;
    // A return of the menu still pending from an earlier tool must not attach it while this
    // one runs (the right press that ends the tool would open it).
    e.RepeatTimerEnabled = false;
    e.InfoText = ToolPrompt(mode);
}

void EndTool(TPageEditor& e, TCoreServices& s) {
    if (e.Mode == mdNewLine) FinishLine(e, s);
    if (e.Mode == mdNewPolygon) FinishPolygon(e, s);
    e.Mode = mdIdle;
    s.Screen.SetCursor(crArrow);
    e.ForgetPictureCursor = true;
    e.RepaintRequested = true;
    e.InfoText.clear();
    e.RepeatTimerEnabled = true;
}

void ShowDimensions(TPageEditor& e, const std::string& name, const TRect& mm) {
    e.InfoText = "The " + name + " dimensions: " + std::to_string(int64_t{mm.Right} - mm.Left) +
                 ", " + std::to_string(int64_t{mm.Bottom} - mm.Top);
}
