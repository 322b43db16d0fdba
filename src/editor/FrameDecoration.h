// What a frame draws beside its box, the same on the page picture and on paper: the light
// grey shadow at the right and bottom, and the title centred on the top border line.
#pragma once

#include <cstdint>

class TCanvas;
class TNyomtatoKeret;
struct TRect;

// The shadow of box r (device pixels), sx and sy pixels wide, with the current pen's width
// and style.
void DrawFrameShadow(TCanvas& c, const TRect& r, int32_t sx, int32_t sy);

// The title in the frame's title font at fontHeight device pixels, margin pixels in from
// the border for left and right alignment, over white. An empty title draws nothing.
void DrawFrameTitle(TCanvas& c, const TNyomtatoKeret& frame, const TRect& r, int32_t fontHeight,
                    int32_t margin);
