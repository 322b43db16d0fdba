// Quantization tables from a quality value and optimal Huffman tables (T.81 Annex K.2, K.3
// and C) for the JPEG encoder.
#include "jpeg/JpegEncoderTables.h"

#include <cmath>
#include <numbers>

#include "codec/GraphicsExceptions.h"
#include "jpeg/JpegTables.h"

const uint8_t kLuminanceExampleTable[64] = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99,
};

const uint8_t kChrominanceExampleTable[64] = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
};

void EncoderQuantizationTable::Build(uint32_t quality, const uint8_t example[64]) {
    if (quality < 1 || quality > 100) throw EJpegValueOutOfRange();
    // 2^(0.12 (50 - quality)), evaluated in this order so that every table comes out the same
    // on every machine. The difference is signed: above 50 the exponent is negative.
    const int32_t steps = 50 - int32_t(quality);
    const double scale = std::exp(std::numbers::ln2 * 6 * steps * 0.02);
    for (int i = 0; i < 64; ++i) {
        const double v = example[kZigzagToNatural[i]] * scale;
        // Compared before the conversion, so a large product cannot overflow the integer.
        uint16_t value = v >= 255.0 ? 255 : uint16_t(v);
        if (value == 0) value = 1;
        Values[i] = value;
    }
    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 8; ++c) {
            const double divisor = DctScaleFactor(r, c) / Values[kNaturalToZigzag[r * 8 + c]];
            ScaledDivisors[r * 8 + c] = divisor;
            ScaledDivisorsTransposed[c * 8 + r] = divisor;
        }
    }
}

void EncoderHuffmanTable::ThrowSymbolOutOfRange() { throw EJpegIndexOutOfRange(); }

void EncoderHuffmanTable::ThrowAlreadyBuilt() {
    throw EJpegFatal("Belső hiba - már vannak Huffmann-kódméretek");
}

void EncoderHuffmanTable::ResetStatistics() {
    for (uint32_t& f : Frequencies) f = 0;
    Frequencies[kReservedSymbol] = 1;
    for (uint8_t& b : Bits) b = 0;
    for (uint8_t& v : HuffVal) v = 0;
    HuffValCount = 0;
    for (uint16_t& c : Codes) c = 0;
    for (uint8_t& s : CodeSizes) s = 0;
    Built = false;
}

void EncoderHuffmanTable::Build() {
    constexpr int kSymbols = 257;
    // A code can be as long as there are symbols less one before K.3 shortens it.
    constexpr int kMaxLength = kSymbols - 1;

    // T.81 Figure K.1: merge the two least frequent trees until one is left. Each symbol's
    // code size is its depth; `others` chains the symbols of a tree together.
    uint32_t freq[kSymbols];
    int codeSize[kSymbols] = {};
    int others[kSymbols];
    for (int i = 0; i < kSymbols; ++i) {
        freq[i] = Frequencies[i];
        others[i] = -1;
    }
    for (;;) {
        // The least frequency above 0; among equal ones the larger symbol (the scan in
        // increasing order keeps the last one found).
        int v1 = -1;
        for (int i = 0; i < kSymbols; ++i)
            if (freq[i] != 0 && (v1 < 0 || freq[i] <= freq[v1])) v1 = i;
        int v2 = -1;
        for (int i = 0; i < kSymbols; ++i)
            if (freq[i] != 0 && i != v1 && (v2 < 0 || freq[i] <= freq[v2])) v2 = i;
        if (v2 < 0) break;
        freq[v1] += freq[v2];
        freq[v2] = 0;
        for (;;) {
            ++codeSize[v1];
            if (others[v1] < 0) break;
            v1 = others[v1];
        }
        others[v1] = v2;
        for (;;) {
            ++codeSize[v2];
            if (others[v2] < 0) break;
            v2 = others[v2];
        }
    }

    // Figure K.2: the number of codes of each size.
    int bits[kMaxLength + 1] = {};
    for (const int size : codeSize)
        if (size != 0) ++bits[size];

    // Figure K.3: while codes longer than 16 bits exist, take two of the longest: their
    // prefix becomes a code one bit shorter, and one shorter code is split into two codes
    // one bit longer to give the second of them a place.
    for (int i = kMaxLength; i > 16; --i) {
        while (bits[i] > 0) {
            int j = i - 2;
            while (j > 0 && bits[j] == 0) --j;
            if (j == 0 || bits[i] < 2)
                throw EJpegFatal("Belső hiba - érvénytelen Huffmann tartomány");
            bits[i] -= 2;
            bits[i - 1] += 1;
            bits[j + 1] += 2;
            bits[j] -= 1;
        }
    }
    // The reserved symbol's code point is the last code of the longest length: drop it.
    int longest = 16;
    while (longest > 0 && bits[longest] == 0) --longest;
    if (longest > 0) --bits[longest];

    // Figure K.4: the symbols (without the reserved one) by code size, then by value.
    HuffValCount = 0;
    for (int size = 1; size <= kMaxLength; ++size) {
        for (int symbol = 0; symbol < 256; ++symbol) {
            if (codeSize[symbol] != size) continue;
            if (HuffValCount == 256) throw EJpegFatal("Belső hiba - túl sok definiált kód");
            HuffVal[HuffValCount++] = uint8_t(symbol);
        }
    }

    int total = 0;
    for (int length = 1; length <= 16; ++length) {
        Bits[length - 1] = uint8_t(bits[length]);
        total += bits[length];
    }
    for (int length = 17; length <= kMaxLength; ++length)
        if (bits[length] != 0) throw EJpegFatal("Belső hiba - érvénytelen Huffmann tartomány");
    if (total >= 256) throw EJpegFatal("Belső hiba - túl sok definiált kód");
    // More codes than symbols: some code would have no value.
    if (total > HuffValCount) throw EJpegFatal("Belső hiba - hiányzó Huffmann érték");

    // Annex C (Figures C.1 to C.3): canonical codes in HuffVal order, consecutive within a
    // length and doubled at each longer length; then indexed by symbol.
    for (uint16_t& c : Codes) c = 0;
    for (uint8_t& s : CodeSizes) s = 0;
    uint32_t code = 0;
    int k = 0;
    for (int length = 1; length <= 16; ++length) {
        for (int n = 0; n < Bits[length - 1]; ++n, ++k, ++code) {
            // A code that does not fit its length repeats a code (or a prefix) already given.
            if (code >= (uint32_t(1) << length))
                throw EJpegFatal("Belső hiba - kettőzött Huffmann-kód");
            if (k >= HuffValCount) throw EJpegFatal("Belső hiba - hiányzó Huffmann érték");
            const uint8_t symbol = HuffVal[k];
            if (CodeSizes[symbol] != 0) throw EJpegFatal("Belső hiba - kettőzött Huffmann érték");
            Codes[symbol] = uint16_t(code);
            CodeSizes[symbol] = uint8_t(length);
        }
        code <<= 1;
    }
    for (int symbol = 0; symbol < 256; ++symbol) {
        if (Frequencies[symbol] != 0 && CodeSizes[symbol] == 0)
            throw EJpegFatal("Belső hiba - hányzó Huffmann-kódméret");
    }
    Built = true;
}
