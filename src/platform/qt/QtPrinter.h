// The program's printer over QPrinter: the system's default printer (CUPS), or, where the
// system has none, a built-in "Print to PDF" printer that asks where to save each printed
// page. Also the platform print dialog used as the printer set-up.
#pragma once

#include <memory>
#include <string>

#include "platform/Printer.h"

class QPainter;
class QPrinter;
class QWidget;
class TFileDialogs;
class TModalRunner;
class TQtCanvas;
class TSafeFileWriter;

class TQtPrinter : public TPrinter {
public:
    enum class TChoice {
        SystemDefault, // the system's default printer; the PDF printer when there is none
        BuiltInPdf,    // always the PDF printer (command line, tests)
    };
    static constexpr int kPdfResolution = 600;
    static constexpr const char* kPdfPrinterName = "Print to PDF";

    // dialogs asks for the PDF printer's output file; it may be null when SetOutputFile
    // always names one. It must outlive the printer.
    TQtPrinter(TChoice choice, TFileDialogs* dialogs);
    ~TQtPrinter() override;
    TQtPrinter(const TQtPrinter&) = delete;
    TQtPrinter& operator=(const TQtPrinter&) = delete;

    // True while the built-in PDF printer is the selected printer.
    bool IsPdf() const;
    // The PDF printer writes here instead of asking; empty to ask again.
    void SetOutputFile(const std::string& utf8Path) { OutputFile = utf8Path; }
    int Resolution() const;
    // Selects the standard paper (and orientation) whose sheet is widthMm x heightMm within
    // a millimetre or two, such as a document's stored page size; false (nothing changes)
    // when no standard paper has that size.
    bool UsePaperOfSize(int widthMm, int heightMm);
    QPrinter& Device() { return *Printer; }
    // Called after the print dialog changed the printer: the PDF printer keeps its fixed
    // resolution and asks for its file at the next page again.
    void AfterSetup();

    bool DefaultEntry(TPrinterEntry& entry) override;
    TPrinterDeviceCaps DeviceCaps() override;
    TPrinterOrientation Orientation() override;
    TCanvas& BeginDoc() override;
    void EndDoc() override;
    void Abort() override;
    std::unique_ptr<TCanvas> CreateMeasureCanvas() override;

private:
    void MakePdfPrinter();

    std::unique_ptr<QPrinter> Printer;
    TFileDialogs* Dialogs;
    std::string OutputFile;
    // The PDF being printed goes to a temporary file that replaces the chosen one at EndDoc.
    std::unique_ptr<TSafeFileWriter> PdfFile;
    std::unique_ptr<QPainter> Painter;
    std::unique_ptr<TQtCanvas> Canvas;
};

// "Printer setup": the platform print dialog (printer, paper, orientation) on the program's
// printer, run through runner. True when the user confirmed; the printer then holds the
// choice. Either way the caller re-reads the sheet (ResetPage).
bool RunPrinterSetupDialog(TQtPrinter& printer, TModalRunner& runner, QWidget* parent = nullptr);
// The same for the program's printer seen through the seam. A printer that is not a Qt
// printer (a test's stand-in, TNoPrinter) has no dialog to show: false, nothing shown.
bool RunPrinterSetupDialog(TPrinter& printer, TModalRunner& runner, QWidget* parent = nullptr);
