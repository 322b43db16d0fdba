// Where the sheet sits on a picture: the whole sheet, scaled to the picture's height
// (portrait) or width (landscape and square), leaving 10 pixels for the sheet's shadow.
#pragma once

#include "platform/Rect.h"

// How far the sheet's shadow lies right of and below the sheet, in unzoomed view pixels (and
// in navigator pixels); the layout keeps that much of the picture free for it.
constexpr int kSheetShadow = 10;

TRect LayOutSheet(int pictureWidth, int pictureHeight, int sheetWidthMm, int sheetHeightMm);

// The same, but a sheet that the rule would make wider or taller than the picture (a
// portrait sheet on a tall, narrow picture, a nearly square one on a wide picture) is
// scaled to the other side instead, so the whole sheet always shows at zoom 1.
TRect FitSheet(int pictureWidth, int pictureHeight, int sheetWidthMm, int sheetHeightMm);

// The sheet rectangle at a zoom factor: the top-left corner stays, the size grows.
TRect ZoomSheet(const TRect& base, double zoom);

// The scroll range that lets the whole zoomed sheet (and its shadow) come into view.
int ScrollMaximum(int zoomedEdge, int pictureSize, double zoom);
