#include "platform/qt/ModalRunner.h"

#include <QDialog>

int TModalRunner::Run(QDialog& dialog) { return dialog.exec(); }
