// The small tool window with the page thumbnail, kept above the editor window it belongs to
// (its parent); the user cannot close it.
#pragma once

#include <memory>
#include <QDialog>

class TCursorImage;
class TScreen;

class TPrinterNavigatorDlg : public QDialog {
public:
    explicit TPrinterNavigatorDlg(TScreen& screen, QWidget* parent = nullptr);

    TCursorImage* imLap; // 128 x 111 at (4, 4)

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
};
