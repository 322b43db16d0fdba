#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "dialogs/CaptionPropertiesDlg.h"
#include "dialogs/DialogTestSupport.h"
#include "dialogs/Memo.h"
#include "dialogs/NewCaptionDlg.h"
#include "dialogs/NewTextDlg.h"
#include "dialogs/TextPropertiesDlg.h"
#include "dialogs/UpDown.h"
#include "platform/Cp1250.h"
#include "platform/qt/QtFont.h"
#include "support/ScriptedServices.h"

namespace {

class TextDialogsTest : public ::testing::Test {
protected:
    TextDialogsTest() { TestApp(); }
    TScriptedServices S;
};

} // namespace

TEST_F(TextDialogsTest, NewDialogsStartWithMousePlacementAndDisabledCoordinates) {
    TUjNyomtatoSzovegDlg caption(S.Fonts, S.Messages);
    TUjNyomtatoSorokDlg text(S.Fonts, S.Messages);
    EXPECT_EQ(caption.windowTitle(), "New caption");
    EXPECT_EQ(text.windowTitle(), "New text");
    EXPECT_EQ(caption.GroupBox1->title(), "Text");
    EXPECT_TRUE(caption.edSzoveg->text().isEmpty());
    EXPECT_TRUE(text.memoSzoveg->toPlainText().isEmpty());
    EXPECT_EQ(text.memoSzoveg->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_NE(LabelNamed(caption, "Style."), nullptr);
    EXPECT_NE(LabelNamed(text, "Style:"), nullptr);

    struct TNewDialog {
        TTextItemDlg& Dialog;
        QLineEdit* X;
        QLineEdit* Y;
        TUpDown* UpDownX;
        QRadioButton* ByCoords;
        QRadioButton* ByMouse;
    };
    for (const TNewDialog& d : {TNewDialog{caption, caption.edX, caption.edY, caption.udX,
                                           caption.rbBeallitott, caption.rbEgerrel},
                                TNewDialog{text, text.edX, text.edY, text.udX, text.rbBeallitott,
                                           text.rbEgerrel}}) {
        SCOPED_TRACE(d.Dialog.windowTitle().toStdString());
        EXPECT_EQ(d.X->text(), "20");
        EXPECT_EQ(d.Y->text(), "120");
        EXPECT_FALSE(d.X->isEnabled());
        EXPECT_FALSE(d.Y->isEnabled());
        EXPECT_FALSE(d.UpDownX->isEnabled());
        EXPECT_EQ(d.ByCoords->text(), "Coords in edit boxes");
        EXPECT_EQ(d.ByMouse->text(), "Select with mouse");
        EXPECT_TRUE(d.ByMouse->isChecked());
        EXPECT_EQ(d.Dialog.Button4->text(), "Edit...");
        EXPECT_EQ(d.Dialog.stFontnev->text(), "Arial");
        EXPECT_EQ(d.Dialog.stFontmeret->text(), "11");
        EXPECT_EQ(d.Dialog.FontDialog.Font.Height, -11);
        EXPECT_EQ(d.Dialog.FontDialog.Font.Color, clBlack);
        EXPECT_EQ(d.Dialog.cbKitoltes->text(), "Fill background");
        EXPECT_FALSE(d.Dialog.cbKitoltes->isChecked());
        EXPECT_TRUE(d.Dialog.btnOk->isDefault());
        EXPECT_EQ(d.Dialog.btnMegsem->text(), QString::fromUtf8("&Mégsem"));
        EXPECT_EQ(d.Dialog.btnSugo->text(), QString::fromUtf8("&Súgó"));
    }
}

TEST_F(TextDialogsTest, ModifyDialogsStartWithTheirOwnValues) {
    TNyomtatoSzovegModositasDlg caption(S.Fonts, S.Messages);
    EXPECT_EQ(caption.windowTitle(), "Modify text");
    EXPECT_EQ(caption.GroupBox1->title(), "&Text");
    EXPECT_EQ(caption.edBal->text(), "10");
    EXPECT_EQ(caption.edFelso->text(), "10");
    EXPECT_TRUE(caption.edBal->isEnabled());
    EXPECT_TRUE(caption.cbKitoltes->isChecked());
    EXPECT_EQ(caption.Button4->text(), QString::fromUtf8("&Beállítás..."));
    EXPECT_EQ(caption.stFontnev->text(), "MS Sans Serif");

    TNyomtatoSorokModositasDlg text(S.Fonts, S.Messages);
    EXPECT_EQ(text.windowTitle(), "Printer text properties");
    EXPECT_EQ(text.edX->text(), "20");
    EXPECT_EQ(text.edY->text(), "120");
    EXPECT_TRUE(text.edY->isEnabled());
    EXPECT_FALSE(text.cbKitoltes->isChecked());
    EXPECT_EQ(text.stFontnev->text(), "Arial");
    EXPECT_EQ(text.stFontmeret->text(), "11");
}

TEST_F(TextDialogsTest, TypedPositionEnablesTheEditsAndTheChoiceStaysBetweenUses) {
    TUjNyomtatoSzovegDlg d(S.Fonts, S.Messages);
    d.rbBeallitott->click();
    EXPECT_TRUE(d.edX->isEnabled());
    EXPECT_TRUE(d.edY->isEnabled());
    EXPECT_TRUE(d.udY->isEnabled());

    d.show();
    d.btnMegsem->click();
    d.show();
    EXPECT_TRUE(d.rbBeallitott->isChecked());
    EXPECT_TRUE(d.edX->isEnabled());
    d.rbEgerrel->click();
    EXPECT_FALSE(d.edX->isEnabled());
    EXPECT_FALSE(d.udX->isEnabled());
}

TEST_F(TextDialogsTest, AChosenFontShowsItsFaceAndFullSizeInMillimetres) {
    TUjNyomtatoSorokDlg d(S.Fonts, S.Messages);
    // What the font dialog answers for 8 points on a 96 dpi screen.
    QFont chosen(QStringLiteral("Liberation Serif"));
    chosen.setPointSize(8);
    S.Fonts.Answers = {FromQFont(chosen, clBlack), std::nullopt};
    d.Button4->click();
    EXPECT_EQ(d.FontDialog.Font.Height, -11);
    EXPECT_EQ(d.stFontnev->text(), "Liberation Serif");
    EXPECT_EQ(d.stFontmeret->text(), "11");

    d.Button4->click(); // cancelled
    EXPECT_EQ(d.FontDialog.Font.Name, "Liberation Serif");
    EXPECT_EQ(d.stFontmeret->text(), "11");
}

TEST_F(TextDialogsTest, UpDownsStepTenWithinTheirRangeWithoutLimitingTypedText) {
    TNyomtatoSzovegModositasDlg d(S.Fonts, S.Messages);
    EXPECT_EQ(d.udBal->Min(), 0);
    EXPECT_EQ(d.udBal->Max(), 1189);
    d.udBal->UpButton->click();
    EXPECT_EQ(d.edBal->text(), "20");
    d.edBal->setText("1185");
    d.udBal->UpButton->click();
    EXPECT_EQ(d.edBal->text(), "1189");
    d.edBal->setText("5");
    d.udBal->DownButton->click();
    EXPECT_EQ(d.edBal->text(), "0");

    // Typed values out of range stay as typed for the editor's check.
    d.edBal->setText("2000");
    EXPECT_EQ(d.edBal->text(), "2000");
    d.edBal->setText("-7");
    EXPECT_EQ(d.edBal->text(), "-7");
    // Text that is no number steps from where the arrows last left it.
    d.edBal->setText("x1");
    QTest::keyClick(d.edBal, Qt::Key_Up);
    EXPECT_EQ(d.edBal->text(), "10");
    QTest::keyClick(d.edBal, Qt::Key_Down);
    EXPECT_EQ(d.edBal->text(), "0");
}

TEST_F(TextDialogsTest, MemoHandsOverCodePageTextWithCrLfLines) {
    TMemo memo;
    memo.SetText(Utf8ToCp1250("Első sor\r\nmásodik ő\r\n"));
    EXPECT_EQ(memo.toPlainText(), QString::fromUtf8("Első sor\nmásodik ő\n"));
    EXPECT_EQ(memo.Text(), Utf8ToCp1250("Első sor\r\nmásodik ő\r\n"));
    EXPECT_EQ(memo.LineCount(), 2);

    memo.setPlainText("a\n\nb");
    EXPECT_EQ(memo.Text(), "a\r\n\r\nb");
    EXPECT_EQ(memo.LineCount(), 3);
    memo.SetText("one\rtwo");
    EXPECT_EQ(memo.Text(), "one\r\ntwo");
    memo.clear();
    EXPECT_EQ(memo.LineCount(), 0);
}
