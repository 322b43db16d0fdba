// `compose FILE.json OUT.PST`: writes a document from its JSON form (as `dump` prints it).
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <QJsonDocument>
#include <QJsonParseError>
#include <string>

#include "Commands.h"
#include "DocumentJson.h"
#include "platform/Files.h"
#include "platform/qt/QtPictureReader.h"

namespace {

const char kComposeUsage[] =
    "usage: folioscriptor-cli compose FILE.json OUT.PST\n"
    "Writes a document from JSON in the form `dump` prints. Missing fields take the values a\n"
    "new item has; the compass block is written when Compass is not null. An image may give\n"
    "\"PictureFile\": \"photo.jpg\" instead of Picture, and a Picture File instead of Data: a\n"
    "picture file (bitmap, JPEG, PNG, GIF, TIFF, WebP) relative to the JSON file's folder.\n"
    "OUT.PST is replaced only when the whole document was written.\n";

int Fail(const std::string& message) {
    std::fprintf(stderr, "folioscriptor-cli: %s\n", message.c_str());
    return 1;
}

} // namespace

int RunCompose(int argc, char** argv) {
    std::vector<const char*> paths;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kComposeUsage, stdout);
            return 0;
        }
        paths.push_back(argv[i]);
    }
    if (paths.size() != 2) {
        std::fputs(kComposeUsage, stderr);
        return 2;
    }
    const std::string in = paths[0], out = paths[1];
    std::string why;
    const auto text = ReadWholeFile(in, &why);
    if (!text) return Fail(in + ": " + why);

    QJsonParseError error{};
    const QJsonDocument json =
        QJsonDocument::fromJson(QByteArray(reinterpret_cast<const char*>(text->data()),
                                           static_cast<qsizetype>(text->size())),
                                &error);
    if (error.error != QJsonParseError::NoError) {
        return Fail(in + ": not valid JSON: " + error.errorString().toStdString() + " at offset " +
                    std::to_string(error.offset));
    }
    if (!json.isObject()) return Fail(in + ": the JSON is not an object");

    try {
        TQtPictureReader reader;
        const TDocumentData doc = DocumentFromJson(
            json.object(), {std::filesystem::path(in).parent_path().string(), &reader});
        if (const TOutcome saved = SaveDocumentFile(out, doc); saved.Failed())
            return Fail(saved.Message());
    } catch (const EJsonError& e) {
        return Fail(in + ": " + e.what());
    }
    return 0;
}
