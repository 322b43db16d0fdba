#include <gtest/gtest.h>

#include <cmath>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPrinter>

#include "platform/FileDialogs.h"
#include "platform/qt/ModalRunner.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtImagePrinter.h"
#include "platform/qt/QtPrinter.h"
#include "support/TempDir.h"

namespace {

class AnswerSave : public TFileDialogs {
public:
    std::optional<std::string> Answer;
    int Asked = 0;
    TFileDialogOptions Options;
    std::optional<std::string> Open(const TFileDialogOptions&) override { return std::nullopt; }
    std::optional<std::string> Save(const TFileDialogOptions& options) override {
        ++Asked;
        Options = options;
        return Answer;
    }
};

class AnswerModal : public TModalRunner {
public:
    explicit AnswerModal(int result) : Result(result) {}
    int Run(QDialog&) override { return Result; }
    int Result;
};

// Paper sizes are defined in points, so a 600 dpi sheet may be a few pixels off the mm size.
int MmAt600(double mm) { return static_cast<int>(std::lround(mm / 25.4 * 600)); }
constexpr int kPaperSlack = 4;

bool StartsWithPdfHeader(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.read(5) == "%PDF-";
}

} // namespace

TEST(QtPrinter, BuiltInPdfPrinterHasTheLocalePaperAt600DpiWithItsMargins) {
    TQtPrinter printer(TQtPrinter::TChoice::BuiltInPdf, nullptr);
    EXPECT_TRUE(printer.IsPdf());
    EXPECT_EQ(printer.Resolution(), 600);
    TPrinterEntry entry;
    ASSERT_TRUE(printer.DefaultEntry(entry));
    EXPECT_EQ(entry.Device, "Print to PDF");
    EXPECT_FALSE(entry.Driver.empty());
    EXPECT_FALSE(entry.Port.empty());

    const TPrinterDeviceCaps caps = printer.DeviceCaps();
    const bool a4 = std::abs(caps.PhysicalWidth - MmAt600(210)) <= kPaperSlack &&
                    std::abs(caps.PhysicalHeight - MmAt600(297)) <= kPaperSlack;
    const bool letter = caps.PhysicalWidth == 5100 && caps.PhysicalHeight == 6600;
    EXPECT_TRUE(a4 || letter) << caps.PhysicalWidth << " x " << caps.PhysicalHeight;
    EXPECT_EQ(printer.Orientation(), TPrinterOrientation::poPortrait);
    // The printable area lies inside the sheet and its size in mm matches its pixels.
    EXPECT_GE(caps.PhysicalOffsetX, 0);
    EXPECT_GE(caps.PhysicalOffsetY, 0);
    EXPECT_LE(caps.PhysicalOffsetX + caps.HorzRes, caps.PhysicalWidth);
    EXPECT_LE(caps.PhysicalOffsetY + caps.VertRes, caps.PhysicalHeight);
    EXPECT_NEAR(caps.HorzSize, caps.HorzRes * 25.4 / 600, 0.5);
    EXPECT_NEAR(caps.VertSize, caps.VertRes * 25.4 / 600, 0.5);
}

TEST(QtPrinter, OnlyAStandardPaperSizeIsTakenFromADocument) {
    TQtPrinter printer(TQtPrinter::TChoice::BuiltInPdf, nullptr);
    ASSERT_TRUE(printer.UsePaperOfSize(215, 279)); // Letter, truncated to whole mm
    EXPECT_EQ(printer.DeviceCaps().PhysicalWidth, 5100);
    EXPECT_FALSE(printer.UsePaperOfSize(2000, 3200));
    EXPECT_FALSE(printer.UsePaperOfSize(0, 0));
    EXPECT_EQ(printer.DeviceCaps().PhysicalWidth, 5100);
}

TEST(QtPrinter, PdfPrinterAsksForTheFileAndCancellingCallsTheJobOff) {
    const TTempDir dir("qt-printer");
    AnswerSave files;
    TQtPrinter printer(TQtPrinter::TChoice::BuiltInPdf, &files);
    EXPECT_THROW(printer.BeginDoc(), EPrintCancelled);
    EXPECT_EQ(files.Asked, 1);
    EXPECT_EQ(files.Options.DefaultExt, "pdf");
    EXPECT_TRUE(files.Options.OverwritePrompt);

    files.Answer = dir.File("page.pdf");
    TCanvas& canvas = printer.BeginDoc();
    canvas.Rectangle(0, 0, 100, 100);
    printer.EndDoc();
    EXPECT_EQ(files.Asked, 2);
    EXPECT_TRUE(StartsWithPdfHeader(QString::fromStdString(dir.File("page.pdf"))));

    // The next page asks again.
    files.Answer = dir.File("second.pdf");
    printer.BeginDoc();
    printer.EndDoc();
    EXPECT_EQ(files.Asked, 3);
    EXPECT_TRUE(StartsWithPdfHeader(QString::fromStdString(dir.File("second.pdf"))));
}

TEST(QtPrinter, AnOutputFileThatCannotBeWrittenIsAPrinterError) {
    TQtPrinter printer(TQtPrinter::TChoice::BuiltInPdf, nullptr);
    EXPECT_THROW(printer.BeginDoc(), EPrinter); // neither a file nor a dialog
    const TTempDir dir("qt-printer");
    printer.SetOutputFile(dir.File("missing/folder/page.pdf"));
    EXPECT_THROW(printer.BeginDoc(), EPrinter);
    // The printer stays usable afterwards.
    printer.SetOutputFile(dir.File("ok.pdf"));
    printer.BeginDoc();
    EXPECT_THROW(printer.BeginDoc(), EPrinter); // one job at a time
    printer.EndDoc();
    EXPECT_TRUE(StartsWithPdfHeader(QString::fromStdString(dir.File("ok.pdf"))));
}

TEST(QtPrinter, PrinterSetupKeepsThePdfPrinterAt600DpiAndStandInsHaveNoDialog) {
    TQtPrinter printer(TQtPrinter::TChoice::BuiltInPdf, nullptr);
    AnswerModal cancel(QDialog::Rejected), ok(QDialog::Accepted);
    EXPECT_FALSE(RunPrinterSetupDialog(printer, cancel));
    TPrinter& seam = printer;
    EXPECT_TRUE(RunPrinterSetupDialog(seam, ok));
    EXPECT_TRUE(printer.IsPdf());
    EXPECT_EQ(printer.Resolution(), 600);
    TNoPrinter none;
    EXPECT_FALSE(RunPrinterSetupDialog(none, ok));
}

TEST(QtImagePrinter, DrawsPrinterPixelsFromThePrintableCornerScaledToTheImage) {
    TPrinterDeviceCaps caps;
    caps.PhysicalWidth = 1200;
    caps.PhysicalHeight = 1800;
    caps.PhysicalOffsetX = 100;
    caps.PhysicalOffsetY = 200;
    caps.HorzRes = 1000;
    caps.VertRes = 1400;
    caps.HorzSize = 42;
    caps.VertSize = 59;
    TQtImagePrinter printer(caps, TPrinterOrientation::poPortrait, 600, 150);
    TCanvas& canvas = printer.BeginDoc();
    canvas.Pen.Color = clRed;
    canvas.Brush.Color = clRed;
    canvas.Rectangle(0, 0, 400, 400);
    // A one-pixel outline at a quarter of the resolution stays one picture pixel wide.
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Pen.Color = clBlue;
    canvas.Rectangle(500, 500, 900, 900);
    printer.EndDoc();
    const QImage& image = printer.Image();
    ASSERT_EQ(image.size(), QSize(300, 450));
    // Device (0, 0) is sheet pixel (100, 200) at 600 dpi, (25, 50) at 150 dpi.
    EXPECT_EQ(image.pixel(25, 50), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(124, 149), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(24, 50), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(125, 150), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(150, 250), qRgb(0, 0, 255)); // left edge at device x 500
    EXPECT_EQ(image.pixel(175, 250), qRgb(255, 255, 255));

    TQtImagePrinter none({}, TPrinterOrientation::poPortrait, 600, 600);
    EXPECT_THROW(none.BeginDoc(), EPrinter);
}

TEST(QtFileDialogFilters, OfferLowerCaseNamesBesideTheStoredUpperCasePatterns) {
    EXPECT_EQ(QtNameFilters("Bittérképek (*.BMP)|*.BMP|JPEG (*.JPG)|*.JPG").toStdString(),
              "Bittérképek (*.BMP *.bmp);;JPEG (*.JPG *.jpg)");
    EXPECT_EQ(QtNameFilters("Any|*.*;*.x").toStdString(), "Any (*.* *.x)");
}
