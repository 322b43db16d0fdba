// JpegDecoder, stream level: the start of the file, the marker loop, the table, frame and
// scan headers (T.81 Annex B) and the end of the file. The entropy-coded data is decoded by
// JpegScanDecoder.h, the picture reconstructed by JpegReconstruct.cpp.
#include "jpeg/JpegDecoder.h"

#include <algorithm>
#include <cstring>
#include <istream>
#include <vector>

#include "codec/BitmapImage.h"
#include "codec/GraphicsExceptions.h"
#include "codec/LargePages.h"
#include "jpeg/JpegBitReader.h"
#include "jpeg/JpegDecoderState.h"
#include "jpeg/JpegScanDecoder.h"

namespace {

uint32_t ReadWord(JpegByteReader& input) {
    // Both bytes go through the checked read, so a word cut short by the end of the data
    // fails here instead of handing on an undefined value.
    const uint32_t high = ReadJpegByte(input);
    return high << 8 | ReadJpegByte(input);
}

uint32_t CeilDiv(uint32_t a, uint32_t b) { return uint32_t((uint64_t(a) + b - 1) / b); }

// Whether an SOS marker (0xFF, any fill bytes, 0xDA) appears in data[from, size). Stuffing
// keeps 0xFF 0xDA out of entropy-coded data; a pair inside some other segment only makes the
// caller choose the general path.
bool ScanMarkerFollows(const uint8_t* data, size_t size, size_t from) {
    while (from + 1 < size) {
        const void* found = std::memchr(data + from, 0xFF, size - from - 1);
        if (found == nullptr) return false;
        const size_t at = size_t(static_cast<const uint8_t*>(found) - data);
        if (data[at + 1] == 0xDA) return true;
        from = at + 1;
    }
    return false;
}

} // namespace

JpegDecoder::JpegDecoder() = default;
JpegDecoder::JpegDecoder(const JpegDecoderOptions& options) : m_Options(options) {}
JpegDecoder::~JpegDecoder() = default;

void JpegDecoder::ReadImage(std::istream& input, BitmapImage& picture) {
    std::vector<uint8_t> bytes;
    // A stream that knows its length (a file) is read into one buffer of that size.
    const std::streampos start = input.tellg();
    if (start != std::streampos(-1)) {
        input.seekg(0, std::ios::end);
        const std::streampos end = input.tellg();
        input.clear();
        input.seekg(start);
        if (end != std::streampos(-1) && end > start) bytes.reserve(size_t(end - start));
    }
    char chunk[65536];
    while (input.read(chunk, sizeof chunk) || input.gcount() > 0)
        bytes.insert(bytes.end(), chunk, chunk + input.gcount());
    Decode(bytes.data(), bytes.size(), picture);
}

void JpegDecoder::Decode(const uint8_t* data, size_t size, BitmapImage& picture) {
    m_State = std::make_unique<JpegDecoderState>();
    JpegDecoderState& st = *m_State;
    st.Output = &picture;
    st.Kernels = &JpegKernelsFor(m_Options.Simd);
    picture.Clear();
    JpegByteReader input(data, size);

    ReadStartOfFile(input);
    int c = ReadJpegByte(input);
    while (c == 0xFF) {
        if (input.AtEnd() || st.EoiFound) break;
        ReadMarker(input);
        if (st.EoiFound) break;
        c = ReadJpegByte(input);
    }
    st.FinishPicture();
    if (!st.EoiFound) throw EJpegBadData("Hiányzó fájlvégjelzés");
    // SOI, APP0 and EOI alone hold no picture: that is not a success.
    if (!st.SofFound) throw EJpegBadData("Hiányzó keret");
    // Carriage returns and line feeds after EOI are tolerated, nothing else.
    for (;;) {
        const int b = input.Get();
        if (input.AtEnd()) break;
        if (b != 13 && b != 10) throw EJpegBadData("Egyéb adatok a fájlvégjelzés után");
    }
    m_State.reset();
}

void JpegDecoder::DecodeScanData(JpegDecoderState& state, JpegByteReader& input,
                                 JpegScanHeader& scan) {
    jpeg_scan::DecodeScan<JpegBitReader>(state, input, scan);
}

void JpegDecoder::ReadStartOfFile(JpegByteReader& input) {
    if (ReadJpegByte(input) != 0xFF || ReadJpegByte(input) != 0xD8)
        throw EJpegBadData("Hiányzó SOI jelzés");
    // Without the JFIF requirement every segment after SOI goes through the marker loop.
    if (!m_Options.RequireJfifHeader) return;
    if (ReadJpegByte(input) != 0xFF || ReadJpegByte(input) != 0xE0)
        throw EJpegBadData("Hiányzó JFIF APPO jelzés");
    uint8_t header[16];
    for (uint8_t& b : header) b = ReadJpegByte(input);
    if (header[2] != 'J' || header[3] != 'F' || header[4] != 'I' || header[5] != 'F')
        throw EJpegBadData("Nem JFIF fájl");
    const uint32_t length = uint32_t(header[0]) << 8 | header[1];
    for (uint32_t i = 16; i < length; ++i) ReadJpegByte(input);
}

void JpegDecoder::ReadMarker(JpegByteReader& input) {
    JpegDecoderState& st = *m_State;
    uint8_t m = ReadJpegByte(input);
    while (m == 0xFF) m = ReadJpegByte(input); // fill bytes before the marker code
    switch (m) {
    case 0xC0:
    case 0xC1:
    case 0xC2: ReadFrameHeader(input, m); return;
    case 0xC3: throw EJpegBadData("Az adatvesztésmentes Huffman-kódolás nem támogatott");
    case 0xC4: ReadHuffmanTables(input); return;
    case 0xC5: throw EJpegBadData("A differenciális soros Huffman-kódolás nem támogatott");
    case 0xC6: throw EJpegBadData("A differenciális növekményes Huffmann-kódolás nem támogatott");
    case 0xC7: throw EJpegBadData("Differenciális veszteséges Huffmann-kódolás nem támogatott");
    case 0xC9:
    case 0xCA:
    case 0xCB:
    case 0xCD:
    case 0xCE:
    case 0xCF: throw EJpegBadData("Beolvashatatlan kép"); // arithmetic coding
    case 0xD8: return;                                    // SOI again
    case 0xD9: st.EoiFound = true; return;
    case 0xDA: ReadScan(input); return;
    case 0xDB: ReadQuantizationTables(input); return;
    case 0xDD:
        ReadWord(input); // length
        st.RestartInterval = ReadWord(input);
        return;
    case 0xDE: throw EJpegBadData("Nem támogatott DHP jelzés");
    case 0xFE: SkipSegment(input); return;
    default:
        if ((m == 0xE0 || m == 0xEE) && !m_Options.RequireJfifHeader) {
            ReadColourSegment(input, m);
            return;
        }
        if (m >= 0xE0 && m <= 0xEF) {
            SkipSegment(input);
            return;
        }
        ReadJpegByte(input);
        throw EJpegBadData("Ismeretlen jelzés");
    }
}

void JpegDecoder::Reserve(uint64_t bytes) {
    JpegDecoderState& st = *m_State;
    const uint64_t limit = m_Options.MemoryLimit();
    if (bytes > limit || st.MemoryReserved > limit - bytes) {
        const uint64_t needed =
            bytes > UINT64_MAX - st.MemoryReserved ? UINT64_MAX : st.MemoryReserved + bytes;
        throw EJpegTooLarge(st.FrameWidth, st.FrameHeight, needed);
    }
    st.MemoryReserved += bytes;
}

void JpegDecoder::ReadColourSegment(JpegByteReader& input, uint8_t marker) {
    JpegDecoderState& st = *m_State;
    const uint32_t length = ReadWord(input);
    // The identifier and, for Adobe's segment, the version, two flag words and the transform.
    uint8_t head[12] = {};
    uint32_t i = 2;
    for (; i < length && i - 2 < sizeof head; ++i) head[i - 2] = ReadJpegByte(input);
    for (; i < length; ++i) ReadJpegByte(input);
    const uint32_t got = length > 2 ? std::min<uint32_t>(length - 2, sizeof head) : 0;
    if (marker == 0xE0 && got >= 5 && std::memcmp(head, "JFIF", 5) == 0) st.JfifSeen = true;
    if (marker == 0xEE && got >= 12 && std::memcmp(head, "Adobe", 5) == 0) {
        st.AdobeSeen = true;
        st.AdobeTransform = head[11];
    }
}

void JpegDecoder::SkipSegment(JpegByteReader& input) {
    const uint32_t length = ReadWord(input);
    for (uint32_t i = 2; i < length; ++i) ReadJpegByte(input);
}

void JpegDecoder::ReadHuffmanTables(JpegByteReader& input) {
    JpegDecoderState& st = *m_State;
    int32_t remaining = int32_t(ReadWord(input)) - 2;
    while (remaining != 0) {
        const uint8_t tableByte = ReadJpegByte(input);
        remaining -= 1;
        const uint32_t number = tableByte & 15;
        const bool ac = (tableByte >> 4) != 0;
        if (number > 3) throw EJpegBadData("Huffmann táblaindex a 0..3 tartományon kívül");
        HuffmanDecoder& table = ac ? st.AcTables[number] : st.DcTables[number];
        uint8_t counts[16];
        int total = 0;
        for (uint8_t& n : counts) total += n = ReadJpegByte(input);
        if (total > 256) throw EJpegBadData("Huffmann számláló > 256");
        uint8_t values[256];
        bool dcSizeTooLarge = false;
        for (int i = 0; i < total; ++i) {
            values[i] = ReadJpegByte(input);
            dcSizeTooLarge |= !ac && values[i] > 15;
        }
        // Counts that overfill the code space, or DC magnitude categories beyond 15 bits
        // (T.81 F.1.2.1 allows 11 for 8-bit data), make a table no valid stream can use.
        if (!table.Build(counts, values, total) || dcSizeTooLarge)
            throw EJpegBadData("Érvénytelen Huffmann-tábla");
        remaining -= 16 + total;
    }
}

void JpegDecoder::ReadQuantizationTables(JpegByteReader& input) {
    JpegDecoderState& st = *m_State;
    int32_t remaining = int32_t(ReadWord(input)) - 2;
    while (remaining > 0) {
        const uint8_t tableByte = ReadJpegByte(input);
        remaining -= 1;
        const uint32_t precision = tableByte >> 4, number = tableByte & 15;
        if (number > 3) throw EJpegBadData("Túl nagy kvantálási táblaindex");
        if (precision == 1) throw EJpegBadData("Csak a 8 bites adat támogatott");
        if (precision != 0) throw EJpegBadData("Érvénytelen kvantálási táblapontosság");
        DecoderQuantizationTable& table = st.QuantizationTables[number];
        for (uint16_t& v : table.Values) {
            v = ReadJpegByte(input);
            if (v == 0) throw EJpegBadData("Nulla érték a kvantálási táblában");
        }
        remaining -= 64;
        table.BuildScaledValues();
        table.Defined = true;
    }
}

void JpegDecoder::ReadFrameHeader(JpegByteReader& input, uint8_t marker) {
    JpegDecoderState& st = *m_State;
    // Component buffers are sized for one frame; T.81 allows one frame outside hierarchical
    // mode anyway.
    if (st.SofFound) throw EJpegBadData("Több keret nem támogatott");
    st.Progressive = marker == 0xC2;
    const uint32_t length = ReadWord(input);
    if (ReadJpegByte(input) != 8) throw EJpegBadData("Csak a 8 bites adat támogatott");
    st.FrameHeight = ReadWord(input);
    st.FrameWidth = ReadWord(input);
    st.ComponentCount = ReadJpegByte(input);
    // Four components are CMYK (Adobe's YCCK included), which the import names as such.
    if (st.ComponentCount == 4 && !m_Options.RequireJfifHeader)
        throw EJpegBadData("A CMYK JPEG nem támogatott");
    if (st.ComponentCount != 1 && st.ComponentCount != 3)
        throw EJpegBadData("A JFIF csak 1 és 3 összetevőt támogat");
    st.FrameType = marker;
    if (length != 3 * st.ComponentCount + 8) throw EJpegBadData("Érvénytelen keretméret");

    st.MaxHorizontalFrequency = st.MaxVerticalFrequency = 0;
    for (uint32_t i = 0; i < st.ComponentCount; ++i) {
        const uint8_t id = ReadJpegByte(input);
        if (id == 255) throw EJpegBadData("Érvénytelen összetevő-azonosító");
        DecoderComponent& c = st.Components[id];
        if (c.HorizontalFrequency != 0) throw EJpegBadData("Ismétlődő összetevő-azonosító");
        st.ComponentIds[i] = id;
        const uint8_t sampling = ReadJpegByte(input);
        c.HorizontalFrequency = sampling >> 4;
        c.VerticalFrequency = sampling & 15;
        if (c.HorizontalFrequency < 1 || c.HorizontalFrequency > 4 || c.VerticalFrequency < 1 ||
            c.VerticalFrequency > 4)
            throw EJpegValueOutOfRange();
        const uint8_t table = ReadJpegByte(input);
        if (table > 3) throw EJpegBadData("Rossz kvantálási táblaindex");
        c.QuantizationTable = &st.QuantizationTables[table];
        if (c.HorizontalFrequency > st.MaxHorizontalFrequency)
            st.MaxHorizontalFrequency = c.HorizontalFrequency;
        if (c.VerticalFrequency > st.MaxVerticalFrequency)
            st.MaxVerticalFrequency = c.VerticalFrequency;
    }
    // Height 0 would need a DNL marker, which is not supported.
    if (st.FrameWidth == 0 || st.FrameHeight == 0) throw EJpegBadData("Érvénytelen képméret");
    if (uint64_t(st.FrameWidth) * st.FrameHeight > m_Options.PixelLimit)
        throw EJpegTooLarge(
            st.FrameWidth, st.FrameHeight,
            BitmapImage::RowWidthFor(st.ComponentCount == 1 ? 8 : 24, st.FrameWidth) *
                st.FrameHeight);
    for (uint32_t i = 0; i < st.ComponentCount; ++i) {
        const DecoderComponent& c = st.FrameComponent(i);
        // Replication upsampling needs whole factors.
        if (st.MaxHorizontalFrequency % c.HorizontalFrequency != 0 ||
            st.MaxVerticalFrequency % c.VerticalFrequency != 0)
            throw EJpegBadData("Nem támogatott mintavételezési arány");
    }

    st.McuHeight = 8 * st.MaxVerticalFrequency;
    st.McuWidth = 8 * st.MaxHorizontalFrequency;
    st.McuRows = CeilDiv(st.FrameHeight, st.McuHeight);
    st.McuCols = CeilDiv(st.FrameWidth, st.McuWidth);
    for (uint32_t i = 0; i < st.ComponentCount; ++i) {
        DecoderComponent& c = st.FrameComponent(i);
        c.VerticalFactor = st.MaxVerticalFrequency / c.VerticalFrequency;
        c.HorizontalFactor = st.MaxHorizontalFrequency / c.HorizontalFrequency;
        c.NoninterleavedRows = CeilDiv(st.FrameHeight, 8 * c.VerticalFactor);
        c.NoninterleavedCols = CeilDiv(st.FrameWidth, 8 * c.HorizontalFactor);
        c.DuRows = st.McuRows * c.VerticalFrequency;
        c.DuCols = st.McuCols * c.HorizontalFrequency;
        st.FrameDataUnits += uint64_t(c.DuRows) * c.DuCols;
    }
    // The memory the frame will need, before any of it is allocated: the picture, and for a
    // progressive frame every coefficient and one MCU row of samples per component. Sample
    // buffers of sequential scans are counted when their scan allocates them.
    const uint32_t bitCount = st.ComponentCount == 1 ? 8 : 24;
    Reserve(BitmapImage::RowWidthFor(bitCount, st.FrameWidth) * st.FrameHeight);
    if (st.Progressive) {
        for (uint32_t i = 0; i < st.ComponentCount; ++i) {
            const DecoderComponent& c = st.FrameComponent(i);
            Reserve(uint64_t(c.DuRows) * c.DuCols * 64 * sizeof(int16_t));
            Reserve(uint64_t(c.DuCols) * 64 * c.VerticalFrequency);
        }
    }

    if (st.ComponentCount == 1) {
        st.Output->SetSize(256, 8, st.FrameWidth, st.FrameHeight);
        for (uint32_t i = 0; i < 256; ++i) {
            uint8_t* entry = st.Output->ColorMapEntry(i);
            entry[0] = entry[1] = entry[2] = uint8_t(i);
        }
    } else {
        st.Output->SetSize(0, 24, st.FrameWidth, st.FrameHeight);
    }
    AskForLargePages(st.Output->ImageData(), st.Output->ImageDataSize());
    st.SofFound = true;
}

void JpegDecoder::ReadScan(JpegByteReader& input) {
    JpegDecoderState& st = *m_State;
    if (!st.SofFound) throw EJpegBadData("Hiányzó keret");
    ReadWord(input); // length
    JpegScanHeader scan;
    scan.ComponentCount = ReadJpegByte(input);
    if (scan.ComponentCount < 1 || scan.ComponentCount > 3)
        throw EJpegBadData("Érvénytelen összetevőszám");
    for (uint32_t i = 0; i < scan.ComponentCount; ++i) {
        const uint8_t id = ReadJpegByte(input);
        if (id == 255 || st.Components[id].HorizontalFrequency == 0)
            throw EJpegBadData("Definiálatlan összetevő");
        DecoderComponent& c = st.Components[id];
        for (uint32_t j = 0; j < i; ++j)
            if (scan.Components[j] == &c) throw EJpegBadData("Ismétlődő összetevő-azonosító");
        scan.Components[i] = &c;
        const uint8_t tables = ReadJpegByte(input);
        const uint32_t dc = tables >> 4, ac = tables & 15;
        if (dc > 3 || ac > 3) throw EJpegBadData("Huffmann táblaindex a 0..3 tartományon kívül");
        c.DcTable = &st.DcTables[dc];
        c.AcTable = &st.AcTables[ac];
    }
    scan.Ss = ReadJpegByte(input);
    scan.Se = ReadJpegByte(input);
    const uint8_t approximation = ReadJpegByte(input);
    scan.Ah = approximation >> 4;
    scan.Al = approximation & 15;

    for (uint32_t i = 0; i < scan.ComponentCount; ++i) {
        const DecoderComponent& c = *scan.Components[i];
        if (!c.QuantizationTable->Defined)
            throw EJpegFatal("Belső hiba - definiálatlan kvantálási tábla");
        const bool needDc = !st.Progressive || scan.Ss == 0;
        const bool needAc = !st.Progressive || scan.Ss != 0;
        if (needDc && !c.DcTable->Defined) throw EJpegFatal("Belső hiba - definiálatlan DC tábla");
        if (needAc && !c.AcTable->Defined) throw EJpegFatal("Belső hiba - definiálatlan AC tábal");
    }
    // Bounded work whatever the stream: a limit on scans, and on the data units all scans
    // visit together (an end-of-band run costs no data but still visits its blocks).
    if (st.ScanCount >= m_Options.ScanLimit) throw EJpegBadData("Túl sok vizsgálat");
    uint64_t visited = 0;
    if (scan.ComponentCount > 1 && !(st.Progressive && scan.Ss != 0)) {
        for (uint32_t i = 0; i < scan.ComponentCount; ++i)
            visited += uint64_t(scan.Components[i]->HorizontalFrequency) *
                       scan.Components[i]->VerticalFrequency;
        visited *= uint64_t(st.McuRows) * st.McuCols;
    } else {
        visited = uint64_t(scan.Components[0]->NoninterleavedRows) *
                  scan.Components[0]->NoninterleavedCols;
    }
    st.DataUnitsVisited += visited;
    if (st.DataUnitsVisited > uint64_t(m_Options.WorkPerDataUnit) * st.FrameDataUnits)
        throw EJpegBadData("Túl sok munka a vizsgálatokban");

    if (!st.Progressive && st.ScanCount == 0) {
        st.SingleScan = scan.ComponentCount == st.ComponentCount &&
                        !ScanMarkerFollows(input.Data(), input.Size(), input.Position());
        st.RowPipeline = st.SingleScan && m_Options.RowPipeline;
    }
    for (uint32_t i = 0; i < scan.ComponentCount; ++i) {
        DecoderComponent& c = *scan.Components[i];
        if (c.Allocated) {
            // The pipeline's buffers hold one MCU row: no later scan may need them.
            if (st.RowPipeline) throw EJpegFatal("Belső JPEG hiba - felszabadított adat");
            continue;
        }
        c.Stride = size_t(c.DuCols) * 8;
        if (st.Progressive) {
            c.Coefficients.Allocate(size_t(c.DuRows) * c.DuCols * 64);
        } else {
            // What the stream needs is counted, whatever the options, so that every decoder
            // refuses the same streams.
            const size_t stripRows = size_t(8) * c.VerticalFrequency;
            const size_t planeRows = size_t(8) * c.DuRows;
            Reserve(uint64_t(c.Stride) * (st.SingleScan ? stripRows : planeRows));
            c.DataUnits.Allocate(c.Stride * (st.RowPipeline ? stripRows : planeRows));
        }
        c.Allocated = true;
    }
    st.ScanCount += 1;
    st.ExpectedRestart = 0;
    if (st.Progressive) {
        if (scan.Ss == 0 && scan.Se != 0)
            throw EJpegBadData("A növekményes vizsgálat DC sé AC adatot tartalmaz");
        if (scan.Ss != 0 && scan.Se > 63) throw EJpegBadData("Érvénytelen spektrális tartomány");
    }
    st.OutputComplete = false;
    DecodeScanData(st, input, scan);
}
