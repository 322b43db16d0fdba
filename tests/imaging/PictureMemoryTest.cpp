// The memory reading a picture takes: a stored JPEG stream or an imported JPEG file claiming
// a huge frame is decoded within about 4 bytes a pixel or refused before its memory is
// allocated, and re-encoding a picture in strips gives the stream the whole-picture path gives.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "codec/BitmapImage.h"
#include "codec/GraphicsExceptions.h"
#include "imaging/ExifOrientation.h"
#include "imaging/MemBitmap.h"
#include "imaging/PictureImport.h"
#include "jpeg/JpegEncoder.h"
#include "platform/BinaryStream.h"

namespace {

using Bytes = std::vector<uint8_t>;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

void Segment(Bytes& s, uint8_t marker, const Bytes& data) {
    s.insert(s.end(), {0xFF, marker, uint8_t((data.size() + 2) >> 8), uint8_t(data.size() + 2)});
    s.insert(s.end(), data.begin(), data.end());
}

// A baseline 4:2:0 stream of side x side pixels in a few bytes an MCU: every block is its DC
// alone, and the first Cb block's DC (times a quantizer of 255) tints the whole picture, so it
// is not taken for a grey one.
Bytes TintedBomb(uint32_t side, uint8_t frameMarker = 0xC0, bool withData = true) {
    Bytes s = {0xFF, 0xD8};
    Segment(s, 0xE0, {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0});
    Bytes tables = {0x00};
    tables.resize(65, 1);
    tables.push_back(0x01);
    tables.resize(130, 255);
    Segment(s, 0xDB, tables);
    Segment(s, frameMarker,
            {8, uint8_t(side >> 8), uint8_t(side), uint8_t(side >> 8), uint8_t(side), 3, 1, 0x22, 0,
             2, 0x11, 1, 3, 0x11, 1});
    // DC: '0' is category 0, '10' category 1; AC: '0' is the end of block.
    Bytes dc = {0x00, 1, 1};
    dc.resize(17, 0);
    dc.insert(dc.end(), {0, 1});
    Segment(s, 0xC4, dc);
    Bytes ac = {0x10, 1};
    ac.resize(17, 0);
    ac.push_back(0);
    Segment(s, 0xC4, ac);
    Segment(s, 0xDA, {3, 1, 0x00, 2, 0x00, 3, 0x00, 0, 63, 0});
    // The first MCU: four Y blocks "00", then Cb "10" "1" (DC +1) "0", then Cr "00"; every
    // later MCU twelve zero bits.
    if (!withData) return s; // only the headers, for frames refused before their data
    const uint64_t mcus = uint64_t((side + 15) / 16) * ((side + 15) / 16);
    const uint64_t bits = mcus * 12 + 2;
    Bytes data(size_t((bits + 7) / 8), 0);
    data[1] = 0b1010'0000; // bits 8..15: Cb "10" "1" "0", Cr "00", then zeros
    for (uint64_t b = bits; b < data.size() * 8; ++b) data[b / 8] |= uint8_t(0x80 >> (b % 8));
    s.insert(s.end(), data.begin(), data.end());
    s.insert(s.end(), {0xFF, 0xD9});
    return s;
}

// A stored picture as a document holds it: IsJpeg, quality, HasImage, length, stream.
Bytes StoredPicture(const Bytes& stream) {
    TWriteStream out;
    out.WriteByte(1);
    out.WriteInt32(75);
    out.WriteByte(1);
    out.WriteInt32(int32_t(stream.size()));
    out.Write(stream);
    return out.Take();
}

long StatusKb(const char* field) {
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return -1;
    char line[256];
    long kb = -1;
    while (std::fgets(line, sizeof line, f)) {
        if (std::strncmp(line, field, std::strlen(field)) == 0)
            kb = std::strtol(line + std::strlen(field), nullptr, 10);
    }
    std::fclose(f);
    return kb;
}

// How many MB the resident size of a child running work grew to at its peak above what it
// was when the work began (the peak is reset first); negative when it cannot be measured.
double ChildPeakMb(const std::function<void()>& work) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        long grown = -1024;
        if (FILE* c = std::fopen("/proc/self/clear_refs", "w")) {
            const bool reset = std::fputs("5", c) >= 0;
            if (std::fclose(c) == 0 && reset) {
                const long before = StatusKb("VmRSS:");
                try {
                    work();
                    grown = StatusKb("VmHWM:") - before;
                } catch (...) {
                    grown = -2048; // reported as a failure below
                }
            }
        }
        (void)!write(fds[1], &grown, sizeof grown);
        _exit(0);
    }
    close(fds[1]);
    long grown = -1024;
    (void)!read(fds[0], &grown, sizeof grown);
    close(fds[0]);
    waitpid(pid, nullptr, 0);
    return double(grown) / 1024.0;
}

constexpr uint32_t kSide = 4096; // 16.8 MP: 48 MB of pixels
constexpr double kPixelsMb = double(kSide) * kSide / (1 << 20);

// Measures, or skips where resident memory says nothing (sanitizers keep what is freed).
#define EXPECT_PEAK_AT_MOST(work, mb)                                                              \
    do {                                                                                           \
        if (kSanitized) GTEST_SKIP() << "resident memory is not measurable under sanitizers";      \
        const double peak = ChildPeakMb(work);                                                     \
        if (peak == -2) FAIL() << "the work threw";                                                \
        if (peak < 0) GTEST_SKIP() << "the peak resident size cannot be reset here";               \
        EXPECT_LE(peak, (mb)) << "peak " << peak << " MB";                                         \
    } while (0)

TEST(PictureMemory, AStoredBombDecodesWithinFourBytesAPixelWholeOrForItsSizes) {
    const Bytes stored = StoredPicture(TintedBomb(kSide));
    ASSERT_LT(stored.size(), 200'000u);
    // The picture is the one claimed, in colour.
    TMemBitmap b;
    TReadStream in(stored);
    b.ReadFromStream(in);
    ASSERT_EQ(b.Width, int32_t(kSide));
    ASSERT_EQ(b.BitCount, 24);
    const uint8_t* middle = b.DibBlock.data() + 40 + size_t(kSide / 2) * b.RowBytes + 3 * 100;
    EXPECT_NE(middle[0], middle[2]);
    b.Clear();
    for (const TPictureReading reading : {TPictureReading::Whole, TPictureReading::SizesOnly}) {
        EXPECT_PEAK_AT_MOST(
            [&] {
                TMemBitmap read;
                TReadStream s(stored);
                read.ReadFromStream(s, reading);
            },
            4 * kPixelsMb);
    }
}

TEST(PictureMemory, AnImportedBombAndAnHonestPictureTakeAtMostFourBytesAPixel) {
    // An honest picture: smooth colours, encoded by the program itself.
    BitmapImage photo;
    photo.SetSize(0, 24, 2048, 2048);
    for (uint32_t y = 0; y < 2048; ++y) {
        uint8_t* row = photo.Row(y);
        for (uint32_t x = 0; x < 2048; ++x) {
            row[3 * x] = uint8_t(x / 8);
            row[3 * x + 1] = uint8_t(y / 8);
            row[3 * x + 2] = uint8_t((x ^ y) & 0xFF);
        }
    }
    const Bytes honest = JpegEncoder().Encode(photo);
    photo.Clear();
    const Bytes bomb = TintedBomb(kSide);
    for (const auto& [honestOrBomb, mb] : {std::pair{&honest, 4.0}, std::pair{&bomb, kPixelsMb}}) {
        const Bytes* stream = honestOrBomb;
        const double pixelsMb = mb;
        EXPECT_PEAK_AT_MOST(
            [&] {
                TMemBitmap picture;
                std::string why;
                if (!ImportPicture(*stream, picture, why)) std::abort();
            },
            4 * pixelsMb);
        EXPECT_PEAK_AT_MOST(
            [&] {
                TMemBitmap picture;
                const Bytes stored = StoredPicture(*stream);
                TReadStream s(stored);
                picture.ReadFromStream(s);
            },
            4 * pixelsMb);
    }
}

TEST(PictureMemory, StripEncodingGivesTheSameStreamInFewRows) {
    const Bytes stored = StoredPicture(TintedBomb(kSide));
    TMemBitmap b;
    TReadStream in(stored);
    b.ReadFromStream(in);
    BitmapImage view;
    view.ViewDib(b.DibBlock.data(), b.DibBlock.size());
    JpegEncoder whole;
    JpegEncoder strips;
    strips.SetCoefficientBudget(0);
    const Bytes expected = whole.Encode(view);
    EXPECT_EQ(strips.Encode(view), expected);
    // The picture's own JpegStream keeps the block and the coefficients within the reading
    // limit; so does a forced strip encoding, in far less.
    EXPECT_EQ(b.JpegStream(), expected);
    EXPECT_PEAK_AT_MOST([&] { (void)strips.Encode(view); }, 0.5 * kPixelsMb);
}

TEST(PictureMemory, FramesNeedingMoreThanTheLimitAreRefusedBeforeTheirMemory) {
    // 11584 x 11584 is within the pixel limit, but a progressive frame's coefficients and
    // pixels together need more than reading a picture may take.
    const Bytes progressive = TintedBomb(11584, 0xC2, false);
    TMemBitmap b;
    const Bytes stored = StoredPicture(progressive);
    TReadStream in(stored);
    try {
        b.ReadFromStream(in);
        FAIL() << "read";
    } catch (const EReadError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "the picture is too large: 11584 x 11584 pixels would need 640 MB to read, "
                  "more than the 512 MB a picture may take");
    }
    TMemBitmap imported;
    std::string why;
    EXPECT_FALSE(ImportPicture(progressive, imported, why));
    EXPECT_EQ(why, "the picture is too large: 11584 x 11584 pixels would need 640 MB to read, "
                   "more than the 512 MB a picture may take");
    EXPECT_FALSE(imported.HasImage);
    // Past the pixel limit the reader names the size the frame claims.
    const Bytes huge65535 = StoredPicture(TintedBomb(65535, 0xC0, false));
    TReadStream huge(huge65535);
    try {
        b.ReadFromStream(huge);
        FAIL() << "read";
    } catch (const EReadError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "the picture is too large: 65535 x 65535 pixels would need 12288 MB to read, "
                  "more than the 512 MB a picture may take");
    }
}

TEST(PictureMemory, TurningInPlaceMatchesTheTurnedCopy) {
    for (const uint32_t bits : {8u, 24u}) {
        BitmapImage p;
        p.SetSize(bits == 8 ? 256 : 0, bits, 7, 5);
        for (uint32_t y = 0; y < 5; ++y)
            for (uint32_t x = 0; x < p.RowWidth() && x < 7 * bits / 8; ++x)
                p.Row(y)[x] = uint8_t(31 * y + x);
        for (int orientation = 1; orientation <= 8; ++orientation) {
            BitmapImage turned = p;
            const bool inPlace = OrientInPlace(turned, orientation);
            EXPECT_EQ(inPlace, orientation <= 4);
            if (!inPlace) continue;
            const BitmapImage expected = Oriented(p, orientation);
            ASSERT_EQ(turned.ImageDataSize(), expected.ImageDataSize());
            EXPECT_EQ(
                std::memcmp(turned.ImageData(), expected.ImageData(), expected.ImageDataSize()), 0)
                << bits << " bits, orientation " << orientation;
        }
    }
}

TEST(PictureMemory, ADecodedBlockIsHandedOverWithoutACopyAndEqualsTheCopiedOne) {
    BitmapImage p;
    p.SetDibLayout(true);
    p.SetSize(256, 8, 5, 3);
    for (uint32_t i = 0; i < 256; ++i) p.ColorMapEntry(i)[1] = uint8_t(i);
    p.Row(0)[4] = 9;
    const BitmapImage copy = p; // a copy keeps the layout and the pixels
    const uint8_t* rows = p.ImageData();
    const Bytes block = p.TakeDib();
    EXPECT_EQ(block.data() + BitmapImage::DibPrefixSize(8), rows);
    EXPECT_EQ(block, TMemBitmap::BlockFromCodecPicture(copy));
    EXPECT_EQ(p.ImageData(), nullptr);
    // A moved picture keeps its rows where they were.
    BitmapImage moved = BitmapImage(copy);
    const uint8_t* before = moved.ImageData();
    BitmapImage target = std::move(moved);
    EXPECT_EQ(target.ImageData(), before);
    EXPECT_EQ(moved.ImageData(), nullptr);
    EXPECT_EQ(target.TakeDib(), block);
}

} // namespace
