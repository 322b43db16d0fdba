// Windows bitmap files built in code for the imaging, document and command-line tests, with
// the colour every pixel must come out as.
#pragma once

#include <cstdint>
#include <vector>

struct TBmpShape {
    int32_t Width = 3;
    int32_t Height = 2;
    uint16_t BitCount = 24;
    uint32_t HeaderSize = 40; // 124 makes a version 5 header
    uint32_t ColorsUsed = 0;  // palette entries in the file; 0 means all 16 or 256
    uint32_t Compression = 0;
    bool ZeroOffBits = false; // leave the file header's offset to the rows 0
};

// The palette entry i of the fixtures: blue i*3, green 255-i, red i*7 (mod 256).
inline uint32_t FixturePaletteColor(unsigned i) {
    const uint8_t b = static_cast<uint8_t>(i * 3), g = static_cast<uint8_t>(255 - i),
                  r = static_cast<uint8_t>(i * 7);
    return 0xFF000000u | (uint32_t{r} << 16) | (uint32_t{g} << 8) | b;
}

// The palette index (4 and 8 bits) at column x of top row y.
inline unsigned FixtureIndex(const TBmpShape& s, int32_t x, int32_t y) {
    const unsigned entries = s.ColorsUsed      ? s.ColorsUsed
                             : s.BitCount <= 8 ? (1u << s.BitCount)
                                               : 256;
    return static_cast<unsigned>(x * 5 + y * 3) % entries;
}

// The device pixel (0xFFRRGGBB) the fixture must show at column x of top row y.
inline uint32_t FixturePixel(const TBmpShape& s, int32_t x, int32_t y) {
    if (s.BitCount == 24) {
        const uint8_t b = static_cast<uint8_t>(x * 40 + 1), g = static_cast<uint8_t>(y * 50 + 2),
                      r = static_cast<uint8_t>(x * 11 + y * 13 + 3);
        return 0xFF000000u | (uint32_t{r} << 16) | (uint32_t{g} << 8) | b;
    }
    return FixturePaletteColor(FixtureIndex(s, x, y));
}

inline void PutLE(std::vector<uint8_t>& v, uint32_t x, int bytes) {
    for (int i = 0; i < bytes; ++i) v.push_back(static_cast<uint8_t>(x >> (8 * i)));
}

inline std::vector<uint8_t> MakeBmp(const TBmpShape& s) {
    const uint32_t rowBytes = ((uint32_t(s.Width) * s.BitCount + 31) / 32) * 4;
    // Depths above 8 bits have no palette unless colours used says so.
    const uint32_t entries = s.BitCount > 8 || s.ColorsUsed ? s.ColorsUsed : (1u << s.BitCount);
    const uint32_t offBits = 14 + s.HeaderSize + 4 * entries;
    const uint32_t fileSize = offBits + rowBytes * uint32_t(s.Height);
    std::vector<uint8_t> f;
    f.push_back('B');
    f.push_back('M');
    PutLE(f, fileSize, 4);
    PutLE(f, 0, 4);
    PutLE(f, s.ZeroOffBits ? 0 : offBits, 4);
    PutLE(f, s.HeaderSize, 4);
    PutLE(f, static_cast<uint32_t>(s.Width), 4);
    PutLE(f, static_cast<uint32_t>(s.Height), 4);
    PutLE(f, 1, 2);
    PutLE(f, s.BitCount, 2);
    PutLE(f, s.Compression, 4);
    PutLE(f, rowBytes * uint32_t(s.Height), 4);
    PutLE(f, 2835, 4);
    PutLE(f, 2835, 4);
    PutLE(f, s.ColorsUsed, 4);
    PutLE(f, 0, 4);
    f.resize(14 + s.HeaderSize, 0x5A); // the rest of a larger header: anything
    for (uint32_t i = 0; i < entries; ++i) PutLE(f, FixturePaletteColor(i) & 0xFFFFFF, 4);
    for (int32_t row = 0; row < s.Height; ++row) {
        const int32_t y = s.Height - 1 - row; // rows are stored bottom-up
        std::vector<uint8_t> bytes(rowBytes, 0);
        for (int32_t x = 0; x < s.Width; ++x) {
            if (s.BitCount == 24) {
                const uint32_t p = FixturePixel(s, x, y);
                bytes[3 * x] = static_cast<uint8_t>(p);
                bytes[3 * x + 1] = static_cast<uint8_t>(p >> 8);
                bytes[3 * x + 2] = static_cast<uint8_t>(p >> 16);
            } else if (s.BitCount == 8) {
                bytes[x] = static_cast<uint8_t>(FixtureIndex(s, x, y));
            } else {
                const auto i = static_cast<uint8_t>(FixtureIndex(s, x, y));
                bytes[x / 2] |= (x % 2 == 0) ? static_cast<uint8_t>(i << 4) : i;
            }
        }
        f.insert(f.end(), bytes.begin(), bytes.end());
    }
    return f;
}
