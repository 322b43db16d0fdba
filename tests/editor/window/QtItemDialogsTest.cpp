#include <gtest/gtest.h>

#include <fstream>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include "controls/GraphObjectComboBox.h"
#include "dialogs/CaptionPropertiesDlg.h"
#include "dialogs/FramePropertiesDlg.h"
#include "dialogs/ImagePositionDlg.h"
#include "dialogs/Memo.h"
#include "dialogs/NewImageDlg.h"
#include "dialogs/NewLineDlg.h"
#include "dialogs/NewTextDlg.h"
#include "dialogs/TextPropertiesDlg.h"
#include "editor/ItemDialogs.h"
#include "editor/window/EditorWindow.h"
#include "editor/window/Forms.h"
#include "editor/window/QtItemDialogs.h"
#include "platform/Cp1250.h"
#include "support/BmpFixtures.h"
#include "support/QtTestApp.h"
#include "support/ScriptedServices.h"
#include "support/TempDir.h"

namespace {

class QtItemDialogsTest : public ::testing::Test {
protected:
    QtItemDialogsTest() {
        TestApp();
        CreateForms(Forms, Services);
        Dialogs = MakeItemDialogs(Forms, Services);
    }
    // The next modal run gets answer, with the dialog as its form type.
    template <class D, class F>
    void Answer(F answer) {
        Scripted.Modal.Answers.push_back(
            [answer](QDialog& dialog) { return answer(static_cast<D&>(dialog)); });
    }

    TScriptedServices Scripted;
    TEditorServices Services = Scripted.Services();
    TForms Forms;
    std::unique_ptr<TItemDialogs> Dialogs;
};

TFrameDialogData SampleFrame() {
    TFrameDialogData data;
    data.Rect = {20, 30, 120, 90};
    data.Area = {5, 5, 200, 280};
    data.BorderColor = clRed;
    data.FillColor = 0x123456;
    data.Shadow = false;
    data.FillStyle = 3;
    data.Title = Utf8ToCp1250("Cím ő");
    data.TitleAlignment = 2;
    data.TitleFont.Name = "Arial";
    data.TitleFont.Height = 8;
    return data;
}

} // namespace

TEST_F(QtItemDialogsTest, ModifyFrameShowsTheFrameAndTakesBackWhatWasChanged) {
    TFrameDialogData data = SampleFrame();
    Answer<TNyomtatoKeretModositasDlg>([](TNyomtatoKeretModositasDlg& d) {
        EXPECT_EQ(d.edBal->text(), "20");
        EXPECT_EQ(d.edAlso->text(), "90");
        EXPECT_EQ(d.cmbKeretszin->Inner()->currentIndex(), 9);
        EXPECT_EQ(d.cmbBelsoszin->Inner()->currentIndex(), kCustomColorIndex);
        EXPECT_FALSE(d.cbArnyek->isChecked());
        EXPECT_EQ(d.cmbMinta->Inner()->currentIndex(), 3);
        EXPECT_EQ(d.edSzoveg->text(), QString::fromUtf8("Cím ő"));
        EXPECT_EQ(d.cmbSzoveghely->currentIndex(), 2);
        EXPECT_EQ(d.FontDialog.Font.Height, 8);
        d.edJobb->setText("150");
        d.cbArnyek->setChecked(true);
        d.Button1->click();
        return d.result();
    });
    ASSERT_TRUE(Dialogs->ModifyFrame(data));
    EXPECT_EQ(Scripted.Modal.Ran, (std::vector<std::string>{"TNyomtatoKeretModositasDlg"}));
    EXPECT_EQ(data.Rect, (TRect{20, 30, 150, 90}));
    EXPECT_TRUE(data.Shadow);
    EXPECT_EQ(data.BorderColor, clRed);
    EXPECT_EQ(data.FillColor, 0x123456);
    EXPECT_EQ(data.FillStyle, 3);
    EXPECT_EQ(data.Title, Utf8ToCp1250("Cím ő"));
    EXPECT_EQ(data.TitleAlignment, 2);
    EXPECT_EQ(data.TitleFont.Name, "Arial");

    // An alignment the list does not offer is kept, not replaced by "none".
    data.TitleAlignment = 7;
    Answer<TNyomtatoKeretModositasDlg>([](TNyomtatoKeretModositasDlg& d) {
        d.Button1->click();
        return d.result();
    });
    ASSERT_TRUE(Dialogs->ModifyFrame(data));
    EXPECT_EQ(data.TitleAlignment, 7);
}

TEST_F(QtItemDialogsTest, ACancelledDialogReturnsFalseAndLeavesTheData) {
    TFrameDialogData frame = SampleFrame();
    Answer<TNyomtatoKeretModositasDlg>([](TNyomtatoKeretModositasDlg& d) {
        d.edBal->setText("1");
        return int(QDialog::Rejected);
    });
    EXPECT_FALSE(Dialogs->ModifyFrame(frame));
    EXPECT_EQ(frame.Rect, SampleFrame().Rect);

    TTextDialogData caption;
    caption.Text = "old";
    Answer<TNyomtatoSzovegModositasDlg>([](TNyomtatoSzovegModositasDlg& d) {
        d.edSzoveg->setText("new");
        return int(QDialog::Rejected);
    });
    EXPECT_FALSE(Dialogs->ModifyCaption(caption));
    EXPECT_EQ(caption.Text, "old");

    // An answer that skips the frame dialog's check cannot hand over a bad box.
    Answer<TNyomtatoKeretModositasDlg>([](TNyomtatoKeretModositasDlg& d) {
        d.edJobb->setText("12.5");
        return int(QDialog::Accepted);
    });
    EXPECT_FALSE(Dialogs->ModifyFrame(frame));
    EXPECT_EQ(frame.Rect, SampleFrame().Rect);
}

TEST_F(QtItemDialogsTest, TextDialogsHandOverTextPositionAndFont) {
    TTextDialogData caption;
    caption.Text = Utf8ToCp1250("Felirat ő");
    caption.X = "15";
    caption.TextEditable = false;
    caption.Font.Height = -6;
    Answer<TNyomtatoSzovegModositasDlg>([](TNyomtatoSzovegModositasDlg& d) {
        EXPECT_FALSE(d.edSzoveg->isEnabled());
        EXPECT_EQ(d.stFontmeret->text(), "6");
        d.edBal->setText("16");
        return int(QDialog::Accepted);
    });
    ASSERT_TRUE(Dialogs->ModifyCaption(caption));
    EXPECT_EQ(caption.X, "16");
    EXPECT_EQ(caption.Text, Utf8ToCp1250("Felirat ő"));
    EXPECT_EQ(caption.Font.Height, -6);

    TTextDialogData text;
    Answer<TUjNyomtatoSorokDlg>([](TUjNyomtatoSorokDlg& d) {
        d.memoSzoveg->setPlainText(QString::fromUtf8("első\nmásodik\n"));
        d.rbBeallitott->click();
        d.edX->setText("30");
        return int(QDialog::Accepted);
    });
    ASSERT_TRUE(Dialogs->NewText(text));
    EXPECT_EQ(text.Text, Utf8ToCp1250("első\r\nmásodik\r\n"));
    EXPECT_EQ(text.LineCount, 2);
    EXPECT_FALSE(text.ByMouse);
    EXPECT_EQ(text.X, "30");
    EXPECT_EQ(text.Y, "120");

    // A new dialog is not filled: its next use starts from what the user left.
    TTextDialogData again;
    Scripted.Modal.Answers.push_back([](QDialog&) { return int(QDialog::Accepted); });
    ASSERT_TRUE(Dialogs->NewText(again));
    EXPECT_EQ(again.X, "30");
    EXPECT_FALSE(again.ByMouse);
}

TEST_F(QtItemDialogsTest, NewImageHandsOverThePictureAndIsResetEitherWay) {
    const TTempDir dir("item-dialogs");
    const std::string path = dir.File("pic.bmp");
    TBmpShape shape;
    shape.Width = 200;
    shape.Height = 100;
    const auto bytes = MakeBmp(shape);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    TUjNyomtatoKepDlg& dialog = *Forms.UjNyomtatoKepDlg;

    TImageDialogData data;
    Scripted.Files.Answers = {path, path};
    Answer<TUjNyomtatoKepDlg>([](TUjNyomtatoKepDlg& d) {
        d.btnFajlnev->click();
        d.btnOk->click();
        return d.result();
    });
    ASSERT_TRUE(Dialogs->NewImage(data));
    EXPECT_EQ(data.FileName, path);
    EXPECT_EQ(data.Left, "10");
    EXPECT_EQ(data.Top, "20");
    EXPECT_EQ(data.Width, "80");
    EXPECT_EQ(data.Height, "40");
    EXPECT_TRUE(data.ByMouse);
    EXPECT_FALSE(dialog.HasPicture());
    EXPECT_TRUE(dialog.stFajlnev->text().isEmpty());

    TImageDialogData cancelled;
    Answer<TUjNyomtatoKepDlg>([](TUjNyomtatoKepDlg& d) {
        d.btnFajlnev->click();
        return int(QDialog::Rejected);
    });
    EXPECT_FALSE(Dialogs->NewImage(cancelled));
    EXPECT_TRUE(cancelled.FileName.empty());
    EXPECT_FALSE(dialog.HasPicture());
}

TEST_F(QtItemDialogsTest, ModifyImageKeepsTheProportionsAndTheLineDialogShowsTheLine) {
    TImageDialogData image{"5", "6", "100", "50"};
    image.PictureWidth = 300;
    image.PictureHeight = 100;
    Answer<TNyomtatoKepModositasDlg>([](TNyomtatoKepModositasDlg& d) {
        d.edSzelesseg->setText("90");
        d.btnOk->click();
        return d.result();
    });
    ASSERT_TRUE(Dialogs->ModifyImage(image));
    EXPECT_EQ(image.Width, "90");
    EXPECT_EQ(image.Height, "30");

    TLineDialogData line{0x00A0B0C0, 4, 2};
    Answer<TUjNyomtatoVonalDlg>([](TUjNyomtatoVonalDlg& d) {
        EXPECT_EQ(d.cmbStilus->Inner()->currentIndex(), 2);
        EXPECT_EQ(d.stVastagsag->text(), "4");
        d.tbVastagsag->setValue(7);
        return int(QDialog::Accepted);
    });
    ASSERT_TRUE(Dialogs->LineProperties(line, true));
    EXPECT_EQ(line.Width, 7);
    EXPECT_EQ(line.PenStyle, 2);
    EXPECT_EQ(line.Color, 0x00A0B0C0);
}
