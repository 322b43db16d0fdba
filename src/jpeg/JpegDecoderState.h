// The state of one JpegDecoder run: tables, frame, components and output. Shared by the
// marker-level code (JpegDecoder.cpp), the scan decoders (JpegScanDecoder.h) and the
// reconstruction (JpegReconstruct.cpp).
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>

#include "jpeg/JpegByteReader.h"
#include "jpeg/JpegSimd.h"
#include "jpeg/JpegTables.h"

class BitmapImage;

// A zero-filled array from calloc: large blocks come from the system already zero, so they
// are not cleared again before the decoder fills them.
template <class T>
class ZeroedArray {
public:
    void Allocate(size_t count) {
        m_Data.reset(static_cast<T*>(std::calloc(count, sizeof(T))));
        if (!m_Data && count != 0) throw std::bad_alloc();
    }
    T* data() const { return m_Data.get(); }
    bool empty() const { return !m_Data; }

private:
    struct Free {
        void operator()(T* p) const { std::free(p); }
    };
    std::unique_ptr<T, Free> m_Data;
};

struct DecoderComponent {
    uint32_t HorizontalFrequency = 0; // 0 until a frame header names the component
    uint32_t VerticalFrequency = 0;
    uint32_t HorizontalFactor = 0; // max frequency / own frequency
    uint32_t VerticalFactor = 0;
    int32_t LastDc = 0;
    const HuffmanDecoder* AcTable = nullptr;
    const HuffmanDecoder* DcTable = nullptr;
    const DecoderQuantizationTable* QuantizationTable = nullptr;
    uint32_t EobRun = 0;
    uint32_t NoninterleavedRows = 0, NoninterleavedCols = 0;
    uint32_t DuRows = 0, DuCols = 0;
    // The reconstructed samples: data unit (r, c) covers rows 8r..8r+7 and columns 8c..8c+7 of
    // a plane DuCols x 8 samples wide. Sequential frames keep the whole plane (a later scan
    // may replace a component); progressive frames reconstruct one MCU row at a time into a
    // strip whose first row is plane row FirstRow.
    ZeroedArray<uint8_t> DataUnits;
    size_t Stride = 0;
    uint32_t FirstRow = 0;
    // Progressive frames: DuRows x DuCols blocks of 64 coefficients in zigzag order.
    ZeroedArray<int16_t> Coefficients;
    bool Allocated = false; // buffers exist (the component has been in a scan)

    int16_t* Block(uint32_t row, uint32_t col) {
        return Coefficients.data() + (size_t(row) * DuCols + col) * 64;
    }
    uint8_t* Samples(uint32_t row, uint32_t col) {
        return DataUnits.data() + (size_t(row) * 8 - FirstRow) * Stride + size_t(col) * 8;
    }
    const uint8_t* SampleRow(uint32_t planeRow) const {
        return DataUnits.data() + size_t(planeRow - FirstRow) * Stride;
    }
};

struct JpegScanHeader {
    DecoderComponent* Components[3] = {};
    uint32_t ComponentCount = 0;
    uint32_t Ss = 0, Se = 0, Ah = 0, Al = 0;
};

struct JpegDecoderState {
    HuffmanDecoder AcTables[4];
    HuffmanDecoder DcTables[4];
    DecoderQuantizationTable QuantizationTables[4];
    bool EoiFound = false;
    bool SofFound = false;
    uint32_t RestartInterval = 0;
    uint32_t FrameWidth = 0, FrameHeight = 0;
    uint32_t FrameType = 0;
    uint32_t MaxHorizontalFrequency = 0, MaxVerticalFrequency = 0;
    bool Progressive = false;
    uint32_t ComponentCount = 0;
    DecoderComponent Components[255];
    uint8_t ComponentIds[3] = {};
    BitmapImage* Output = nullptr;
    const JpegKernels* Kernels = &JpegKernelsFor(JpegSimd::Best);
    uint32_t ScanCount = 0;
    uint32_t McuRows = 0, McuCols = 0;
    uint32_t McuHeight = 0, McuWidth = 0;
    uint32_t ExpectedRestart = 0;
    // The output rows match the components' current samples (set by a scan that wrote them
    // as it went, cleared by every later scan).
    bool OutputComplete = false;
    // A sequential frame whose only scan covers every component keeps just one MCU row of
    // samples per component: the scan writes each row of the picture as soon as it is decoded.
    bool SingleScan = false;  // the stream allows the pipeline
    bool RowPipeline = false; // and the decoder's options use it
    // Segments that tell the colour space (read only without the JFIF requirement).
    bool JfifSeen = false;
    bool AdobeSeen = false;
    uint8_t AdobeTransform = 1;
    uint64_t MemoryReserved = 0;   // bytes of output and buffers the frame needs
    uint64_t FrameDataUnits = 0;   // data units of all components
    uint64_t DataUnitsVisited = 0; // by the scans so far

    DecoderComponent& FrameComponent(uint32_t i) { return Components[ComponentIds[i]]; }
    // Three components stored as red, green and blue (Adobe transform 0 in a stream that is
    // not JFIF), to be written without colour conversion.
    bool StoredAsRgb() const {
        return ComponentCount == 3 && AdobeSeen && AdobeTransform == 0 && !JfifSeen;
    }

    // Reads an RSTn marker between restart intervals and resets the DC predictors
    // (T.81 F.2.1.3.1, E.2.4).
    void ProcessRestart(JpegByteReader& input, const JpegScanHeader& scan);

    // Writes picture rows [firstRow, endRow) (clipped to the frame) from the components'
    // samples: replication upsampling and, for three components, YCbCr to RGB.
    void WriteRows(uint32_t firstRow, uint32_t endRow);
    // After the marker loop: reconstructs what the scans left (progressive coefficients) and
    // writes every row not yet written.
    void FinishPicture();
};

uint8_t ReadJpegByte(JpegByteReader& input); // "Idő előtti fájlvég" at the end of the data
