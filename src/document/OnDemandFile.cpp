#include "document/OnDemandFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Files.h"

namespace {

constexpr size_t kChunk = size_t{64} << 10;

} // namespace

std::optional<TOnDemandFile> TOnDemandFile::Open(const std::string& path, std::string& why) {
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
    TOnDemandFile file;
    if (S_ISREG(st.st_mode)) {
        if (st.st_size == 0) {
            ::close(fd);
            return file;
        }
        const auto size = static_cast<size_t>(st.st_size);
        void* memory = ::mmap(nullptr, size, PROT_READ | PROT_WRITE,
                              MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (memory == MAP_FAILED) {
            const int e = errno;
            ::close(fd);
            errno = e;
            return fail("cannot read the file");
        }
        file.Fd = fd;
        file.Memory = static_cast<uint8_t*>(memory);
        file.Size = size;
        file.Loaded.assign((size + kChunk - 1) / kChunk, false);
        return file;
    }
    ::close(fd);
    auto bytes = ReadWholeFile(path, &why);
    if (!bytes) return std::nullopt;
    file.Copy = std::move(*bytes);
    return file;
}

TOnDemandFile::TOnDemandFile(TOnDemandFile&& other) noexcept
    : Fd(other.Fd), Memory(other.Memory), Size(other.Size), Loaded(std::move(other.Loaded)),
      Read(other.Read), Copy(std::move(other.Copy)) {
    other.Fd = -1;
    other.Memory = nullptr;
    other.Size = 0;
}

TOnDemandFile::~TOnDemandFile() {
    if (Memory) ::munmap(Memory, Size);
    if (Fd >= 0) ::close(Fd);
}

std::span<const uint8_t> TOnDemandFile::Bytes() const {
    if (Memory) return {Memory, Size};
    return Copy;
}

void TOnDemandFile::Fill(size_t offset, size_t n) {
    if (!Memory || n == 0) return;
    CheckRange(offset, n);
    const size_t last = (offset + n - 1) / kChunk;
    for (size_t chunk = offset / kChunk; chunk <= last; ++chunk) {
        if (Loaded[chunk]) continue;
        // The run of chunks not read yet, in one read.
        size_t end = chunk + 1;
        while (end <= last && !Loaded[end]) ++end;
        const size_t from = chunk * kChunk, to = std::min(Size, end * kChunk);
        ReadAt(from, to - from, Memory + from);
        std::fill(Loaded.begin() + static_cast<ptrdiff_t>(chunk),
                  Loaded.begin() + static_cast<ptrdiff_t>(end), true);
        chunk = end - 1;
    }
}

void TOnDemandFile::CopyOut(size_t offset, size_t n, uint8_t* out) {
    if (n == 0) return;
    if (!Memory) {
        if (offset > Copy.size() || n > Copy.size() - offset)
            throw EReadError("read past the end of the file");
        std::memcpy(out, Copy.data() + offset, n);
        return;
    }
    CheckRange(offset, n);
    ReadAt(offset, n, out);
}

void TOnDemandFile::CheckRange(size_t offset, size_t n) const {
    if (offset > Size || n > Size - offset) throw EReadError("read past the end of the file");
}

void TOnDemandFile::ReadAt(size_t offset, size_t n, uint8_t* out) {
    for (size_t done = 0; done < n;) {
        const ssize_t got = ::pread(Fd, out + done, n - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw EReadError(std::string("cannot read the file: ") + std::strerror(errno));
        if (got == 0)
            throw EReadError("the file became shorter while it was read (" +
                             std::to_string(offset + done) + " of " + std::to_string(Size) +
                             " bytes)");
        done += static_cast<size_t>(got);
        Read += static_cast<uint64_t>(got);
    }
}
