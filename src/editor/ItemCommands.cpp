// Placeholder bodies until the item commands land; nothing here changes the document.
#include "editor/ItemCommands.h"

#include "editor/PageEditor.h"

void NewItem(TPageEditor&, TCoreServices&) {}
void StartDeleteTool(TPageEditor&, TCoreServices&) {}
void StartModifyTool(TPageEditor&, TCoreServices&) {}
void RunRepeatCommand(TPageEditor&, TCoreServices&, TRepeatCommand) {}
bool PressInTool(TPageEditor&, TCoreServices&, int32_t, int32_t) { return false; }
void FinishLine(TPageEditor& e, TCoreServices&) { e.LinePoints.reset(); }
void FinishPolygon(TPageEditor& e, TCoreServices&) { e.PolygonPoints.reset(); }
