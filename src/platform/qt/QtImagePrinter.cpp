#include "platform/qt/QtImagePrinter.h"

#include <algorithm>
#include <cmath>
#include <QPainter>

#include "platform/qt/QtCanvas.h"

TQtImagePrinter::TQtImagePrinter(const TPrinterDeviceCaps& caps, TPrinterOrientation orientation,
                                 int printerDpi, int imageDpi)
    : Caps(caps), Orient(orientation), PrinterDpi(std::max(1, printerDpi)),
      ImageDpi(std::clamp(imageDpi, 1, PrinterDpi)) {}

TQtImagePrinter::~TQtImagePrinter() { Abort(); }

bool TQtImagePrinter::DefaultEntry(TPrinterEntry& entry) {
    entry = {"Sheet image", "PNG", "IMAGE:"};
    return true;
}

TCanvas& TQtImagePrinter::BeginDoc() {
    if (Painter) throw EPrinter("A print job is already running.");
    const double scale = static_cast<double>(ImageDpi) / PrinterDpi;
    const long long w = static_cast<long long>(Caps.PhysicalWidth * scale);
    const long long h = static_cast<long long>(Caps.PhysicalHeight * scale);
    if (w <= 0 || h <= 0) throw EPrinter("The printer has no sheet to print on.");
    if (w * h > kMaxPixels)
        throw EPrinter("The sheet is too large for a picture at this resolution.");
    QImage sheet(static_cast<int>(w), static_cast<int>(h), QImage::Format_RGB32);
    if (sheet.isNull()) throw EPrinter("Out of memory for the sheet's picture.");
    sheet.fill(Qt::white);
    sheet.setDotsPerMeterX(static_cast<int>(std::lround(ImageDpi / 0.0254)));
    sheet.setDotsPerMeterY(static_cast<int>(std::lround(ImageDpi / 0.0254)));
    Sheet = std::move(sheet);

    // Printer device pixels count from the printable area's corner, like on the printer.
    Painter = std::make_unique<QPainter>(&Sheet);
    Painter->scale(scale, scale);
    Painter->translate(Caps.PhysicalOffsetX, Caps.PhysicalOffsetY);
    Canvas = std::make_unique<TQtCanvas>(*Painter);
    return *Canvas;
}

void TQtImagePrinter::EndDoc() {
    if (!Painter) return;
    Canvas.reset();
    Painter->end();
    Painter.reset();
}

void TQtImagePrinter::Abort() { EndDoc(); }

namespace {

// Holds the measuring device so it is built before the canvas that refers to it.
struct TMeasureDevice {
    QImage MeasureImage{1, 1, QImage::Format_RGB32};
};

class TImageMeasureCanvas : private TMeasureDevice, public TQtCanvas {
public:
    TImageMeasureCanvas() : TQtCanvas(static_cast<QPaintDevice&>(MeasureImage)) {}
};

} // namespace

std::unique_ptr<TCanvas> TQtImagePrinter::CreateMeasureCanvas() {
    // Fonts are sized in device pixels, so any device measures them alike.
    return std::make_unique<TImageMeasureCanvas>();
}
