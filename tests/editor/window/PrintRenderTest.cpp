// Prints a document on the built-in PDF printer and checks the page as poppler rasterises it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <QFile>
#include <QImage>

#include "document/ItemLists.h"
#include "document/PageSettings.h"
#include "editor/PrinterMetrics.h"
#include "editor/PrintPage.h"
#include "editor/TextMeasure.h"
#include "imaging/MemBitmap.h"
#include "platform/qt/QtPrinter.h"
#include "support/TempDir.h"

namespace {

constexpr int kDpi = 600;

// A part of the printed sheet, x, y, w, h in mm from the sheet's corner, at 600 dpi.
struct Crop {
    QImage Image;
    int X0 = 0, Y0 = 0; // sheet pixels of the crop's corner

    int Px(double mm) const { return static_cast<int>(mm / 25.4 * kDpi); }
    QRgb AtMm(double xMm, double yMm) const { return Image.pixel(Px(xMm) - X0, Px(yMm) - Y0); }
    QRgb AtSheetPx(int x, int y) const { return Image.pixel(x - X0, y - Y0); }
};

Crop Rasterize(const TTempDir& dir, const QString& pdf, double x, double y, double w, double h) {
    Crop crop;
    crop.X0 = crop.Px(x);
    crop.Y0 = crop.Px(y);
    const QString out = QString::fromStdString(dir.File("crop"));
    const QString command =
        QString("pdftoppm -r %1 -x %2 -y %3 -W %4 -H %5 -aa no -aaVector no -singlefile '%6' '%7'")
            .arg(kDpi)
            .arg(crop.X0)
            .arg(crop.Y0)
            .arg(crop.Px(w))
            .arg(crop.Px(h))
            .arg(pdf, out);
    if (std::system(command.toLocal8Bit().constData()) == 0) crop.Image.load(out + ".ppm");
    return crop;
}

bool HavePdftoppm() { return std::system("pdftoppm -v >/dev/null 2>&1") == 0; }

const QRgb kRed = qRgb(255, 0, 0), kGreen = qRgb(0, 255, 0), kBlue = qRgb(0, 0, 255),
           kBlack = qRgb(0, 0, 0), kWhite = qRgb(255, 255, 255), kYellow = qRgb(255, 255, 0),
           kSilver = qRgb(192, 192, 192);

} // namespace

TEST(PrintRender, PrintedPdfHasItemsAtTheirMillimetrePositions) {
    if (!HavePdftoppm()) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    const TTempDir dir("print-render");
    const QString pdf = QString::fromStdString(dir.File("page.pdf"));
    TQtPrinter printer(TQtPrinter::TChoice::BuiltInPdf, nullptr);
    ASSERT_TRUE(printer.UsePaperOfSize(209, 296)); // A4
    printer.SetOutputFile(pdf.toStdString());
    TPrinterMetrics m;
    ASSERT_TRUE(ReadDefaultPrinter(printer, m));

    TPageItems items;
    TPageSettings settings;
    items.Rectangles.Add(
        std::make_unique<TNyomtatoNegyszog>(TNyomtatoNegyszog{{20, 20, 60, 40}, clRed}));
    auto frame = std::make_unique<TNyomtatoKeret>();
    frame->Rect = {20, 60, 120, 120};
    frame->BorderColor = clBlue;
    frame->FillColor = clYellow;
    items.Frames.Add(std::move(frame));
    auto image = std::make_unique<TNyomtatoKep>();
    image->Rect = {130, 20, 170, 60};
    image->Picture->HasImage = true;
    image->Picture->DeviceBitmap = TPixmap{2, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF000000}};
    items.Images.Add(std::move(image));
    auto caption = std::make_unique<TNyomtatoSzoveg>();
    caption->Text = "HH";
    caption->Rect = {20, 140, 0, 0};
    caption->FontHeightMm = -10;
    caption->Font.Name = "Liberation Sans";
    caption->Font.Height = FontHeightMmToPrinter(-10, m);
    items.Captions.Add(std::move(caption));

    ASSERT_TRUE(PrintDocument(printer, items, settings, m).Ok());

    const Crop rect = Rasterize(dir, pdf, 15, 15, 50, 30);
    ASSERT_FALSE(rect.Image.isNull());
    EXPECT_EQ(rect.AtMm(40, 30), kRed);
    EXPECT_EQ(rect.AtMm(21, 21), kRed);
    EXPECT_EQ(rect.AtMm(61, 30), kWhite);
    EXPECT_EQ(rect.AtMm(40, 41), kWhite);

    // The frame: a one-device-pixel blue border, yellow inside, a 2 mm silver shadow that
    // starts 2 mm below the top and beside the left edge.
    const Crop f = Rasterize(dir, pdf, 15, 55, 115, 75);
    ASSERT_FALSE(f.Image.isNull());
    EXPECT_EQ(f.AtMm(70, 90), kYellow);
    EXPECT_EQ(f.AtMm(121, 90), kSilver);
    EXPECT_EQ(f.AtMm(70, 121), kSilver);
    EXPECT_EQ(f.AtMm(123, 90), kWhite);
    EXPECT_EQ(f.AtMm(121, 61), kWhite);
    EXPECT_EQ(f.AtMm(21, 121), kWhite);
    const int borderX = static_cast<int>(m.OffsetXPx) + MmToPrinterX(m, 20);
    const int rowY = f.Px(90);
    EXPECT_EQ(f.AtSheetPx(borderX, rowY), kBlue);
    EXPECT_EQ(f.AtSheetPx(borderX - 2, rowY), kWhite);
    EXPECT_EQ(f.AtSheetPx(borderX + 2, rowY), kYellow);

    // The picture's four corners.
    const Crop img = Rasterize(dir, pdf, 125, 15, 50, 50);
    ASSERT_FALSE(img.Image.isNull());
    EXPECT_EQ(img.AtMm(131, 21), kRed);
    EXPECT_EQ(img.AtMm(169, 21), kGreen);
    EXPECT_EQ(img.AtMm(131, 59), kBlue);
    EXPECT_EQ(img.AtMm(169, 59), kBlack);
    EXPECT_EQ(img.AtMm(171, 59), kWhite);

    // The caption's capital letters: about 7 mm high for a 10 mm font, starting below the
    // top of the text cell at 140 mm.
    const Crop text = Rasterize(dir, pdf, 18, 135, 40, 20);
    ASSERT_FALSE(text.Image.isNull());
    int top = -1, bottom = -1;
    for (int y = 0; y < text.Image.height(); ++y) {
        for (int x = 0; x < text.Image.width(); ++x) {
            if (text.Image.pixel(x, y) == kBlack) {
                if (top < 0) top = y;
                bottom = y;
                break;
            }
        }
    }
    ASSERT_GE(top, 0);
    const double topMm = (top + text.Y0) * 25.4 / kDpi;
    const double heightMm = (bottom - top + 1) * 25.4 / kDpi;
    EXPECT_GT(topMm, 140.0);
    EXPECT_LT(topMm, 143.0);
    EXPECT_NEAR(heightMm, 7.2, 0.8);
}

TEST(PrintRender, LandscapePaperGivesAWideSheetAndNoExchange) {
    TQtPrinter printer(TQtPrinter::TChoice::BuiltInPdf, nullptr);
    ASSERT_TRUE(printer.UsePaperOfSize(296, 209));
    TPrinterMetrics m;
    ASSERT_TRUE(ReadDefaultPrinter(printer, m));
    EXPECT_NEAR(m.PhysicalWidthMm, 297, 1.5);
    EXPECT_NEAR(m.PhysicalHeightMm, 210, 1.5);
    EXPECT_GT(m.RightEdgeMm, m.BottomEdgeMm);
    EXPECT_NEAR(m.MmPerPixelX, 25.4 / 600, 0.0002);
}

namespace {

// A w x h picture block in four flat quadrants: red, green over blue, black.
TMemBitmap& QuadrantPicture(TMemBitmap& b, int32_t w, int32_t h) {
    const int32_t rowBytes = (3 * w + 3) / 4 * 4;
    std::vector<uint8_t> block(40 + size_t(rowBytes) * size_t(h), 0);
    const auto put = [&block](size_t at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) block[at + size_t(i)] = uint8_t(v >> (8 * i));
    };
    put(0, 40, 4), put(4, uint32_t(w), 4), put(8, uint32_t(h), 4), put(12, 1, 2), put(14, 24, 2);
    for (int32_t y = 0; y < h; ++y) { // y = 0 is the top row, stored last
        uint8_t* row = block.data() + 40 + size_t(h - 1 - y) * size_t(rowBytes);
        for (int32_t x = 0; x < w; ++x) {
            const QRgb c = y < h / 2 ? (x < w / 2 ? kRed : kGreen) : (x < w / 2 ? kBlue : kBlack);
            row[3 * x] = uint8_t(qBlue(c)), row[3 * x + 1] = uint8_t(qGreen(c)),
                    row[3 * x + 2] = uint8_t(qRed(c));
        }
    }
    EXPECT_TRUE(b.SetPicture(std::move(block), false));
    return b;
}

} // namespace

TEST(PrintRender, ABigPictureGoesToThePdfAtTheDevicePixelsOfItsRectangle) {
    if (!HavePdftoppm() || std::system("pdfimages -v >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftoppm or pdfimages (poppler-utils) is not installed";
    const TTempDir dir("print-render-big");
    const QString pdf = QString::fromStdString(dir.File("page.pdf"));

    TQtPrinter printer(TQtPrinter::TChoice::BuiltInPdf, nullptr);
    ASSERT_TRUE(printer.UsePaperOfSize(209, 296));
    printer.SetOutputFile(pdf.toStdString());
    TPrinterMetrics m;
    ASSERT_TRUE(ReadDefaultPrinter(printer, m));

    TPageItems items;
    TPageSettings settings;
    auto image = std::make_unique<TNyomtatoKep>();
    image->Rect = {30, 30, 70, 70};
    QuadrantPicture(*image->Picture, 2400, 2000);
    items.Images.Add(std::move(image));
    ASSERT_TRUE(PrintDocument(printer, items, settings, m).Ok());

    // The embedded image has at most the rectangle's device pixels (40 mm at 600 dpi).
    const int devicePixels = MmToPrinterX(m, 70) - MmToPrinterX(m, 30) + 1;
    const int deviceRows = MmToPrinterY(m, 70) - MmToPrinterY(m, 30) + 1;
    const QString list = QString::fromStdString(dir.File("list.txt"));
    ASSERT_EQ(std::system(QString("pdfimages -list '%1' > '%2'").arg(pdf, list).toLocal8Bit()), 0);
    QFile f(list);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromLatin1(f.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 3); // two header lines, then one line an image
    const QStringList fields = lines[2].simplified().split(' ');
    ASSERT_GE(fields.size(), 5);
    EXPECT_LE(fields[3].toInt(), devicePixels);
    EXPECT_LE(fields[4].toInt(), deviceRows);
    EXPECT_GT(fields[3].toInt(), devicePixels / 2);

    // Still in place: each quadrant at its mm position, the split in the middle.
    const Crop img = Rasterize(dir, pdf, 25, 25, 50, 50);
    ASSERT_FALSE(img.Image.isNull());
    EXPECT_EQ(img.AtMm(31, 31), kRed);
    EXPECT_EQ(img.AtMm(69, 31), kGreen);
    EXPECT_EQ(img.AtMm(31, 69), kBlue);
    EXPECT_EQ(img.AtMm(69, 69), kBlack);
    EXPECT_EQ(img.AtMm(49.5, 40), kRed);
    EXPECT_EQ(img.AtMm(50.5, 40), kGreen);
    EXPECT_EQ(img.AtMm(71, 50), kWhite);
    EXPECT_EQ(img.AtMm(29, 50), kWhite);
}
