#include "imaging/MemBitmap.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <stdexcept>

#include "codec/BitmapImage.h"
#include "codec/GraphicsExceptions.h"
#include "codec/LargePages.h"
#include "imaging/AreaAverage.h"
#include "imaging/Dib.h"
#include "imaging/ExifOrientation.h"
#include "jpeg/JpegDecoder.h"
#include "jpeg/JpegEncoder.h"
#include "platform/Canvas.h"
#include "platform/Files.h"

namespace {

void PutLe(std::vector<uint8_t>& block, size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) block[at + size_t(i)] = uint8_t(v >> (8 * i));
}

// The 40-byte header at the start of block (the rest of the header stays zero).
void PutDibHeader(std::vector<uint8_t>& block, uint32_t width, uint32_t height, uint32_t bits) {
    PutLe(block, 0, kInfoHeaderSize, 4);
    PutLe(block, 4, width, 4);
    PutLe(block, 8, height, 4);
    PutLe(block, 12, 1, 2);
    PutLe(block, 14, bits, 2);
}

// Decodes a JPEG stream straight into the layout of a packed block (see TakeDib), refusing
// frames whose memory would pass the reading limit before it is allocated. Failures are the
// decoder's EGraphicsException or std::bad_alloc.
BitmapImage DecodeJpeg(std::span<const uint8_t> stream) {
    BitmapImage picture;
    picture.SetDibLayout(true);
    JpegDecoder decoder(PictureDecoderOptions());
    decoder.Decode(stream.data(), stream.size(), picture);
    return picture;
}

// A stored stream always holds three components, so a grey picture comes back as 24 bits
// with equal channels: whether it is grey shows only in its pixels.
bool HasOnlyGreys(const BitmapImage& picture) {
    if (picture.BitCount() != 24) return false;
    for (uint32_t y = 0; y < picture.Height(); ++y) {
        const uint8_t* p = picture.Row(y);
        for (const uint8_t* end = p + 3 * size_t(picture.Width()); p != end; p += 3) {
            if (p[0] != p[1] || p[1] != p[2]) return false;
        }
    }
    return true;
}

// A grey picture becomes 8 bits with the grey ramp again, as the grey file it was loaded from
// gave it: a new block of a third of its rows' size, so the two together take 4 bytes a pixel.
std::vector<uint8_t> GreyBlock(const BitmapImage& picture) {
    const uint32_t width = picture.Width(), height = picture.Height();
    const size_t prefix = BitmapImage::DibPrefixSize(8);
    const size_t rowWidth = size_t(BitmapImage::RowWidthFor(8, width));
    std::vector<uint8_t> block(prefix + rowWidth * height, 0);
    PutDibHeader(block, width, height, 8);
    for (size_t i = 0; i < 256; ++i) std::memset(&block[kInfoHeaderSize + 4 * i], int(i), 3);
    // Both keep their rows bottom-up, so stored row i maps to stored row i.
    const uint8_t* from = picture.ImageData();
    uint8_t* to = block.data() + prefix;
    for (uint32_t y = 0; y < height; ++y, from += picture.RowWidth(), to += rowWidth) {
        for (uint32_t x = 0; x < width; ++x) to[x] = from[3 * size_t(x)];
    }
    return block;
}

} // namespace

JpegDecoderOptions PictureDecoderOptions() {
    JpegDecoderOptions options;
    options.PixelLimit = uint64_t(TMemBitmap::kMaxPixels);
    options.BytesPerAllowedPixel = TMemBitmap::kMaxReadingBytes / uint64_t(TMemBitmap::kMaxPixels);
    return options;
}

std::string PictureTooLargeMessage(uint32_t width, uint32_t height, uint64_t neededBytes) {
    const auto mb = [](uint64_t bytes) {
        return std::to_string(bytes / (1 << 20) + (bytes % (1 << 20) != 0));
    };
    return "the picture is too large: " + std::to_string(width) + " x " + std::to_string(height) +
           " pixels would need " + mb(neededBytes) + " MB to read, more than the " +
           mb(TMemBitmap::kMaxReadingBytes) + " MB a picture may take";
}

bool TMemBitmap::IsJpegFileName(std::string_view fileName) {
    if (fileName.size() < 4) return false;
    // Byte-wise ASCII upper-casing: the bytes of ".JPG" never occur inside a multi-byte
    // character, so this agrees with upper-casing the last four characters.
    std::string tail(fileName.substr(fileName.size() - 4));
    for (char& c : tail) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return tail == ".JPG";
}

void TMemBitmap::Clear() {
    PixelsSkipped = false;
    DibBlock.clear();
    DibBlock.shrink_to_fit();
    DeviceBitmap = TPixmap{};
    ViewCopy.Drop();
}

void TMemBitmap::Fail() {
    Clear();
    HasImage = false;
}

void TMemBitmap::Adopt(std::vector<uint8_t> block) {
    std::string why;
    const auto layout = CheckDib(block, why);
    if (!layout) {
        Fail();
        return;
    }
    ViewCopy.Drop();
    DeviceBitmap = TPixmap{};
    DibBlock = std::move(block);
    PixelsSkipped = false;
    Width = layout->Width;
    Height = layout->Height;
    BitCount = layout->BitCount;
    RowBytes = layout->RowBytes;
    HasImage = true;
}

void TMemBitmap::LoadFromFile(const std::string& fileName, int format) {
    Clear();
    const bool jpeg = format == kFormatJpeg || IsJpegFileName(fileName);
    const auto file = ReadWholeFile(fileName);
    if (!file) {
        HasImage = false;
        if (jpeg) IsJpeg = true;
        return;
    }
    if (jpeg) {
        LoadFromJpegFileData(*file);
    } else {
        LoadFromBitmapFileData(*file);
    }
}

void TMemBitmap::LoadFromJpegFileData(std::span<const uint8_t> file) {
    Clear();
    // Any failure only leaves the object without a picture; nothing is reported.
    try {
        Adopt(DecodeJpeg(file).TakeDib());
    } catch (const EGraphicsException&) {
        Fail();
    } catch (const std::bad_alloc&) {
        Fail();
    }
    IsJpeg = true;
}

std::vector<uint8_t> TMemBitmap::BlockFromCodecPicture(const BitmapImage& picture,
                                                       int orientation) {
    const uint32_t bits = picture.BitCount();
    if (bits != 4 && bits != 8 && bits != 24) throw EInvalidBitCount();
    // Only 8- and 24-bit pictures come from JPEG streams, the only ones with an orientation.
    const bool turned = orientation >= 2 && orientation <= 8 && bits != 4;
    const bool swap = turned && orientation >= 5;
    const uint32_t width = swap ? picture.Height() : picture.Width();
    const uint32_t height = swap ? picture.Width() : picture.Height();
    const size_t entries = bits == 24 ? 0 : size_t{1} << bits;
    const size_t rowWidth = size_t(BitmapImage::RowWidthFor(bits, width));
    const size_t rows = rowWidth * height;
    std::vector<uint8_t> block(kInfoHeaderSize + 4 * entries + rows, 0);
    PutDibHeader(block, width, height, bits);
    for (uint32_t i = 0; i < picture.ColorCount() && i < entries; ++i) {
        const uint8_t* e = picture.ColorMapEntry(i); // blue, green, red
        std::memcpy(&block[kInfoHeaderSize + 4 * size_t(i)], e, 3);
    }
    // The codec picture keeps its rows bottom-up and padded to 4 bytes, as the block does.
    uint8_t* to = block.data() + kInfoHeaderSize + 4 * entries;
    if (turned && rows != 0) {
        WriteOriented(picture, orientation, to, rowWidth);
    } else if (rows != 0) {
        std::memcpy(to, picture.ImageData(), rows);
    }
    return block;
}

std::vector<uint8_t> TMemBitmap::JpegStream() const {
    // The encoder reads the rows where they are.
    BitmapImage picture;
    picture.ViewDib(DibBlock.data(), DibBlock.size());
    JpegEncoder encoder;
    encoder.SetQuality(static_cast<uint32_t>(StoredJpegQuality()));
    // The block and the coefficients together stay within what reading the picture may
    // take; beyond that the encoder works a strip at a time.
    encoder.SetCoefficientBudget(
        DibBlock.size() < kMaxReadingBytes ? kMaxReadingBytes - DibBlock.size() : 0);
    return encoder.Encode(picture);
}

void TMemBitmap::LoadFromBitmapFileData(std::span<const uint8_t> file) {
    Clear();
    std::string why;
    auto block = DibFromBitmapFile(file, why);
    if (!block) {
        Fail();
        return;
    }
    Adopt(std::move(*block));
    if (HasImage) IsJpeg = false;
}

void TMemBitmap::WriteToStream(TWriteStream& out) const {
    if (HasImage && PixelsSkipped)
        throw std::logic_error("a picture read without its pixels cannot be stored");
    const bool stored = HasImage && !DibBlock.empty();
    // A picture from JPEG is encoded anew from its pixels, before anything is written, so a
    // failure leaves the stream as it was.
    std::vector<uint8_t> jpeg;
    if (stored && IsJpeg) {
        jpeg = JpegStream();
        if (jpeg.size() > static_cast<size_t>(INT32_MAX))
            throw EGraphicsException("The JPEG stream is too large to store");
    }
    const std::vector<uint8_t>& data = IsJpeg ? jpeg : DibBlock;
    out.WriteByte(IsJpeg ? 1 : 0);
    // A JPEG picture records the quality it was encoded with; other pictures keep theirs.
    out.WriteInt32(stored && IsJpeg ? StoredJpegQuality() : JpegQuality);
    out.WriteByte(stored ? 1 : 0);
    if (!stored) return;
    out.WriteInt32(static_cast<int32_t>(data.size()));
    out.Write(data.data(), data.size());
}

void TMemBitmap::ReadFromStream(TReadStream& in, TPictureReading reading) {
    // Everything is read and checked before the object changes.
    const bool isJpeg = in.ReadByte() != 0;
    const int32_t quality = in.ReadInt32();
    const bool hasImage = in.ReadByte() != 0;
    if (!hasImage) {
        Clear();
        IsJpeg = isJpeg;
        JpegQuality = quality;
        HasImage = false;
        return;
    }
    const size_t n = in.ReadCount(isJpeg ? "JPEG stream length" : "picture length", 1);
    const bool sizesOnly = reading == TPictureReading::SizesOnly;
    // A stored JPEG stream is decoded straight from memory; a decoding failure is the
    // decoder's exception, with its message. A block is copied once, into the picture, or
    // with SizesOnly only its header is read and the rows are passed over.
    std::vector<uint8_t> block;
    std::string why;
    std::optional<TDibLayout> layout;
    if (isJpeg) {
        // Decoded straight into the block's layout; a grey picture is then moved to 8 bits.
        // With SizesOnly the stream is still decoded (only that finds damage in its data and
        // tells a grey picture), within the same memory, and the pixels dropped.
        BitmapImage picture;
        try {
            picture = DecodeJpeg(in.ReadBytes(n));
        } catch (const EJpegTooLarge& e) {
            throw EReadError(PictureTooLargeMessage(e.Width, e.Height, e.NeededBytes));
        }
        const bool grey = HasOnlyGreys(picture);
        if (sizesOnly) {
            std::vector<uint8_t> h(kInfoHeaderSize, 0);
            const uint32_t bits = grey ? 8 : 24;
            PutDibHeader(h, picture.Width(), picture.Height(), bits);
            const uint64_t size =
                BitmapImage::DibPrefixSize(bits) +
                BitmapImage::RowWidthFor(bits, picture.Width()) * picture.Height();
            layout = CheckDibHeader(h, size, why);
        } else {
            block = grey ? GreyBlock(picture) : picture.TakeDib();
            layout = CheckDib(block, why);
        }
    } else if (sizesOnly) {
        const auto head = in.ReadBytes(std::min(n, kInfoHeaderSize));
        layout = CheckDibHeader(head, n, why);
        if (layout) in.Skip(n - head.size());
    } else {
        block.reserve(n);
        AskForLargePages(block.data(), block.capacity());
        in.ReadAppend(block, n);
        layout = CheckDib(block, why);
    }
    if (!layout) throw EReadError("the picture is damaged or unsupported: " + why);
    if (sizesOnly) {
        block.clear();
        block.shrink_to_fit();
    }
    DibBlock = std::move(block);
    PixelsSkipped = sizesOnly;
    DeviceBitmap = TPixmap{};
    ViewCopy.Drop();
    Width = layout->Width;
    Height = layout->Height;
    BitCount = layout->BitCount;
    RowBytes = layout->RowBytes;
    IsJpeg = isJpeg;
    JpegQuality = quality;
    HasImage = true;
}

bool TMemBitmap::SetPicture(std::vector<uint8_t> block, bool isJpeg) {
    Clear();
    Adopt(std::move(block));
    if (HasImage) IsJpeg = isJpeg;
    return HasImage;
}

int32_t TMemBitmap::StoredJpegQuality() const { return std::clamp<int32_t>(JpegQuality, 1, 100); }

TPixmap TMemBitmap::Pixels() const {
    if (!HasImage) return {};
    if (DibBlock.empty()) return DeviceBitmap;
    std::string why;
    const auto layout = CheckDib(DibBlock, why);
    return layout ? DibToPixmap(DibBlock, *layout) : TPixmap{};
}

namespace {

// Hands the picture's rows, from its block or its given device pixels, to draw.
template <typename Draw>
void WithRows(const TMemBitmap& b, Draw draw) {
    if (!b.DibBlock.empty()) {
        std::string why;
        const auto layout = CheckDib(b.DibBlock, why);
        if (layout)
            draw(TDibRows(b.DibBlock, *layout), static_cast<const void*>(b.DibBlock.data()));
        return;
    }
    const TPixmap& p = b.DeviceBitmap;
    if (p.Empty() || p.Pixels.size() < static_cast<size_t>(p.Width) * p.Height) return;
    draw(TPixmapRows(p), static_cast<const void*>(p.Pixels.data()));
}

} // namespace

void TMemBitmap::StretchDraw(TCanvas& canvas, int32_t x, int32_t y, int32_t w, int32_t h) const {
    if (!CanDraw() || w <= 0 || h <= 0) return;
    WithRows(*this, [&](const TPixelRows& rows, const void*) {
        if (w >= rows.Width() && h >= rows.Height() && !DibBlock.empty()) {
            TPixmap pixels = Pixels();
            pixels.MayStoreLossy = IsJpeg;
            canvas.StretchDraw(x, y, w, h, pixels);
        } else if (w >= rows.Width() && h >= rows.Height()) {
            canvas.StretchDraw(x, y, w, h, DeviceBitmap);
        } else {
            TPixmap shrunk = AreaAverage(rows, w, h);
            shrunk.MayStoreLossy = IsJpeg;
            canvas.StretchDraw(x, y, w, h, shrunk);
        }
    });
}

void TMemBitmap::StretchDrawVisible(TCanvas& canvas, int32_t x, int32_t y, int32_t w, int32_t h,
                                    const TRect& visible) const {
    if (!CanDraw() || w <= 0 || h <= 0) return;
    // The target in 64 bits: a far-off position plus a large size must not overflow.
    const TRect target{x, y, static_cast<int32_t>(std::min<int64_t>(int64_t{x} + w, INT32_MAX)),
                       static_cast<int32_t>(std::min<int64_t>(int64_t{y} + h, INT32_MAX))};
    TRect shown;
    if (!IntersectRect(shown, target, visible)) return;
    OffsetRect(shown, -x, -y);
    WithRows(*this, [&](const TPixelRows& rows, const void* identity) {
        const TPixmap& part = ViewCopy.Part(rows, identity, w, h, shown);
        if (part.Empty()) return;
        canvas.StretchDraw(x + shown.Left, y + shown.Top, part.Width, part.Height, part);
    });
}
