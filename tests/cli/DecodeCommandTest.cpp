#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <QImage>

#include "cli/CliRunner.h"

namespace {

class Decode : public CliTest {
protected:
    // Exit status of a shell command; its error output lands in Err.
    int Shell(const std::string& cmd) {
        const TCliRun r = RunShell(cmd);
        Err = r.Err;
        return r.Status;
    }
    int Run(const std::string& args) {
        const TCliRun r = RunCli("decode " + args);
        Err = r.Err;
        return r.Status;
    }

    // A 9 x 5 picture, left half red and right half blue, compressed by cjpeg with options.
    std::string MakeJpeg(const std::string& options) {
        const std::string ppm = File("in.ppm");
        std::ofstream out(ppm, std::ios::binary);
        out << "P6\n9 5\n255\n";
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 9; ++x) {
                const char red[3] = {'\xFF', 0, 0}, blue[3] = {0, 0, '\xFF'};
                out.write(x < 4 ? red : blue, 3);
            }
        }
        out.close();
        const std::string jpg = File("in.jpg");
        EXPECT_EQ(Shell("cjpeg " + options + " '" + ppm + "' > '" + jpg + "'"), 0) << Err;
        return jpg;
    }

    std::string Err;
};

} // namespace

TEST_F(Decode, ColourAndGreyPicturesBecomeBitmapsOfTheSameSize) {
    ASSERT_EQ(Run(MakeJpeg("-quality 95 -sample 1x1") + " " + File("colour.bmp")), 0) << Err;
    QImage colour(QString::fromStdString(File("colour.bmp")));
    ASSERT_FALSE(colour.isNull());
    EXPECT_EQ(colour.size(), QSize(9, 5));
    EXPECT_EQ(colour.depth(), 24 + 8); // Qt loads 24-bit bitmaps as RGB32
    EXPECT_GT(qRed(colour.pixel(0, 2)), 200);
    EXPECT_GT(qBlue(colour.pixel(8, 2)), 200);

    ASSERT_EQ(Run(MakeJpeg("-grayscale") + " " + File("grey.bmp")), 0) << Err;
    QImage grey(QString::fromStdString(File("grey.bmp")));
    ASSERT_FALSE(grey.isNull());
    EXPECT_EQ(grey.size(), QSize(9, 5));
    EXPECT_TRUE(grey.isGrayscale());
}

TEST_F(Decode, BrokenInputAndMissingArgumentsFailWithAMessage) {
    std::ofstream(File("bad.jpg")) << "\xFF\xD8 not really a picture";
    EXPECT_NE(Run(File("bad.jpg") + " " + File("out.bmp")), 0);
    EXPECT_FALSE(Err.empty());
    EXPECT_FALSE(std::filesystem::exists(File("out.bmp")));

    EXPECT_NE(Run(File("missing.jpg") + " " + File("out.bmp")), 0);
    EXPECT_NE(Err.find("missing.jpg"), std::string::npos) << Err;

    EXPECT_NE(Run(""), 0);
    EXPECT_FALSE(Err.empty());
}
