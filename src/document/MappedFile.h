// A file's bytes mapped into memory read-only, for readers that pass over large parts of a file:
// a page is read from the file only when something in it is first looked at.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

class TMappedFile {
public:
    // The file at path, or nothing with the reason in why (worded as ReadWholeFile words it).
    // What cannot be mapped (a pipe, a device) is read whole instead.
    static std::optional<TMappedFile> Open(const std::string& path, std::string& why);

    TMappedFile(TMappedFile&& other) noexcept;
    TMappedFile& operator=(TMappedFile&&) = delete;
    TMappedFile(const TMappedFile&) = delete;
    ~TMappedFile();

    std::span<const uint8_t> Bytes() const;

private:
    TMappedFile() = default;

    void* Map = nullptr;
    size_t MapSize = 0;
    std::vector<uint8_t> Copy; // the bytes of a file that was read whole
};
