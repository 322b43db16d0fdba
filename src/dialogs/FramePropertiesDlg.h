// The dialog that edits every property of a frame item except its members.
#pragma once

#include "dialogs/AlapDlg.h"

class TNyomtatoKeretModositasDlg : public TAlapDlg {
public:
    explicit TNyomtatoKeretModositasDlg(QWidget* parent = nullptr) : TAlapDlg(parent) {
        setObjectName("TNyomtatoKeretModositasDlg");
        setWindowTitle("Frame properties");
    }
};
