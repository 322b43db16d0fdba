// `decode IN.jpg OUT.bmp`: decodes a JPEG file with our decoder and writes the picture as an
// uncompressed Windows bitmap (8-bit grey with a grey palette, or 24-bit).
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "codec/BitmapImage.h"
#include "codec/GraphicsExceptions.h"
#include "Commands.h"
#include "jpeg/JpegDecoder.h"
#include "platform/Files.h"

namespace {

void PutLe(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += char((value >> (8 * i)) & 0xFF);
}

// BITMAPFILEHEADER, BITMAPINFOHEADER, palette, then the rows as BitmapImage keeps them.
bool WriteBmp(const BitmapImage& picture, const char* path, std::string* error) {
    const uint32_t paletteBytes = picture.ColorCount() * 4;
    const uint32_t offset = 14 + 40 + paletteBytes;
    std::string header;
    header += "BM";
    PutLe(header, uint32_t(offset + picture.ImageDataSize()), 4);
    PutLe(header, 0, 4);
    PutLe(header, offset, 4);
    PutLe(header, 40, 4);
    PutLe(header, picture.Width(), 4);
    PutLe(header, picture.Height(), 4);
    PutLe(header, 1, 2);
    PutLe(header, picture.BitCount(), 2);
    PutLe(header, 0, 4); // BI_RGB
    PutLe(header, uint32_t(picture.ImageDataSize()), 4);
    PutLe(header, 2835, 4); // 72 dpi
    PutLe(header, 2835, 4);
    PutLe(header, picture.ColorCount(), 4);
    PutLe(header, 0, 4);
    for (uint32_t i = 0; i < picture.ColorCount(); ++i) {
        const uint8_t* e = picture.ColorMapEntry(i);
        header += char(e[0]);
        header += char(e[1]);
        header += char(e[2]);
        header += char(0);
    }
    // Through the safe writer, so a failed write leaves an existing OUT.bmp as it was.
    TSafeFileWriter out(path);
    if (!out.Write(std::span(reinterpret_cast<const uint8_t*>(header.data()), header.size())) ||
        !out.Write(std::span(picture.ImageData(), picture.ImageDataSize())) || !out.Commit()) {
        if (error) *error = out.Error();
        return false;
    }
    return true;
}

} // namespace

int RunDecode(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::printf("usage: folioscriptor-cli decode IN.jpg OUT.bmp\n"
                    "Decodes a baseline, extended or progressive JFIF file and writes it as a\n"
                    "Windows bitmap (8-bit grey or 24-bit).\n");
        return 0;
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: folioscriptor-cli decode IN.jpg OUT.bmp\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "decode: cannot open '%s'\n", argv[1]);
        return 1;
    }
    BitmapImage picture;
    try {
        JpegDecoder decoder;
        decoder.ReadImage(in, picture);
    } catch (const EGraphicsException& e) {
        std::fprintf(stderr, "decode: %s: %s\n", argv[1], e.what());
        return 1;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "decode: %s: out of memory\n", argv[1]);
        return 1;
    }
    std::string why;
    if (!WriteBmp(picture, argv[2], &why)) {
        std::fprintf(stderr, "decode: cannot write '%s': %s\n", argv[2], why.c_str());
        return 1;
    }
    return 0;
}
