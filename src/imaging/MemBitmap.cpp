#include "imaging/MemBitmap.h"

#include <algorithm>
#include <climits>
#include <stdexcept>

#include "imaging/Dib.h"
#include "platform/Canvas.h"
#include "platform/Files.h"

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
    DeviceBitmap = DibToPixmap(block, *layout);
    ViewCopy.Drop();
    DibBlock = std::move(block);
    Width = layout->Width;
    Height = layout->Height;
    BitCount = layout->BitCount;
    RowBytes = layout->RowBytes;
    HasImage = true;
}

void TMemBitmap::LoadFromFile(const std::string& fileName, int format) {
    Clear();
    if (format == kFormatJpeg || IsJpegFileName(fileName)) {
        // The JPEG decoder is not connected to the image object yet.
        HasImage = false;
        return;
    }
    const auto file = ReadWholeFile(fileName);
    if (!file) {
        HasImage = false;
        return;
    }
    LoadFromBitmapFileData(*file);
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
    const bool stored = HasImage && !DibBlock.empty();
    if (stored && IsJpeg) {
        throw std::runtime_error("JPEG pictures cannot be stored yet");
    }
    out.WriteByte(IsJpeg ? 1 : 0);
    out.WriteInt32(JpegQuality);
    out.WriteByte(stored ? 1 : 0);
    if (!stored) return;
    out.WriteInt32(static_cast<int32_t>(DibBlock.size()));
    out.Write(DibBlock.data(), DibBlock.size());
}

void TMemBitmap::ReadFromStream(TReadStream& in) {
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
    if (isJpeg) throw EReadError("the picture is stored as JPEG, which cannot be read yet");
    const size_t n = in.ReadCount("picture length", 1);
    const auto bytes = in.ReadBytes(n);
    std::string why;
    const auto layout = CheckDib(bytes, why);
    if (!layout) throw EReadError("the picture is damaged or unsupported: " + why);
    TPixmap pixels = DibToPixmap(bytes, *layout);
    DibBlock.assign(bytes.begin(), bytes.end());
    DeviceBitmap = std::move(pixels);
    ViewCopy.Drop();
    Width = layout->Width;
    Height = layout->Height;
    BitCount = layout->BitCount;
    RowBytes = layout->RowBytes;
    IsJpeg = false;
    JpegQuality = quality;
    HasImage = true;
}

void TMemBitmap::StretchDraw(TCanvas& canvas, int32_t x, int32_t y, int32_t w, int32_t h) const {
    if (!HasImage || DeviceBitmap.Empty()) return;
    canvas.StretchDraw(x, y, w, h, DeviceBitmap);
}

void TMemBitmap::StretchDrawVisible(TCanvas& canvas, int32_t x, int32_t y, int32_t w, int32_t h,
                                    const TRect& visible) const {
    if (!HasImage || DeviceBitmap.Empty() || w <= 0 || h <= 0) return;
    // The target in 64 bits: a far-off position plus a large size must not overflow.
    const TRect target{x, y, static_cast<int32_t>(std::min<int64_t>(int64_t{x} + w, INT32_MAX)),
                       static_cast<int32_t>(std::min<int64_t>(int64_t{y} + h, INT32_MAX))};
    TRect shown;
    if (!IntersectRect(shown, target, visible)) return;
    OffsetRect(shown, -x, -y);
    const TPixmap& part = ViewCopy.Part(DeviceBitmap, w, h, shown);
    if (part.Empty()) return;
    canvas.StretchDraw(x + shown.Left, y + shown.Top, part.Width, part.Height, part);
}
