// Places where writing a file fails: a full file system, a folder or file another user owns.
// The full file system is a small tmpfs when the tests run as root (mounting works there).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <string>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fsfaults {

constexpr uid_t kNobody = 65534;

inline bool IsRoot() { return ::geteuid() == 0; }

// Runs fn in a child process as the user nobody (when root) and returns its result, or -1
// when the child could not be run.
inline int AsNobody(const std::function<int()>& fn) {
    const pid_t pid = ::fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        if (IsRoot() &&
            (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(125);
        ::_exit(fn());
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

// A tmpfs of a few kilobytes at dir, unmounted on destruction; Mounted() false when this
// process may not mount.
class TTinyTmpfs {
public:
    explicit TTinyTmpfs(const std::filesystem::path& dir) : Dir(dir) {
        std::filesystem::create_directories(dir);
        Ok = IsRoot() && ::mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=16k") == 0;
    }
    ~TTinyTmpfs() {
        if (Ok) ::umount2(Dir.c_str(), MNT_DETACH);
    }
    TTinyTmpfs(const TTinyTmpfs&) = delete;
    TTinyTmpfs& operator=(const TTinyTmpfs&) = delete;
    bool Mounted() const { return Ok; }

private:
    std::filesystem::path Dir;
    bool Ok = false;
};

// The names in dir, so a test can see that no temporary file was left behind.
inline std::vector<std::string> NamesIn(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace fsfaults
