// Zigzag order, Huffman table construction (T.81 Annex C) and quantization scaling.
#include "jpeg/JpegTables.h"

#include <cmath>
#include <numbers>

const uint8_t kZigzagToNatural[80] = {
     0,  1,  8, 16,  9,  2,  3, 10, 17, 24, 32, 25, 18, 11,  4,  5,
    12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13,  6,  7, 14, 21, 28,
    35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
    58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63,
    63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63,
};

const uint8_t kZigzagToTransposed[80] = {
     0,  8,  1,  2,  9, 16, 24, 17, 10,  3,  4, 11, 18, 25, 32, 40,
    33, 26, 19, 12,  5,  6, 13, 20, 27, 34, 41, 48, 56, 49, 42, 35,
    28, 21, 14,  7, 15, 22, 29, 36, 43, 50, 57, 58, 51, 44, 37, 30,
    23, 31, 38, 45, 52, 59, 60, 53, 46, 39, 47, 54, 61, 62, 55, 63,
    63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63,
};

// Inverse of the first 64 entries above (natural 41 -> 22, natural 48 -> 21).
const uint8_t kNaturalToZigzag[64] = {
     0,  1,  5,  6, 14, 15, 27, 28,
     2,  4,  7, 13, 16, 26, 29, 42,
     3,  8, 12, 17, 25, 30, 41, 43,
     9, 11, 18, 24, 31, 40, 44, 53,
    10, 19, 23, 32, 39, 45, 52, 54,
    20, 22, 33, 38, 46, 51, 55, 60,
    21, 34, 37, 47, 50, 56, 59, 61,
    35, 36, 48, 49, 57, 58, 62, 63,
};

bool HuffmanDecoder::Build(const uint8_t counts[16], const uint8_t* values, int valueCount) {
    Defined = false;
    for (int i = 0; i < 256; ++i) HuffVal[i] = i < valueCount ? values[i] : 0;
    // Canonical codes (T.81 C.2): consecutive within a length, doubled at each longer length.
    int32_t code = 0;
    int index = 0;
    for (int length = 1; length <= 16; ++length) {
        const int n = counts[length - 1];
        if (n == 0) {
            MaxCode[length - 1] = -1;
            MinCode[length - 1] = 257;
            ValPtr[length - 1] = 0;
        } else {
            ValPtr[length - 1] = uint8_t(index);
            MinCode[length - 1] = code;
            MaxCode[length - 1] = code + n - 1;
        }
        code += n;
        index += n;
        if (code > (int32_t(1) << length)) return false;  // over-subscribed: not a prefix code
        code <<= 1;
    }
    // The look-up table answers what the bit-at-a-time procedure of F.2.2.3 would find after
    // reading at most kLookupBits bits.
    for (int bits = 0; bits < (1 << kLookupBits); ++bits) {
        uint16_t entry = 0;
        int32_t c = bits >> (kLookupBits - 1);
        for (int length = 1; length <= kLookupBits; ++length) {
            if (MaxCode[length - 1] >= c) {
                const int symbol = HuffVal[ValPtr[length - 1] + c - MinCode[length - 1]];
                entry = uint16_t(length << 8 | symbol);
                break;
            }
            if (length < kLookupBits) c = 2 * c + ((bits >> (kLookupBits - 1 - length)) & 1);
        }
        Lookup[bits] = entry;
        FastAc[bits] = 0;
        const int length = entry >> 8, run = (entry >> 4) & 15, size = entry & 15;
        if (entry != 0 && size != 0 && length + size <= kLookupBits) {
            // The extra bits follow the code; T.81 EXTEND gives the signed value.
            const int v = (bits >> (kLookupBits - length - size)) & ((1 << size) - 1);
            const int value = v < (1 << (size - 1)) ? v + 1 - (1 << size) : v;
            FastAc[bits] = uint32_t(value) << 16 | uint32_t(run) << 8 | uint32_t(length + size);
        }
    }
    Defined = true;
    return true;
}

void DecoderQuantizationTable::BuildScaledValues() {
    auto s = [](int k) {
        return k == 0 ? 1.0 : std::numbers::sqrt2 * std::cos(k * std::numbers::pi / 16.0);
    };
    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 8; ++c) {
            const double q = Values[kNaturalToZigzag[r * 8 + c]];
            const double f = 1.0 / (8.0 * s(r) * s(c));
            ScaledValues[r * 8 + c] = int32_t(q * f * 4096.0);
            ScaledValuesTransposed[c * 8 + r] = ScaledValues[r * 8 + c];
        }
    }
}
