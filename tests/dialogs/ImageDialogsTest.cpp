#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "dialogs/DialogTestSupport.h"
#include "dialogs/ImagePositionDlg.h"
#include "dialogs/ImageProportions.h"
#include "dialogs/NewImageDlg.h"
#include "dialogs/PictureBox.h"
#include "imaging/MemBitmap.h"
#include "support/BmpFixtures.h"
#include "support/ScriptedServices.h"
#include "support/TempDir.h"

namespace {

const QColor kSilver(0xC0, 0xC0, 0xC0);

class ImageDialogsTest : public ::testing::Test {
protected:
    ImageDialogsTest() : Dialog(S.Files, S.Messages, S.Screen) { TestApp(); }

    // A file in the test's folder holding bytes; its UTF-8 path.
    std::string File(const char* name, const std::vector<uint8_t>& bytes) {
        const std::string path = Dir.File(name);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    std::string Bitmap(const char* name, int32_t width, int32_t height) {
        TBmpShape shape;
        shape.Width = width;
        shape.Height = height;
        return File(name, MakeBmp(shape));
    }
    // The user picks path in the file dialog.
    void Choose(const std::string& path) {
        S.Files.Answers = {path};
        Dialog.btnFajlnev->click();
    }
    QColor PreviewCentre() const {
        const QImage& p = Dialog.imKep->Picture;
        return p.pixelColor(p.width() / 2, p.height() / 2);
    }

    TTempDir Dir{"image-dialogs"};
    TScriptedServices S;
    TUjNyomtatoKepDlg Dialog;
};

} // namespace

TEST(ImageProportions, NoHeightWithoutAPictureSizeOrPastTheIntegerRange) {
    EXPECT_EQ(ProportionalHeight(-81, 200, 100), -40);
    EXPECT_EQ(ProportionalHeight(80, 200, 0), std::nullopt);
    EXPECT_EQ(ProportionalHeight(INT32_MAX, 1, 65535), std::nullopt);
}

TEST_F(ImageDialogsTest, NewImageStartsWithoutAPictureAndWithMousePlacement) {
    EXPECT_EQ(Dialog.stFajlnev->text(), QString::fromUtf8("(Nincs definiált kép)"));
    EXPECT_FALSE(Dialog.HasPicture());
    EXPECT_EQ(Dialog.edBal->text(), "10");
    EXPECT_EQ(Dialog.edFelso->text(), "20");
    EXPECT_EQ(Dialog.edSzelesseg->text(), "80");
    EXPECT_FALSE(Dialog.edBal->isEnabled());
    EXPECT_FALSE(Dialog.edMagassag->isEnabled());
    EXPECT_TRUE(Dialog.rbEgerrel->isChecked());
    // The empty preview: light grey inside a black outline.
    EXPECT_EQ(Dialog.imKep->Picture.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(PreviewCentre(), kSilver);
    Dialog.rbBeallitott->click();
    EXPECT_TRUE(Dialog.edFelso->isEnabled());
}

TEST_F(ImageDialogsTest, AChosenPictureIsPreviewedAndGivesTheHeight) {
    const std::string wide = Bitmap("wide.bmp", 200, 100);
    Choose(wide);
    ASSERT_EQ(S.Files.Asked.size(), 1u);
    const TFileDialogOptions& asked = S.Files.Asked[0];
    EXPECT_EQ(asked.Title, "Kép betöltése");
    // Every picture the import reads first, then one entry a format.
    EXPECT_THAT(asked.Filter,
                ::testing::StartsWith("All pictures (*.BMP;*.JPG;*.JPEG;*.PNG;*.GIF;*.TIF;*.TIFF;"
                                      "*.WEBP)|*.BMP;*.JPG;*.JPEG;*.PNG;*.GIF;*.TIF;*.TIFF;*.WEBP|"
                                      "Bittérképek (*.BMP)|*.BMP|"));
    EXPECT_EQ(asked.DefaultExt, "BMP");
    EXPECT_TRUE(asked.MustExist);

    ASSERT_TRUE(Dialog.HasPicture());
    EXPECT_EQ(Dialog.PictureFileName(), wide);
    EXPECT_EQ(Dialog.edMagassag->text(), "40");
    EXPECT_NE(PreviewCentre(), kSilver);
    // The preview keeps the proportions: a 2:1 picture leaves the top and bottom quarters.
    EXPECT_EQ(Dialog.imKep->Picture.pixelColor(90, 10), Dialog.palette().color(QPalette::Window));
    EXPECT_EQ(S.Screen.History, (std::vector<TCursor>{crHourGlass, crArrow}));

    Dialog.edSzelesseg->setText("81");
    EXPECT_EQ(Dialog.edMagassag->text(), "40");

    // A second picture replaces the first; a cancelled file dialog keeps it.
    Choose(Bitmap("square.bmp", 50, 50));
    EXPECT_EQ(Dialog.edMagassag->text(), "81");
    S.Files.Answers = {std::nullopt};
    Dialog.btnFajlnev->click();
    EXPECT_EQ(Dialog.Preview()->Width, 50);
}

TEST_F(ImageDialogsTest, AFileThatDoesNotLoadIsReportedAndLeavesNoPicture) {
    Choose(Bitmap("first.bmp", 20, 10));
    ASSERT_TRUE(Dialog.HasPicture());
    // A GIF cut inside its header, the same named .JPG, a bitmap of three bytes, a JPEG
    // stream cut after its start: each refused with the reason on the second line.
    const std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0};
    const std::pair<std::string, std::string> refused[] = {
        {File("anim.GIF", gif), "Hibás fájl.\nGIF"},
        {File("photo.JPG", gif), "Hibás fájl.\nGIF"},
        {File("broken.BMP", {'B', 'M', 1}), "Hibás fájl.\nthe bitmap file is shorter"},
        {File("cut.jpg", {0xFF, 0xD8, 0xFF, 0xE1, 0, 8}),
         "Hibás fájl.\nthe file ends inside the picture data"},
    };
    for (const auto& [path, message] : refused) {
        SCOPED_TRACE(path);
        S.Messages.Shown.clear();
        S.Screen.History.clear();
        Choose(path);
        ASSERT_EQ(S.Messages.Shown.size(), 1u);
        EXPECT_THAT(S.Messages.Shown[0].Text, ::testing::StartsWith(message));
        EXPECT_EQ(S.Messages.Shown[0].Caption, "Kép betöltése");
        EXPECT_EQ(S.Messages.Shown[0].Flags, MB_OK | MB_ICONERROR);
        EXPECT_FALSE(Dialog.HasPicture());
        EXPECT_EQ(S.Screen.History.back(), crArrow);
        EXPECT_EQ(PreviewCentre(), kSilver);
    }
}

TEST_F(ImageDialogsTest, OkWithoutAPictureIsRefusedAndTheDialogStaysOpen) {
    ShowActive(Dialog);
    Dialog.btnOk->click();
    ASSERT_EQ(S.Messages.Shown.size(), 1u);
    EXPECT_EQ(S.Messages.Shown[0].Text, "Jelöljön ki képet !");
    EXPECT_EQ(S.Messages.Shown[0].Caption, "Új kép");
    EXPECT_EQ(S.Messages.Shown[0].Flags, MB_OK | MB_ICONERROR);
    EXPECT_TRUE(Dialog.isVisible());

    Choose(Bitmap("ok.bmp", 4, 4));
    Dialog.btnOk->click();
    EXPECT_FALSE(Dialog.isVisible());
    EXPECT_EQ(Dialog.result(), QDialog::Accepted);
    EXPECT_EQ(S.Messages.Shown.size(), 1u);
}

TEST_F(ImageDialogsTest, EachShowStartsWithoutAPicture) {
    Choose(Bitmap("b.bmp", 8, 8));
    Dialog.show();
    EXPECT_FALSE(Dialog.HasPicture());
    EXPECT_EQ(PreviewCentre(), kSilver);
    EXPECT_EQ(Dialog.stFajlnev->text(), QString::fromUtf8("(Nincs definiált kép)"));
    Dialog.hide();
}

TEST(ImagePositionDlg, HeightFollowsTheWidthOfTheAttachedPicture) {
    TestApp();
    TScriptedMessages messages;
    TNyomtatoKepModositasDlg d(messages);
    EXPECT_EQ(d.edSzelesseg->text(), "100");
    EXPECT_FALSE(d.edMagassag->isEnabled());

    d.edMagassag->setText("33");
    d.edSzelesseg->setText("81");
    EXPECT_EQ(d.edMagassag->text(), "33") << "no picture attached";

    d.AttachPicture(200, 100);
    d.edSzelesseg->setText("80");
    EXPECT_EQ(d.edMagassag->text(), "40");
    d.edMagassag->setText("99");
    d.show();
    d.btnMegsem->click();
    EXPECT_EQ(d.edMagassag->text(), "40") << "closing recomputes the height";

    d.AttachPicture(0, 0); // a picture that did not load has no proportions
    d.edSzelesseg->setText("10");
    d.done(QDialog::Accepted);
    EXPECT_EQ(d.edMagassag->text(), "40");
}
