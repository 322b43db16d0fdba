// Placeholder bodies until the mouse tools land.
#include "editor/MouseTools.h"

#include "editor/PageEditor.h"

void MouseDown(TPageEditor&, TCoreServices&, TMouseButton, int32_t, int32_t) {}
void MouseMove(TPageEditor&, TCoreServices&, int32_t, int32_t) {}
void MouseUp(TPageEditor&, TCoreServices&, TMouseButton, int32_t, int32_t) {}
