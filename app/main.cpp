// Folioscriptor: start-up. Reads the command line, creates the application object and the
// twelve forms in order (the editor window first, as the main window), opens the file named
// on the command line and runs the message loop.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
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
#include "platform/RecoveryFiles.h"
#include "platform/RecoveryStore.h"

namespace {

constexpr char kUsage[] = "usage: folioscriptor [FILE.PST]\n";

// SIGTERM and SIGHUP (the session ends, the terminal goes) reach the message loop through
// this pair of sockets and close the window as the end of the session does.
int SignalPipe[2] = {-1, -1};

void OnEndSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(SignalPipe[1], &byte, 1);
}

// FS_TEST_ANSWERS=restore,discard,...: the whole program under test. Message boxes print
// their caption and text on standard output and take these answers in turn (yes, no, ok,
// cancel; restore and save stand for yes, discard for no) instead of asking; once they run
// out, boxes ask as usual.
class TAnsweredMessageBoxes : public TMessageBoxes {
public:
    TAnsweredMessageBoxes(TMessageBoxes& asking, const char* answers) : Asking(asking) {
        std::string word;
        for (const char* p = answers;; ++p) {
            if (*p != ',' && *p != '\0') {
                word += *p;
                continue;
            }
            if (word == "yes" || word == "restore" || word == "save") Answers.push_back(IDYES);
            if (word == "no" || word == "discard") Answers.push_back(IDNO);
            if (word == "ok") Answers.push_back(IDOK);
            if (word == "cancel") Answers.push_back(IDCANCEL);
            word.clear();
            if (*p == '\0') break;
        }
    }
    int Show(const std::string& text, const std::string& caption, unsigned flags) override {
        std::printf("message: %s: %s\n", caption.c_str(), text.c_str());
        std::fflush(stdout);
        if (Answers.empty()) return Asking.Show(text, caption, flags);
        const int answer = Answers.front();
        Answers.pop_front();
        return answer;
    }

private:
    TMessageBoxes& Asking;
    std::deque<int> Answers;
};

// How often the recovery copy is written: every 30 s, or FS_RECOVERY_INTERVAL_MS.
TRecoveryPolicy RecoveryPolicy() {
    TRecoveryPolicy policy;
    if (const char* ms = std::getenv("FS_RECOVERY_INTERVAL_MS")) {
        char* end = nullptr;
        const long value = std::strtol(ms, &end, 10);
        if (end != ms && *end == '\0' && value > 0) policy.IntervalMs = value;
    }
    return policy;
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
    TQtMessageBoxes asking;
    const char* answers = std::getenv("FS_TEST_ANSWERS");
    TAnsweredMessageBoxes answered(asking, answers ? answers : "");
    TMessageBoxes& messages = answers ? static_cast<TMessageBoxes&>(answered) : asking;
    TQtFileDialogs files;
    TQtColorDialogs colors;
    TQtFontDialogs fonts;
    TModalRunner modal;
    // The system's default printer, or the built-in PDF printer where there is none.
    TQtPrinter printer(TQtPrinter::TChoice::SystemDefault, &files);
    TEditorServices services{screen, messages, files, colors, fonts, modal, printer};

    // The copies of unsaved pages; it outlives the window, which keeps its copy there.
    TRecoveryStore recovery(RecoveryFolder(std::getenv("XDG_STATE_HOME"), std::getenv("HOME")));
    if (!recovery.Ok())
        std::fprintf(stderr, "folioscriptor: unsaved changes cannot be kept for a crash: %s\n",
                     recovery.Error().c_str());

    TForms forms;
    CreateForms(forms, services);
    asking.SetParent(forms.MainForm());
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

    app.QuitRequested = [&window] { return window.QuitRequested(); };
    window.show();
    // The keyboard goes to the editor at start-up, also where no window manager hands it over.
    window.activateWindow();
    window.KeepRecoveryCopies(&recovery, RecoveryPolicy());
    // Once the loop runs, so that the message boxes are part of it. A page left unsaved by an
    // editor that ended is offered after the file named: restoring it replaces that page, and
    // the file is still on disk.
    QTimer::singleShot(0, &window, [&window, file] {
        if (!file.empty()) window.OpenFile(file);
        window.OfferRecovery();
    });
    return app.exec();
}
