// Printers for tests: an A4 sheet at 600 dpi with 4 mm margins, optionally printing onto a
// recording canvas.
#pragma once

#include "platform/Printer.h"
#include "platform/RecordingCanvas.h"

// The capabilities an A4 printer at 600 dpi reports (portrait).
inline TPrinterDeviceCaps A4Caps() {
    TPrinterDeviceCaps c;
    c.PhysicalWidth = 4960;
    c.PhysicalHeight = 7016;
    c.PhysicalOffsetX = 94;
    c.PhysicalOffsetY = 94;
    c.HorzRes = 4772;
    c.VertRes = 6828;
    c.HorzSize = 202;
    c.VertSize = 289;
    return c;
}

class TA4Printer : public TNoPrinter {
public:
    bool DefaultEntry(TPrinterEntry& e) override {
        e = {"Office", "driver", "port"};
        return true;
    }
    TPrinterDeviceCaps DeviceCaps() override { return A4Caps(); }
    TPrinterOrientation Orientation() override { return Orient; }
    TCanvas& BeginDoc() override {
        ++Jobs;
        return Page;
    }
    void EndDoc() override { ++Finished; }

    TPrinterOrientation Orient = TPrinterOrientation::poPortrait;
    TRecordingCanvas Page; // what the last jobs drew
    int Jobs = 0;
    int Finished = 0;
};
