#include "platform/Files.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void SetError(std::string* error, const std::string& what) {
    if (error) *error = what + ": " + std::strerror(errno);
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// path with every symbolic link of its last component followed, even to a file that does not
// exist yet; empty (errno set) on a loop or an unreadable link.
std::string FollowLinks(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::string link(PATH_MAX, '\0');
        const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
        if (n < 0) return {};
        link.resize(static_cast<size_t>(n));
        path = link.front() == '/' ? link : FolderOf(path) + "/" + link;
    }
    errno = ELOOP;
    return {};
}

} // namespace

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path, std::string* error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        SetError(error, "cannot open the file");
        return std::nullopt;
    }
    std::vector<uint8_t> data;
    struct stat st {};
    if (::fstat(fd, &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            ::close(fd);
            errno = EISDIR;
            SetError(error, "cannot read the file");
            return std::nullopt;
        }
        if (S_ISREG(st.st_mode) && st.st_size > 0) data.reserve(static_cast<size_t>(st.st_size));
    }
    uint8_t buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            SetError(error, "cannot read the file");
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        data.insert(data.end(), buf, buf + n);
    }
    ::close(fd);
    return data;
}

TSafeFileWriter::TSafeFileWriter(const std::string& path) {
    if (path.empty()) {
        errno = ENOENT;
        Fail("no file name was given");
        return;
    }
    TargetPath = FollowLinks(path);
    if (TargetPath.empty()) {
        Fail("cannot follow the symbolic link");
        return;
    }
    struct stat st {};
    if (::stat(TargetPath.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) {
            errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
            Fail("cannot replace something that is not a plain file");
            return;
        }
        // The folder may let us rename over a file we may not change; ask as opening the file
        // for writing would.
        if (::faccessat(AT_FDCWD, TargetPath.c_str(), W_OK, 0) != 0) {
            Fail("you may not change this file");
            return;
        }
        HadTarget = true;
        Mode = st.st_mode & 07777;
        Owner = st.st_uid;
        Group = st.st_gid;
    } else if (errno != ENOENT) {
        Fail("cannot reach the file");
        return;
    }
    // The temporary file lives in the target's folder so that the rename stays on one file
    // system and is atomic.
    const size_t slash = TargetPath.rfind('/');
    const size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
    std::string tmpl = TargetPath.substr(0, nameAt) + "." + TargetPath.substr(nameAt) + ".XXXXXX";
    Fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
    if (Fd < 0) {
        Fail("cannot create a file in the folder");
        return;
    }
    TempPath = tmpl;
    Ready = true;
    if (!HadTarget) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        Mode = 0666 & ~mask;
    }
}

TSafeFileWriter::~TSafeFileWriter() { Discard(); }

void TSafeFileWriter::Fail(const std::string& what) {
    SetError(&Why, what);
    Discard();
}

void TSafeFileWriter::Discard() {
    Ready = false;
    if (Fd >= 0) ::close(Fd);
    Fd = -1;
    if (!TempPath.empty()) ::unlink(TempPath.c_str());
    TempPath.clear();
}

void TSafeFileWriter::CloseForProducer() {
    if (!Ready || ProducerWrites) return;
    ::close(Fd);
    Fd = -1; // Commit opens the file again by name
    ProducerWrites = true;
}

bool TSafeFileWriter::Write(std::span<const uint8_t> data) {
    if (!Ok() || ProducerWrites) return false;
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(Fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail("cannot write the file");
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

bool TSafeFileWriter::Commit() {
    if (!Ok()) return false;
    if (ProducerWrites) {
        Fd = ::open(TempPath.c_str(), O_WRONLY | O_CLOEXEC);
        if (Fd < 0) {
            Fail("cannot write the file");
            return false;
        }
    }
    if (HadTarget && ::geteuid() == 0) {
        // Root replacing someone's file leaves it theirs.
        if (::fchown(Fd, Owner, Group) != 0) {
            Fail("cannot keep the file's owner");
            return false;
        }
    }
    if (::fchmod(Fd, Mode) != 0) {
        Fail("cannot keep the file's permissions");
        return false;
    }
    if (::fsync(Fd) != 0) {
        Fail("cannot write the file");
        return false;
    }
    const int fd = Fd;
    Fd = -1;
    if (::close(fd) != 0) {
        Fail("cannot write the file");
        return false;
    }
    if (::rename(TempPath.c_str(), TargetPath.c_str()) != 0) {
        Fail("cannot replace the file");
        return false;
    }
    TempPath.clear();
    Ready = false;
    // The rename reaches the disk only with the folder.
    const int dir = ::open(FolderOf(TargetPath).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        const bool synced = ::fsync(dir) == 0 || errno == EINVAL;
        ::close(dir);
        if (!synced) {
            SetError(&Why, "the file was written but its folder could not be synced");
            return false;
        }
    }
    return true;
}

bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> data,
                         std::string* error) {
    TSafeFileWriter writer(path);
    if (writer.Write(data) && writer.Commit()) return true;
    if (error) *error = writer.Error();
    return false;
}
