// The application object: Qt's, plus the standard exception box. An exception that escapes
// an event handler is shown to the user in a message box instead of ending the program.
#pragma once

#include <functional>
#include <QApplication>

class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // Asked first when the program is told to quit from outside its windows (the session
    // manager's last step, QCoreApplication::quit()): true when it took the request over.
    // Without it Qt asks every window to close, and one that refuses (the navigator) calls
    // the quitting off.
    std::function<bool()> QuitRequested;

protected:
    bool event(QEvent* event) override;
};
