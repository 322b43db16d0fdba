#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QImage>
#include <QPixmap>
#include <QStyle>
#include <QStyleOptionComboBox>

#include "controls/GraphObjectComboBox.h"
#include "support/QtTestApp.h"
#include "support/ScriptedServices.h"

namespace {

// What the open list does when the user picks entry index.
void UserPicks(TGraphObjectComboBox& picker, int index) {
    picker.Inner()->setCurrentIndex(index);
    emit picker.Inner()->activated(index);
}

} // namespace

TEST(GraphObjectComboBox, PickingTheCustomEntryRunsTheColourDialogAndReportsTheClick) {
    TestApp();
    TScriptedColors colors;
    TGraphObjectComboBox picker(colors);
    EXPECT_EQ(picker.Inner()->geometry(), QRect(0, 0, 145, 21));
    picker.SetColor(clGreen);
    int clicks = 0;
    picker.OnClick = [&] { ++clicks; };

    colors.Answers = {std::nullopt, 0x336699};
    UserPicks(picker, kCustomColorIndex);
    EXPECT_EQ(picker.Color(), clGreen);
    EXPECT_EQ(picker.Inner()->currentIndex(), 2) << "cancelled: the list shows the colour again";
    UserPicks(picker, kCustomColorIndex);
    EXPECT_EQ(picker.Color(), 0x336699);
    EXPECT_EQ(picker.Inner()->currentIndex(), kCustomColorIndex);
    EXPECT_EQ(clicks, 2);
}

TEST(GraphObjectComboBox, TheClosedBoxShowsTheChosenSwatchAndTheListFitsItsNames) {
    TestApp();
    TScriptedColors colors;
    TGraphObjectComboBox picker(colors);
    picker.SetColor(0x00336699);
    picker.show();
    const QImage shot = picker.grab().toImage();
    QStyleOptionComboBox option;
    option.initFrom(picker.Inner());
    const QRect field = picker.Inner()->style()->subControlRect(
        QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, picker.Inner());
    EXPECT_EQ(shot.pixelColor(field.topLeft() + QPoint(10, 7)), QColor(0x99, 0x66, 0x33));

    picker.SetStyle(TGraphObjectComboStyle::gocsPenStyle);
    picker.SetLanguage(TGraphObjectComboLanguage::goclHungarian);
    EXPECT_EQ(picker.Inner()->itemText(4), QString::fromUtf8("Szakasz-pont-pont"));
    EXPECT_GE(picker.Inner()->view()->minimumWidth(), picker.ItemWidth(4));
    EXPECT_GT(picker.ItemWidth(4), picker.width());
}
