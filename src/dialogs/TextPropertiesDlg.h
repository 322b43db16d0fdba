// The dialog that changes a multi-line text item.
#pragma once

#include <QDialog>

class TNyomtatoSorokModositasDlg : public QDialog {
public:
    explicit TNyomtatoSorokModositasDlg(QWidget* parent = nullptr) : QDialog(parent) {
        setObjectName("TNyomtatoSorokModositasDlg");
        setWindowTitle(QString::fromUtf8("Printer text properties"));
    }
};
