// A file's bytes read only where a reader looks: readers that pass over large parts of a file
// (the rows of big pictures) read just the rest. The bytes are fetched with positioned reads
// into memory of the file's size whose untouched pages cost nothing, so a file that is cut
// short while it is read gives a read error rather than a crash.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/BinaryStream.h"

class TOnDemandFile : public TByteSource {
public:
    // The file at path, or nothing with the reason in why (worded as ReadWholeFile words it).
    // What is not a regular file (a pipe, a device) is read whole at once.
    static std::optional<TOnDemandFile> Open(const std::string& path, std::string& why);

    TOnDemandFile(TOnDemandFile&& other) noexcept;
    TOnDemandFile& operator=(TOnDemandFile&&) = delete;
    TOnDemandFile(const TOnDemandFile&) = delete;
    ~TOnDemandFile() override;

    // The file's bytes as they were sized when it was opened: only what Fill brought in is
    // valid, the rest reads as zeros. Streams over them take this object as their source.
    std::span<const uint8_t> Bytes() const;
    // Reads the chunks of [offset, offset + n) not read yet; EReadError when the file no
    // longer holds them.
    void Fill(size_t offset, size_t n) override;
    // Reads [offset, offset + n) from the file into out, keeping no copy here.
    void CopyOut(size_t offset, size_t n, uint8_t* out) override;
    // The number of bytes read from the file so far.
    uint64_t BytesRead() const { return Read; }

private:
    TOnDemandFile() = default;
    void CheckRange(size_t offset, size_t n) const;
    // n bytes of the file from offset into out; EReadError when it no longer holds them.
    void ReadAt(size_t offset, size_t n, uint8_t* out);

    int Fd = -1;
    uint8_t* Memory = nullptr; // anonymous, of Size bytes
    size_t Size = 0;
    std::vector<bool> Loaded; // per chunk
    uint64_t Read = 0;
    std::vector<uint8_t> Copy; // the bytes of what was read whole
};
