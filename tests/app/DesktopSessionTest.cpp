// The real program on an X server of its own, worked by keys as a user works it (xdotool):
// a file named on the command line opens with its name in the title, an edit marks it,
// closing with the change asks first, Ctrl+S saves without asking and closing then ends the
// process with status 0. Skipped where Xvfb or xdotool is missing.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "support/ChildExit.h"
#include "support/TempDir.h"

namespace {

using namespace std::chrono_literals;

bool Installed(const char* program) {
    return std::system(("command -v " + std::string(program) + " >/dev/null 2>&1").c_str()) == 0;
}

// An Xvfb server on a free display, ended with the object; Display() empty when none runs.
class TXServer {
public:
    TXServer() {
        if (!Installed("Xvfb") || !Installed("xdotool")) return;
        int fds[2];
        if (::pipe(fds) != 0) return;
        Pid = ::fork();
        if (Pid == 0) {
            ::close(fds[0]);
            ::freopen("/dev/null", "w", stderr);
            const std::string fd = std::to_string(fds[1]);
            ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
                     "-nolisten", "tcp", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        // The display number, written once the server is ready, ends with a line break.
        std::string number;
        char c = 0;
        while (Pid > 0 && ::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        ::close(fds[0]);
        if (!number.empty()) Name = ":" + number;
    }
    ~TXServer() {
        if (Pid <= 0) return;
        ::kill(Pid, SIGTERM);
        ::waitpid(Pid, nullptr, 0);
    }
    TXServer(const TXServer&) = delete;
    TXServer& operator=(const TXServer&) = delete;
    const std::string& Display() const { return Name; }

private:
    pid_t Pid = -1;
    std::string Name;
};

class DesktopSession : public testing::Test {
protected:
    std::string File(const std::string& name) const { return Folder.File(name); }

    // xdotool's output for these arguments on the test's display, its last line break cut.
    std::string Xdo(const std::string& args) {
        const std::string command = "DISPLAY=" + X.Display() + " timeout 20 xdotool " + args +
                                    " 2>/dev/null > '" + File("xdo") + "'";
        if (std::system(command.c_str()) != 0) return {};
        std::ifstream in(File("xdo"));
        std::string out(std::istreambuf_iterator<char>(in), {});
        while (!out.empty() && out.back() == '\n') out.pop_back();
        return out;
    }
    // The first window whose title matches, once it shows (empty after 20 s without).
    std::string WindowTitled(const std::string& regex) {
        std::string ids = Xdo("search --sync --name '" + regex + "'");
        return ids.substr(0, ids.find('\n'));
    }
    void Keys(const std::string& window, const std::string& keys) {
        Xdo("windowfocus --sync " + window);
        Xdo("key --delay 30 " + keys);
    }

    pid_t StartEditor(const std::string& file, const std::string& answers) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::setenv("DISPLAY", X.Display().c_str(), 1);
            ::setenv("QT_QPA_PLATFORM", "xcb", 1);
            ::setenv("XDG_STATE_HOME", File("state").c_str(), 1);
            ::setenv("FS_TEST_ANSWERS", answers.c_str(), 1);
            // In the sanitizer build: what the system's libraries leak is not ours.
            ::setenv("LSAN_OPTIONS", "suppressions=" FS_LSAN_SUPPRESSIONS, 1);
            ::freopen(File("stdout").c_str(), "w", stdout);
            ::freopen("/dev/null", "w", stderr);
            ::execl(FS_APP, FS_APP, file.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        return pid;
    }
    std::string Said() const {
        std::ifstream in(File("stdout"));
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    TTempDir Folder{"desktop"};
    TXServer X;
};

} // namespace

TEST_F(DesktopSession, AFileOpensIsEditedSavedAndClosedAndTheProcessIsGone) {
    if (X.Display().empty()) GTEST_SKIP() << "no Xvfb or xdotool here";
    {
        std::ofstream(File("page.json"))
            << R"({"Captions": [{"Text": "Hello", "Rect": [10, 20, 90, 30]}]})";
    }
    const std::string doc = File("a.PST");
    ASSERT_EQ(std::system(("'" + std::string(FS_CLI) + "' compose '" + File("page.json") + "' '" +
                           doc + "'")
                              .c_str()),
              0);
    const pid_t pid = StartEditor(doc, "cancel");

    const std::string window = WindowTitled("^a\\.PST .*Folioscriptor$");
    ASSERT_FALSE(window.empty()) << "no window titled with the file's name";
    // Everything selected and cut: the title marks the change.
    Keys(window, "ctrl+a ctrl+x");
    EXPECT_FALSE(WindowTitled("^a\\.PST\\* .*Folioscriptor$").empty());

    // Closing asks first; Cancel keeps the editor.
    Keys(window, "alt+c");
    std::this_thread::sleep_for(500ms);
    EXPECT_NE(Said().find("Save the changes to a.PST?"), std::string::npos) << Said();
    EXPECT_EQ(::waitpid(pid, nullptr, WNOHANG), 0) << "the editor ended after Cancel";

    // Ctrl+S saves to the file it came from without asking; closing then ends the program.
    Keys(window, "ctrl+s");
    EXPECT_FALSE(WindowTitled("^a\\.PST .*Folioscriptor$").empty());
    const size_t asked = Said().size();
    Keys(window, "alt+c");
    EXPECT_EQ(WaitForExit(pid, 3000ms), 0);
    EXPECT_EQ(Said().size(), asked) << "closing a saved page asked: " << Said();

    const std::string dump = "'" + std::string(FS_CLI) + "' dump '" + doc + "' --no-pictures > '" +
                             File("dump.json") + "'";
    ASSERT_EQ(std::system(dump.c_str()), 0);
    std::ifstream in(File("dump.json"));
    const std::string json(std::istreambuf_iterator<char>(in), {});
    EXPECT_EQ(json.find("Hello"), std::string::npos) << "the cut caption is still in the file";
    EXPECT_NE(json.find("\"Captions\": ["), std::string::npos) << json;
}
