#include "editor/PageLayout.h"

TRect LayOutSheet(int pictureWidth, int pictureHeight, int sheetWidthMm, int sheetHeightMm) {
    TRect r;
    if (sheetWidthMm < sheetHeightMm) {
        r.Top = 0;
        r.Bottom = pictureHeight - kSheetShadow;
        const int w =
            static_cast<int>(static_cast<double>(r.Bottom) * sheetWidthMm / sheetHeightMm);
        r.Left = (pictureWidth - kSheetShadow) / 2 - w / 2;
        r.Right = r.Left + w;
    } else {
        r.Left = 0;
        r.Right = pictureWidth - kSheetShadow;
        // A sheet of zero width (no size at all) lays out flat rather than dividing by zero.
        const int h =
            sheetWidthMm != 0
                ? static_cast<int>(static_cast<double>(r.Right) * sheetHeightMm / sheetWidthMm)
                : 0;
        r.Top = (pictureHeight - kSheetShadow) / 2 - h / 2;
        r.Bottom = r.Top + h;
    }
    return r;
}

TRect FitSheet(int pictureWidth, int pictureHeight, int sheetWidthMm, int sheetHeightMm) {
    const TRect r = LayOutSheet(pictureWidth, pictureHeight, sheetWidthMm, sheetHeightMm);
    if (r.Right <= pictureWidth - kSheetShadow && r.Bottom <= pictureHeight - kSheetShadow)
        return r;
    // The rule of the other orientation, on a sheet that is not empty.
    TRect fit;
    if (sheetWidthMm < sheetHeightMm) {
        fit.Left = 0;
        fit.Right = pictureWidth - kSheetShadow;
        const int h =
            static_cast<int>(static_cast<double>(fit.Right) * sheetHeightMm / sheetWidthMm);
        fit.Top = (pictureHeight - kSheetShadow) / 2 - h / 2;
        fit.Bottom = fit.Top + h;
    } else if (sheetHeightMm > 0) {
        fit.Top = 0;
        fit.Bottom = pictureHeight - kSheetShadow;
        const int w =
            static_cast<int>(static_cast<double>(fit.Bottom) * sheetWidthMm / sheetHeightMm);
        fit.Left = (pictureWidth - kSheetShadow) / 2 - w / 2;
        fit.Right = fit.Left + w;
    } else {
        return r;
    }
    return fit;
}

TRect ZoomSheet(const TRect& base, double zoom) {
    TRect r = base;
    r.Right = static_cast<int>(base.Left + zoom * (base.Right - base.Left + 1) - 1);
    r.Bottom = static_cast<int>(base.Top + zoom * (base.Bottom - base.Top + 1) - 1);
    return r;
}

int ScrollMaximum(int zoomedEdge, int pictureSize, double zoom) {
    if (zoomedEdge > pictureSize - zoom * kSheetShadow) {
        return static_cast<int>(zoomedEdge - pictureSize + zoom * kSheetShadow);
    }
    return 0;
}
