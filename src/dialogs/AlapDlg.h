// The base of the dialogs that share the Ok / Mégsem / Súgó button row under a bevel.
#pragma once

#include <QDialog>
#include <QString>

class QFrame;
class QPushButton;
class TMessageBoxes;

class TAlapDlg : public QDialog {
public:
    explicit TAlapDlg(TMessageBoxes& messages, QWidget* parent = nullptr);

    QFrame* Bevel1;
    QPushButton* Button1; // "&Ok": default, accepts
    QPushButton* Button2; // "&Mégsem": rejects
    QPushButton* Button3; // "&Súgó": shows HelpText

    // What the dialog's fields mean, shown by "&Súgó".
    virtual QString HelpText() const;

protected:
    // Places the bevel over the client area and the buttons in a row below it.
    void LayOutButtons(int clientWidth, int clientHeight);

    TMessageBoxes& Messages;
};
