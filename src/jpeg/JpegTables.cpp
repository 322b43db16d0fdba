// DCT scale factors, Huffman decoding tables (T.81 Annex C) and quantization scaling.
#include "jpeg/JpegTables.h"

#include <cmath>
#include <numbers>

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
        if (code > (int32_t(1) << length)) return false; // over-subscribed: not a prefix code
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

double DctScaleFactor(int row, int column) {
    auto s = [](int k) {
        return k == 0 ? 1.0 : std::numbers::sqrt2 * std::cos(k * std::numbers::pi / 16.0);
    };
    return 1.0 / (8.0 * s(row) * s(column));
}

void DecoderQuantizationTable::BuildScaledValues() {
    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 8; ++c) {
            const double q = Values[kNaturalToZigzag[r * 8 + c]];
            const double f = DctScaleFactor(r, c);
            ScaledValues[r * 8 + c] = int32_t(q * f * 4096.0);
            ScaledValuesTransposed[c * 8 + r] = ScaledValues[r * 8 + c];
        }
    }
}
