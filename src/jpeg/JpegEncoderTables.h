// Tables of the JPEG encoder: quantization tables scaled from a quality value (T.81 Annex K.1
// example tables) and Huffman tables optimised for the picture from symbol statistics
// (T.81 Annex K.2 and K.3, codes generated as in Annex C).
#pragma once

#include <cstdint>

// T.81 Table K.1 (luminance) and Table K.2 (chrominance), natural order (row x 8 + column).
extern const uint8_t kLuminanceExampleTable[64];
extern const uint8_t kChrominanceExampleTable[64];

struct EncoderQuantizationTable {
    uint16_t Values[64] = {};       // zigzag order, each 1..255: what DQT carries
    double ScaledDivisors[64] = {}; // natural order: f(r, c) / the value at (r, c)
    // ScaledDivisors column by column (index c x 8 + r), as the transform's last pass uses them.
    double ScaledDivisorsTransposed[64] = {};

    // Scales the example table (natural order) by 2^(0.12 (50 - quality)), truncating, with 0
    // raised to 1 and values above 255 lowered to 255. Quality outside 1..100 raises
    // EJpegValueOutOfRange.
    void Build(uint32_t quality, const uint8_t example[64]);
};

// One DC or AC table: symbol statistics, then the DHT form and the code of every symbol.
struct EncoderHuffmanTable {
    static constexpr int kReservedSymbol = 256;

    // Entry 256 is a reserved symbol of frequency 1: it takes the all-ones code point of the
    // longest length, which is then removed, so no code consists of 1-bits only (T.81 K.2).
    uint32_t Frequencies[257] = {};
    uint8_t Bits[16] = {};     // number of codes of length 1..16
    uint8_t HuffVal[256] = {}; // symbols by increasing code length, then by value
    int HuffValCount = 0;
    uint16_t Codes[256] = {};
    uint8_t CodeSizes[256] = {}; // 0: the symbol has no code
    bool Built = false;

    // Clears the statistics (the reserved symbol keeps frequency 1) and the built codes.
    void ResetStatistics();
    // One more occurrence of symbol. A symbol of 256 or more raises EJpegIndexOutOfRange; a
    // table already built raises EJpegFatal.
    void Count(uint32_t symbol) {
        if (symbol >= 256) ThrowSymbolOutOfRange();
        if (Built) ThrowAlreadyBuilt();
        ++Frequencies[symbol];
    }
    // Derives the code lengths from Frequencies (Huffman's procedure as T.81 K.2 states it:
    // among equal frequencies the larger symbol is merged first), limits them to 16 bits
    // (K.3), drops the reserved symbol's code point, and generates the codes (Annex C).
    // Inconsistencies raise EJpegFatal.
    void Build();

    // Bytes of this table in a DHT segment after the class/number byte: 16 + HuffValCount.
    int SegmentSize() const { return 16 + HuffValCount; }

private:
    [[noreturn]] static void ThrowSymbolOutOfRange();
    [[noreturn]] static void ThrowAlreadyBuilt();
};
