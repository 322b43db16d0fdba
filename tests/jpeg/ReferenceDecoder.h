// A JpegDecoder whose entropy-coded data is read one bit at a time, literally as T.81 F.2.2.3
// to F.2.2.5 describe it, and whose transform and colour conversion are plain C++: the
// yardstick for the fast bit reader, the Huffman look-up and the vector kernels. Used by the
// tests and by the differential fuzzer.
#pragma once

#include "codec/GraphicsExceptions.h"
#include "jpeg/JpegDecoder.h"
#include "jpeg/JpegScanDecoder.h"

class ReferenceBitReader {
public:
    explicit ReferenceBitReader(JpegByteReader& input) : m_Input(input) {}

    void Restart() { m_BitPosition = 0; }
    void Finish() { m_BitPosition = 0; }

    int NextBit() {
        if (m_BitPosition == 0) {
            const int byte = m_Input.Get();
            if (m_Input.AtEnd()) throw EJpegBadData("Premature end of file");
            if (byte == 0xFF) {
                const int next = m_Input.Get();
                if (m_Input.AtEnd()) throw EJpegBadData("Premature end of file");
                if (next == 0xDC) throw EJpegBadData("Unexpected Marker DNL");
                if (next != 0) throw EJpegBadData("Unexpected Marker");
            }
            m_CurrentByte = uint8_t(byte);
            m_BitPosition = 8;
        }
        --m_BitPosition;
        return (m_CurrentByte >> m_BitPosition) & 1;
    }

    uint32_t Receive(int n) {
        uint32_t v = 0;
        for (int i = 0; i < n; ++i) v = 2 * v + uint32_t(NextBit());
        return v;
    }

    int32_t ReceiveExtend(int n) {
        const int32_t v = int32_t(Receive(n));
        if (n == 0) return 0;
        return v < (int32_t(1) << (n - 1)) ? v + 1 - (int32_t(1) << n) : v;
    }

    int DecodeSymbol(const HuffmanDecoder& table) {
        int32_t code = NextBit();
        int length = 1;
        while (table.MaxCode[length - 1] < code) {
            if (length == 16) throw EJpegBadData("Rossz Huffmann-kódhossz");
            code = 2 * code + NextBit();
            ++length;
        }
        return table.HuffVal[table.ValPtr[length - 1] + code - table.MinCode[length - 1]];
    }

private:
    JpegByteReader& m_Input;
    int m_BitPosition = 0;
    uint8_t m_CurrentByte = 0;
};

class ReferenceJpegDecoder : public JpegDecoder {
public:
    ReferenceJpegDecoder() {
        JpegDecoderOptions options;
        options.RowPipeline = false;
        options.Simd = JpegSimd::Scalar;
        SetOptions(options);
    }

protected:
    void DecodeScanData(JpegDecoderState& state, JpegByteReader& input,
                        JpegScanHeader& scan) override {
        jpeg_scan::DecodeScan<ReferenceBitReader>(state, input, scan);
    }
};
