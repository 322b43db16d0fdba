// The dialog that changes the position and width of an image item.
#pragma once

#include <QDialog>

class TNyomtatoKepModositasDlg : public QDialog {
public:
    explicit TNyomtatoKepModositasDlg(QWidget* parent = nullptr) : QDialog(parent) {
        setObjectName("TNyomtatoKepModositasDlg");
        setWindowTitle(QString::fromUtf8("Image position"));
    }
};
