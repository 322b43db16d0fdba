#include "platform/qt/QtPrinter.h"

#include <algorithm>
#include <cmath>
#include <QByteArray>
#include <QFile>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "platform/FileDialogs.h"
#include "platform/Files.h"
#include "platform/qt/ModalRunner.h"
#include "platform/qt/QtCanvas.h"

namespace {

// Whether the file ends with a PDF's end-of-file marker (and at most some line ends).
bool EndsAsPdf(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly) || file.size() < 8) return false;
    file.seek(std::max<qint64>(0, file.size() - 32));
    const QByteArray tail = file.readAll().trimmed();
    return tail.endsWith("%%EOF");
}

// The paper the locale uses by default: Letter in the US system of measures, A4 elsewhere.
QPageSize LocalePaper() {
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem
               ? QPageSize(QPageSize::Letter)
               : QPageSize(QPageSize::A4);
}

int PixelsToMm(int pixels, int dpi) {
    return dpi > 0 ? static_cast<int>(std::lround(pixels * 25.4 / dpi)) : 0;
}

} // namespace

TQtPrinter::TQtPrinter(TChoice choice, TFileDialogs* dialogs) : Dialogs(dialogs) {
    const QPrinterInfo system =
        choice == TChoice::SystemDefault ? QPrinterInfo::defaultPrinter() : QPrinterInfo();
    if (!system.isNull()) {
        Printer = std::make_unique<QPrinter>(system, QPrinter::HighResolution);
    } else {
        Printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        MakePdfPrinter();
    }
    Printer->setDocName(QStringLiteral("Folioscriptor"));
}

TQtPrinter::~TQtPrinter() { Abort(); }

void TQtPrinter::MakePdfPrinter() {
    Printer->setOutputFormat(QPrinter::PdfFormat);
    Printer->setResolution(kPdfResolution);
    Printer->setPageSize(LocalePaper());
    Printer->setFullPage(false);
}

bool TQtPrinter::IsPdf() const { return Printer->outputFormat() == QPrinter::PdfFormat; }

int TQtPrinter::Resolution() const { return Printer->resolution(); }

bool TQtPrinter::UsePaperOfSize(int widthMm, int heightMm) {
    if (widthMm <= 0 || heightMm <= 0) return false;
    const bool landscape = widthMm > heightMm;
    const QSizeF portrait(std::min(widthMm, heightMm), std::max(widthMm, heightMm));
    // Stored sizes are truncated to whole mm, so allow for up to 2 mm less than the paper.
    const QPageSize::PageSizeId id =
        QPageSize::id(portrait + QSizeF(1, 1), QPageSize::Millimeter, QPageSize::FuzzyMatch);
    if (id == QPageSize::Custom) return false;
    Printer->setPageSize(QPageSize(id));
    Printer->setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    return true;
}

void TQtPrinter::AfterSetup() {
    // Whatever file the dialog named, the PDF printer still asks at each page.
    if (IsPdf()) Printer->setResolution(kPdfResolution);
    Printer->setFullPage(false);
}

bool TQtPrinter::DefaultEntry(TPrinterEntry& entry) {
    if (IsPdf()) {
        entry = {kPdfPrinterName, "PDF", "FILE:"};
    } else {
        const std::string name = Printer->printerName().toStdString();
        if (name.empty()) return false;
        entry = {name, "CUPS", name};
    }
    return true;
}

TPrinterDeviceCaps TQtPrinter::DeviceCaps() {
    // Device pixels as the painter uses them: the sheet, and the printable area whose top-left
    // corner is the painter's origin.
    const int dpi = Printer->resolution();
    const QRect sheet = Printer->paperRect(QPrinter::DevicePixel).toAlignedRect();
    const QRect page = Printer->pageRect(QPrinter::DevicePixel).toAlignedRect();
    TPrinterDeviceCaps caps;
    caps.PhysicalWidth = sheet.width();
    caps.PhysicalHeight = sheet.height();
    caps.PhysicalOffsetX = page.left() - sheet.left();
    caps.PhysicalOffsetY = page.top() - sheet.top();
    caps.HorzRes = page.width();
    caps.VertRes = page.height();
    caps.HorzSize = PixelsToMm(page.width(), dpi);
    caps.VertSize = PixelsToMm(page.height(), dpi);
    return caps;
}

TPrinterOrientation TQtPrinter::Orientation() {
    return Printer->pageLayout().orientation() == QPageLayout::Landscape
               ? TPrinterOrientation::poLandscape
               : TPrinterOrientation::poPortrait;
}

TCanvas& TQtPrinter::BeginDoc() {
    if (Painter) throw EPrinter("A print job is already running.");
    std::string file;
    if (IsPdf()) {
        file = OutputFile;
        if (file.empty()) {
            if (!Dialogs) throw EPrinter("No output file was given for the PDF printer.");
            TFileDialogOptions options;
            options.Title = "Print to PDF";
            options.Filter = "PDF files (*.pdf)|*.pdf";
            options.DefaultExt = "pdf";
            options.OverwritePrompt = true;
            const auto chosen = Dialogs->Save(options);
            if (!chosen || chosen->empty()) throw EPrintCancelled("Printing was cancelled.");
            file = *chosen;
        }
        auto pdf = std::make_unique<TSafeFileWriter>(file);
        if (!pdf->Ok())
            throw EPrinter("Cannot write the PDF file \"" + file + "\": " + pdf->Error());
        pdf->CloseForProducer();
        Printer->setOutputFileName(QString::fromStdString(pdf->TemporaryPath()));
        PdfFile = std::move(pdf);
    }
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(Printer.get())) {
        PdfFile.reset();
        throw EPrinter(IsPdf() ? "Cannot write the PDF file \"" + file + "\"."
                               : "Cannot start printing on \"" +
                                     Printer->printerName().toStdString() + "\".");
    }
    Painter = std::move(painter);
    Canvas = std::make_unique<TQtCanvas>(*Painter);
    return *Canvas;
}

void TQtPrinter::EndDoc() {
    if (!Painter) return;
    Canvas.reset();
    const bool ended = Painter->end();
    Painter.reset();
    std::unique_ptr<TSafeFileWriter> pdf = std::move(PdfFile);
    if (!ended || Printer->printerState() == QPrinter::Error)
        throw EPrinter("The printer could not finish the page.");
    // Qt's PDF writer does not report a failed write (a full disk): a file that does not end
    // as every PDF ends was not written whole, and must not replace the old one.
    if (pdf && !EndsAsPdf(pdf->TemporaryPath()))
        throw EPrinter("Cannot write the PDF file \"" + pdf->Target() +
                       "\": it could not be written whole (is the disk full?)");
    if (pdf && !pdf->Commit())
        throw EPrinter("Cannot write the PDF file \"" + pdf->Target() + "\": " + pdf->Error());
}

void TQtPrinter::Abort() {
    if (!Painter) return;
    Canvas.reset();
    Printer->abort();
    if (Painter->isActive()) Painter->end();
    Painter.reset();
    PdfFile.reset();
}

std::unique_ptr<TCanvas> TQtPrinter::CreateMeasureCanvas() {
    return std::make_unique<TQtCanvas>(static_cast<QPaintDevice&>(*Printer));
}

bool RunPrinterSetupDialog(TQtPrinter& printer, TModalRunner& runner, QWidget* parent) {
    QPrintDialog dialog(&printer.Device(), parent);
    dialog.setWindowTitle(QStringLiteral("Printer setup"));
    // Only the printer, its paper and orientation: no copies, ranges or selections.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    const bool confirmed = runner.Run(dialog) == QDialog::Accepted;
    printer.AfterSetup();
    return confirmed;
}

bool RunPrinterSetupDialog(TPrinter& printer, TModalRunner& runner, QWidget* parent) {
    auto* qtPrinter = dynamic_cast<TQtPrinter*>(&printer);
    return qtPrinter && RunPrinterSetupDialog(*qtPrinter, runner, parent);
}
