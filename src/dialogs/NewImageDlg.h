// The dialog that chooses a picture file and places a new image item.
#pragma once

#include <QDialog>

class TUjNyomtatoKepDlg : public QDialog {
public:
    explicit TUjNyomtatoKepDlg(QWidget* parent = nullptr) : QDialog(parent) {
        setObjectName("TUjNyomtatoKepDlg");
        setWindowTitle(QString::fromUtf8("New image"));
    }
};
