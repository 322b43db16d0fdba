#include "platform/RecoveryStore.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Files.h"

namespace {

std::vector<std::string> NamesIn(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir)) names.emplace_back(entry->d_name);
    ::closedir(dir);
    return names;
}

// Removes every file of id in folder, the lock file last so that the id stays claimed until
// nothing else of it is left.
void RemoveFilesOf(const std::string& folder, const TRecoveryId& id) {
    for (const std::string& name : NamesIn(folder)) {
        const auto entry = ParseRecoveryFileName(name);
        if (entry && entry->Id == id && entry->Part != TRecoveryPart::Lock)
            ::unlink((folder + "/" + name).c_str());
    }
    ::unlink((folder + "/" + RecoveryFileName(id, TRecoveryPart::Lock)).c_str());
}

// Creates path and its missing parents; the folders made get mode.
bool MakeFolders(const std::string& path, mode_t mode) {
    for (size_t at = 1; at <= path.size(); ++at) {
        if (at != path.size() && path[at] != '/') continue;
        const std::string part = path.substr(0, at);
        if (::mkdir(part.c_str(), mode) != 0 && errno != EEXIST) return false;
    }
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Takes the lock of fd without waiting, and only if fd is still the file at path (an owner
// removing its files may have unlinked it after it was opened here).
bool LockIfCurrent(int fd, const std::string& path) {
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return false;
    struct stat held {
    }, named{};
    return ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

// The lock of id when its owner no longer runs (-1 when it does, or the id is being taken
// care of elsewhere).
int ClaimLock(const std::string& folder, const TRecoveryId& id) {
    const std::string path = folder + "/" + RecoveryFileName(id, TRecoveryPart::Lock);
    int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        if (errno != ENOENT) return -1;
        // No lock file: only the process id can tell. A process that runs under that id may
        // be the owner, so its files are left alone.
        if (id.Pid > INT32_MAX || ::kill(static_cast<pid_t>(id.Pid), 0) == 0 || errno != ESRCH)
            return -1;
        fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) return -1;
    }
    if (!LockIfCurrent(fd, path)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// The page may be private: a file made here is for the user alone, and the safe writer keeps
// the permission bits of the file it replaces.
void MakePrivate(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) ::close(fd);
}

} // namespace

TRecoveryClaim::TRecoveryClaim(TRecoveryId id, std::string folder, int lockFd)
    : Owner(id), Folder(std::move(folder)), LockFd(lockFd) {
    Copy = Folder + "/" + RecoveryFileName(id, TRecoveryPart::Copy);
}

TRecoveryClaim::~TRecoveryClaim() {
    if (LockFd >= 0) ::close(LockFd);
}

void TRecoveryClaim::Discard() {
    if (LockFd < 0) return;
    RemoveFilesOf(Folder, Owner);
    ::close(LockFd);
    LockFd = -1;
}

TRecoveryId TRecoveryStore::ThisProcess() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return {static_cast<int64_t>(::getpid()),
            static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000};
}

TRecoveryStore::TRecoveryStore(std::string folder, TRecoveryId self)
    : Dir(std::move(folder)), Me(self) {
    if (Dir.empty()) {
        Why = "no folder for recovery copies (neither XDG_STATE_HOME nor HOME is set)";
        return;
    }
    if (!MakeFolders(Dir, 0700)) {
        Why = "cannot create " + Dir + ": " + std::strerror(errno);
        return;
    }
    const std::string lock = PathOf(TRecoveryPart::Lock);
    const int fd = ::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        Why = "cannot lock " + lock + ": " + std::strerror(errno);
        if (fd >= 0) ::close(fd);
        return;
    }
    LockFd = fd;
}

TRecoveryStore::~TRecoveryStore() {
    if (LockFd < 0) return;
    if (!Written) RemoveFilesOf(Dir, Me);
    ::close(LockFd);
}

std::string TRecoveryStore::PathOf(TRecoveryPart part) const {
    return Dir + "/" + RecoveryFileName(Me, part);
}

bool TRecoveryStore::Write(std::span<const uint8_t> bytes, const std::string& documentPath) {
    if (!Ok()) return false;
    const std::string info = FormatRecoveryInfo({Me, documentPath});
    if (info != InfoWritten) {
        const std::span<const uint8_t> text(reinterpret_cast<const uint8_t*>(info.data()),
                                            info.size());
        MakePrivate(PathOf(TRecoveryPart::Info));
        if (!WriteFileAtomically(PathOf(TRecoveryPart::Info), text, &Why)) return false;
        InfoWritten = info;
    }
    MakePrivate(PathOf(TRecoveryPart::Copy));
    if (!WriteFileAtomically(PathOf(TRecoveryPart::Copy), bytes, &Why)) return false;
    Written = true;
    return true;
}

bool TRecoveryStore::Remove() {
    if (!Ok()) return true;
    if (::unlink(PathOf(TRecoveryPart::Copy).c_str()) != 0 && errno != ENOENT) {
        Why = std::string("cannot remove the recovery copy: ") + std::strerror(errno);
        return false;
    }
    Written = false;
    return true;
}

std::vector<std::unique_ptr<TRecoveryClaim>> TRecoveryStore::ClaimOrphans() {
    std::vector<std::unique_ptr<TRecoveryClaim>> claims;
    if (!Ok()) return claims;
    std::map<std::pair<int64_t, int64_t>, int> locks;
    const TRecoveryPlan plan = PlanRecovery(NamesIn(Dir), Me, [&](const TRecoveryId& id) {
        const int fd = ClaimLock(Dir, id);
        if (fd >= 0) locks[{id.Pid, id.StartedMs}] = fd;
        return fd >= 0;
    });
    for (const TRecoveryId& id : plan.Clutter) {
        RemoveFilesOf(Dir, id);
        ::close(locks[{id.Pid, id.StartedMs}]);
    }
    for (const TRecoveryId& id : plan.Offer) {
        auto claim = std::make_unique<TRecoveryClaim>(id, Dir, locks[{id.Pid, id.StartedMs}]);
        struct stat st {};
        if (::stat(claim->Copy.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size == 0) {
            // Gone meanwhile, something that is no copy, or the empty file of an editor that
            // ended before it wrote its first copy.
            claim->Discard();
            continue;
        }
        claim->Written = static_cast<int64_t>(st.st_mtim.tv_sec);
        if (const auto text = ReadWholeFile(Dir + "/" + RecoveryFileName(id, TRecoveryPart::Info)))
            if (const auto info = ParseRecoveryInfo(
                    std::string_view(reinterpret_cast<const char*>(text->data()), text->size()));
                info && info->Owner == id)
                claim->Document = info->DocumentPath;
        claims.push_back(std::move(claim));
    }
    std::stable_sort(claims.begin(), claims.end(),
                     [](const auto& a, const auto& b) { return a->WrittenAt() > b->WrittenAt(); });
    return claims;
}
