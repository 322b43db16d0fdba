// Picture reconstruction: restart markers between intervals, the inverse DCT of progressive
// coefficients, and the rows of the BitmapImage from the component samples.
#include <algorithm>
#include <cstring>
#include <vector>

#include "codec/BitmapImage.h"
#include "codec/GraphicsExceptions.h"
#include "jpeg/JpegColor.h"
#include "jpeg/JpegDecoderState.h"
#include "jpeg/JpegIdct.h"

namespace {

bool HasAcCoefficients(const int16_t* block) {
    int16_t any = 0;
    for (int i = 1; i < 64; ++i) any |= block[i];
    return any != 0;
}

} // namespace

uint8_t ReadJpegByte(JpegByteReader& input) {
    const int b = input.Get();
    if (b < 0) throw EJpegBadData("Idő előtti fájlvég");
    return uint8_t(b);
}

void JpegDecoderState::ProcessRestart(JpegByteReader& input, const JpegScanHeader& scan) {
    if (ReadJpegByte(input) != 0xFF) throw EJpegBadData("Hiányzó újraindító jelzés");
    uint8_t m = ReadJpegByte(input);
    while (m == 0xFF) m = ReadJpegByte(input);
    if (m < 0xD0 || m > 0xD7) throw EJpegBadData("Hiányzó újraindító jelzés");
    if ((m & 15u) != ExpectedRestart) throw EJpegBadData("Hibs újraindító jelzés");
    ExpectedRestart = (ExpectedRestart + 1) % 8;
    for (uint32_t i = 0; i < scan.ComponentCount; ++i) scan.Components[i]->LastDc = 0;
}

void JpegDecoderState::WriteRows(uint32_t firstRow, uint32_t endRow) {
    endRow = std::min(endRow, FrameHeight);
    const uint32_t width = FrameWidth;
    if (ComponentCount == 1) {
        DecoderComponent& g = FrameComponent(0); // its factors are 1: it sets the maxima
        for (uint32_t y = firstRow; y < endRow; ++y)
            std::memcpy(Output->Row(y), g.SampleRow(y), width);
        return;
    }
    DecoderComponent& lum = FrameComponent(0);
    DecoderComponent& cb = FrameComponent(1);
    DecoderComponent& cr = FrameComponent(2);
    std::vector<uint8_t> wide(size_t(width) * 3);
    if (StoredAsRgb()) {
        for (uint32_t y = firstRow; y < endRow; ++y) {
            RgbRowToBgr(WidenRow(lum.SampleRow(y / lum.VerticalFactor), lum.HorizontalFactor, width,
                                 wide.data()),
                        WidenRow(cb.SampleRow(y / cb.VerticalFactor), cb.HorizontalFactor, width,
                                 wide.data() + width),
                        WidenRow(cr.SampleRow(y / cr.VerticalFactor), cr.HorizontalFactor, width,
                                 wide.data() + 2 * width),
                        Output->Row(y), width);
        }
        return;
    }
    for (uint32_t y = firstRow; y < endRow; ++y) {
        const uint8_t* yRow = lum.SampleRow(y / lum.VerticalFactor);
        const uint8_t* cbRow = cb.SampleRow(y / cb.VerticalFactor);
        const uint8_t* crRow = cr.SampleRow(y / cr.VerticalFactor);
        if (lum.HorizontalFactor == 1 && cb.HorizontalFactor == 2 && cr.HorizontalFactor == 2) {
            Kernels->YCbCrHalfRow(yRow, cbRow, crRow, Output->Row(y), width);
            continue;
        }
        Kernels->YCbCrRow(WidenRow(yRow, lum.HorizontalFactor, width, wide.data()),
                          WidenRow(cbRow, cb.HorizontalFactor, width, wide.data() + width),
                          WidenRow(crRow, cr.HorizontalFactor, width, wide.data() + 2 * width),
                          Output->Row(y), width);
    }
}

void JpegDecoderState::FinishPicture() {
    for (uint32_t i = 0; i < ComponentCount; ++i) {
        if (FrameComponent(i).Allocated) continue;
        if (Progressive) throw EJpegFatal("Belső JPEG hiba - felszabadított adat");
        throw EJpegBadData("Vizsgálat nélküli összetevő");
    }
    if (OutputComplete || ComponentCount == 0) return;
    if (Progressive) {
        for (uint32_t i = 0; i < ComponentCount; ++i) {
            DecoderComponent& c = FrameComponent(i);
            c.DataUnits.Allocate(c.Stride * 8 * c.VerticalFrequency);
        }
    }
    for (uint32_t mcuRow = 0; mcuRow < McuRows; ++mcuRow) {
        if (Progressive) {
            for (uint32_t i = 0; i < ComponentCount; ++i) {
                DecoderComponent& c = FrameComponent(i);
                c.FirstRow = mcuRow * 8 * c.VerticalFrequency;
                const int32_t* scaled = c.QuantizationTable->ScaledValues;
                for (uint32_t row = mcuRow * c.VerticalFrequency;
                     row < (mcuRow + 1) * c.VerticalFrequency; ++row) {
                    for (uint32_t col = 0; col < c.DuCols; ++col) {
                        const int16_t* block = c.Block(row, col);
                        uint8_t* out = c.Samples(row, col);
                        if (HasAcCoefficients(block)) {
                            int16_t transposed[64];
                            for (int k = 0; k < 64; ++k)
                                transposed[kZigzagToTransposed[k]] = block[k];
                            Kernels->InverseDctTransposed(
                                transposed, c.QuantizationTable->ScaledValuesTransposed, out,
                                c.Stride);
                        } else {
                            const uint8_t v = InverseDctDcOnly(block[0], scaled);
                            for (int y = 0; y < 8; ++y) std::memset(out + y * c.Stride, v, 8);
                        }
                    }
                }
            }
        }
        WriteRows(mcuRow * McuHeight, (mcuRow + 1) * McuHeight);
    }
    OutputComplete = true;
}
