#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

#include "support/ChildExit.h"
#include "support/TempDir.h"

namespace {

class Program : public testing::Test {
protected:
    std::string File(const std::string& name) const { return (Dir / name).string(); }

    // Exit status of a shell command; its output lands in Out.
    int Shell(const std::string& cmd) {
        const int raw = std::system((cmd + " > '" + File("out") + "' 2>&1").c_str());
        std::ifstream in(File("out"));
        Out.assign(std::istreambuf_iterator<char>(in), {});
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }

    // Starts the editor offscreen with args; its process id.
    pid_t Start(const std::vector<std::string>& args) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
            ::setenv("XDG_STATE_HOME", File("state").c_str(), 1);
            std::vector<char*> argv{const_cast<char*>(FS_APP)};
            for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            ::freopen("/dev/null", "w", stderr);
            ::execv(FS_APP, argv.data());
            ::_exit(127);
        }
        return pid;
    }

    TTempDir Folder{"app"};
    fs::path Dir = Folder.Path;
    std::string Out;
};

} // namespace

TEST_F(Program, HelpAndVersionAnswerWithoutADisplayAndBadOptionsFail) {
    EXPECT_EQ(Shell(std::string("env -u DISPLAY -u QT_QPA_PLATFORM '") + FS_APP + "' --help"), 0);
    EXPECT_NE(Out.find("usage: folioscriptor [FILE.PST]"), std::string::npos) << Out;
    EXPECT_EQ(Shell(std::string("env -u DISPLAY '") + FS_APP + "' --version"), 0);
    EXPECT_EQ(Out.rfind("folioscriptor ", 0), 0u) << Out;
    EXPECT_EQ(Shell(std::string("QT_QPA_PLATFORM=offscreen '") + FS_APP + "' --frobnicate"), 2);
    EXPECT_NE(Out.find("unknown option"), std::string::npos) << Out;
}

TEST_F(Program, TheEndOfTheSessionEndsTheProgramWithStatusZero) {
    // With an empty page, and with a file that does not exist (its Load message box open):
    // either way the editor goes within a second and says all went well.
    for (const std::string& file : {std::string(), File("missing.PST")}) {
        const pid_t pid = Start(file.empty() ? std::vector<std::string>{} : std::vector{file});
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        ASSERT_EQ(::waitpid(pid, nullptr, WNOHANG), 0) << "the editor ended on its own";
        const auto sent = std::chrono::steady_clock::now();
        ::kill(pid, SIGTERM);
        EXPECT_EQ(WaitForExit(pid, std::chrono::seconds(5)), 0) << file;
        EXPECT_LT(std::chrono::steady_clock::now() - sent, std::chrono::seconds(1)) << file;
    }
}
