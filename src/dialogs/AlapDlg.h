// The base of the dialogs that share the Ok / Mégsem / Súgó button row under a bevel.
#pragma once

#include <QDialog>

class QFrame;
class QPushButton;

class TAlapDlg : public QDialog {
public:
    explicit TAlapDlg(QWidget* parent = nullptr);

    QFrame* Bevel1;
    QPushButton* Button1; // "&Ok": default, accepts
    QPushButton* Button2; // "&Mégsem": rejects
    QPushButton* Button3; // "&Súgó"

protected:
    // Places the bevel over the client area and the buttons in a row below it.
    void LayOutButtons(int clientWidth, int clientHeight);
};
