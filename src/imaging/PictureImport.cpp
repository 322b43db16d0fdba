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

// Resolutions outside this range are taken for unset or wrong fields.
constexpr double kLeastDpi = 10, kMostDpi = 10000;

void SetDotsPerInch(TImportedPicture* about, double x, double y) {
    if (!about) return;
    const auto usable = [](double dpi) { return dpi >= kLeastDpi && dpi <= kMostDpi; };
    if (usable(x) && usable(y)) {
        about->DotsPerInchX = x;
        about->DotsPerInchY = y;
    }
}

void SetDotsPerMeter(TImportedPicture* about, double x, double y) {
    SetDotsPerInch(about, x * 0.0254, y * 0.0254);
}

// The density of a JFIF APP0 segment: units 1 are dots per inch, 2 dots per cm, 0 only an
// aspect ratio.
void ReadJfifDensity(std::span<const uint8_t> d, TImportedPicture* about) {
    if (!IsJfifStart(d) || d.size() < 18) return;
    const double x = d[14] << 8 | d[15], y = d[16] << 8 | d[17];
    if (d[13] == 1) SetDotsPerInch(about, x, y);
    if (d[13] == 2) SetDotsPerInch(about, x * 2.54, y * 2.54);
}

uint32_t U32At(std::span<const uint8_t> d, size_t at) {
    return uint32_t{d[at]} | uint32_t{d[at + 1]} << 8 | uint32_t{d[at + 2]} << 16 |
           uint32_t{d[at + 3]} << 24;
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

// A frame refused for its size: too many pixels, or too much memory for those it has.
std::string TooLargeReason(const EJpegTooLarge& e) {
    if (uint64_t(e.Width) * e.Height > uint64_t(TMemBitmap::kMaxPixels))
        return "the picture has more than 134 megapixels";
    return PictureTooLargeMessage(e.Width, e.Height, e.NeededBytes);
}

bool ImportJpeg(std::span<const uint8_t> data, TMemBitmap& picture, std::string& why) {
    try {
        // Decoded straight into the block's layout, and turned upright there unless it must
        // be turned a quarter round, which needs a second copy.
        BitmapImage decoded;
        decoded.SetDibLayout(true);
        JpegDecoder decoder;
        // JFIF files are read exactly as documents' pictures are; other streams only skip the
        // check that the JFIF header comes first.
        JpegDecoderOptions options = PictureDecoderOptions();
        options.RequireJfifHeader = IsJfifStart(data);
        decoder.SetOptions(options);
        decoder.Decode(data.data(), data.size(), decoded);
        const int orientation = ExifOrientation(data);
        std::vector<uint8_t> block = OrientInPlace(decoded, orientation)
                                         ? decoded.TakeDib()
                                         : TMemBitmap::BlockFromCodecPicture(decoded, orientation);
        if (picture.SetPicture(std::move(block), true)) return true;
        why = "the decoded picture cannot be used";
    } catch (const EJpegTooLarge& e) {
        why = TooLargeReason(e);
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
                 TPictureReader* others, TImportedPicture* about) {
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
        if (about) about->Kind = read->Format;
        SetDotsPerMeter(about, read->DotsPerMeterX, read->DotsPerMeterY);
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
                   TPictureReader* others, TImportedPicture* about) {
    why.clear();
    if (about) *about = TImportedPicture{};
    if (data.size() >= 2 && data[0] == 'B' && data[1] == 'M') {
        picture.Clear();
        picture.HasImage = false;
        auto block = DibFromBitmapFile(data, why);
        if (!block) return false;
        // The info header keeps the file's pixels per metre.
        if (about && block->size() >= kInfoHeaderSize) {
            about->Kind = "bitmap";
            SetDotsPerMeter(about, U32At(*block, 24), U32At(*block, 28));
        }
        if (picture.SetPicture(std::move(*block), false)) return true;
        why = "the bitmap cannot be used";
        if (about) *about = TImportedPicture{};
        return false;
    }
    if (data.size() >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) {
        if (!ImportJpeg(data, picture, why)) return false;
        if (about) {
            about->Kind = "JPEG";
            ReadJfifDensity(data, about);
        }
        return true;
    }
    const bool read = ImportOther(data, picture, why, others, about);
    if (!read && about) *about = TImportedPicture{};
    return read;
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
