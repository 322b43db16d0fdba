// Small helpers the item dialogs are built with: placed controls with their captions, labels
// whose mnemonic reaches the control beside them, the dialogs' font and the help box.
#pragma once

#include <QString>

class QCheckBox;
class QDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;
class TMessageBoxes;

// The dialogs' font: "MS Sans Serif" (or what the system shows for it), 11 pixels.
void UseDialogFont(QWidget& dialog);

// A control named name (its member name) at x, y with width w (and height h).
QGroupBox* MakeGroup(const char* title, QWidget* parent, int x, int y, int w, int h);
QLineEdit* MakeEdit(const char* name, const char* text, QWidget* parent, int x, int y, int w);
QPushButton* MakeButton(const char* name, const char* caption, QWidget* parent, int x, int y,
                        int w = 75);
QCheckBox* MakeCheckBox(const char* name, const char* caption, QWidget* parent, int x, int y,
                        int w);
QRadioButton* MakeRadio(const char* name, const char* caption, QWidget* parent, int x, int y,
                        int w);
// A label at x, y; its mnemonic (and a click on it) moves the focus to buddy.
QLabel* MakeLabel(const char* caption, QWidget* parent, int x, int y, int w,
                  QWidget* buddy = nullptr);

// The "&Ok" (default, accepts), "&Mégsem" (cancels) and "&Súgó" buttons, right-aligned in
// a dialog clientWidth wide with their top at y. Súgó shows helpText.
struct TDialogButtons {
    QPushButton* Ok;
    QPushButton* Cancel;
    QPushButton* Help;
};
TDialogButtons MakeDialogButtons(QDialog& dialog, int clientWidth, int y, TMessageBoxes& messages,
                                 QString helpText);

// The help box of a dialog: its text under the dialog's title.
void ShowDialogHelp(TMessageBoxes& messages, const QWidget& dialog, const QString& text);
