// `render FILE.PST OUT.pdf|OUT.png [--dpi N]`: prints a document without a window, through the
// same page printing as the editor, onto the built-in PDF printer (PDF) or onto a picture of
// the sheet at the printer's resolution or the one given (PNG).
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <QBuffer>
#include <QGuiApplication>
#include <QImageWriter>
#include <QString>
#include <string>

#include "Commands.h"
#include "document/DocumentFile.h"
#include "editor/PrinterMetrics.h"
#include "editor/PrintPage.h"
#include "platform/Files.h"
#include "platform/qt/QtImagePrinter.h"
#include "platform/qt/QtPrinter.h"

namespace {

constexpr char kUsage[] = "usage: folioscriptor-cli render FILE.PST OUT.pdf|OUT.png [--dpi N]\n";

bool EndsWith(const std::string& s, const char* suffix) {
    const size_t n = std::strlen(suffix);
    if (s.size() < n) return false;
    for (size_t i = 0; i < n; ++i) {
        if (std::tolower(static_cast<unsigned char>(s[s.size() - n + i])) != suffix[i])
            return false;
    }
    return true;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "folioscriptor-cli render: %s\n", message.c_str());
    return 1;
}

} // namespace

int RunRender(int argc, char** argv) {
    std::string input, output;
    int dpi = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            std::fputs(
                "Prints the document as one page: OUT.pdf on the built-in PDF printer, OUT.png\n"
                "as a picture of the sheet (at 600 dpi, or N dpi with --dpi, N <= 600).\n"
                "The paper is the document's page size when that is a standard paper,\n"
                "otherwise the locale's default (A4 or Letter).\n",
                stdout);
            return 0;
        }
        if (arg == "--dpi") {
            if (i + 1 >= argc) return Fail("--dpi needs a number");
            char* end = nullptr;
            const long value = std::strtol(argv[++i], &end, 10);
            if (*argv[i] == '\0' || *end != '\0' || value < 1 || value > TQtPrinter::kPdfResolution)
                return Fail("--dpi takes a whole number from 1 to " +
                            std::to_string(TQtPrinter::kPdfResolution));
            dpi = static_cast<int>(value);
        } else if ((!arg.empty() && arg[0] == '-') || !output.empty()) {
            // An unknown option, or a third file name.
            std::fputs(kUsage, stderr);
            return 2;
        } else if (input.empty()) {
            input = arg;
        } else {
            output = arg;
        }
    }
    if (input.empty() || output.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const bool pdf = EndsWith(output, ".pdf");
    if (!pdf && !EndsWith(output, ".png")) return Fail("the output must be a .pdf or .png file");
    if (pdf && dpi) return Fail("--dpi applies to PNG output only");

    // No window is ever shown: run without a display unless the caller chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QGuiApplication app(qtArgc, qtArgv);

    TDocumentLoad load = LoadDocumentFile(input);
    if (!load.Document) return Fail(load.Error);
    const TDocumentData& doc = *load.Document;

    try {
        TQtPrinter printer(TQtPrinter::TChoice::BuiltInPdf, nullptr);
        printer.UsePaperOfSize(doc.PageWidthMm, doc.PageHeightMm);
        const TPrinterMetrics metrics =
            ComputePrinterMetrics(printer.DeviceCaps(), printer.Orientation());
        if (pdf) {
            printer.SetOutputFile(output);
            PrintPage(printer, doc.Items, doc.PageSettings, metrics);
            return 0;
        }
        TQtImagePrinter sheet(printer.DeviceCaps(), printer.Orientation(), printer.Resolution(),
                              dpi ? dpi : printer.Resolution());
        PrintPage(sheet, doc.Items, doc.PageSettings, metrics);
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        QImageWriter writer(&png, "png");
        if (!writer.write(sheet.Image()))
            return Fail("cannot write " + output + ": " + writer.errorString().toStdString());
        const QByteArray& bytes = png.data();
        std::string why;
        if (!WriteFileAtomically(output,
                                 std::span(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                           size_t(bytes.size())),
                                 &why))
            return Fail("cannot write " + output + ": " + why);
        return 0;
    } catch (const EPrinter& e) {
        return Fail(e.what());
    } catch (const std::exception& e) {
        return Fail(std::string("cannot render ") + input + ": " + e.what());
    }
}
