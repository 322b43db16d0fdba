// The transposed inverse DCT for x86-64's baseline (SSE2): the vector transform, each 8-lane
// vector in two registers. Other processors get the compiler's generic vectors.
#include "jpeg/JpegIdct.h"
#include "jpeg/JpegIdctVector.h"

void InverseDctTransposedSse2(const int16_t* coefficients, const int32_t* scaledTransposed,
                              uint8_t* out, size_t stride) {
    jpeg_idct::W8 o[8];
    jpeg_idct::TransposedIdct(coefficients, scaledTransposed, o);
    jpeg_idct::StoreRows(o, out, stride);
}
