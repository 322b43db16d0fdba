// `folioscriptor-cli encode`, run as a separate process on bitmaps made in code.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <QImage>
#include <tuple>

#include "cli/CliRunner.h"
#include "codec/BitmapImage.h"
#include "jpeg/JpegDecoder.h"
#include "platform/Files.h"
#include "support/BmpFixtures.h"

namespace {

using Bytes = std::vector<uint8_t>;

class Encode : public CliTest {
protected:
    std::string Write(const std::string& name, const Bytes& bytes) const {
        EXPECT_TRUE(WriteFileAtomically(File(name), bytes));
        return File(name);
    }

    // Exit status of `folioscriptor-cli encode ARGS`; its error output lands in Err (the
    // runner keeps it outside the folder, which holds only what the command made).
    int Run(const std::string& args) {
        const TCliRun r = RunCli("encode " + args);
        Err = r.Err;
        return r.Status;
    }

    std::vector<std::string> Listing() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(Dir.Path))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string Err;
};

// Mean difference per channel between a decoded picture and the fixture it came from.
double MeanDifference(const QImage& decoded, const TBmpShape& s) {
    double sum = 0;
    for (int32_t y = 0; y < s.Height; ++y) {
        for (int32_t x = 0; x < s.Width; ++x) {
            const QRgb got = decoded.pixel(x, y);
            const uint32_t want = FixturePixel(s, x, y);
            sum += std::abs(qRed(got) - int(want >> 16 & 0xFF)) +
                   std::abs(qGreen(got) - int(want >> 8 & 0xFF)) +
                   std::abs(qBlue(got) - int(want & 0xFF));
        }
    }
    return sum / (3.0 * s.Width * s.Height);
}

// The first luminance quantization value of a JPEG file.
int LuminanceDc(const Bytes& jpeg) {
    for (size_t i = 0; i + 5 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDB) return jpeg[i + 5];
    return -1;
}

} // namespace

// Qt's reader (libjpeg underneath) and our decoder both read the files; at quality 100 the
// pixels are those of the bitmap up to the rounding of the colour conversions (the fixtures
// change sharply from pixel to pixel, the hardest case for the transform).
TEST_F(Encode, BitmapsOfEveryDepthAndLayoutBecomeJpegFilesThatDecodersRead) {
    const TBmpShape shapes[] = {
        {37, 23, 24},      {37, 23, 8}, {37, 23, 4}, {20, 9, 24, 124}, // a version 5 header
        {20, 9, 8, 40, 7},                                             // a palette of 7 colours
        {1, 1, 24},
    };
    for (const TBmpShape& s : shapes) {
        SCOPED_TRACE(testing::Message() << s.Width << " x " << s.Height << ", " << s.BitCount
                                        << " bits, header " << s.HeaderSize);
        const std::string in = Write("in.bmp", MakeBmp(s));
        ASSERT_EQ(Run(in + " " + File("out.jpg") + " --quality 100"), 0) << Err;
        const auto jpeg = ReadWholeFile(File("out.jpg"));
        ASSERT_TRUE(jpeg);
        ASSERT_GT(jpeg->size(), 4u);
        EXPECT_EQ((Bytes{(*jpeg)[0], (*jpeg)[1], (*jpeg)[2], (*jpeg)[3]}),
                  (Bytes{0xFF, 0xD8, 0xFF, 0xE0}));
        EXPECT_EQ((Bytes{jpeg->end()[-2], jpeg->end()[-1]}), (Bytes{0xFF, 0xD9}));

        const QImage qt(QString::fromStdString(File("out.jpg")));
        ASSERT_FALSE(qt.isNull());
        EXPECT_EQ(qt.size(), QSize(s.Width, s.Height));
        EXPECT_LE(MeanDifference(qt, s), 3.0);

        BitmapImage ours;
        JpegDecoder().Decode(jpeg->data(), jpeg->size(), ours);
        EXPECT_EQ(ours.Width(), uint32_t(s.Width));
        EXPECT_EQ(ours.Height(), uint32_t(s.Height));
        EXPECT_EQ(Listing(), (std::vector<std::string>{"in.bmp", "out.jpg"}));
    }
}

TEST_F(Encode, TheQualityScalesTheTablesAndDefaultsTo75) {
    const std::string in = Write("in.bmp", MakeBmp({16, 16, 24}));
    const std::pair<std::string, int> cases[] = {
        {"", 2}, {"--quality 100", 1}, {"--quality=1", 255}, {"--quality 50", 16}};
    for (const auto& [option, dc] : cases) {
        ASSERT_EQ(Run(in + " " + File("out.jpg") + " " + option), 0) << Err;
        EXPECT_EQ(LuminanceDc(*ReadWholeFile(File("out.jpg"))), dc) << option;
    }
}

TEST_F(Encode, RefusalsSayWhyAndLeaveNoFileBehind) {
    const std::string good = Write("good.bmp", MakeBmp({5, 3, 24}));
    const std::string out = File("out.jpg");
    const std::vector<std::tuple<std::string, int, std::string>> cases = {
        {good + " " + out + " --quality 0", 2, "from 1 to 100, not '0'"},
        {good + " " + out + " --quality 101", 2, "not '101'"},
        {good + " " + out + " --quality 7x", 2, "not '7x'"},
        {good + " " + out + " --quality", 2, "--quality needs a value"},
        {good + " " + out + " --fast", 2, "unknown option '--fast'"},
        {good, 2, "expected IN.bmp and OUT.jpg"},
        {Write("empty.bmp", MakeBmp({0, 3, 24})) + " " + out, 1,
         "the picture size 0 x 3 is not supported"},
        {Write("topdown.bmp", MakeBmp({4, -3, 24})) + " " + out, 1,
         "the picture size 4 x -3 is not supported"},
        {Write("mono.bmp", MakeBmp({8, 2, 1})) + " " + out, 1,
         "1 bits per pixel are not supported"},
        {Write("junk.bmp", Bytes{'B', 'M', 1, 2}) + " " + out, 1, "shorter than its header"},
        {File("missing.bmp") + " " + out, 1, "missing.bmp: cannot open the file"},
        {good + " " + File("no/such/out.jpg"), 1, "no/such/out.jpg: cannot create a file"},
    };
    const auto before = Listing();
    for (const auto& [args, status, message] : cases) {
        SCOPED_TRACE(args);
        EXPECT_EQ(Run(args), status);
        EXPECT_NE(Err.find(message), std::string::npos) << Err;
        EXPECT_EQ(Listing(), before);
    }
    // A folder in the output's place cannot be replaced; no temporary file stays beside it.
    std::filesystem::create_directory(Dir.Path / "taken.jpg");
    EXPECT_EQ(Run(good + " " + File("taken.jpg")), 1);
    EXPECT_NE(Err.find("taken.jpg: cannot replace something that is not a plain file"),
              std::string::npos)
        << Err;
    auto expected = before;
    expected.push_back("taken.jpg");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Listing(), expected);

    EXPECT_EQ(Run("--help"), 0);
}
