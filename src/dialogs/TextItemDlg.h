// What the four caption and text dialogs share: the text group (a one-line edit or a memo),
// the X / Y position edits with their up-downs, the optional position mode of the new
// dialogs, the font button with its font dialog and labels, the background check box and
// the button row. The dialogs themselves name the parts as the editor knows them.
#pragma once

#include <QDialog>

#include "dialogs/CommonDialogs.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TMemo;
class TMessageBoxes;
class TUpDown;

class TTextItemDlg : public QDialog {
public:
    TFontDialog FontDialog;
    QGroupBox* GroupBox1; // the text group
    QPushButton* Button4; // opens the font dialog
    QLabel* stFontnev;    // the font's face name
    QLabel* stFontmeret;  // the font's full size in mm (the negated Height)
    QCheckBox* cbKitoltes;
    QPushButton* btnOk;
    QPushButton* btnMegsem;
    QPushButton* btnSugo;

    // Shows the font dialog's face name and negated Height in the font labels.
    void RefreshFontLabels();

protected:
    struct TShape {
        const char* ObjectName;
        const char* Title;
        bool MultiLine;        // a memo instead of a one-line edit
        bool PositionMode;     // "Coords in edit boxes" / "Select with mouse" (new dialogs)
        const char* TextGroup; // "Text" or "&Text"
        const char* XName;     // object names of the position edits
        const char* YName;
        const char* X; // their first contents
        const char* Y;
        const char* FontButton;
        const char* StyleLabel;
        bool FillBackground;
        TFont Font;
        const char* Help;
    };
    TTextItemDlg(const TShape& shape, TFontDialogs& fonts, TMessageBoxes& messages,
                 QWidget* parent);

    QLineEdit* TextLine = nullptr; // one-line dialogs
    TMemo* TextMemo = nullptr;     // multi-line dialogs
    QLineEdit* PosX;
    QLineEdit* PosY;
    TUpDown* UpDownX;
    TUpDown* UpDownY;
    QRadioButton* ByCoords = nullptr; // new dialogs
    QRadioButton* ByMouse = nullptr;
};
