// Output of the JPEG encoder: whole bytes of markers and segments, and the bit stream of
// entropy-coded data with byte stuffing (T.81 F.1.2.3 and B.1.1.5).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "codec/GraphicsExceptions.h"

class JpegBitWriter {
public:
    explicit JpegBitWriter(std::vector<uint8_t>& out) : m_Out(out), m_Size(out.size()) {}

    // Makes room for `bytes` more bytes of output; the bit-level calls below rely on it. A
    // call writes at most 8 bytes (four data bytes, each perhaps followed by a stuffed 0x00).
    void Reserve(size_t bytes) {
        if (m_Out.size() - m_Size < bytes) m_Out.resize(m_Size + bytes + m_Out.size() / 2);
    }

    // A Huffman code of `length` bits (1..16), most significant bit first.
    void PutCode(uint32_t code, int length) { Append(code, length); }

    // A code followed by `count` extra bits holding the low bits of value. Extra bits always
    // number 1..16; 0 raises EJpegFatal.
    void PutCodeAndBits(uint32_t code, int length, uint32_t value, int count) {
        if (count == 0) throw EJpegFatal("Belső hiba - érvénytelen bitszám");
        Append(code << count | (value & ((uint32_t(1) << count) - 1)), length + count);
    }

    // Completes the pending bits with 0-bits to a whole byte and writes what is pending. Must
    // precede every byte written directly (markers, segments, the end of a scan).
    void Flush() {
        if (m_Count % 8 != 0) {
            const int pad = 8 - m_Count % 8;
            m_Accumulator <<= pad;
            m_Count += pad;
        }
        Reserve(8);
        while (m_Count >= 8) {
            m_Count -= 8;
            PutStuffed(uint8_t(m_Accumulator >> m_Count));
        }
    }

    // A byte written as it is: markers and segment contents, after Flush.
    void PutByte(uint8_t b) {
        Reserve(1);
        m_Out[m_Size++] = b;
    }
    void PutWord(uint32_t w) {
        PutByte(uint8_t(w >> 8));
        PutByte(uint8_t(w));
    }

    // Cuts the output buffer to the bytes written.
    void Finish() { m_Out.resize(m_Size); }
    size_t Size() const { return m_Size; }

private:
    // Up to 32 bits; whole groups of 32 go out at once. Bits above m_Count in the
    // accumulator are stale and never read.
    void Append(uint32_t bits, int count) {
        m_Accumulator = m_Accumulator << count | bits;
        m_Count += count;
        if (m_Count >= 32) {
            m_Count -= 32;
            PutWord32(uint32_t(m_Accumulator >> m_Count));
        }
    }

    void PutWord32(uint32_t w) {
        uint8_t* p = m_Out.data() + m_Size;
        // A byte of w is 0xFF exactly when that byte of ~w is zero.
        const uint32_t inverted = ~w;
        if (((inverted - 0x01010101u) & ~inverted & 0x80808080u) == 0) {
            p[0] = uint8_t(w >> 24);
            p[1] = uint8_t(w >> 16);
            p[2] = uint8_t(w >> 8);
            p[3] = uint8_t(w);
            m_Size += 4;
            return;
        }
        for (int shift = 24; shift >= 0; shift -= 8) PutStuffed(uint8_t(w >> shift));
    }

    // A data byte of 0xFF is followed by 0x00, so that no marker can appear in the data.
    void PutStuffed(uint8_t b) {
        m_Out[m_Size++] = b;
        if (b == 0xFF) m_Out[m_Size++] = 0;
    }

    std::vector<uint8_t>& m_Out;
    size_t m_Size; // bytes written; m_Out's size is the room made so far
    uint64_t m_Accumulator = 0;
    int m_Count = 0; // pending bits, 0..31
};
