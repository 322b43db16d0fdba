// The dialog that creates a caption item.
#pragma once

#include <QDialog>

class TUjNyomtatoSzovegDlg : public QDialog {
public:
    explicit TUjNyomtatoSzovegDlg(QWidget* parent = nullptr) : QDialog(parent) {
        setObjectName("TUjNyomtatoSzovegDlg");
        setWindowTitle(QString::fromUtf8("New caption"));
    }
};
