// The dialog that sets the pen of a line item, when it is created and when it is modified.
#pragma once

#include "dialogs/AlapDlg.h"

class TUjNyomtatoVonalDlg : public TAlapDlg {
public:
    explicit TUjNyomtatoVonalDlg(QWidget* parent = nullptr) : TAlapDlg(parent) {
        setObjectName("TUjNyomtatoVonalDlg");
        setWindowTitle("New line");
    }
};
