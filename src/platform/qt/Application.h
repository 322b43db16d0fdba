// The application object: Qt's, plus the standard exception box. An exception that escapes
// an event handler is shown to the user in a message box instead of ending the program.
#pragma once

#include <QApplication>

class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
