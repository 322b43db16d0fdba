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

TEST_F(TextDialogsTest, EachDialogStartsWithItsOwnValues) {
    TUjNyomtatoSzovegDlg newCaption(S.Fonts, S.Messages);
    EXPECT_EQ(newCaption.GroupBox1->title(), "Text");
    EXPECT_EQ(newCaption.edX->text(), "20");
    EXPECT_EQ(newCaption.edY->text(), "120");
    EXPECT_FALSE(newCaption.edX->isEnabled());
    EXPECT_FALSE(newCaption.udY->isEnabled());
    EXPECT_TRUE(newCaption.rbEgerrel->isChecked());
    EXPECT_FALSE(newCaption.cbKitoltes->isChecked());
    EXPECT_EQ(newCaption.Button4->text(), "Edit...");
    EXPECT_EQ(newCaption.stFontnev->text(), "Arial");
    EXPECT_EQ(newCaption.stFontmeret->text(), "11");

    TNyomtatoSzovegModositasDlg caption(S.Fonts, S.Messages);
    EXPECT_EQ(caption.GroupBox1->title(), "&Text");
    EXPECT_EQ(caption.edBal->text(), "10");
    EXPECT_TRUE(caption.edBal->isEnabled());
    EXPECT_TRUE(caption.cbKitoltes->isChecked());
    EXPECT_EQ(caption.Button4->text(), QString::fromUtf8("&Beállítás..."));
    EXPECT_EQ(caption.stFontnev->text(), "MS Sans Serif");

    TUjNyomtatoSorokDlg newText(S.Fonts, S.Messages);
    EXPECT_FALSE(newText.edY->isEnabled());
    EXPECT_EQ(newText.memoSzoveg->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    TNyomtatoSorokModositasDlg text(S.Fonts, S.Messages);
    EXPECT_EQ(text.windowTitle(), "Printer text properties");
    EXPECT_EQ(text.edY->text(), "120");
    EXPECT_TRUE(text.edY->isEnabled());
    EXPECT_EQ(text.stFontnev->text(), "Arial");
}

TEST_F(TextDialogsTest, TypedPositionEnablesTheEditsAndTheChoiceStaysBetweenUses) {
    TUjNyomtatoSzovegDlg d(S.Fonts, S.Messages);
    d.rbBeallitott->click();
    EXPECT_TRUE(d.edX->isEnabled());
    EXPECT_TRUE(d.udY->isEnabled());
    d.show();
    d.btnMegsem->click();
    d.show();
    EXPECT_TRUE(d.rbBeallitott->isChecked());
    EXPECT_TRUE(d.edY->isEnabled());
    d.rbEgerrel->click();
    EXPECT_FALSE(d.edX->isEnabled());
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
}

TEST_F(TextDialogsTest, UpDownsStepTenWithinTheirRangeWithoutLimitingTypedText) {
    TNyomtatoSzovegModositasDlg d(S.Fonts, S.Messages);
    d.udBal->UpButton->click();
    EXPECT_EQ(d.edBal->text(), "20");
    d.edBal->setText("1185");
    d.udBal->UpButton->click();
    EXPECT_EQ(d.edBal->text(), "1189");
    d.edBal->setText("5");
    d.udBal->DownButton->click();
    EXPECT_EQ(d.edBal->text(), "0");
    d.edBal->setText("2000");
    EXPECT_EQ(d.edBal->text(), "2000") << "out of range values reach the editor's check";
    // Text that is no number steps from where the arrows last left it.
    d.edBal->setText("x1");
    QTest::keyClick(d.edBal, Qt::Key_Up);
    EXPECT_EQ(d.edBal->text(), "10");
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
    memo.clear();
    EXPECT_EQ(memo.LineCount(), 0);
}
