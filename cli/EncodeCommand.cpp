// `encode IN.bmp OUT.jpg [--quality N]`: reads a Windows bitmap as the editor reads picture
// files and writes it as a baseline JFIF file with our encoder.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "codec/BitmapImage.h"
#include "codec/GraphicsExceptions.h"
#include "Commands.h"
#include "imaging/Dib.h"
#include "jpeg/JpegEncoder.h"
#include "platform/Files.h"

namespace {

const char kEncodeUsage[] =
    "usage: folioscriptor-cli encode IN.bmp OUT.jpg [--quality N]\n"
    "Writes an uncompressed Windows bitmap (4, 8 or 24 bits a pixel) as a baseline JFIF file:\n"
    "Y, Cb and Cr without subsampling, tables scaled by the quality N (1 to 100, default 75;\n"
    "50 gives the example tables of the JPEG standard, each 12 steps up halves them), Huffman\n"
    "tables optimised for the picture. OUT.jpg is replaced only when the whole file was\n"
    "written.\n";

int Usage(const std::string& problem) {
    std::fprintf(stderr, "folioscriptor-cli encode: %s\n", problem.c_str());
    std::fputs(kEncodeUsage, stderr);
    return 2;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "folioscriptor-cli encode: %s\n", message.c_str());
    return 1;
}

// A whole decimal number from 1 to 100, nothing else.
bool ParseQuality(const char* text, uint32_t& quality) {
    if (*text < '0' || *text > '9') return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || v < 1 || v > 100) return false;
    quality = static_cast<uint32_t>(v);
    return true;
}

} // namespace

int RunEncode(int argc, char** argv) {
    std::vector<const char*> paths;
    uint32_t quality = JpegEncoder::kDefaultQuality;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            std::fputs(kEncodeUsage, stdout);
            return 0;
        }
        const char* value = nullptr;
        if (std::strcmp(arg, "--quality") == 0) {
            if (i + 1 == argc) return Usage("--quality needs a value");
            value = argv[++i];
        } else if (std::strncmp(arg, "--quality=", 10) == 0) {
            value = arg + 10;
        } else if (arg[0] == '-' && arg[1] != '\0') {
            return Usage(std::string("unknown option '") + arg + "'");
        } else {
            paths.push_back(arg);
            continue;
        }
        if (!ParseQuality(value, quality))
            return Usage(std::string("the quality must be a whole number from 1 to 100, not '") +
                         value + "'");
    }
    if (paths.size() != 2) return Usage("expected IN.bmp and OUT.jpg");
    const std::string in = paths[0], out = paths[1];

    std::string why;
    auto file = ReadWholeFile(in, &why);
    if (!file) return Fail(in + ": " + why);
    // The editor's bitmap reader: larger headers and short palettes are normalised; top-down
    // rows, compression, other depths and empty or absurd sizes are refused.
    auto block = DibFromBitmapFile(*file, why);
    if (!block) return Fail(in + ": " + why);
    file.reset(); // each copy is dropped once the next is made: never three at once

    std::vector<uint8_t> jpeg;
    try {
        BitmapImage picture;
        picture.AssignFromDib(block->data(), block->size());
        block.reset();
        JpegEncoder encoder;
        encoder.SetQuality(quality);
        jpeg = encoder.Encode(picture);
    } catch (const EGraphicsException& e) {
        return Fail(in + ": " + e.what());
    } catch (const std::bad_alloc&) {
        return Fail(in + ": not enough memory");
    }
    if (!WriteFileAtomically(out, jpeg, &why)) return Fail(out + ": " + why);
    return 0;
}
