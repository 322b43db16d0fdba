#include "document/MappedFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Files.h"

std::optional<TMappedFile> TMappedFile::Open(const std::string& path, std::string& why) {
    const auto fail = [&why](const char* what) {
        why = std::string(what) + ": " + std::strerror(errno);
        return std::nullopt;
    };
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return fail("cannot open the file");
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int e = errno;
        ::close(fd);
        errno = e;
        return fail("cannot read the file");
    }
    if (S_ISDIR(st.st_mode)) {
        ::close(fd);
        errno = EISDIR;
        return fail("cannot read the file");
    }
    TMappedFile file;
    if (S_ISREG(st.st_mode) && st.st_size > 0) {
        void* map = ::mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
        ::close(fd);
        if (map != MAP_FAILED) {
            file.Map = map;
            file.MapSize = static_cast<size_t>(st.st_size);
            return file;
        }
    } else {
        ::close(fd);
        if (S_ISREG(st.st_mode)) return file; // an empty file
    }
    auto bytes = ReadWholeFile(path, &why);
    if (!bytes) return std::nullopt;
    file.Copy = std::move(*bytes);
    return file;
}

TMappedFile::TMappedFile(TMappedFile&& other) noexcept
    : Map(other.Map), MapSize(other.MapSize), Copy(std::move(other.Copy)) {
    other.Map = nullptr;
    other.MapSize = 0;
}

TMappedFile::~TMappedFile() {
    if (Map) ::munmap(Map, MapSize);
}

std::span<const uint8_t> TMappedFile::Bytes() const {
    if (Map) return {static_cast<const uint8_t*>(Map), MapSize};
    return Copy;
}
