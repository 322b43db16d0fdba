// Folioscriptor: start-up. Reads the command line, creates the application object and the
// twelve forms in order (the editor window first, as the main window), opens the file named
// on the command line and runs the message loop.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

#include "editor/window/EditorServices.h"
#include "editor/window/EditorWindow.h"
#include "editor/window/Forms.h"
#include "platform/qt/Application.h"
#include "platform/qt/ModalRunner.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtPrinter.h"
#include "platform/qt/QtScreen.h"

namespace {

constexpr char kUsage[] = "usage: folioscriptor [FILE.PST]\n";

// SIGTERM and SIGHUP (the session ends, the terminal goes) reach the message loop through
// this pair of sockets and close the window as the end of the session does.
int SignalPipe[2] = {-1, -1};

void OnEndSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(SignalPipe[1], &byte, 1);
}

} // namespace

int main(int argc, char** argv) {
    // Help and version need no display: they are answered before Qt starts.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf("%s\nA page-layout editor for printed output: opens FILE.PST, or an empty\n"
                        "page without one.\n\n"
                        "  -h, --help     show this help and exit\n"
                        "      --version  show the version and exit\n",
                        kUsage);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("folioscriptor %s\n", FS_VERSION);
            return 0;
        }
    }

    // The application object takes Qt's own options (-platform, -display...) out of argv.
    TApplication app(argc, argv);
    std::string file;
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] == '-' && argv[i][1] != '\0') {
            std::fprintf(stderr, "folioscriptor: unknown option '%s'\n%s", argv[i], kUsage);
            return 2;
        }
        if (!file.empty()) {
            std::fprintf(stderr, "folioscriptor: one file at a time\n%s", kUsage);
            return 2;
        }
        file = argv[i];
    }
    QGuiApplication::setDesktopFileName(FS_APP_ID);

    TQtScreen screen;
    TQtMessageBoxes messages;
    TQtFileDialogs files;
    TQtColorDialogs colors;
    TQtFontDialogs fonts;
    TModalRunner modal;
    // The system's default printer, or the built-in PDF printer where there is none.
    TQtPrinter printer(TQtPrinter::TChoice::SystemDefault, &files);
    TEditorServices services{screen, messages, files, colors, fonts, modal, printer};

    TForms forms;
    CreateForms(forms, services);
    messages.SetParent(forms.MainForm());
    files.SetParent(forms.MainForm());
    TNyomtatoOldalDlg& window = *forms.NyomtatoOldalDlg;

    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, SignalPipe) == 0) {
        auto* notifier = new QSocketNotifier(SignalPipe[0], QSocketNotifier::Read, &app);
        QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
            char byte;
            [[maybe_unused]] const ssize_t n = ::read(SignalPipe[0], &byte, 1);
            window.EndSession();
        });
        struct sigaction action {};
        action.sa_handler = OnEndSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        ::sigaction(SIGTERM, &action, nullptr);
        ::sigaction(SIGHUP, &action, nullptr);
    }

    window.show();
    // The keyboard goes to the editor at start-up, also where no window manager hands it over.
    window.activateWindow();
    // Once the loop runs, so that the message box of a broken file is part of it.
    if (!file.empty()) QTimer::singleShot(0, &window, [&window, file] { window.OpenFile(file); });
    return app.exec();
}
