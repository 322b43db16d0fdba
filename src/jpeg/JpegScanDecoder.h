// Decoding of one scan's entropy-coded data (T.81 F.2 for sequential, G.2 for progressive
// Huffman scans), written once over a bit reader type: JpegBitReader in the product, a
// bit-at-a-time reader in the tests that checks the fast one gives the same results.
#pragma once

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "codec/GraphicsExceptions.h"
#include "jpeg/JpegDecoderState.h"
#include "jpeg/JpegIdct.h"

namespace jpeg_scan {

// Sequential data unit (F.2.2.1, F.2.2.2) into `coef` (zeroed by the caller). Returns whether
// any AC coefficient was decoded. A reader may bring its own faster version of these steps.
template <class Bits>
inline bool DecodeSequentialBlock(Bits& bits, DecoderComponent& c, int16_t* coef) {
    const int s = bits.DecodeSymbol(*c.DcTable);
    c.LastDc = int32_t(uint32_t(c.LastDc) + uint32_t(bits.ReceiveExtend(s)));
    coef[0] = int16_t(c.LastDc);
    bool ac = false;
    for (int k = 1; k < 64; ++k) {
        const int rs = bits.DecodeSymbol(*c.AcTable);
        const int r = rs >> 4, size = rs & 15;
        if (size != 0) {
            if (k + r > 63) throw EJpegFatal("Tartomnyon kívüli érték");
            k += r;
            coef[kZigzagToNatural[k]] = int16_t(bits.ReceiveExtend(size));
            ac = true;
        } else if (r == 15) {
            k += 15;
        } else {
            break;
        }
    }
    return ac;
}

// Clears a block of 64 coefficients with eight 16-byte stores (a memset of this size becomes a
// rep stos, whose start-up costs more than the stores).
[[gnu::always_inline]] inline void ZeroBlock(int16_t* block) {
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    __m128i* p = reinterpret_cast<__m128i*>(block);
    _mm_storeu_si128(p, zero);
    _mm_storeu_si128(p + 1, zero);
    _mm_storeu_si128(p + 2, zero);
    _mm_storeu_si128(p + 3, zero);
    _mm_storeu_si128(p + 4, zero);
    _mm_storeu_si128(p + 5, zero);
    _mm_storeu_si128(p + 6, zero);
    _mm_storeu_si128(p + 7, zero);
#else
    std::memset(block, 0, 64 * sizeof(int16_t));
#endif
}

template <class Bits>
inline void DecodeSequentialUnit(Bits& bits, const JpegKernels& kernels, DecoderComponent& c,
                                 uint32_t row, uint32_t col) {
    alignas(16) int16_t coef[64];
    ZeroBlock(coef);
    uint8_t* out = c.Samples(row, col);
    const DecoderQuantizationTable& table = *c.QuantizationTable;
    bool ac;
    if constexpr (requires {
                      bits.DecodeSequentialBlock(c.LastDc, *c.DcTable, *c.AcTable, coef);
                  }) {
        ac = bits.DecodeSequentialBlock(c.LastDc, *c.DcTable, *c.AcTable, coef); // transposed
        if (ac) kernels.InverseDctTransposed(coef, table.ScaledValuesTransposed, out, c.Stride);
    } else {
        ac = DecodeSequentialBlock(bits, c, coef);
        if (ac) InverseDct(coef, table.ScaledValues, out, c.Stride);
    }
    if (!ac) {
        const uint8_t v = InverseDctDcOnly(coef[0], table.ScaledValues);
        for (int y = 0; y < 8; ++y) std::memset(out + y * c.Stride, v, 8);
    }
}

// Progressive DC scans (G.1.2.1): first scan and refinement.
template <class Bits>
[[gnu::always_inline]] inline void DecodeDcFirst(Bits& bits, DecoderComponent& c, int16_t* block,
                                                 uint32_t al) {
    const int s = bits.DecodeSymbol(*c.DcTable);
    c.LastDc = int32_t(uint32_t(c.LastDc) + uint32_t(bits.ReceiveExtend(s)));
    block[0] = int16_t(uint32_t(c.LastDc) << al);
}

template <class Bits>
[[gnu::always_inline]] inline void DecodeDcRefine(Bits& bits, int16_t* block, uint32_t al) {
    if (bits.Receive(1) != 0) block[0] = int16_t(uint16_t(block[0]) | uint16_t(1u << al));
}

// Progressive AC first scan (G.1.2.2) on one block. Progressive coefficients are kept in
// zigzag order until the picture is finished.
template <class Bits>
[[gnu::always_inline]] inline void DecodeAcFirst(Bits& bits, DecoderComponent& c, int16_t* block,
                                                 const JpegScanHeader& scan) {
    if (c.EobRun > 0) {
        --c.EobRun;
        return;
    }
    for (uint32_t k = scan.Ss; k <= scan.Se;) {
        const int rs = bits.DecodeSymbol(*c.AcTable);
        const uint32_t r = uint32_t(rs) >> 4;
        const int s = rs & 15;
        if (s != 0) {
            k += r;
            if (k > 63) throw EJpegBadData("Tartományon kívüli adat");
            block[k] = int16_t(uint32_t(bits.ReceiveExtend(s)) << scan.Al);
            ++k;
        } else if (r == 15) {
            k += 16;
        } else {
            if (r > 0) c.EobRun = (1u << r) + bits.Receive(int(r)) - 1;
            return;
        }
    }
}

// Progressive AC refinement (G.1.2.3) on one block.
template <class Bits>
[[gnu::always_inline]] inline void DecodeAcRefine(Bits& bits, DecoderComponent& c, int16_t* block,
                                                  const JpegScanHeader& scan) {
    const int32_t p1 = int32_t(1) << scan.Al;
    auto refine = [&](uint32_t k) {
        int16_t& v = block[k];
        if (v != 0 && bits.Receive(1) != 0) v = int16_t(v > 0 ? v + p1 : v - p1);
    };
    // A reader that offers them finds the ends of runs and the coefficients to refine by bit
    // masks (bit k set for a non-zero block[k]) where the run ends inside the band; otherwise,
    // and where the stream is at fault, coefficient by coefficient, in the stream's order.
    constexpr bool kMasks = requires { bits.RefinePositions(block, uint64_t(0), p1); };
    uint64_t nonZero = 0;
    if constexpr (kMasks) nonZero = Bits::NonZeroMask(block);
    // Bits from..to (to <= 63), empty when from > to.
    auto span = [](uint32_t from, uint32_t to) {
        return from > to ? 0 : (~uint64_t(0) >> (63 - to)) & (~uint64_t(0) << from);
    };
    // The position of the zero coefficient that follows `zeros` others from k, or 64.
    auto runEnd = [&](uint32_t k, uint32_t zeros) -> uint32_t {
        uint64_t zero = ~nonZero & (~uint64_t(0) << k);
        for (uint32_t i = 0; i < zeros && zero != 0; ++i) zero &= zero - 1;
        return zero != 0 ? uint32_t(__builtin_ctzll(zero)) : 64;
    };
    uint32_t k = scan.Ss;
    for (;;) {
        if (k > scan.Se) return;
        if (c.EobRun > 0) {
            if constexpr (kMasks) {
                bits.RefinePositions(block, nonZero & span(k, scan.Se), p1);
            } else {
                for (; k <= scan.Se; ++k) refine(k);
            }
            --c.EobRun;
            return;
        }
        const int rs = bits.DecodeSymbol(*c.AcTable);
        const uint32_t r = uint32_t(rs) >> 4;
        const int s = rs & 15;
        if (s != 0) {
            if (s != 1) throw EJpegBadData("Érvénytelen érték a bemeneten");
            const uint32_t b = bits.Receive(1);
            if constexpr (kMasks) {
                const uint32_t end = runEnd(k, r);
                if (end <= scan.Se) {
                    if (end > k) bits.RefinePositions(block, nonZero & span(k, end - 1), p1);
                    block[end] = int16_t(b != 0 ? p1 : -p1);
                    nonZero |= uint64_t(1) << end;
                    k = end + 1;
                    continue;
                }
            }
            uint32_t zeros = 0;
            for (; k <= 63; ++k) {
                const int16_t v = block[k];
                if (zeros >= r && v == 0) break;
                if (k > scan.Se) throw EJpegBadData("Hiba a növekményes vizsglatban");
                if (v != 0)
                    refine(k);
                else
                    ++zeros;
            }
            if (k > scan.Se) throw EJpegBadData("Hiba a növekményes vizsgálatban");
            block[k] = int16_t(b != 0 ? p1 : -p1);
            nonZero |= uint64_t(1) << k;
            ++k;
        } else if (r == 15) {
            if constexpr (kMasks) {
                const uint32_t end = runEnd(k, 15); // the 16th zero
                if (end <= scan.Se) {
                    bits.RefinePositions(block, nonZero & span(k, end), p1);
                    k = end + 1;
                    continue;
                }
            }
            for (uint32_t zeros = 0; k <= 63 && zeros < 16; ++k) {
                if (k > scan.Se) throw EJpegBadData("Hibás adat");
                if (block[k] != 0)
                    refine(k);
                else
                    ++zeros;
            }
        } else if (r > 0) {
            c.EobRun = (1u << r) + bits.Receive(int(r));
        } else {
            c.EobRun = 1;
        }
    }
}

// The MCU order of T.81 A.2 for one scan (interleaved when the scan has several components,
// one data unit at a time otherwise; progressive AC scans use the first component only), with
// a restart marker expected every RestartInterval MCUs. decodeUnit(component, row, column)
// decodes one data unit.
template <class Bits, class DecodeUnit>
void RunScan(JpegDecoderState& st, JpegByteReader& input, JpegScanHeader& scan, Bits& bits,
             DecodeUnit decodeUnit) {
    for (uint32_t i = 0; i < scan.ComponentCount; ++i) scan.Components[i]->LastDc = 0;
    uint32_t counter = 0;
    auto restartCheck = [&] {
        if (st.RestartInterval != 0 && counter == st.RestartInterval) {
            bits.Finish();
            st.ProcessRestart(input, scan);
            bits.Restart();
            counter = 0;
        }
    };

    const bool acScan = st.Progressive && scan.Ss != 0;
    if (scan.ComponentCount > 1 && !acScan) {
        // A sequential scan that covers the whole frame writes the picture as it goes, one MCU
        // row at a time while the samples are still in cache.
        const bool writeRows = !st.Progressive && scan.ComponentCount == st.ComponentCount;
        for (uint32_t mcuRow = 0; mcuRow < st.McuRows; ++mcuRow) {
            if (st.RowPipeline)
                for (uint32_t i = 0; i < scan.ComponentCount; ++i)
                    scan.Components[i]->FirstRow =
                        mcuRow * 8 * scan.Components[i]->VerticalFrequency;
            for (uint32_t mcuCol = 0; mcuCol < st.McuCols; ++mcuCol) {
                restartCheck();
                for (uint32_t i = 0; i < scan.ComponentCount; ++i) {
                    DecoderComponent& c = *scan.Components[i];
                    for (uint32_t v = 0; v < c.VerticalFrequency; ++v)
                        for (uint32_t h = 0; h < c.HorizontalFrequency; ++h)
                            decodeUnit(c, mcuRow * c.VerticalFrequency + v,
                                       mcuCol * c.HorizontalFrequency + h);
                }
                ++counter;
            }
            if (writeRows) st.WriteRows(mcuRow * st.McuHeight, (mcuRow + 1) * st.McuHeight);
        }
        if (writeRows) st.OutputComplete = true;
    } else {
        DecoderComponent& c = *scan.Components[0];
        // A greyscale sequential frame is written a row of data units at a time.
        const bool writeRows = !st.Progressive && st.ComponentCount == 1;
        for (uint32_t row = 0; row < c.NoninterleavedRows; ++row) {
            if (st.RowPipeline) c.FirstRow = row * 8;
            for (uint32_t col = 0; col < c.NoninterleavedCols; ++col) {
                restartCheck();
                decodeUnit(c, row, col);
                ++counter;
            }
            if (writeRows)
                st.WriteRows(row * 8 * c.VerticalFactor, (row + 1) * 8 * c.VerticalFactor);
        }
        if (writeRows) st.OutputComplete = true;
    }
    bits.Finish();
}

// Decodes one scan's entropy-coded data with a reader of type Bits. A reader that offers a
// Local (a copy of its state for one block) gets the progressive steps run on that copy.
template <class Bits>
void DecodeScan(JpegDecoderState& st, JpegByteReader& input, JpegScanHeader& scan) {
    Bits bits(input);
    const JpegKernels& kernels = *st.Kernels;
    auto onBlock = [&bits](auto step) {
        if constexpr (requires { typename Bits::Local; }) {
            typename Bits::Local local(bits);
            step(local);
            local.Store();
        } else {
            step(bits);
        }
    };
    if (!st.Progressive) {
        RunScan(st, input, scan, bits, [&](DecoderComponent& c, uint32_t row, uint32_t col) {
            DecodeSequentialUnit(bits, kernels, c, row, col);
        });
    } else if (scan.Ss != 0 && scan.Ah == 0) {
        RunScan(st, input, scan, bits, [&](DecoderComponent& c, uint32_t row, uint32_t col) {
            onBlock([&](auto& b) { DecodeAcFirst(b, c, c.Block(row, col), scan); });
        });
    } else if (scan.Ss != 0) {
        RunScan(st, input, scan, bits, [&](DecoderComponent& c, uint32_t row, uint32_t col) {
            onBlock([&](auto& b) { DecodeAcRefine(b, c, c.Block(row, col), scan); });
        });
    } else if (scan.Ah == 0) {
        RunScan(st, input, scan, bits, [&](DecoderComponent& c, uint32_t row, uint32_t col) {
            onBlock([&](auto& b) { DecodeDcFirst(b, c, c.Block(row, col), scan.Al); });
        });
    } else {
        RunScan(st, input, scan, bits, [&](DecoderComponent& c, uint32_t row, uint32_t col) {
            onBlock([&](auto& b) { DecodeDcRefine(b, c.Block(row, col), scan.Al); });
        });
    }
}

} // namespace jpeg_scan
