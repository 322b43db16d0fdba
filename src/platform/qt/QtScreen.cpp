#include "platform/qt/QtScreen.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace {

Qt::CursorShape ShapeOf(TCursor c) {
    switch (c) {
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass:
    case crSQLWait: return Qt::WaitCursor;
    case crDrag:
    case crMultiDrag: return Qt::DragMoveCursor;
    case crNoDrop:
    case crNo: return Qt::ForbiddenCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    case crAppStart: return Qt::BusyCursor;
    case crHelp: return Qt::WhatsThisCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;
    }
}

} // namespace

TQtScreen::~TQtScreen() {
    if (Overriding && QGuiApplication::instance()) QGuiApplication::restoreOverrideCursor();
}

void TQtScreen::SetCursor(TCursor cursor) {
    Current = cursor;
    if (!QGuiApplication::instance()) return;
    // crDefault hands the pointer back to the widgets; every other code overrides it.
    if (cursor == crDefault) {
        if (Overriding) QGuiApplication::restoreOverrideCursor();
        Overriding = false;
        return;
    }
    if (Overriding) {
        QGuiApplication::changeOverrideCursor(QCursor(ShapeOf(cursor)));
    } else {
        QGuiApplication::setOverrideCursor(QCursor(ShapeOf(cursor)));
        Overriding = true;
    }
}

double TQtScreen::PixelsPerMm() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->physicalDotsPerInch() : 0.0;
    // A screen that reports no size (some virtual ones) counts as the usual 96 dpi.
    return (dpi > 1 ? dpi : 96.0) / 25.4;
}
