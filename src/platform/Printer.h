// The printer seam: the default printer's identity, the device capabilities the page geometry
// is computed from, and a print job with its canvas. The Qt implementation sits over QPrinter;
// TNoPrinter is the machine without any printer at all.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "platform/Canvas.h"

enum class TPrinterOrientation { poPortrait, poLandscape };

// The device capabilities (GetDeviceCaps) the page geometry is computed from.
struct TPrinterDeviceCaps {
    int PhysicalWidth = 0;   // whole sheet, device pixels
    int HorzRes = 0;         // printable width, device pixels
    int HorzSize = 0;        // printable width, mm
    int PhysicalOffsetX = 0; // unprintable left margin, device pixels
    int PhysicalHeight = 0;
    int VertRes = 0;
    int VertSize = 0;
    int PhysicalOffsetY = 0;
};

struct TPrinterEntry {
    std::string Device;
    std::string Driver;
    std::string Port;
};

// Raised by a printer that cannot start or finish a job.
class EPrinter : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Raised when the user called a print job off before it started (for example by cancelling
// the choice of an output file); nothing needs reporting.
class EPrintCancelled : public EPrinter {
public:
    using EPrinter::EPrinter;
};

class TPrinter {
public:
    virtual ~TPrinter() = default;
    // The default printer's names; false when no printer is configured.
    virtual bool DefaultEntry(TPrinterEntry& entry) = 0;
    virtual TPrinterDeviceCaps DeviceCaps() = 0;
    virtual TPrinterOrientation Orientation() = 0;
    // Starts a one-page job and returns its canvas (device pixels from the printable
    // corner); throws EPrinter when the job cannot start.
    virtual TCanvas& BeginDoc() = 0;
    virtual void EndDoc() = 0;
    // Drops a job started by BeginDoc without finishing it (after a failure while drawing).
    virtual void Abort() {}
    // A canvas that measures text as the printer would (CreatePrinterDC); null without one.
    virtual std::unique_ptr<TCanvas> CreateMeasureCanvas() = 0;
};

// No printer installed: no entry, all capabilities zero, printing fails.
class TNoPrinter : public TPrinter {
public:
    bool DefaultEntry(TPrinterEntry&) override { return false; }
    TPrinterDeviceCaps DeviceCaps() override { return {}; }
    TPrinterOrientation Orientation() override { return TPrinterOrientation::poPortrait; }
    TCanvas& BeginDoc() override { throw EPrinter("There is no default printer."); }
    void EndDoc() override {}
    std::unique_ptr<TCanvas> CreateMeasureCanvas() override { return nullptr; }
};
