// JpegEncoder: the baseline sequential process of T.81 (Annex F.1) with a statistics pass for
// optimal Huffman tables (Annex K.2). The picture is converted to Y, Cb, Cr one strip of eight
// rows at a time and transformed once into coefficient buffers; the statistics pass and the
// output pass both read those buffers.
#include "jpeg/JpegEncoder.h"

#include <algorithm>
#include <bit>
#include <memory>
#include <ostream>
#include <string>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "codec/BitmapImage.h"
#include "codec/GraphicsExceptions.h"
#include "jpeg/JpegBitWriter.h"
#include "jpeg/JpegColor.h"
#include "jpeg/JpegEncoderTables.h"
#include "jpeg/JpegFdct.h"

namespace {

constexpr int kComponents = 3;

struct YCbCr {
    uint8_t Y, Cb, Cr;
};

// One colour through the row conversion (JFIF, integers scaled by 4096).
inline YCbCr ToYCbCr(uint8_t r, uint8_t g, uint8_t b) {
    const uint8_t bgr[3] = {b, g, r};
    YCbCr v;
    BgrRowToYCbCr(bgr, &v.Y, &v.Cb, &v.Cr, 1);
    return v;
}

// Bit k set when the coefficient at zigzag position k is not zero.
inline uint64_t NonZeroMask(const int16_t* zigzag) {
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    uint64_t mask = 0;
    for (int i = 0; i < 4; ++i) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(zigzag + 16 * i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(zigzag + 16 * i + 8));
        const __m128i zeros = _mm_packs_epi16(_mm_cmpeq_epi16(a, zero), _mm_cmpeq_epi16(b, zero));
        mask |= uint64_t(uint16_t(~_mm_movemask_epi8(zeros))) << (16 * i);
    }
    return mask;
#else
    uint64_t mask = 0;
    for (int i = 0; i < 64; ++i) mask |= uint64_t(zigzag[i] != 0) << i;
    return mask;
#endif
}

// SSSS of T.81 F.1.2.1: the number of bits of |v| (0 for 0).
inline int Category(int32_t v) { return std::bit_width(uint32_t(v < 0 ? -v : v)); }

// The low bits that follow a category: v itself, or v - 1 for negative values (F.1.2.1.1).
inline uint32_t ExtraBits(int32_t v) { return uint32_t(v < 0 ? v - 1 : v); }

class Encoding {
public:
    Encoding(uint32_t quality, const BitmapImage& picture, std::vector<uint8_t>& out,
             uint64_t coefficientBudget)
        : m_Picture(picture), m_Writer(out), m_CoefficientBudget(coefficientBudget) {
        m_Luminance.Build(quality, kLuminanceExampleTable);
        m_Chrominance.Build(quality, kChrominanceExampleTable);
        m_Width = picture.Width();
        m_Height = picture.Height();
        if (m_Width == 0 || m_Height == 0 || m_Width > JpegEncoder::kMaxSide ||
            m_Height > JpegEncoder::kMaxSide ||
            uint64_t(m_Width) * m_Height > JpegEncoder::kMaxPixels) {
            throw EJpegValueOutOfRange("A JPEG file cannot hold a picture of " +
                                       std::to_string(m_Width) + " x " + std::to_string(m_Height) +
                                       " pixels");
        }
        // A colour-mapped picture without colours holds no pixels to read.
        if (picture.ImageData() == nullptr) throw ESubscriptOutOfRange();
        m_McuRows = (m_Height + 7) / 8;
        m_McuCols = (m_Width + 7) / 8;
        m_Components[0] = {1, 0, &m_Luminance, &m_LuminanceDc, &m_LuminanceAc, 0};
        m_Components[1] = {2, 1, &m_Chrominance, &m_ChrominanceDc, &m_ChrominanceAc, 0};
        m_Components[2] = {3, 1, &m_Chrominance, &m_ChrominanceDc, &m_ChrominanceAc, 0};
    }

    void Run() {
        m_Writer.Reserve(4096 + size_t(m_Width) * m_Height / 4);
        WriteStartOfImage();
        TransformPicture();
        WriteFrameHeader();
        WriteQuantizationTables();
        WriteScan();
        m_Writer.PutByte(0xFF);
        m_Writer.PutByte(0xD9); // EOI
        m_Writer.Finish();
    }

private:
    struct Component {
        uint8_t Identifier;
        uint8_t TableNumber; // quantization and Huffman tables: 0 luminance, 1 chrominance
        const EncoderQuantizationTable* Quantization;
        EncoderHuffmanTable* Dc;
        EncoderHuffmanTable* Ac;
        int32_t LastDc;
    };

    void Marker(uint8_t code) {
        m_Writer.PutByte(0xFF);
        m_Writer.PutByte(code);
    }

    void WriteStartOfImage() {
        Marker(0xD8); // SOI
        Marker(0xE0); // APP0: JFIF 1.1, no units, aspect ratio 1:1, no thumbnail
        m_Writer.PutWord(16);
        for (uint8_t b : {'J', 'F', 'I', 'F', '\0'}) m_Writer.PutByte(b);
        m_Writer.PutByte(1);
        m_Writer.PutByte(1);
        m_Writer.PutByte(0);
        m_Writer.PutWord(1);
        m_Writer.PutWord(1);
        m_Writer.PutByte(0);
        m_Writer.PutByte(0);
    }

    void WriteFrameHeader() {
        Marker(0xC0); // SOF0: baseline, 8-bit samples, three components sampled 1 x 1
        m_Writer.PutWord(8 + 3 * kComponents);
        m_Writer.PutByte(8);
        m_Writer.PutWord(m_Height);
        m_Writer.PutWord(m_Width);
        m_Writer.PutByte(kComponents);
        for (const Component& c : m_Components) {
            m_Writer.PutByte(c.Identifier);
            m_Writer.PutByte(0x11);
            m_Writer.PutByte(c.TableNumber);
        }
    }

    void WriteQuantizationTables() {
        Marker(0xDB); // DQT: two tables of 8-bit values in zigzag order
        m_Writer.PutWord(2 + 2 * 65);
        m_Writer.PutByte(0);
        for (uint16_t v : m_Luminance.Values) m_Writer.PutByte(uint8_t(v));
        m_Writer.PutByte(1);
        for (uint16_t v : m_Chrominance.Values) m_Writer.PutByte(uint8_t(v));
    }

    // One strip of eight picture rows as Y, Cb and Cr planes of m_McuCols x 8 samples a row.
    // Columns right of the picture repeat its last column, rows below it its last row.
    void ConvertStrip(uint32_t mcuRow, uint8_t* planes[kComponents], size_t stride) {
        const uint32_t first = mcuRow * 8;
        for (uint32_t i = 0; i < 8; ++i) {
            uint8_t* y = planes[0] + i * stride;
            uint8_t* cb = planes[1] + i * stride;
            uint8_t* cr = planes[2] + i * stride;
            if (first + i >= m_Height) {
                for (int k = 0; k < kComponents; ++k)
                    std::copy_n(planes[k] + (i - 1) * stride, stride, planes[k] + i * stride);
                continue;
            }
            ConvertRow(m_Picture.Row(first + i), y, cb, cr);
            for (size_t x = m_Width; x < stride; ++x) {
                y[x] = y[m_Width - 1];
                cb[x] = cb[m_Width - 1];
                cr[x] = cr[m_Width - 1];
            }
        }
    }

    void ConvertRow(const uint8_t* row, uint8_t* y, uint8_t* cb, uint8_t* cr) {
        const uint32_t bitCount = m_Picture.BitCount();
        if (bitCount == 24) {
            BgrRowToYCbCr(row, y, cb, cr, m_Width);
            return;
        }
        for (uint32_t x = 0; x < m_Width; ++x) {
            uint32_t index;
            switch (bitCount) {
            case 1: index = (row[x / 8] >> (7 - x % 8)) & 1; break;
            case 2: index = (row[x / 4] >> (6 - 2 * (x % 4))) & 3; break;
            case 4: index = x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 15; break;
            default: index = row[x]; break;
            }
            if (index >= m_Picture.ColorCount()) throw ESubscriptOutOfRange();
            const YCbCr v = m_Palette[index];
            y[x] = v.Y;
            cb[x] = v.Cb;
            cr[x] = v.Cr;
        }
    }

    // Every data unit of every component through the forward DCT and quantization, once,
    // when the coefficients of the whole picture fit in the budget; the blocks are kept in
    // MCU order (Y, Cb, Cr of each MCU together), each in zigzag order, which is the order the
    // entropy coder reads them in. Beyond the budget each pass transforms one MCU row at a
    // time again (the same coefficients, so the same stream, in about a sixth of a byte a
    // pixel instead of six).
    void TransformPicture() {
        if (m_Picture.BitCount() != 24) {
            for (uint32_t i = 0; i < m_Picture.ColorCount() && i < 256; ++i) {
                const uint8_t* e = m_Picture.ColorMapEntry(i); // blue, green, red
                m_Palette[i] = ToYCbCr(e[2], e[1], e[0]);
            }
        }
        const size_t rowBlocks = size_t(m_McuCols) * kComponents;
        const uint64_t wholeBytes = uint64_t(m_McuRows) * rowBlocks * 64 * sizeof(int16_t);
        m_KeepAll = wholeBytes <= m_CoefficientBudget;
        m_Coefficients.reset(new int16_t[(m_KeepAll ? m_McuRows : 1) * rowBlocks * 64]);
        m_Stride = size_t(m_McuCols) * 8;
        m_Strip.reset(new uint8_t[m_Stride * 8 * kComponents]);
        if (!m_KeepAll) return;
        for (uint32_t row = 0; row < m_McuRows; ++row)
            TransformRow(row, m_Coefficients.get() + row * rowBlocks * 64);
    }

    void TransformRow(uint32_t row, int16_t* out) {
        uint8_t* planes[kComponents] = {m_Strip.get(), m_Strip.get() + m_Stride * 8,
                                        m_Strip.get() + m_Stride * 16};
        ConvertStrip(row, planes, m_Stride);
        for (uint32_t col = 0; col < m_McuCols; ++col) {
            for (int k = 0; k < kComponents; ++k) {
                ForwardDctQuantize(planes[k] + size_t(col) * 8, m_Stride,
                                   m_Components[k].Quantization->ScaledDivisorsTransposed, out);
                out += 64;
            }
        }
    }

    // The coefficients of one MCU row, kept or transformed now.
    const int16_t* RowCoefficients(uint32_t row) {
        const size_t rowValues = size_t(m_McuCols) * kComponents * 64;
        if (m_KeepAll) return m_Coefficients.get() + row * rowValues;
        TransformRow(row, m_Coefficients.get());
        return m_Coefficients.get();
    }

    // The MCU loop of both passes (Pass::Statistics counts symbols, Pass::Output writes
    // them), with a restart interval of kRestartRows MCU rows.
    enum class Pass { Statistics, Output };

    template <Pass P>
    void EncodeMcus() {
        for (Component& c : m_Components) c.LastDc = 0;
        uint32_t counter = 0, restart = 0;
        for (uint32_t row = 0; row < m_McuRows; ++row) {
            const int16_t* block = RowCoefficients(row);
            for (uint32_t col = 0; col < m_McuCols; ++col) {
                if (m_RestartInterval != 0 && counter == m_RestartInterval) {
                    if constexpr (P == Pass::Output) {
                        m_Writer.Flush();
                        Marker(uint8_t(0xD0 + restart)); // RSTn
                    }
                    for (Component& c : m_Components) c.LastDc = 0;
                    restart = (restart + 1) % 8;
                    counter = 0;
                }
                if constexpr (P == Pass::Output) m_Writer.Reserve(2048);
                for (Component& c : m_Components) {
                    if constexpr (P == Pass::Output) {
                        EncodeBlock(block, c);
                    } else {
                        CountBlock(block, c);
                    }
                    block += 64;
                }
                ++counter;
            }
        }
    }

    // T.81 F.1.2: the DC difference, then the AC coefficients in zigzag order as runs of
    // zeros (ZRL 0xF0 for each full sixteen) ending in a non-zero value, and EOB 0x00 when
    // the block ends in zeros.
    static void CountBlock(const int16_t* zigzag, Component& c) {
        const int32_t diff = zigzag[0] - c.LastDc;
        c.LastDc = zigzag[0];
        c.Dc->Count(uint32_t(Category(diff)));
        uint64_t mask = NonZeroMask(zigzag) & ~uint64_t(1);
        int last = 0;
        while (mask != 0) {
            const int k = std::countr_zero(mask);
            mask &= mask - 1;
            int run = k - last - 1;
            for (; run > 15; run -= 16) c.Ac->Count(0xF0);
            c.Ac->Count(uint32_t(run * 16 + Category(zigzag[k])));
            last = k;
        }
        if (last != 63) c.Ac->Count(0x00);
    }

    void EncodeBlock(const int16_t* zigzag, Component& c) {
        const int32_t diff = zigzag[0] - c.LastDc;
        c.LastDc = zigzag[0];
        const int size = Category(diff);
        if (size == 0) {
            PutSymbol(*c.Dc, 0);
        } else {
            PutSymbol(*c.Dc, uint32_t(size), ExtraBits(diff), size);
        }
        uint64_t mask = NonZeroMask(zigzag) & ~uint64_t(1);
        int last = 0;
        while (mask != 0) {
            const int k = std::countr_zero(mask);
            mask &= mask - 1;
            int run = k - last - 1;
            for (; run > 15; run -= 16) PutSymbol(*c.Ac, 0xF0);
            const int32_t v = zigzag[k];
            const int vSize = Category(v);
            PutSymbol(*c.Ac, uint32_t(run * 16 + vSize), ExtraBits(v), vSize);
            last = k;
        }
        if (last != 63) PutSymbol(*c.Ac, 0x00);
    }

    static void CheckCode(const EncoderHuffmanTable& table, uint32_t symbol) {
        if (symbol >= 256) throw EJpegIndexOutOfRange();
        if (table.CodeSizes[symbol] == 0) throw EJpegFatal("Belső hiba - hiányzó Huffmann-kód");
    }

    void PutSymbol(const EncoderHuffmanTable& table, uint32_t symbol) {
        CheckCode(table, symbol);
        m_Writer.PutCode(table.Codes[symbol], table.CodeSizes[symbol]);
    }

    void PutSymbol(const EncoderHuffmanTable& table, uint32_t symbol, uint32_t bits, int count) {
        CheckCode(table, symbol);
        m_Writer.PutCodeAndBits(table.Codes[symbol], table.CodeSizes[symbol], bits, count);
    }

    void WriteHuffmanTables() {
        const std::pair<uint8_t, const EncoderHuffmanTable*> tables[] = {
            {0x00, &m_LuminanceDc},
            {0x10, &m_LuminanceAc},
            {0x01, &m_ChrominanceDc},
            {0x11, &m_ChrominanceAc},
        };
        Marker(0xC4); // DHT
        uint32_t length = 2;
        for (const auto& [id, table] : tables) length += 1 + uint32_t(table->SegmentSize());
        m_Writer.PutWord(length);
        for (const auto& [id, table] : tables) {
            m_Writer.PutByte(id);
            for (uint8_t count : table->Bits) m_Writer.PutByte(count);
            for (int i = 0; i < table->HuffValCount; ++i) m_Writer.PutByte(table->HuffVal[i]);
        }
    }

    void WriteScan() {
        // A restart interval of kRestartRows MCU rows: at most 4 x 8192 MCUs, within the
        // 16 bits of DRI.
        m_RestartInterval = JpegEncoder::kRestartRows * m_McuCols;
        Marker(0xDD); // DRI
        m_Writer.PutWord(4);
        m_Writer.PutWord(m_RestartInterval);

        for (EncoderHuffmanTable* t :
             {&m_LuminanceDc, &m_LuminanceAc, &m_ChrominanceDc, &m_ChrominanceAc}) {
            t->ResetStatistics();
        }
        EncodeMcus<Pass::Statistics>();
        for (EncoderHuffmanTable* t :
             {&m_LuminanceDc, &m_LuminanceAc, &m_ChrominanceDc, &m_ChrominanceAc}) {
            t->Build();
        }
        WriteHuffmanTables();

        Marker(0xDA); // SOS: the three components interleaved, spectral range 0..63
        m_Writer.PutWord(6 + 2 * kComponents);
        m_Writer.PutByte(kComponents);
        for (const Component& c : m_Components) {
            m_Writer.PutByte(c.Identifier);
            m_Writer.PutByte(uint8_t(c.TableNumber << 4 | c.TableNumber));
        }
        m_Writer.PutByte(0);
        m_Writer.PutByte(63);
        m_Writer.PutByte(0);
        EncodeMcus<Pass::Output>();
        m_Writer.Flush();
        m_Coefficients.reset();
        m_Strip.reset();
    }

    const BitmapImage& m_Picture;
    JpegBitWriter m_Writer;
    EncoderQuantizationTable m_Luminance, m_Chrominance;
    EncoderHuffmanTable m_LuminanceDc, m_LuminanceAc, m_ChrominanceDc, m_ChrominanceAc;
    Component m_Components[kComponents] = {};
    YCbCr m_Palette[256] = {};
    uint32_t m_Width = 0, m_Height = 0;
    uint32_t m_McuRows = 0, m_McuCols = 0;
    uint32_t m_RestartInterval = 0;
    uint64_t m_CoefficientBudget = UINT64_MAX;
    bool m_KeepAll = true;
    size_t m_Stride = 0;
    std::unique_ptr<uint8_t[]> m_Strip;        // one MCU row of Y, Cb and Cr samples
    std::unique_ptr<int16_t[]> m_Coefficients; // the whole picture's or one MCU row's
};

} // namespace

std::vector<uint8_t> JpegEncoder::Encode(const BitmapImage& picture) const {
    std::vector<uint8_t> out;
    Encoding encoding(m_Quality, picture, out, m_CoefficientBudget);
    encoding.Run();
    return out;
}

void JpegEncoder::WriteImage(std::ostream& output, const BitmapImage& picture) {
    const std::vector<uint8_t> bytes = Encode(picture);
    output.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!output) throw EGraphicsException("The JPEG stream could not be written");
}
