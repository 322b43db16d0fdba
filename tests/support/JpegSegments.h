// Building JPEG streams from parts in tests: the start-of-image marker, a stream's tail after
// its SOI (and JFIF segment), and joining parts, so that headers can be dropped or replaced.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

inline const std::vector<uint8_t> kSoi = {0xFF, 0xD8};

// The stream after SOI and, when dropApp0, after the JFIF segment that follows it too.
inline std::vector<uint8_t> AfterSoi(const std::vector<uint8_t>& jfif, bool dropApp0) {
    size_t at = 2;
    if (dropApp0) at += 2 + (size_t(jfif[4]) << 8 | jfif[5]);
    return std::vector<uint8_t>(jfif.begin() + std::ptrdiff_t(at), jfif.end());
}

inline std::vector<uint8_t> Join(std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> out;
    for (const std::vector<uint8_t>& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}
