#include "dialogs/NavigatorDlg.h"

#include <QCloseEvent>

#include "controls/CursorImage.h"

TPrinterNavigatorDlg::TPrinterNavigatorDlg(TScreen& screen, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("TPrinterNavigatorDlg");
    setWindowTitle("Printer navigator");
    setFixedSize(136, 121);
    // Shown beside the editor, it leaves the keyboard with the editor, so the editor's keys and
    // mnemonics work from the start.
    setAttribute(Qt::WA_ShowWithoutActivating);
    imLap = new TCursorImage(screen, 128, 111, this);
    imLap->move(4, 4);
}

// Every close request is refused: the navigator lives as long as the editor, which hides it
// when it closes itself.
void TPrinterNavigatorDlg::closeEvent(QCloseEvent* event) { event->ignore(); }

// Escape would close a dialog; the navigator stays.
void TPrinterNavigatorDlg::reject() {}
