// The picture reader on Qt's image reader and its format plugins: PNG, GIF (the first frame),
// TIFF, WebP and whatever else Qt reads. Transparent pictures are composited on white.
#pragma once

#include "platform/PictureReader.h"

class TQtPictureReader : public TPictureReader {
public:
    // Sets Qt's image allocation limit, so no Qt image reader anywhere in the program
    // allocates more than the largest picture the program takes.
    TQtPictureReader();
    std::optional<TReadPicture> Read(std::span<const uint8_t> data, uint64_t maxPixels,
                                     std::string& why) override;
};
