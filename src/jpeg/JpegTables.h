// Tables shared by the JPEG decoder stages: the zigzag order of T.81 (Figure A.6), Huffman
// decoding tables (T.81 Annex C and F.2.2.3) and quantization tables pre-scaled for the
// inverse DCT.
#pragma once

#include <cstdint>

// Zigzag position k -> natural position (row x 8 + column). Entries 64..79 repeat 63 so that a
// corrupt run length past the end cannot index outside the table.
extern const uint8_t kZigzagToNatural[80];
// Zigzag position k -> transposed position (column x 8 + row), for blocks kept transposed.
extern const uint8_t kZigzagToTransposed[80];
// Natural position -> zigzag position: the exact inverse of kZigzagToNatural.
extern const uint8_t kNaturalToZigzag[64];

// One DHT table. MaxCode/MinCode/ValPtr/HuffVal are the decoding arrays of T.81 F.2.2.3;
// Lookup resolves every code of up to kLookupBits bits with one table read.
struct HuffmanDecoder {
    static constexpr int kLookupBits = 9;

    int32_t MaxCode[16] = {};   // largest code of length L (index L-1); -1 when none
    int32_t MinCode[16] = {};   // smallest code of length L; 257 when none
    uint8_t ValPtr[16] = {};    // index in HuffVal of the first value of length L
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
    uint16_t Values[64] = {};        // as read, zigzag order
    int32_t ScaledValues[64] = {};   // natural order, scaled for the inverse DCT
    int32_t ScaledValuesTransposed[64] = {};  // the same, column by column
    bool Defined = false;

    // ScaledValues[r*8+c] = Values[zigzag(r,c)] x 4096 / (8 s(r) s(c)), truncated, with
    // s(0) = 1 and s(k) = sqrt(2) cos(k pi / 16): the AAN-style factors folded into
    // dequantization.
    void BuildScaledValues();
};
