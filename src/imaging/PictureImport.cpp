#include "imaging/PictureImport.h"

#include <cstring>
#include <new>
#include <string_view>
#include <utility>

#include "codec/BitmapImage.h"
#include "codec/GraphicsExceptions.h"
#include "imaging/Dib.h"
#include "imaging/ExifOrientation.h"
#include "imaging/MemBitmap.h"
#include "jpeg/JpegDecoder.h"
#include "platform/Files.h"
#include "platform/PictureReader.h"

namespace {

bool IsJfifStart(std::span<const uint8_t> d) {
    return d.size() >= 10 && d[2] == 0xFF && d[3] == 0xE0 && std::memcmp(&d[6], "JFIF", 4) == 0;
}

// The decoder's messages are meant for the document reader; the user gets the common ones
// in plain words.
std::string JpegReason(std::string_view message) {
    static const std::pair<std::string_view, std::string_view> kReasons[] = {
        {"Idő előtti fájlvég", "the file ends inside the picture data"},
        {"Hiányzó fájlvégjelzés", "the file ends inside the picture data"},
        {"Túl nagy kép", "the picture has more than 134 megapixels"},
        {"A JFIF csak 1 és 3 összetevőt támogat",
         "only grey and colour JPEG pictures (1 or 3 components) are supported"},
        {"A CMYK JPEG nem támogatott", "CMYK JPEG is not supported"},
        {"Beolvashatatlan kép", "arithmetic-coded JPEG pictures are not supported"},
        {"Csak a 8 bites adat támogatott", "only 8-bit JPEG pictures are supported"},
        {"Az adatvesztésmentes Huffman-kódolás nem támogatott",
         "lossless JPEG pictures are not supported"},
    };
    for (const auto& [hungarian, english] : kReasons) {
        if (message == hungarian) return std::string(english);
    }
    return "the JPEG data is damaged or unsupported (" + std::string(message) + ")";
}

bool ImportJpeg(std::span<const uint8_t> data, TMemBitmap& picture, std::string& why) {
    try {
        BitmapImage decoded;
        JpegDecoder decoder;
        // JFIF files are read exactly as documents' pictures are; other streams only skip the
        // check that the JFIF header comes first.
        JpegDecoderOptions options;
        options.RequireJfifHeader = IsJfifStart(data);
        options.PixelLimit = uint64_t(TMemBitmap::kMaxPixels);
        decoder.SetOptions(options);
        decoder.Decode(data.data(), data.size(), decoded);
        // Turned upright as the block is made, without a turned copy in between.
        const int orientation = ExifOrientation(data);
        if (picture.SetPicture(TMemBitmap::BlockFromCodecPicture(decoded, orientation), true))
            return true;
        why = "the decoded picture cannot be used";
    } catch (const EGraphicsException& e) {
        why = JpegReason(e.what());
    } catch (const std::bad_alloc&) {
        why = "there is not enough memory for the picture";
    }
    picture.Clear();
    picture.HasImage = false;
    return false;
}

bool ImportOther(std::span<const uint8_t> data, TMemBitmap& picture, std::string& why,
                 TPictureReader* others) {
    picture.Clear();
    picture.HasImage = false;
    if (!others) {
        why = "not a Windows bitmap or JPEG file";
        return false;
    }
    try {
        auto read = others->Read(data, uint64_t(TMemBitmap::kMaxPixels), why);
        if (!read) return false;
        const int32_t rowBytes = DibRowBytes(read->Width, 24);
        if (read->Width <= 0 || read->Height <= 0 ||
            read->Rows.size() != size_t(rowBytes) * size_t(read->Height)) {
            why = "the picture reader gave damaged rows";
            return false;
        }
        std::vector<uint8_t> block(kInfoHeaderSize + read->Rows.size(), 0);
        const auto put = [&block](size_t at, uint32_t v, int bytes) {
            for (int i = 0; i < bytes; ++i) block[at + size_t(i)] = uint8_t(v >> (8 * i));
        };
        put(0, kInfoHeaderSize, 4);
        put(4, uint32_t(read->Width), 4);
        put(8, uint32_t(read->Height), 4);
        put(12, 1, 2);
        put(14, 24, 2);
        std::memcpy(block.data() + kInfoHeaderSize, read->Rows.data(), read->Rows.size());
        read.reset();
        if (picture.SetPicture(std::move(block), false)) return true;
        why = "the picture is too large or damaged";
    } catch (const std::bad_alloc&) {
        why = "there is not enough memory for the picture";
    }
    picture.Clear();
    picture.HasImage = false;
    return false;
}

} // namespace

bool ImportPicture(std::span<const uint8_t> data, TMemBitmap& picture, std::string& why,
                   TPictureReader* others) {
    why.clear();
    if (data.size() >= 2 && data[0] == 'B' && data[1] == 'M') {
        picture.Clear();
        picture.HasImage = false;
        auto block = DibFromBitmapFile(data, why);
        if (!block) return false;
        if (picture.SetPicture(std::move(*block), false)) return true;
        why = "the bitmap cannot be used";
        return false;
    }
    if (data.size() >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF)
        return ImportJpeg(data, picture, why);
    return ImportOther(data, picture, why, others);
}

bool ImportPictureFile(const std::string& path, TMemBitmap& picture, std::string& why,
                       TPictureReader* others) {
    std::string error;
    const auto file = ReadWholeFile(path, &error);
    if (!file) {
        picture.Clear();
        picture.HasImage = false;
        why = error.empty() ? "the file cannot be read" : error;
        return false;
    }
    return ImportPicture(*file, picture, why, others);
}
