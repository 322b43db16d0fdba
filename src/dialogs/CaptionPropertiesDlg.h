// The dialog that changes a caption item ("Modify text").
#pragma once

#include "dialogs/TextItemDlg.h"

class TNyomtatoSzovegModositasDlg : public TTextItemDlg {
public:
    TNyomtatoSzovegModositasDlg(TFontDialogs& fonts, TMessageBoxes& messages,
                                QWidget* parent = nullptr);

    QLineEdit* edSzoveg; // disabled for scale captions and locked texts
    QLineEdit* edBal;    // the caption's left edge
    QLineEdit* edFelso;  // and top edge
    TUpDown* udBal;
    TUpDown* udFelso;
};
