// The picture import through Qt's image reader, on files ImageMagick writes in the test.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "imaging/MemBitmap.h"
#include "imaging/PictureImport.h"
#include "platform/qt/QtPictureReader.h"

namespace {

using Bytes = std::vector<uint8_t>;

class QtPictureReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::system("command -v convert >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "ImageMagick's convert is not on PATH";
    }

    // The file ImageMagick writes for arguments ... name; nothing when it cannot.
    std::string Make(const std::string& arguments, const std::string& name) {
        const std::string path = Dir.filePath(QString::fromStdString(name)).toStdString();
        const std::string command = "convert " + arguments + " '" + path + "' 2>/dev/null";
        return std::system(command.c_str()) == 0 ? path : std::string();
    }

    static Bytes Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

    bool Import(const Bytes& data, TMemBitmap& b, std::string& why) {
        return ImportPicture(data, b, why, &Reader);
    }

    QTemporaryDir Dir;
    TQtPictureReader Reader;
};

bool Near(uint32_t a, uint32_t b, int tolerance = 3) {
    for (int s : {0, 8, 16}) {
        if (std::abs(int((a >> s) & 0xFF) - int((b >> s) & 0xFF)) > tolerance) return false;
    }
    return true;
}

uint32_t Crc32(const uint8_t* d, size_t n) {
    uint32_t c = 0xFFFFFFFF;
    for (size_t i = 0; i < n; ++i) {
        c ^= d[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
    }
    return ~c;
}

} // namespace

TEST_F(QtPictureReaderTest, EachFormatComesInAsATwentyFourBitPictureTheRightWayRound) {
    // Left half red, right half blue: a swapped channel or a flipped row order shows.
    const std::string halves = "-size 8x6 xc:red -size 8x6 xc:blue +append";
    int read = 0;
    for (const char* name : {"p.png", "g.gif", "t.tif", "w.webp"}) {
        SCOPED_TRACE(name);
        const std::string path = Make(halves + " -define webp:lossless=true", name);
        if (path.empty()) continue; // this ImageMagick cannot write the format
        TMemBitmap b;
        std::string why;
        ASSERT_TRUE(Import(Read(path), b, why)) << why;
        ++read;
        EXPECT_FALSE(b.IsJpeg);
        EXPECT_EQ(b.BitCount, 24);
        ASSERT_EQ(b.Width, 16);
        ASSERT_EQ(b.Height, 6);
        const TPixmap p = b.Pixels();
        EXPECT_TRUE(Near(p.At(1, 0), 0xFFFF0000)) << std::hex << p.At(1, 0);
        EXPECT_TRUE(Near(p.At(14, 5), 0xFF0000FF)) << std::hex << p.At(14, 5);
    }
    EXPECT_GE(read, 3); // PNG, GIF and TIFF at least
}

TEST_F(QtPictureReaderTest, TransparencyIsCompositedOnWhiteAndPalettesAreResolved) {
    const std::string alpha =
        Make("-size 4x2 xc:'rgba(255,0,0,0.5)' -size 4x2 xc:none +append", "alpha.png");
    const std::string palette = Make("-size 3x3 xc:'#336699' -colors 2", "pal.gif");
    const std::string deep = Make("-size 3x3 xc:'#336699' -depth 16", "deep.png");
    ASSERT_FALSE(alpha.empty());
    TMemBitmap b;
    std::string why;
    ASSERT_TRUE(Import(Read(alpha), b, why)) << why;
    const TPixmap p = b.Pixels();
    EXPECT_TRUE(Near(p.At(0, 0), 0xFFFF8080, 4)) << std::hex << p.At(0, 0); // half red on white
    EXPECT_EQ(p.At(7, 1), 0xFFFFFFFFu);                                     // fully clear
    for (const std::string& path : {palette, deep}) {
        if (path.empty()) continue;
        ASSERT_TRUE(Import(Read(path), b, why)) << path << ": " << why;
        EXPECT_TRUE(Near(b.Pixels().At(1, 1), 0xFF336699)) << path;
    }
}

TEST_F(QtPictureReaderTest, AHugeClaimedSizeIsRefusedBeforeAnythingIsAllocated) {
    const std::string small = Make("-size 2x2 xc:red", "small.png");
    ASSERT_FALSE(small.empty());
    Bytes png = Read(small);
    ASSERT_GT(png.size(), 33u);
    // IHDR's width and height (bytes 16..23) claim 60000 x 60000, its CRC made right again.
    for (int at : {16, 20}) {
        png[size_t(at)] = 0, png[size_t(at) + 1] = 0, png[size_t(at) + 2] = 0xEA,
        png[size_t(at) + 3] = 0x60;
    }
    const uint32_t crc = Crc32(&png[12], 17);
    for (int i = 0; i < 4; ++i) png[size_t(29 + i)] = uint8_t(crc >> (24 - 8 * i));
    TMemBitmap b;
    std::string why;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(Import(png, b, why));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_THAT(why, ::testing::HasSubstr("60000 x 60000"));
    EXPECT_THAT(why, ::testing::HasSubstr("megapixels"));
    EXPECT_FALSE(b.HasImage);

    EXPECT_FALSE(Import(Bytes{'G', 'I', 'F', '8', '9', 'a', 1}, b, why));
    EXPECT_THAT(why, ::testing::StartsWith("GIF"));
    EXPECT_FALSE(Import(Bytes{'h', 'e', 'l', 'l', 'o'}, b, why));
    EXPECT_THAT(why, ::testing::StartsWith("not a picture file of a known format"));
}
