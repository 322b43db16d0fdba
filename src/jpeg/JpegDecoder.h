// JPEG decoder: reads a JFIF stream (ITU T.81 with the JFIF APP0 header) with a baseline,
// extended sequential or progressive Huffman frame of one or three components into a
// BitmapImage (8-bit grey with a grey palette, or 24-bit).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "codec/BitmapImageCoder.h"
#include "jpeg/JpegSimd.h"

struct JpegDecoderState;
struct JpegScanHeader;
class JpegByteReader;

// What the decoder accepts. Every limit is checked before the work or memory it guards.
struct JpegDecoderOptions {
    // Frames with more pixels than this are refused before anything is allocated.
    uint64_t PixelLimit = 400'000'000;
    // The output picture and the working buffers together may take this many bytes for each
    // pixel the pixel limit allows (a baseline frame needs its picture and a few rows).
    uint64_t BytesPerAllowedPixel = 4;
    // Scans in one frame (real encoders write at most a few dozen).
    uint32_t ScanLimit = 1000;
    // Data units visited by all scans together, per data unit of the frame (a progressive
    // stream from common encoders visits each about 5 to 10 times, and one scan for each
    // coefficient of each component 64 times).
    uint32_t WorkPerDataUnit = 128;
    // false: sequential frames keep every component's whole plane of samples, as the general
    // path for several scans does (the tests' reference for the pipeline).
    bool RowPipeline = true;
    // true reads JFIF files only; the picture import also takes streams that begin with
    // another segment (Exif, Adobe) or none at all. Such a stream's three components are
    // red, green and blue, with no colour conversion, when an Adobe APP14 segment says so
    // (transform 0) and no JFIF APP0 segment says they are YCbCr.
    bool RequireJfifHeader = true;
    // The instruction set of the inverse DCT and the colour conversion: the fastest the
    // processor has, or one the tests name to compare it with the others (every set gives
    // the same pixels).
    JpegSimd Simd = JpegSimd::Best;

    uint64_t MemoryLimit() const {
        if (BytesPerAllowedPixel != 0 && PixelLimit > UINT64_MAX / BytesPerAllowedPixel)
            return UINT64_MAX;
        return PixelLimit * BytesPerAllowedPixel;
    }
};

class JpegDecoder : public BitmapImageDecoder {
public:
    static constexpr uint64_t kDefaultPixelLimit = JpegDecoderOptions{}.PixelLimit;

    JpegDecoder();
    explicit JpegDecoder(const JpegDecoderOptions& options);
    ~JpegDecoder() override;

    // Reads the whole stream, then decodes it. Failures are EGraphicsException (EJpegBadData
    // with the reason for bad or unsupported data); the picture's contents are then unspecified.
    void ReadImage(std::istream& input, BitmapImage& picture) override;
    void Decode(const uint8_t* data, size_t size, BitmapImage& picture);

    void SetPixelLimit(uint64_t pixels) { m_Options.PixelLimit = pixels; }
    void SetOptions(const JpegDecoderOptions& options) { m_Options = options; }
    const JpegDecoderOptions& Options() const { return m_Options; }

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
    // An APP0 or APP14 segment in a stream read without the JFIF requirement: notes a JFIF
    // identifier, or Adobe's and its colour transform.
    void ReadColourSegment(JpegByteReader& input, uint8_t marker);
    // Counts `bytes` more of the decoder's memory; refuses the frame past the memory limit.
    void Reserve(uint64_t bytes);

    std::unique_ptr<JpegDecoderState> m_State;
    JpegDecoderOptions m_Options;
};
