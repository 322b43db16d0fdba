// A printer that prints onto a picture of the whole sheet: the device capabilities of a real
// printer, drawn at that printer's resolution or a lower one. Used for PNG output and previews.
#pragma once

#include <memory>
#include <QImage>

#include "platform/Printer.h"

class QPainter;
class TQtCanvas;

class TQtImagePrinter : public TPrinter {
public:
    // The sheet of a printer with these capabilities at printerDpi, pictured at imageDpi
    // (1 .. printerDpi). Drawing still uses the printer's device pixels; the picture scales.
    TQtImagePrinter(const TPrinterDeviceCaps& caps, TPrinterOrientation orientation, int printerDpi,
                    int imageDpi);
    ~TQtImagePrinter() override;
    TQtImagePrinter(const TQtImagePrinter&) = delete;
    TQtImagePrinter& operator=(const TQtImagePrinter&) = delete;

    // The printed sheet after EndDoc (white before anything was printed).
    const QImage& Image() const { return Sheet; }

    bool DefaultEntry(TPrinterEntry& entry) override;
    TPrinterDeviceCaps DeviceCaps() override { return Caps; }
    TPrinterOrientation Orientation() override { return Orient; }
    // Throws EPrinter when the sheet's picture cannot be made (no geometry, or too large).
    TCanvas& BeginDoc() override;
    void EndDoc() override;
    void Abort() override;
    std::unique_ptr<TCanvas> CreateMeasureCanvas() override;

    // The largest picture made, in pixels (a 600 dpi A3 sheet fits).
    static constexpr long long kMaxPixels = 80'000'000;

private:
    TPrinterDeviceCaps Caps;
    TPrinterOrientation Orient;
    int PrinterDpi;
    int ImageDpi;
    QImage Sheet;
    std::unique_ptr<QPainter> Painter;
    std::unique_ptr<TQtCanvas> Canvas;
};
