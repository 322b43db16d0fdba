// JPEG decoder: reads a JFIF stream (ITU T.81 with the JFIF APP0 header) with a baseline,
// extended sequential or progressive Huffman frame of one or three components into a
// BitmapImage (8-bit grey with a grey palette, or 24-bit).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "codec/BitmapImageCoder.h"

struct JpegDecoderState;
struct JpegScanHeader;
class JpegByteReader;

// How strictly the start of a stream is read. The default reads JFIF files only; the picture
// import also takes streams that begin with another segment (Exif, Adobe) or none at all.
struct JpegDecoderOptions {
    bool RequireJfifHeader = true;
};

class JpegDecoder : public BitmapImageDecoder {
public:
    // Frames with more pixels than this are refused before anything is allocated.
    static constexpr uint64_t kDefaultPixelLimit = uint64_t(1) << 28;

    JpegDecoder();
    ~JpegDecoder() override;

    // Reads the whole stream, then decodes it. Failures are EGraphicsException (EJpegBadData
    // with the reason for bad or unsupported data); the picture's contents are then unspecified.
    void ReadImage(std::istream& input, BitmapImage& picture) override;
    void Decode(const uint8_t* data, size_t size, BitmapImage& picture);

    void SetPixelLimit(uint64_t pixels) { m_PixelLimit = pixels; }
    void SetOptions(const JpegDecoderOptions& options) { m_Options = options; }

protected:
    // Decodes the entropy-coded data of one scan. The tests override it with a bit-at-a-time
    // reader to check that the fast reader gives the same pixels and the same errors.
    virtual void DecodeScanData(JpegDecoderState& state, JpegByteReader& input,
                                JpegScanHeader& scan);

private:
    void ReadStartOfFile(JpegByteReader& input);
    void ReadMarker(JpegByteReader& input);
    void ReadHuffmanTables(JpegByteReader& input);
    void ReadQuantizationTables(JpegByteReader& input);
    void ReadFrameHeader(JpegByteReader& input, uint8_t marker);
    void ReadScan(JpegByteReader& input);
    void SkipSegment(JpegByteReader& input);

    std::unique_ptr<JpegDecoderState> m_State;
    uint64_t m_PixelLimit = kDefaultPixelLimit;
    JpegDecoderOptions m_Options;
};
