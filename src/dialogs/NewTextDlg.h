// The dialog that creates a multi-line text item.
#pragma once

#include <QDialog>

class TUjNyomtatoSorokDlg : public QDialog {
public:
    explicit TUjNyomtatoSorokDlg(QWidget* parent = nullptr) : QDialog(parent) {
        setObjectName("TUjNyomtatoSorokDlg");
        setWindowTitle(QString::fromUtf8("New text"));
    }
};
