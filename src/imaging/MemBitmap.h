// The picture of an image item: a packed device-independent bitmap block (header, palette,
// rows). Device pixels are made only when it is drawn, and only at the size drawn. Loads Windows
// bitmap and JPEG files, stores itself in documents (a picture from JPEG as a JPEG stream,
// re-encoded at every store) and draws itself stretched onto a canvas.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/ScaledPicture.h"
#include "platform/BinaryStream.h"
#include "platform/Pixmap.h"

class BitmapImage;
class TCanvas;

// What ReadFromStream keeps of a stored picture.
enum class TPictureReading {
    Whole,
    // The sizes and kind only, for readers that never draw or store the picture: a bitmap
    // block's rows are passed over unread (only its header is read and checked), a JPEG
    // stream is still decoded, since whether it holds a grey picture and whether its data is
    // damaged show only in its pixels, within the same memory as a whole read (about 3 bytes
    // a pixel), and its pixels are then dropped. So both reads refuse the same files.
    SizesOnly,
};

// Why a picture was refused for the memory reading it would need, in one line.
std::string PictureTooLargeMessage(uint32_t width, uint32_t height, uint64_t neededBytes);

struct JpegDecoderOptions;
// The decoder's limits for a picture: TMemBitmap::kMaxPixels, and kMaxReadingBytes for the
// memory reading it may take.
JpegDecoderOptions PictureDecoderOptions();

class TMemBitmap {
public:
    // Format argument of LoadFromFile.
    static constexpr int kFormatByName = -1; // ".JPG" names take the JPEG path
    static constexpr int kFormatJpeg = 1;

    // The largest picture accepted, in pixels; bigger ones are refused as absurd (the device
    // pixels alone would take more than half a gigabyte).
    static constexpr int64_t kMaxPixels = int64_t{1} << 27;
    static constexpr int32_t kMaxSide = 65535;
    // The most memory reading one picture may take, 4 bytes for each pixel kMaxPixels allows:
    // the decoded picture and the decoder's buffers together. A stream claiming a frame that
    // would need more is refused before the memory is allocated ("the picture is too large").
    // Loading a stored JPEG picture decodes it straight into its block (3 bytes a pixel, and a
    // grey one 1 more while it is moved to 8 bits); storing one re-encodes it from the block
    // in place, keeping the whole picture's coefficients only while they and the block stay
    // within this limit, and a strip of them otherwise.
    static constexpr uint64_t kMaxReadingBytes = uint64_t{4} << 27;

    TMemBitmap() = default;

    // Replaces the picture by the one in the file; HasImage tells whether that worked. A name
    // whose last four characters are ".JPG" in any case, or format kFormatJpeg, takes the JPEG
    // path: the file is decoded (baseline, extended or progressive; grey pictures become 8-bit
    // with a grey ramp palette) and IsJpeg is set, whether or not that worked.
    void LoadFromFile(const std::string& fileName, int format = kFormatByName);
    // The JPEG path of LoadFromFile on a file already in memory.
    void LoadFromJpegFileData(std::span<const uint8_t> file);
    // The bitmap path of LoadFromFile on a file already in memory.
    void LoadFromBitmapFileData(std::span<const uint8_t> file);

    // Stores the picture: IsJpeg, JpegQuality, HasImage, then (with a picture) the length and
    // bytes of the block, or, with IsJpeg, of JpegStream(). An object without a block (fresh,
    // or after a failed load) is stored with HasImage 0 and nothing after it. A picture that
    // cannot be encoded throws (EGraphicsException, std::bad_alloc) before anything is
    // written.
    void WriteToStream(TWriteStream& out) const;
    // Replaces the picture by a stored one. A damaged block, an unsupported bitmap or a short
    // stream throws EReadError, a JPEG stream that does not decode the decoder's
    // EGraphicsException; the object is then as it was. With SizesOnly the object keeps the
    // sizes, IsJpeg and JpegQuality but no pixels (PixelsSkipped), and refuses to be stored.
    void ReadFromStream(TReadStream& in, TPictureReading reading = TPictureReading::Whole);

    // The picture encoded as a JPEG stream at JpegQuality: what WriteToStream stores for a
    // picture from JPEG. Throws EGraphicsException (a quality outside 1..100: "Value out of
    // range") or std::bad_alloc.
    std::vector<uint8_t> JpegStream() const;

    // Replaces the picture by a packed block (checked first); IsJpeg tells where it came from.
    // False, and the object without a picture, when the block is not usable.
    bool SetPicture(std::vector<uint8_t> block, bool isJpeg);

    // True when the picture holds a stored block, or held one that a SizesOnly read passed
    // over: what a store of it writes as HasImage.
    bool HasStoredPicture() const { return HasImage && (!DibBlock.empty() || PixelsSkipped); }
    // True when there is something to draw.
    bool CanDraw() const { return HasImage && (!DibBlock.empty() || !DeviceBitmap.Empty()); }
    // The whole picture as device pixels (empty without a picture).
    TPixmap Pixels() const;
    // JpegQuality held to what the encoder takes, 1..100: what a store encodes with.
    int32_t StoredJpegQuality() const;

    // Draws the whole picture stretched into x, y, w, h; nothing when there is no picture.
    // A picture with more pixels than the target is first shrunk to the target's size by
    // area averaging (never enlarged), so a printer or PDF gets no more than it can show.
    void StretchDraw(TCanvas& canvas, int32_t x, int32_t y, int32_t w, int32_t h) const;
    // The same for a screen picture: only the part inside visible is drawn, from a copy
    // scaled once for this size and part and kept until either changes or the picture does,
    // so repainting an unchanged view never scales the whole picture again.
    void StretchDrawVisible(TCanvas& canvas, int32_t x, int32_t y, int32_t w, int32_t h,
                            const TRect& visible) const;

    // Releases the block and the device pixels.
    void Clear();

    // True when the name's last four characters, upper-cased, are ".JPG".
    static bool IsJpegFileName(std::string_view fileName);

    std::vector<uint8_t> DibBlock; // empty when there is no block
    // Device pixels given in place of a block (tests and generated pictures); a block, when
    // there is one, is drawn instead.
    TPixmap DeviceBitmap;
    int32_t RowBytes = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t BitCount = 24;
    bool IsJpeg = false;
    int32_t JpegQuality = 64;
    bool HasImage = true;
    // Set by a SizesOnly read of a stored picture: the sizes are known, the pixels were not
    // kept. Such an object draws nothing and WriteToStream refuses it (std::logic_error), so
    // a picture read that way can never be saved as an empty one.
    bool PixelsSkipped = false;

    // The scaled part StretchDrawVisible keeps.
    mutable TScaledPicture ViewCopy;
    // Lets go of what drawing keeps for the next paint (the scaled part), for a picture that
    // is no longer shown; the next draw makes it again.
    void ForgetDrawingCopies() const { ViewCopy.Drop(); }
    // The packed block for a codec picture of 4, 8 or 24 bits: a 40-byte header, the full
    // palette (its colour map, then zero entries) and the rows as they are. Other bit counts
    // throw EInvalidBitCount. With an Exif orientation other than 1 the block holds the
    // picture turned upright by it (see Oriented), made straight from the codec picture.
    static std::vector<uint8_t> BlockFromCodecPicture(const BitmapImage& picture,
                                                      int orientation = 1);

private:
    // Takes a checked block and makes the device pixels from it.
    void Adopt(std::vector<uint8_t> block);
    void Fail();
};
