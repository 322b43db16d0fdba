// The recovery copy of the whole program: killed with unsaved changes, the next start offers
// the page back; a copy whose editor still runs is never offered.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "platform/Files.h"
#include "platform/RecoveryFiles.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

#include "support/TempDir.h"

namespace {

class RecoveryProgram : public testing::Test {
protected:
    void SetUp() override {
        Folder = Dir / "state" / "folioscriptor";
        fs::create_directories(Folder);
        // A page with one caption, as an editor that ended left it behind.
        std::ofstream(Dir / "page.json")
            << R"({"Captions": [{"Text": "Kept after the crash", "Rect": [10, 20, 90, 30]}]})";
        const std::string compose = std::string("'") + FS_CLI + "' compose '" +
                                    (Dir / "page.json").string() + "' '" +
                                    (Dir / "page.PST").string() + "'";
        ASSERT_EQ(std::system(compose.c_str()), 0);
    }
    void TearDown() override {
        for (const pid_t pid : Running) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }

    // Leaves the composed page in the folder as the copy of an editor that has ended.
    TRecoveryId LeaveOrphan(const std::string& documentPath) {
        const pid_t pid = ::fork();
        if (pid == 0) ::_exit(0);
        ::waitpid(pid, nullptr, 0);
        const TRecoveryId id{pid, 1000};
        fs::copy_file(Dir / "page.PST", Folder / RecoveryFileName(id, TRecoveryPart::Copy));
        std::ofstream(Folder / RecoveryFileName(id, TRecoveryPart::Info))
            << FormatRecoveryInfo({id, documentPath});
        return id;
    }

    // Starts the editor offscreen with the recovery folder above, the message boxes answered
    // as answers says and written to NAME.out.
    pid_t Start(const std::string& name, const std::string& answers) {
        const std::string out = (Dir / (name + ".out")).string();
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
            ::setenv("XDG_STATE_HOME", (Dir / "state").c_str(), 1);
            ::setenv("FS_TEST_ANSWERS", answers.c_str(), 1);
            ::setenv("FS_RECOVERY_INTERVAL_MS", "100", 1);
            ::freopen(out.c_str(), "w", stdout);
            ::freopen("/dev/null", "w", stderr);
            ::execl(FS_APP, FS_APP, static_cast<char*>(nullptr));
            ::_exit(127);
        }
        Running.push_back(pid);
        return pid;
    }
    std::string Output(const std::string& name) const {
        std::ifstream in(Dir / (name + ".out"));
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // Whether what holds within ten seconds.
    static bool Eventually(const std::function<bool()>& what) {
        for (const auto end = std::chrono::steady_clock::now() + 10s;
             std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(20ms))
            if (what()) return true;
        return what();
    }
    // The copy of the editor with process id pid, once it is there.
    std::string CopyOf(pid_t pid) const {
        for (const auto& entry : fs::directory_iterator(Folder)) {
            const auto parsed = ParseRecoveryFileName(entry.path().filename().string());
            if (parsed && parsed->Id.Pid == pid && parsed->Part == TRecoveryPart::Copy)
                return entry.path().string();
        }
        return {};
    }
    bool HasFilesOf(const TRecoveryId& id) const {
        for (const auto& entry : fs::directory_iterator(Folder)) {
            const auto parsed = ParseRecoveryFileName(entry.path().filename().string());
            if (parsed && parsed->Id == id) return true;
        }
        return false;
    }
    // The caption texts of a document, as the command-line tool dumps them.
    std::string Dump(const std::string& file) const {
        const std::string json = (Dir / "dump.json").string();
        const std::string cmd =
            std::string("'") + FS_CLI + "' dump '" + file + "' > '" + json + "'";
        if (std::system(cmd.c_str()) != 0) return {};
        std::ifstream in(json);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    int Stop(pid_t pid, int signal) {
        ::kill(pid, signal);
        int status = 0;
        ::waitpid(pid, &status, 0);
        std::erase(Running, pid);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    }

    TTempDir Tmp{"recovery"};
    fs::path Dir = Tmp.Path, Folder;
    std::vector<pid_t> Running;
};

} // namespace

TEST_F(RecoveryProgram, AKilledEditorsUnsavedPageIsOfferedAndRestoredAtTheNextStart) {
    const std::string notice = (Dir / "notice.PST").string();
    const TRecoveryId orphan = LeaveOrphan(notice);

    // Restored, the page is unsaved again: the editor keeps its own copy at once and the old
    // one goes.
    const pid_t first = Start("first", "restore");
    ASSERT_TRUE(Eventually([&] { return !CopyOf(first).empty() && !HasFilesOf(orphan); }))
        << Output("first");
    EXPECT_NE(Output("first").find("Restore the unsaved page from "), std::string::npos);
    EXPECT_NE(Output("first").find("changes to notice.PST in " + Dir.string()), std::string::npos)
        << Output("first");
    const std::string firstCopy = CopyOf(first);
    EXPECT_EQ(Stop(first, SIGKILL), -SIGKILL);

    const pid_t second = Start("second", "restore");
    ASSERT_TRUE(Eventually([&] { return !CopyOf(second).empty() && !fs::exists(firstCopy); }))
        << Output("second");
    EXPECT_NE(Output("second").find("Restore the unsaved page from "), std::string::npos);
    EXPECT_NE(Dump(CopyOf(second)).find("\"Kept after the crash\""), std::string::npos);

    // The end of the session keeps the unsaved page for the next start; an editor that
    // discards it leaves nothing behind when it ends.
    EXPECT_EQ(Stop(second, SIGTERM), 0);
    ASSERT_FALSE(CopyOf(second).empty());
    const pid_t third = Start("third", "discard");
    ASSERT_TRUE(Eventually([&] { return CopyOf(second).empty(); })) << Output("third");
    EXPECT_EQ(Stop(third, SIGTERM), 0);
    EXPECT_TRUE(fs::is_empty(Folder));
}

TEST_F(RecoveryProgram, TheCopyOfAnEditorThatStillRunsIsNeverOffered) {
    LeaveOrphan("");
    const pid_t owner = Start("owner", "restore");
    ASSERT_TRUE(Eventually([&] { return !CopyOf(owner).empty(); })) << Output("owner");
    const pid_t other = Start("other", "restore");
    // The other editor has had its chance to ask once its own lock file is there.
    ASSERT_TRUE(Eventually([&] {
        for (const auto& entry : fs::directory_iterator(Folder))
            if (entry.path().filename().string().starts_with("page-" + std::to_string(other)))
                return true;
        return false;
    }));
    std::this_thread::sleep_for(1s);
    EXPECT_EQ(Output("other"), "");
    EXPECT_FALSE(CopyOf(owner).empty());
    EXPECT_EQ(Stop(other, SIGTERM), 0);
    EXPECT_EQ(Stop(owner, SIGTERM), 0);
}
