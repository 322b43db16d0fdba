#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>

#include "controls/GraphObjectComboBox.h"
#include "dialogs/DialogTestSupport.h"
#include "dialogs/FrameBounds.h"
#include "dialogs/FramePropertiesDlg.h"
#include "dialogs/NewLineDlg.h"
#include "dialogs/UpDown.h"
#include "support/ScriptedServices.h"

namespace {

const TMmArea kArea{5.5f, 6.0f, 204.9f, 291.0f};

class FrameDialogTest : public ::testing::Test {
protected:
    FrameDialogTest() : Dialog(S.Colors, S.Fonts, S.Messages) {
        TestApp();
        Dialog.PrintableArea = kArea;
    }
    void Type(const char* left, const char* top, const char* right, const char* bottom) {
        Dialog.edBal->setText(left);
        Dialog.edFelso->setText(top);
        Dialog.edJobb->setText(right);
        Dialog.edAlso->setText(bottom);
    }
    TScriptedServices S;
    TNyomtatoKeretModositasDlg Dialog;
};

} // namespace

TEST(FrameBounds, ABoxMustBeTwoMillimetresAndInsideThePrintableArea) {
    EXPECT_EQ(FrameBoxFromFields("10", "20", "12", "22", kArea), (TRect{10, 20, 12, 22}));
    EXPECT_EQ(FrameBoxFromFields("10", "20", "11", "40", kArea), std::nullopt);
    EXPECT_EQ(FrameBoxFromFields("10", "20", "40", "21", kArea), std::nullopt);
    EXPECT_EQ(FrameBoxFromFields("6", "6", "204", "291", kArea), (TRect{6, 6, 204, 291}));
    EXPECT_EQ(FrameBoxFromFields("5", "6", "100", "100", kArea), std::nullopt);
    EXPECT_EQ(FrameBoxFromFields("6", "6", "205", "100", kArea), std::nullopt);
    EXPECT_EQ(FrameBoxFromFields("6", "6", "100", "292", kArea), std::nullopt);
    // Decimal with leading zeros; anything but a whole number is refused.
    EXPECT_EQ(FrameBoxFromFields("010", "09", "020", "019", kArea), (TRect{10, 9, 20, 19}));
    for (const char* bad : {"12.5", "", "1e2", "ab", " 12"}) {
        EXPECT_EQ(FrameBoxFromFields("10", "10", bad, "50", kArea), std::nullopt) << bad;
    }
    // At the end of the int32 range the size check does not overflow.
    const TMmArea huge{-3e9f, -3e9f, 3e9f, 3e9f};
    EXPECT_EQ(FrameBoxFromFields("2147483647", "0", "2147483647", "10", huge), std::nullopt);
    EXPECT_EQ(FrameBoxFromFields("-2147483648", "0", "2147483647", "10", huge),
              (TRect{INT32_MIN, 0, INT32_MAX, 10}));
}

TEST_F(FrameDialogTest, PickersNameColoursInHungarianAndTheFontButtonAsksForAFont) {
    EXPECT_EQ(Dialog.cmbBelsoszin->Inner()->itemText(0), "Fekete");
    EXPECT_EQ(Dialog.cmbMinta->Style(), TGraphObjectComboStyle::gocsBrushStyle);
    EXPECT_EQ(Dialog.cmbSzoveghely->itemText(1), QString::fromUtf8("Középre"));
    EXPECT_EQ(Dialog.udAlso->Max(), 32000);
    TFont title;
    title.Name = "Liberation Serif";
    title.Height = -15;
    S.Fonts.Answers = {title};
    Dialog.btnBetustilus->click();
    EXPECT_EQ(Dialog.FontDialog.Font, title);
}

TEST_F(FrameDialogTest, OkChecksTheBoxAndKeepsTheDialogOpenWithTheTypedValues) {
    ShowActive(Dialog);
    Type("10", "10", "205", "100"); // 205 is past the printable right edge 204.9
    Dialog.Button1->click();
    ASSERT_EQ(S.Messages.Shown.size(), 1u);
    EXPECT_EQ(S.Messages.Shown[0].Text, "Hibás területkoordináták !");
    EXPECT_EQ(S.Messages.Shown[0].Caption, "Keret módosítása");
    EXPECT_EQ(S.Messages.Shown[0].Flags, MB_OK | MB_ICONERROR);
    EXPECT_TRUE(Dialog.isVisible());
    EXPECT_EQ(Dialog.edJobb->text(), "205");

    Type("10", "10", "11", "100"); // 1 mm wide
    Dialog.Button1->click();
    EXPECT_EQ(S.Messages.Shown.size(), 2u);

    Type("10", "10", "12", "100");
    Dialog.Button1->click();
    EXPECT_EQ(S.Messages.Shown.size(), 2u);
    EXPECT_FALSE(Dialog.isVisible());
    EXPECT_EQ(Dialog.result(), QDialog::Accepted);
    EXPECT_EQ(Dialog.EnteredBox(), (TRect{10, 10, 12, 100}));
}

TEST_F(FrameDialogTest, CancelClosesWithoutAnyCheck) {
    ShowActive(Dialog);
    Type("x", "", "12.5", "-");
    Dialog.Button2->click();
    EXPECT_FALSE(Dialog.isVisible());
    EXPECT_EQ(Dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(S.Messages.Shown.empty());
}

TEST_F(FrameDialogTest, EveryShowStartsOnThePositionTab) {
    Dialog.show();
    Dialog.PageControl1->setCurrentIndex(2);
    Dialog.hide();
    Dialog.show();
    EXPECT_EQ(Dialog.PageControl1->currentIndex(), 0);
    Dialog.hide();
}

TEST(LineDialog, TrackBarLabelShowsTheWidthBesideHungarianPickers) {
    TestApp();
    TScriptedServices s;
    TUjNyomtatoVonalDlg d(s.Colors, s.Messages);
    EXPECT_EQ(d.tbVastagsag->minimum(), 1);
    EXPECT_EQ(d.tbVastagsag->maximum(), 10);
    EXPECT_EQ(d.stVastagsag->text(), "1");
    d.tbVastagsag->setValue(7);
    EXPECT_EQ(d.stVastagsag->text(), "7");
    EXPECT_EQ(d.cmbSzin->Inner()->itemText(16), QString::fromUtf8("Egyéni szín"));
    EXPECT_EQ(d.cmbStilus->Inner()->itemText(0), "Folytonos");
}
