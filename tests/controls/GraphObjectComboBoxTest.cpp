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

// What the user does when picking entry index from the open list.
void UserPicks(TGraphObjectComboBox& picker, int index) {
    picker.Inner()->setCurrentIndex(index);
    emit picker.Inner()->activated(index);
}

} // namespace

TEST(GraphObjectComboBox, ANewPickerIsAColourListFillingItsPanel) {
    TestApp();
    TScriptedColors colors;
    TGraphObjectComboBox picker(colors);
    EXPECT_EQ(picker.size(), QSize(145, 21));
    EXPECT_EQ(picker.Inner()->geometry(), QRect(0, 0, 145, 21));
    EXPECT_EQ(picker.Inner()->count(), 17);
    EXPECT_EQ(picker.Inner()->currentIndex(), 0);
    EXPECT_EQ(picker.Inner()->itemText(16), "Custom color");
    picker.show();
    picker.resize(200, 24);
    EXPECT_EQ(picker.Inner()->geometry(), QRect(0, 0, 200, 24));

    picker.SetStyle(TGraphObjectComboStyle::gocsPenStyle);
    picker.SetLanguage(TGraphObjectComboLanguage::goclHungarian);
    EXPECT_EQ(picker.Inner()->count(), 5);
    EXPECT_EQ(picker.Inner()->itemText(4), QString::fromUtf8("Szakasz-pont-pont"));
    // The open list is wide enough for the line sample and the longest name.
    EXPECT_GE(picker.Inner()->view()->minimumWidth(), picker.ItemWidth(4));
    EXPECT_GT(picker.ItemWidth(4), 64);
}

TEST(GraphObjectComboBox, PickingTheCustomEntryRunsTheColourDialogAndReportsTheClick) {
    TestApp();
    TScriptedColors colors;
    TGraphObjectComboBox picker(colors);
    picker.SetColor(clGreen);
    int clicks = 0;
    picker.OnClick = [&] { ++clicks; };

    colors.Answers = {std::nullopt};
    UserPicks(picker, kCustomColorIndex);
    EXPECT_EQ(picker.Color(), clGreen);
    EXPECT_EQ(picker.Inner()->currentIndex(), 2) << "cancelled: the list shows the colour again";
    EXPECT_EQ(clicks, 1);

    colors.Answers = {0x336699};
    UserPicks(picker, kCustomColorIndex);
    EXPECT_EQ(picker.Color(), 0x336699);
    EXPECT_EQ(picker.Inner()->currentIndex(), kCustomColorIndex);
    EXPECT_EQ(clicks, 2);

    UserPicks(picker, 15);
    EXPECT_EQ(picker.Color(), clWhite);
    EXPECT_EQ(clicks, 3);
}

TEST(GraphObjectComboBox, TheClosedBoxShowsTheChosenColoursSwatch) {
    TestApp();
    TScriptedColors colors;
    TGraphObjectComboBox picker(colors);
    picker.SetColor(0x00336699); // not in the table: the custom entry with this swatch
    picker.show();
    const QImage shot = picker.grab().toImage();

    QStyleOptionComboBox option;
    option.initFrom(picker.Inner());
    const QRect field = picker.Inner()->style()->subControlRect(
        QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, picker.Inner());
    const QPoint inSwatch = field.topLeft() + QPoint(10, 7);
    EXPECT_EQ(shot.pixelColor(inSwatch), QColor(0x99, 0x66, 0x33));
}
