// The dialog that creates a caption item ("New caption").
#pragma once

#include "dialogs/TextItemDlg.h"

class TUjNyomtatoSzovegDlg : public TTextItemDlg {
public:
    TUjNyomtatoSzovegDlg(TFontDialogs& fonts, TMessageBoxes& messages, QWidget* parent = nullptr);

    QLineEdit* edSzoveg;
    QLineEdit* edX; // "20", enabled only with "Coords in edit boxes"
    QLineEdit* edY; // "120"
    TUpDown* udX;
    TUpDown* udY;
    QRadioButton* rbBeallitott; // "Coords in edit boxes"
    QRadioButton* rbEgerrel;    // "Select with mouse" (the first choice)
};
