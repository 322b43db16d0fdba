#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <QImage>

#include "cli/CliRunner.h"
#include "codec/BitmapImage.h"
#include "document/DocumentFile.h"
#include "jpeg/JpegEncoder.h"
#include "platform/Files.h"
#include "support/FileFaults.h"

namespace {

class Render : public CliTest {
protected:
    // Exit status of the tool with these arguments; its error output lands in Err.
    int Run(const std::string& args) {
        const TCliRun r = RunCli("render " + args);
        Err = r.Err;
        return r.Status;
    }

    // An A4 document with a red rectangle at 20..60 x 20..40 mm.
    std::string SaveDocument() {
        TPageItems items;
        items.Rectangles.Add(
            std::make_unique<TNyomtatoNegyszog>(TNyomtatoNegyszog{{20, 20, 60, 40}, 0x0000FF}));
        const std::string path = File("page.pst");
        EXPECT_TRUE(SaveDocumentFile(path, 209, 296, TPageSettings{}, items, nullptr).Ok());
        return path;
    }

    std::string Err;
};

} // namespace

TEST_F(Render, PngIsThePrintedSheetAtTheChosenResolution) {
    const std::string doc = SaveDocument();
    ASSERT_EQ(Run(doc + " " + File("page.png") + " --dpi 100"), 0) << Err;
    QImage sheet(QString::fromStdString(File("page.png")));
    ASSERT_FALSE(sheet.isNull());
    EXPECT_NEAR(sheet.width(), 827, 1); // A4 at 100 dpi
    EXPECT_NEAR(sheet.height(), 1169, 1);
    const auto at = [&](double xMm, double yMm) {
        return sheet.pixel(static_cast<int>(xMm / 25.4 * 100), static_cast<int>(yMm / 25.4 * 100));
    };
    EXPECT_EQ(at(40, 30), qRgb(255, 0, 0));
    EXPECT_EQ(at(21, 21), qRgb(255, 0, 0));
    EXPECT_EQ(at(62, 30), qRgb(255, 255, 255));
    EXPECT_EQ(at(40, 42), qRgb(255, 255, 255));
}

TEST_F(Render, PdfGoesToTheNamedFileAndFailuresGetAMessageAndAnExitStatus) {
    const std::string doc = SaveDocument();
    ASSERT_EQ(Run(doc + " " + File("page.PDF")), 0) << Err;
    std::ifstream pdf(File("page.PDF"), std::ios::binary);
    std::string head(5, '\0');
    pdf.read(head.data(), 5);
    EXPECT_EQ(head, "%PDF-");

    EXPECT_EQ(Run(File("missing.pst") + " " + File("out.pdf")), 1);
    EXPECT_NE(Err.find("missing.pst"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(File("out.pdf")));

    EXPECT_NE(Run(doc + " " + File("out.txt")), 0);
    EXPECT_NE(Err.find(".pdf or .png"), std::string::npos);
    EXPECT_NE(Run(doc + " " + File("out.png") + " --dpi 0"), 0);
    EXPECT_NE(Run(doc + " " + File("out.pdf") + " --dpi 100"), 0);
    EXPECT_NE(Run(doc), 0);
    EXPECT_EQ(Run(doc + " " + File("no-such-folder/out.pdf")), 1);
    EXPECT_FALSE(Err.empty());
    EXPECT_EQ(Run("--help"), 0);
}

// A page with a picture from a .JPG file: saved (the picture as a JPEG stream), loaded by the
// command and printed where its item is.
TEST_F(Render, JpegPicturesArePrintedAfterSavingAndLoading) {
    BitmapImage orange;
    orange.SetSize(0, 24, 32, 16);
    for (uint32_t y = 0; y < 16; ++y) {
        for (uint32_t x = 0; x < 32; ++x) {
            uint8_t* p = orange.Row(y) + 3 * x;
            p[0] = 0x20, p[1] = 0x90, p[2] = 0xF0; // blue, green, red
        }
    }
    const std::vector<uint8_t> jpeg = JpegEncoder().Encode(orange);
    ASSERT_TRUE(WriteFileAtomically(File("photo.JPG"), jpeg));
    TPageItems items;
    auto image = std::make_unique<TNyomtatoKep>();
    image->Rect = {30, 50, 90, 80};
    image->FileName = File("photo.JPG");
    image->Picture->LoadFromFile(image->FileName);
    ASSERT_TRUE(image->Picture->HasImage);
    ASSERT_TRUE(image->Picture->IsJpeg);
    items.Images.Add(std::move(image));
    ASSERT_TRUE(SaveDocumentFile(File("page.pst"), 209, 296, TPageSettings{}, items, nullptr).Ok());

    ASSERT_EQ(Run(File("page.pst") + " " + File("page.png") + " --dpi 50"), 0) << Err;
    QImage sheet(QString::fromStdString(File("page.png")));
    ASSERT_FALSE(sheet.isNull());
    const QRgb inside = sheet.pixel(int(60 / 25.4 * 50), int(65 / 25.4 * 50));
    EXPECT_NEAR(qRed(inside), 0xF0, 4);
    EXPECT_NEAR(qGreen(inside), 0x90, 4);
    EXPECT_NEAR(qBlue(inside), 0x20, 4);
    EXPECT_EQ(sheet.pixel(int(60 / 25.4 * 50), int(95 / 25.4 * 50)), qRgb(255, 255, 255));
}

// The CLI runs render in folioscriptor-cli-qt, found beside it or under libexec; without it
// the command says what is missing instead of failing silently.
TEST_F(Render, WithoutTheQtToolTheCommandSaysWhatIsMissing) {
    const std::filesystem::path alone = File("bin/folioscriptor-cli");
    std::filesystem::create_directories(alone.parent_path());
    std::filesystem::copy_file(FS_CLI, alone);
    const TCliRun r =
        RunShell("'" + alone.string() + "' render " + SaveDocument() + " " + File("out.pdf"));
    EXPECT_EQ(r.Status, 1);
    EXPECT_NE(r.Err.find("folioscriptor-cli-qt, which is not installed"), std::string::npos)
        << r.Err;
    EXPECT_FALSE(std::filesystem::exists(File("out.pdf")));
    // The commands that need no Qt painting still work from there.
    EXPECT_EQ(RunShell("'" + alone.string() + "' dump " + SaveDocument() + " --no-pictures").Status,
              0);
}

// On a full disk the old output stays whole: Qt's PDF writer does not report failed writes,
// so a PDF is checked to have been written to its end before it replaces anything.
TEST_F(Render, OnAFullDiskTheOldOutputStaysAndNothingIsLeftBehind) {
    fsfaults::TTinyTmpfs tmpfs(Dir.Path / "small");
    if (!tmpfs.Mounted()) GTEST_SKIP() << "cannot mount a tmpfs here";
    const std::string doc = SaveDocument();
    const std::string old = "an older print";
    for (const char* name : {"out.pdf", "out.png"}) {
        SCOPED_TRACE(name);
        std::ofstream(File(std::string("small/") + name), std::ios::binary) << old;
    }
    RunShell("head -c 16384 /dev/zero > '" + File("small/filler") + "'");
    for (const char* name : {"out.pdf", "out.png"}) {
        SCOPED_TRACE(name);
        const std::string out = File(std::string("small/") + name);
        EXPECT_EQ(Run(doc + " " + out + (name[4] == 'n' ? " --dpi 50" : "")), 1);
        EXPECT_FALSE(Err.empty());
        std::ifstream in(out, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), old);
    }
    EXPECT_EQ(fsfaults::NamesIn(Dir.Path / "small"),
              (std::vector<std::string>{"filler", "out.pdf", "out.png"}));
}
