#include "platform/qt/ModalRunner.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QWidget>

int TModalRunner::Run(QDialog& dialog) { return ExecModal(dialog); }

int ExecModal(QDialog& dialog) {
    const QPointer<QWidget> before = QApplication::activeWindow();
    const int result = dialog.exec();
    if (before && before != &dialog && before->isVisible() && !QApplication::activeWindow())
        before->activateWindow();
    return result;
}
