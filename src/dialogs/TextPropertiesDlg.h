// The dialog that changes a multi-line text item ("Printer text properties").
#pragma once

#include "dialogs/TextItemDlg.h"

class TNyomtatoSorokModositasDlg : public TTextItemDlg {
public:
    TNyomtatoSorokModositasDlg(TFontDialogs& fonts, TMessageBoxes& messages,
                               QWidget* parent = nullptr);

    TMemo* memoSzoveg;
    QLineEdit* edX; // the text's left edge
    QLineEdit* edY; // and top edge
    TUpDown* udX;
    TUpDown* udY;
};
