// The items on the page picture, bottom to top: frames, rectangles, the polygon being
// entered, polygons, images, captions, texts, the line being entered, lines and the heights
// legend. While the editor is idle they look as they print, with the editor's additions (a
// thin box round every caption and text, frame shadows 3 mm wide); in any other mode (a
// tool, a drag, a scroll-thumb drag) everything but lines is drawn as a plain black outline,
// which keeps repainting on every mouse move fast. Items the picture does not show are
// skipped.
#pragma once

class TCanvas;
class TPageEditor;

void PaintItems(TCanvas& canvas, const TPageEditor& e);
