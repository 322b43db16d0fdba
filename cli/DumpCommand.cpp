// `dump FILE.PST [--no-pictures]`: prints a whole document as JSON on standard output.
#include <cstdio>
#include <cstring>
#include <QJsonDocument>
#include <string>

#include "codec/GraphicsExceptions.h"
#include "Commands.h"
#include "DocumentJson.h"

namespace {

const char kDumpUsage[] =
    "usage: folioscriptor-cli dump FILE.PST [--no-pictures]\n"
    "Prints the document as JSON: page size, page settings, compass (null when the file has\n"
    "none) and the seven item lists. Text is UTF-8; each picture's stored bytes are given in\n"
    "base64 as Data (for a picture from JPEG, the stream a save would store: its pixels\n"
    "encoded anew at its JpegQuality), which --no-pictures leaves out.\n";

} // namespace

int RunDump(int argc, char** argv) {
    const char* path = nullptr;
    bool withPictures = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kDumpUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--no-pictures") == 0) {
            withPictures = false;
        } else if (!path && argv[i][0] != '-') {
            path = argv[i];
        } else {
            std::fprintf(stderr, "folioscriptor-cli dump: unexpected argument '%s'\n", argv[i]);
            std::fputs(kDumpUsage, stderr);
            return 2;
        }
    }
    if (!path) {
        std::fputs(kDumpUsage, stderr);
        return 2;
    }
    // Without pictures the file is mapped and the bitmap pictures' rows are passed over
    // unread, so a document with a big picture dumps about as fast as it can be listed.
    TDocumentLoad load =
        LoadDocumentFile(path, withPictures ? TPictureReading::Whole : TPictureReading::SizesOnly);
    if (!load.Document) {
        std::fprintf(stderr, "folioscriptor-cli: %s\n", load.Error.c_str());
        return 1;
    }
    try {
        const TDocumentData& doc = *load.Document;
        const QByteArray json =
            QJsonDocument(DocumentToJson(doc, withPictures)).toJson(QJsonDocument::Indented);
        if (std::fwrite(json.constData(), 1, static_cast<size_t>(json.size()), stdout) !=
                static_cast<size_t>(json.size()) ||
            std::fflush(stdout) != 0) {
            std::fprintf(stderr, "folioscriptor-cli dump: cannot write the output\n");
            return 1;
        }
    } catch (const EGraphicsException& e) {
        std::fprintf(stderr,
                     "folioscriptor-cli dump: %s: a JPEG picture cannot be encoded: %s "
                     "(--no-pictures leaves the pictures' data out)\n",
                     path, e.what());
        return 1;
    }
    return 0;
}
