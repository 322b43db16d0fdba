// Test JPEG files made at test time with cjpeg, reference decodes by `djpeg -nosmooth`, and the
// comparison of our pictures against them. Every file these helpers write in the temporary
// folder is removed before they return.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "codec/BitmapImage.h"

using Bytes = std::vector<uint8_t>;

// A PPM/PGM picture, top row first; 3 channels in RGB order or 1 channel.
struct Pnm {
    uint32_t Width = 0, Height = 0;
    int Channels = 0;
    Bytes Pixels;
};

// Empty when cjpeg and djpeg are both on PATH, else what is missing.
std::string MissingJpegTools();
std::string TempPath(const std::string& name);
Bytes ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const Bytes& bytes);

// A photo-like picture (gradients, a soft disc, hard edges, fine texture and noise) as
// PPM, or PGM when grey.
Pnm MakeTestPicture(uint32_t width, uint32_t height, bool grey);
void WritePnm(const std::string& path, const Pnm& picture);

// The test picture compressed with `cjpeg OPTIONS`; name keeps the temporary files apart.
Bytes MakeJpeg(const std::string& name, const std::string& options, uint32_t width, uint32_t height,
               bool grey);
// `djpeg -nosmooth` of a JPEG stream; name keeps the temporary files apart.
Pnm DjpegDecode(const std::string& name, const Bytes& jpeg);

// Any picture as 3-channel RGB, through its colour map when it has one.
Pnm ToRgb(const BitmapImage& picture);

// Peak signal-to-noise ratio in dB over all channels; +inf for identical pictures. The
// pictures must have the same size and channel count.
double Psnr(const BitmapImage& picture, const Pnm& reference);
// The same for two pictures of the same size and channel count, in any form.
double Psnr(const Pnm& a, const Pnm& b);

// The result of decoding a stream: "ok" or the exception's message, and the picture.
struct DecodeOutcome {
    std::string Message;
    BitmapImage Picture;
};
DecodeOutcome DecodeFast(const Bytes& data);
DecodeOutcome DecodeReference(const Bytes& data);
// The fast reader in the import mode: streams without a JFIF header are read too.
DecodeOutcome DecodeForImport(const Bytes& data);
// Decodes with the fast reader and with the bit-at-a-time reference, and adds a test failure
// unless both give the same message and, on success, the same picture bytes.
DecodeOutcome DecodeBoth(const Bytes& data);
