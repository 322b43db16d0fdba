#include "platform/qt/Application.h"

#include <exception>
#include <QMessageBox>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("Folioscriptor");
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        QMessageBox::critical(activeWindow(), applicationName(), QString::fromUtf8(e.what()));
    }
    return false;
}

bool TApplication::event(QEvent* event) {
    if (event->type() == QEvent::Quit && QuitRequested && QuitRequested()) return true;
    return QApplication::event(event);
}
