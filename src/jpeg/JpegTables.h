// Tables shared by the JPEG decoder and encoder: the zigzag order of T.81 (Figure A.6), Huffman
// decoding tables (T.81 Annex C and F.2.2.3) and quantization tables pre-scaled for the
// inverse DCT.
#pragma once

#include <cstdint>

// Zigzag position k -> natural position (row x 8 + column). Entries 64..79 repeat 63 so that a
// corrupt run length past the end cannot index outside the table.
inline constexpr uint8_t kZigzagToNatural[80] = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33,
    40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36,
    29, 22, 15, 23, 30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54,
    47, 55, 62, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63,
};

// Zigzag position k -> transposed position (column x 8 + row), for blocks kept transposed.
inline constexpr uint8_t kZigzagToTransposed[80] = {
    0,  8,  1,  2,  9,  16, 24, 17, 10, 3,  4,  11, 18, 25, 32, 40, 33, 26, 19, 12,
    5,  6,  13, 20, 27, 34, 41, 48, 56, 49, 42, 35, 28, 21, 14, 7,  15, 22, 29, 36,
    43, 50, 57, 58, 51, 44, 37, 30, 23, 31, 38, 45, 52, 59, 60, 53, 46, 39, 47, 54,
    61, 62, 55, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63,
};

// Natural position -> zigzag position: the exact inverse of kZigzagToNatural (natural 41, row 5
// column 1, is zigzag 22; natural 48 is zigzag 21).
inline constexpr uint8_t kNaturalToZigzag[64] = {
    0,  1,  5,  6,  14, 15, 27, 28, 2,  4,  7,  13, 16, 26, 29, 42, 3,  8,  12, 17, 25, 30,
    41, 43, 9,  11, 18, 24, 31, 40, 44, 53, 10, 19, 23, 32, 39, 45, 52, 54, 20, 22, 33, 38,
    46, 51, 55, 60, 21, 34, 37, 47, 50, 56, 59, 61, 35, 36, 48, 49, 57, 58, 62, 63,
};

// f(r, c) = 1 / (8 s(r) s(c)) with s(0) = 1 and s(k) = sqrt(2) cos(k pi / 16): the factor that
// turns the output of the scaled (Arai, Agui and Nakajima) transforms into true DCT
// coefficients. Decoder and encoder use these very doubles, so a coefficient is scaled the
// same way in both directions.
double DctScaleFactor(int row, int column);

// One DHT table. MaxCode/MinCode/ValPtr/HuffVal are the decoding arrays of T.81 F.2.2.3;
// Lookup resolves every code of up to kLookupBits bits with one table read.
struct HuffmanDecoder {
    static constexpr int kLookupBits = 11;

    int32_t MaxCode[16] = {}; // largest code of length L (index L-1); -1 when none
    int32_t MinCode[16] = {}; // smallest code of length L; 257 when none
    uint8_t ValPtr[16] = {};  // index in HuffVal of the first value of length L
    uint8_t HuffVal[256] = {};
    bool Defined = false;
    // Indexed by the next kLookupBits bits: (code length << 8) | symbol, or 0 when the code is
    // longer than kLookupBits.
    uint16_t Lookup[1 << kLookupBits] = {};
    // For AC decoding: when a run/size code and its extra bits together fit in kLookupBits
    // bits, (coefficient value << 16) | (run << 8) | total bits; otherwise 0.
    uint32_t FastAc[1 << kLookupBits] = {};

    // Builds the table from the 16 code-length counts and the symbol values. Returns false when
    // the counts do not form a prefix code (more codes of some length than the code space
    // leaves); the table is then unusable.
    bool Build(const uint8_t counts[16], const uint8_t* values, int valueCount);
};

struct DecoderQuantizationTable {
    uint16_t Values[64] = {};                // as read, zigzag order
    int32_t ScaledValues[64] = {};           // natural order, scaled for the inverse DCT
    int32_t ScaledValuesTransposed[64] = {}; // the same, column by column
    bool Defined = false;

    // ScaledValues[r*8+c] = Values[zigzag(r,c)] x 4096 / (8 s(r) s(c)), truncated, with
    // s(0) = 1 and s(k) = sqrt(2) cos(k pi / 16): the AAN-style factors folded into
    // dequantization.
    void BuildScaledValues();
};
