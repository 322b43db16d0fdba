#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <QImage>

#include "cli/CliRunner.h"

#include "support/FileFaults.h"

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

TEST_F(Decode, AFailedWriteKeepsTheExistingBitmapAndALinkStaysALink) {
    const std::string jpg = MakeJpeg("-quality 90");
    const std::string old = "an existing bitmap";
    const auto put = [](const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    };
    const auto bytesOf = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };

    // Full disk: the old bitmap stays whole and no temporary file is left.
    fsfaults::TTinyTmpfs tmpfs(Dir.Path / "small");
    if (tmpfs.Mounted()) {
        put(File("small/out.bmp"), old);
        const std::string filler = File("small/filler");
        Shell("head -c 16384 /dev/zero > '" + filler + "'");
        EXPECT_EQ(Run(jpg + " " + File("small/out.bmp")), 1);
        EXPECT_NE(Err.find("No space"), std::string::npos) << Err;
        EXPECT_EQ(bytesOf(File("small/out.bmp")), old);
        EXPECT_EQ(fsfaults::NamesIn(Dir.Path / "small"),
                  (std::vector<std::string>{"filler", "out.bmp"}));
    }

    // A read-only file of another user in a folder everyone may write.
    if (fsfaults::IsRoot()) {
        std::filesystem::permissions(Dir.Path, std::filesystem::perms::all);
        put(File("locked.bmp"), old);
        std::filesystem::permissions(File("locked.bmp"), std::filesystem::perms::owner_read |
                                                             std::filesystem::perms::group_read |
                                                             std::filesystem::perms::others_read);
        EXPECT_EQ(Shell("setpriv --reuid=nobody --regid=nogroup --clear-groups '" +
                        std::string(FS_CLI) + "' decode " + jpg + " " + File("locked.bmp")),
                  1);
        EXPECT_NE(Err.find("may not change"), std::string::npos) << Err;
        EXPECT_EQ(bytesOf(File("locked.bmp")), old);
    }

    put(File("real.bmp"), old);
    std::filesystem::create_symlink("real.bmp", Dir.Path / "link.bmp");
    ASSERT_EQ(Run(jpg + " " + File("link.bmp")), 0) << Err;
    EXPECT_TRUE(std::filesystem::is_symlink(Dir.Path / "link.bmp"));
    EXPECT_EQ(QImage(QString::fromStdString(File("real.bmp"))).size(), QSize(9, 5));
}
