#include <gtest/gtest.h>

#include <memory>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <vector>

#include "controls/GraphObjectComboBox.h"
#include "dialogs/CaptionPropertiesDlg.h"
#include "dialogs/DialogTestSupport.h"
#include "dialogs/FramePropertiesDlg.h"
#include "dialogs/ImagePositionDlg.h"
#include "dialogs/NewCaptionDlg.h"
#include "dialogs/NewImageDlg.h"
#include "dialogs/NewLineDlg.h"
#include "dialogs/NewTextDlg.h"
#include "dialogs/TextPropertiesDlg.h"
#include "support/ScriptedServices.h"

namespace {

class DialogKeysAndHelpTest : public ::testing::Test {
protected:
    DialogKeysAndHelpTest() {
        TestApp();
        Dialogs.push_back(std::make_unique<TUjNyomtatoSzovegDlg>(S.Fonts, S.Messages));
        Dialogs.push_back(std::make_unique<TNyomtatoSzovegModositasDlg>(S.Fonts, S.Messages));
        Dialogs.push_back(std::make_unique<TUjNyomtatoSorokDlg>(S.Fonts, S.Messages));
        Dialogs.push_back(std::make_unique<TNyomtatoSorokModositasDlg>(S.Fonts, S.Messages));
        Dialogs.push_back(std::make_unique<TUjNyomtatoKepDlg>(S.Files, S.Messages, S.Screen));
        Dialogs.push_back(std::make_unique<TNyomtatoKepModositasDlg>(S.Messages));
        Dialogs.push_back(std::make_unique<TUjNyomtatoVonalDlg>(S.Colors, S.Messages));
        Dialogs.push_back(
            std::make_unique<TNyomtatoKeretModositasDlg>(S.Colors, S.Fonts, S.Messages));
    }
    TScriptedServices S;
    std::vector<std::unique_ptr<QDialog>> Dialogs;
};

QPushButton* ButtonNamed(const QDialog& dialog, const QString& caption) {
    for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
        if (b->text() == caption) return b;
    }
    return nullptr;
}

} // namespace

TEST_F(DialogKeysAndHelpTest, EveryMnemonicLabelLeadsToAControl) {
    for (const auto& dialog : Dialogs) {
        for (QLabel* label : dialog->findChildren<QLabel*>()) {
            if (!label->text().contains('&')) continue;
            EXPECT_NE(label->buddy(), nullptr)
                << dialog->objectName().toStdString() << ": " << label->text().toStdString();
        }
    }
}

TEST_F(DialogKeysAndHelpTest, MnemonicsMoveTheFocusToTheirControls) {
    auto& caption = static_cast<TNyomtatoSzovegModositasDlg&>(*Dialogs[1]);
    ShowActive(caption);
    QTest::keyClick(&caption, Qt::Key_Y, Qt::AltModifier);
    EXPECT_TRUE(caption.edFelso->hasFocus());
    QTest::keyClick(&caption, Qt::Key_T, Qt::AltModifier); // the "&Text" group
    EXPECT_TRUE(caption.edSzoveg->hasFocus());
    caption.hide();

    auto& image = static_cast<TNyomtatoKepModositasDlg&>(*Dialogs[5]);
    ShowActive(image);
    QTest::keyClick(&image, Qt::Key_W, Qt::AltModifier);
    EXPECT_TRUE(image.edSzelesseg->hasFocus());
    image.hide();

    // Labels on hidden tabs share letters with the shown one; only the shown one answers.
    auto& frame = static_cast<TNyomtatoKeretModositasDlg&>(*Dialogs[7]);
    ShowActive(frame);
    frame.PageControl1->setCurrentIndex(3);
    QTest::keyClick(&frame, Qt::Key_F, Qt::AltModifier);
    EXPECT_TRUE(frame.cmbMinta->Inner()->hasFocus());
    QTest::keyClick(&frame, Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(frame.PageControl1->currentIndex(), 0);
    frame.hide();
}

TEST_F(DialogKeysAndHelpTest, EnterTakesOkAndEscapeCancels) {
    for (const auto& dialog : Dialogs) {
        SCOPED_TRACE(dialog->objectName().toStdString());
        QPushButton* ok = ButtonNamed(*dialog, "&Ok");
        ASSERT_NE(ok, nullptr);
        EXPECT_TRUE(ok->isDefault());

        ShowActive(*dialog);
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
    }

    auto& caption = static_cast<TUjNyomtatoSzovegDlg&>(*Dialogs[0]);
    ShowActive(caption);
    caption.edSzoveg->setFocus();
    QTest::keyClick(caption.edSzoveg, Qt::Key_Return);
    EXPECT_FALSE(caption.isVisible());
    EXPECT_EQ(caption.result(), QDialog::Accepted);
}

TEST_F(DialogKeysAndHelpTest, SugoShowsTheDialogsHelpUnderItsTitle) {
    for (const auto& dialog : Dialogs) {
        S.Messages.Shown.clear();
        ButtonNamed(*dialog, QString::fromUtf8("&Súgó"))->click();
        ASSERT_EQ(S.Messages.Shown.size(), 1u);
        EXPECT_EQ(S.Messages.Shown[0].Caption, dialog->windowTitle().toStdString());
        EXPECT_EQ(S.Messages.Shown[0].Flags, MB_OK | MB_ICONINFORMATION);
        EXPECT_GT(S.Messages.Shown[0].Text.size(), 60u);
    }
}
