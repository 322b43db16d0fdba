// Base classes of the picture coders: a decoder fills a BitmapImage from a stream, an encoder
// writes one to a stream. JpegDecoder and JpegEncoder are the concrete coders.
#pragma once

#include <iosfwd>

class BitmapImage;

class BitmapImageCoder {
public:
    BitmapImageCoder() = default;
    BitmapImageCoder(const BitmapImageCoder&) = delete;
    BitmapImageCoder& operator=(const BitmapImageCoder&) = delete;
    virtual ~BitmapImageCoder() = default;
};

class BitmapImageDecoder : public BitmapImageCoder {
public:
    // Reads a whole picture from the stream; failures are EGraphicsException.
    virtual void ReadImage(std::istream& input, BitmapImage& picture) = 0;
};

class BitmapImageEncoder : public BitmapImageCoder {
public:
    virtual void WriteImage(std::ostream& output, const BitmapImage& picture) = 0;
};
