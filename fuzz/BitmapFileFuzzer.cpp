// libFuzzer target for Windows bitmap files: any bytes either leave the image object without a
// picture or give one whose stored block reads back byte for byte.
#include <cstdio>
#include <cstdlib>
#include <span>

#include "imaging/MemBitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TMemBitmap picture;
    picture.LoadFromBitmapFileData(std::span<const uint8_t>(data, size));
    if (!picture.HasImage) return 0;
    const TPixmap pixels = picture.Pixels();
    if (pixels.Pixels.size() !=
        static_cast<size_t>(picture.Width) * static_cast<size_t>(picture.Height)) {
        std::fprintf(stderr, "device pixels do not match the picture's size\n");
        std::abort();
    }
    TWriteStream out;
    picture.WriteToStream(out);
    TMemBitmap back;
    TReadStream in(out.Data());
    back.ReadFromStream(in);
    if (back.DibBlock != picture.DibBlock || !in.AtEnd()) {
        std::fprintf(stderr, "a stored picture read back differently\n");
        std::abort();
    }
    return 0;
}
