// Fast reader of entropy-coded data (T.81 F.2.2.4 and F.2.2.5): a 64-bit bit buffer filled a
// byte at a time, with stuffed zero bytes removed, and a look-up table for Huffman codes up to
// 9 bits. It reads ahead, but it behaves exactly like a reader that takes one bit at a time:
// a marker or the end of the data is only reported when a bit beyond it is actually needed, and
// Finish() hands back the byte position such a reader would have reached.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "codec/GraphicsExceptions.h"
#include "jpeg/JpegByteReader.h"
#include "jpeg/JpegTables.h"

// T.81 EXTEND (F.2.2.1): an n-bit received value v as the signed difference it stands for.
[[gnu::always_inline]] inline int32_t Extend(int32_t v, int n) {
    return v < (int32_t(1) << (n - 1)) ? v + 1 - (int32_t(1) << n) : v;
}

class JpegBitReader {
public:
    explicit JpegBitReader(JpegByteReader& input) : m_Input(input) { Restart(); }

    // Starts reading at the byte reader's position (start of a scan, after a restart marker).
    void Restart() {
        m_Data = m_Input.Data();
        m_Size = m_Input.Size();
        m_Position = m_Input.Position();
        m_Buffer = 0;
        m_Bits = 0;
        m_Stop = Stop::None;
    }

    // Drops the unread bits of the current byte and moves the byte reader to the byte after it,
    // giving back whole bytes that were read ahead (a stuffed 0xFF stands for two).
    void Finish() {
        size_t position = m_Position;
        for (int shift = 64 - m_Bits; shift <= 56; shift += 8)
            position -= ((m_Buffer >> shift) & 0xFF) == 0xFF ? 2 : 1;
        m_Input.SetPosition(position);
        m_Buffer = 0;
        m_Bits = 0;
    }

    [[gnu::always_inline]] int DecodeSymbol(const HuffmanDecoder& table) {
        if (m_Bits < 16) Fill();
        const uint32_t entry = table.Lookup[m_Buffer >> (64 - HuffmanDecoder::kLookupBits)];
        if (entry != 0) {
            Consume(int(entry >> 8));
            return int(entry & 0xFF);
        }
        return DecodeLongCode(table);
    }

    // The reader's bit buffer copied into a local object for one block, so the compiler can
    // keep it in registers; Store() hands it back. Same interface as the reader.
    class Local {
    public:
        explicit Local(JpegBitReader& parent)
            : m_Parent(parent), m_Buffer(parent.m_Buffer), m_Bits(parent.m_Bits) {}
        void Store() {
            m_Parent.m_Buffer = m_Buffer;
            m_Parent.m_Bits = m_Bits;
        }

        [[gnu::always_inline]] int DecodeSymbol(const HuffmanDecoder& table) {
            if (m_Bits < 16) Refill();
            const uint32_t entry = table.Lookup[m_Buffer >> (64 - HuffmanDecoder::kLookupBits)];
            if (entry != 0) {
                Consume(int(entry >> 8));
                return int(entry & 0xFF);
            }
            Store();
            const int value = m_Parent.DecodeLongCode(table);
            Load();
            return value;
        }
        [[gnu::always_inline]] uint32_t Receive(int n) {
            if (n == 0) return 0;
            if (m_Bits < n) Refill();
            const uint32_t value = uint32_t(m_Buffer >> (64 - n));
            Consume(n);
            return value;
        }
        [[gnu::always_inline]] int32_t ReceiveExtend(int n) {
            if (n == 0) return 0;
            const int32_t v = int32_t(Receive(n));
            return Extend(v, n);
        }

        // Bit k set for each non-zero block[k].
        static uint64_t NonZeroMask(const int16_t* block) {
            uint64_t nonZero = 0;
#if defined(__SSE2__)
            const __m128i zero = _mm_setzero_si128();
            for (int k = 0; k < 64; k += 16) {
                const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + k));
                const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + k + 8));
                const __m128i isZero =
                    _mm_packs_epi16(_mm_cmpeq_epi16(a, zero), _mm_cmpeq_epi16(b, zero));
                nonZero |= uint64_t(~uint32_t(_mm_movemask_epi8(isZero)) & 0xFFFFu) << k;
            }
#else
            for (int k = 0; k < 64; ++k) nonZero |= uint64_t(block[k] != 0) << k;
#endif
            return nonZero;
        }

        // Progressive AC refinement (T.81 G.1.2.3) of the non-zero coefficients whose bits
        // are set in `positions`: one correction bit each, in zigzag order, read up to 16 at a
        // time; a set bit moves the value p1 further from zero.
        [[gnu::always_inline]] void RefinePositions(int16_t* block, uint64_t positions,
                                                    int32_t p1) {
            while (positions != 0) {
                // The next (up to) 16 positions, without a population count (a library call
                // on x86-64's baseline).
                uint8_t at[16];
                int take = 0;
                for (; take < 16 && positions != 0; ++take) {
                    at[take] = uint8_t(__builtin_ctzll(positions));
                    positions &= positions - 1;
                }
                const uint32_t corrections = Receive(take);
                for (int j = 0; j < take; ++j) {
                    const int i = take - 1 - j, k = at[j];
                    const int32_t v = block[k];
                    const int32_t step = -int32_t((corrections >> i) & 1) & (v > 0 ? p1 : -p1);
                    block[k] = int16_t(v + step);
                }
            }
        }

    private:
        void Load() {
            m_Buffer = m_Parent.m_Buffer;
            m_Bits = m_Parent.m_Bits;
        }
        void Refill() {
            Store();
            m_Parent.Fill();
            Load();
        }
        [[gnu::always_inline]] void Consume(int n) {
            if (n > m_Bits) m_Parent.FailAtStop();
            m_Buffer <<= n;
            m_Bits -= n;
        }

        JpegBitReader& m_Parent;
        uint64_t m_Buffer;
        int m_Bits;
    };

    // One sequential data unit (T.81 F.2.2.1, F.2.2.2): the same steps as the generic
    // jpeg_scan::DecodeSequentialBlock, with the bit buffer held in locals for speed. The block
    // is stored transposed (column by column) for InverseDctTransposed.
    bool DecodeSequentialBlock(int32_t& lastDc, const HuffmanDecoder& dcTable,
                               const HuffmanDecoder& acTable, int16_t* coef) {
        uint64_t buffer = m_Buffer;
        int bits = m_Bits;
        auto refill = [&] {
            if (TryFillFast(buffer, bits)) return;
            m_Buffer = buffer;
            m_Bits = bits;
            Fill();
            buffer = m_Buffer;
            bits = m_Bits;
        };
        auto symbol = [&](const HuffmanDecoder& table) -> int {
            if (bits < 32) refill();
            const uint32_t entry = table.Lookup[buffer >> (64 - HuffmanDecoder::kLookupBits)];
            if (entry != 0) {
                const int length = int(entry >> 8);
                if (length > bits) FailAtStop();
                buffer <<= length;
                bits -= length;
                return int(entry & 0xFF);
            }
            m_Buffer = buffer;
            m_Bits = bits;
            const int value = DecodeLongCode(table);
            buffer = m_Buffer;
            bits = m_Bits;
            return value;
        };
        auto receiveExtend = [&](int n) -> int32_t {
            if (n > bits) {
                refill();
                if (n > bits) FailAtStop();
            }
            const int32_t v = int32_t(buffer >> (64 - n));
            buffer <<= n;
            bits -= n;
            return Extend(v, n);
        };

        // The DC difference by the same look-up as AC values: a DC table's symbols are sizes
        // (at most 15, run 0), so its FastAc entries give the code and the extended value.
        if (bits < 32) refill();
        const uint32_t fastDc = dcTable.FastAc[buffer >> (64 - HuffmanDecoder::kLookupBits)];
        const int dcTotal = int(fastDc & 0xFF);
        int32_t diff;
        if (fastDc != 0 && dcTotal <= bits) {
            diff = int32_t(fastDc) >> 16;
            buffer <<= dcTotal;
            bits -= dcTotal;
        } else {
            const int s = symbol(dcTable);
            diff = s != 0 ? receiveExtend(s) : 0;
        }
        lastDc = int32_t(uint32_t(lastDc) + uint32_t(diff));
        coef[0] = int16_t(lastDc);
        bool ac = false;
        for (int k = 1; k < 64; ++k) {
            if (bits < 32) refill();
            // Short code and extra bits in one look-up (both are there, so the order of the
            // checks cannot matter).
            const uint32_t fast = acTable.FastAc[buffer >> (64 - HuffmanDecoder::kLookupBits)];
            const int total = int(fast & 0xFF);
            if (fast != 0 && total <= bits) {
                const int r = int(fast >> 8) & 15;
                if (k + r > 63) throw EJpegFatal("Tartomnyon kívüli érték");
                k += r;
                coef[kZigzagToTransposed[k]] = int16_t(int32_t(fast) >> 16);
                buffer <<= total;
                bits -= total;
                ac = true;
                continue;
            }
            const int rs = symbol(acTable);
            const int r = rs >> 4, size = rs & 15;
            if (size != 0) {
                if (k + r > 63) throw EJpegFatal("Tartomnyon kívüli érték");
                k += r;
                coef[kZigzagToTransposed[k]] = int16_t(receiveExtend(size));
                ac = true;
            } else if (r == 15) {
                k += 15;
            } else {
                break;
            }
        }
        m_Buffer = buffer;
        m_Bits = bits;
        return ac;
    }

    // The next n bits (0 <= n <= 16), first bit most significant.
    [[gnu::always_inline]] uint32_t Receive(int n) {
        if (n == 0) return 0;
        if (m_Bits < n) Fill();
        const uint32_t value = uint32_t(m_Buffer >> (64 - n));
        Consume(n);
        return value;
    }

    // Receive(n) followed by T.81 EXTEND (F.2.2.1).
    [[gnu::always_inline]] int32_t ReceiveExtend(int n) {
        if (n == 0) return 0;
        const int32_t v = int32_t(Receive(n));
        return Extend(v, n);
    }

private:
    enum class Stop { None, EndOfData, Marker, Dnl };

    // A code longer than the look-up: continue bit by bit as T.81 F.2.2.3 does.
    [[gnu::noinline]] int DecodeLongCode(const HuffmanDecoder& table) {
        const uint32_t peek = uint32_t(m_Buffer >> (64 - HuffmanDecoder::kLookupBits));
        Consume(HuffmanDecoder::kLookupBits);
        int32_t code = int32_t(peek);
        int length = HuffmanDecoder::kLookupBits;
        while (table.MaxCode[length - 1] < code) {
            if (length == 16) throw EJpegBadData("Rossz Huffmann-kódhossz");
            code = 2 * code + int32_t(Receive(1));
            ++length;
        }
        return table.HuffVal[table.ValPtr[length - 1] + code - table.MinCode[length - 1]];
    }

    [[gnu::always_inline]] void Consume(int n) {
        if (n > m_Bits) FailAtStop();
        m_Buffer <<= n;
        m_Bits -= n;
    }

    // Fast case of Fill on a buffer held in locals: when the next 8 bytes hold no 0xFF, as many
    // whole bytes as fit go in at once. Returns false, changing nothing, otherwise.
    [[gnu::always_inline]] bool TryFillFast(uint64_t& buffer, int& bits) {
        if (bits > 56 || m_Size - m_Position < 8) return false;
        uint64_t word;
        std::memcpy(&word, m_Data + m_Position, 8);
        word = __builtin_bswap64(word);
        const uint64_t inverted = ~word; // a 0xFF byte becomes a zero byte
        constexpr uint64_t kLow = 0x0101010101010101ull, kHigh = 0x8080808080808080ull;
        if (((inverted - kLow) & ~inverted & kHigh) != 0) return false;
        const int n = (64 - bits) >> 3;
        buffer |= (word >> (64 - 8 * n)) << (64 - bits - 8 * n);
        m_Position += size_t(n);
        bits += 8 * n;
        return true;
    }

    // Appends whole bytes until the buffer holds more than 56 bits or a marker or the end of
    // the data is reached; those stay unread until a bit beyond them is needed.
    [[gnu::noinline]] void Fill() {
        if (TryFillFast(m_Buffer, m_Bits)) return;
        while (m_Bits <= 56) {
            if (m_Position >= m_Size) {
                m_Stop = Stop::EndOfData;
                return;
            }
            const uint8_t byte = m_Data[m_Position];
            if (byte == 0xFF) {
                if (m_Position + 1 >= m_Size) {
                    m_Stop = Stop::EndOfData;
                    return;
                }
                const uint8_t next = m_Data[m_Position + 1];
                if (next != 0) {
                    m_Stop = next == 0xDC ? Stop::Dnl : Stop::Marker;
                    return;
                }
                m_Position += 2;
            } else {
                m_Position += 1;
            }
            m_Buffer |= uint64_t(byte) << (56 - m_Bits);
            m_Bits += 8;
        }
    }

    [[noreturn]] void FailAtStop() const {
        switch (m_Stop) {
        case Stop::Dnl: throw EJpegBadData("Unexpected Marker DNL");
        case Stop::Marker: throw EJpegBadData("Unexpected Marker");
        default: throw EJpegBadData("Premature end of file");
        }
    }

    JpegByteReader& m_Input;
    const uint8_t* m_Data = nullptr;
    size_t m_Size = 0;
    size_t m_Position = 0; // next byte not yet in the buffer
    uint64_t m_Buffer = 0; // unread bits, left-aligned; the bits below them are zero
    int m_Bits = 0;
    Stop m_Stop = Stop::None;
};
