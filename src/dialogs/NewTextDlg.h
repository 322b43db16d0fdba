// The dialog that creates a multi-line text item ("New text").
#pragma once

#include "dialogs/TextItemDlg.h"

class TUjNyomtatoSorokDlg : public TTextItemDlg {
public:
    TUjNyomtatoSorokDlg(TFontDialogs& fonts, TMessageBoxes& messages, QWidget* parent = nullptr);

    TMemo* memoSzoveg;
    QLineEdit* edX; // "20", enabled only with "Coords in edit boxes"
    QLineEdit* edY; // "120"
    TUpDown* udX;
    TUpDown* udY;
    QRadioButton* rbBeallitott; // "Coords in edit boxes"
    QRadioButton* rbEgerrel;    // "Select with mouse" (the first choice)
};
