// The dialog that changes a caption item.
#pragma once

#include <QDialog>

class TNyomtatoSzovegModositasDlg : public QDialog {
public:
    explicit TNyomtatoSzovegModositasDlg(QWidget* parent = nullptr) : QDialog(parent) {
        setObjectName("TNyomtatoSzovegModositasDlg");
        setWindowTitle(QString::fromUtf8("Modify text"));
    }
};
