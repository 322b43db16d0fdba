// A folder of its own for one test: made fresh under the system's temporary folder with a
// unique name (mkdtemp), so tests running at once, in one suite or in the release and the
// sanitizer builds side by side, never share a file; removed with all it holds at the end.
#pragma once

#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

class TTempDir {
public:
    explicit TTempDir(std::string_view tag = "test") {
        std::string pattern =
            (std::filesystem::temp_directory_path() / ("fs-" + std::string(tag) + "-XXXXXX"))
                .string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot make a temporary folder from " + pattern);
        Path = pattern;
    }
    ~TTempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(Path, ignored);
    }
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    // The path of a file or subfolder inside, as a string.
    std::string File(std::string_view name) const { return (Path / name).string(); }
    // Writes a file inside and returns its path.
    std::string Write(std::string_view name, std::span<const uint8_t> bytes) const {
        const std::string path = File(name);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    std::filesystem::path Path;
};
