// The About box.
#pragma once

#include <QDialog>

class TAboutDlg : public QDialog {
public:
    explicit TAboutDlg(QWidget* parent = nullptr);
};
