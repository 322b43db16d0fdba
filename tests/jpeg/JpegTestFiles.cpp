// Helpers for JPEG tests: procedural pictures, cjpeg and djpeg runs, PSNR.
#include "jpeg/JpegTestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>
#include <stdexcept>

#include <unistd.h>

#include "codec/BitmapImage.h"
#include "codec/GraphicsExceptions.h"
#include "jpeg/ReferenceDecoder.h"
#include "support/TempDir.h"

namespace {

bool OnPath(const std::string& tool) {
    const std::string command = "command -v " + tool + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

void Run(const std::string& command) {
    if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
}

Pnm ReadPnm(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    uint32_t maxValue = 0;
    Pnm p;
    in >> magic >> p.Width >> p.Height >> maxValue;
    in.get();
    if (!in || (magic != "P5" && magic != "P6") || maxValue != 255)
        throw std::runtime_error("not an 8-bit PNM: " + path);
    p.Channels = magic == "P6" ? 3 : 1;
    p.Pixels.resize(size_t(p.Width) * p.Height * p.Channels);
    in.read(reinterpret_cast<char*>(p.Pixels.data()), std::streamsize(p.Pixels.size()));
    if (!in) throw std::runtime_error("short PNM: " + path);
    return p;
}

} // namespace

std::string MissingJpegTools() {
    std::string missing;
    for (const char* tool : {"cjpeg", "djpeg"})
        if (!OnPath(tool)) missing += std::string(missing.empty() ? "" : ", ") + tool;
    return missing;
}

// One folder for the whole test process, removed when it ends.
std::string TempPath(const std::string& name) {
    static const TTempDir dir("jpeg");
    return dir.File(name);
}

Bytes ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteFileBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

Pnm MakeTestPicture(uint32_t width, uint32_t height, bool grey) {
    Pnm p;
    p.Width = width;
    p.Height = height;
    p.Channels = grey ? 1 : 3;
    p.Pixels.resize(size_t(width) * height * p.Channels);
    uint32_t noise = 12345;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            const double fx = double(x) / std::max(1u, width),
                         fy = double(y) / std::max(1u, height);
            const double dx = fx - 0.6, dy = fy - 0.4;
            const double disc = std::exp(-(dx * dx + dy * dy) * 18.0);
            const bool edge = (x / 23 + y / 17) % 5 == 0;
            noise = noise * 1664525u + 1013904223u;
            const double n = double(noise >> 24) / 255.0 - 0.5;
            const double texture = 18.0 * std::sin(x * 0.9) * std::cos(y * 0.7);
            const double base[3] = {
                40 + 150 * fx + 60 * disc + (edge ? 50 : 0),
                70 + 100 * fy + 80 * disc - (edge ? 40 : 0),
                180 - 120 * fx * fy + 30 * disc,
            };
            for (int c = 0; c < p.Channels; ++c) {
                double v = (grey ? (base[0] + base[1] + base[2]) / 3 : base[c]) + texture + 12 * n;
                v = v < 0 ? 0 : v > 255 ? 255 : v;
                p.Pixels[(size_t(y) * width + x) * p.Channels + c] = uint8_t(v);
            }
        }
    }
    return p;
}

void WritePnm(const std::string& path, const Pnm& picture) {
    std::ofstream out(path, std::ios::binary);
    out << (picture.Channels == 3 ? "P6" : "P5") << "\n"
        << picture.Width << " " << picture.Height << "\n255\n";
    out.write(reinterpret_cast<const char*>(picture.Pixels.data()),
              std::streamsize(picture.Pixels.size()));
}

Bytes MakeJpeg(const std::string& name, const std::string& options, uint32_t width, uint32_t height,
               bool grey) {
    const std::string source = TempPath(name + (grey ? ".pgm" : ".ppm"));
    const std::string target = TempPath(name + ".jpg");
    WritePnm(source, MakeTestPicture(width, height, grey));
    try {
        Run("cjpeg " + options + " -outfile '" + target + "' '" + source + "'");
    } catch (...) {
        std::remove(source.c_str());
        std::remove(target.c_str());
        throw;
    }
    std::remove(source.c_str());
    Bytes jpeg = ReadFileBytes(target);
    std::remove(target.c_str());
    return jpeg;
}

Pnm DjpegDecode(const std::string& name, const Bytes& jpeg) {
    const std::string in = TempPath(name + ".djpeg.jpg");
    const std::string out = TempPath(name + ".djpeg.pnm");
    WriteFileBytes(in, jpeg);
    try {
        Run("djpeg -nosmooth -pnm -outfile '" + out + "' '" + in + "'");
        Pnm picture = ReadPnm(out);
        std::remove(in.c_str());
        std::remove(out.c_str());
        return picture;
    } catch (...) {
        std::remove(in.c_str());
        std::remove(out.c_str());
        throw;
    }
}

Pnm ToRgb(const BitmapImage& picture) {
    Pnm p;
    p.Width = picture.Width();
    p.Height = picture.Height();
    p.Channels = 3;
    p.Pixels.reserve(size_t(p.Width) * p.Height * 3);
    for (uint32_t y = 0; y < p.Height; ++y) {
        for (uint32_t x = 0; x < p.Width; ++x) {
            const RgbValue c = picture.GetRGB(y, x);
            p.Pixels.insert(p.Pixels.end(), {c.Red, c.Green, c.Blue});
        }
    }
    return p;
}

double Psnr(const Pnm& a, const Pnm& b) {
    if (a.Width != b.Width || a.Height != b.Height || a.Channels != b.Channels) return -1;
    double squares = 0;
    for (size_t i = 0; i < a.Pixels.size(); ++i) {
        const double d = double(a.Pixels[i]) - b.Pixels[i];
        squares += d * d;
    }
    if (squares == 0) return std::numeric_limits<double>::infinity();
    return 10 * std::log10(255.0 * 255.0 / (squares / double(a.Pixels.size())));
}

double Psnr(const BitmapImage& picture, const Pnm& reference) {
    const int channels = picture.BitCount() == 24 ? 3 : 1;
    if (picture.Width() != reference.Width || picture.Height() != reference.Height ||
        channels != reference.Channels)
        return -1;
    double squares = 0;
    for (uint32_t y = 0; y < picture.Height(); ++y) {
        const uint8_t* row = picture.Row(y);
        const uint8_t* ref = reference.Pixels.data() + size_t(y) * picture.Width() * channels;
        for (uint32_t x = 0; x < picture.Width(); ++x) {
            for (int c = 0; c < channels; ++c) {
                // Our rows hold blue, green, red; PNM holds red, green, blue.
                const int ours = row[x * channels + (channels == 3 ? 2 - c : 0)];
                const double d = ours - ref[x * channels + c];
                squares += d * d;
            }
        }
    }
    if (squares == 0) return std::numeric_limits<double>::infinity();
    const double mse = squares / (double(picture.Width()) * picture.Height() * channels);
    return 10 * std::log10(255.0 * 255.0 / mse);
}

namespace {

DecodeOutcome DecodeWith(JpegDecoder& decoder, const Bytes& data) {
    DecodeOutcome outcome;
    try {
        decoder.Decode(data.data(), data.size(), outcome.Picture);
        outcome.Message = "ok";
    } catch (const EGraphicsException& e) {
        outcome.Message = e.what();
    }
    return outcome;
}

} // namespace

DecodeOutcome DecodeForImport(const Bytes& data) {
    JpegDecoderOptions options;
    options.RequireJfifHeader = false;
    JpegDecoder decoder(options);
    return DecodeWith(decoder, data);
}

DecodeOutcome DecodeFast(const Bytes& data) {
    JpegDecoder decoder;
    return DecodeWith(decoder, data);
}

DecodeOutcome DecodeReference(const Bytes& data) {
    ReferenceJpegDecoder decoder;
    return DecodeWith(decoder, data);
}

DecodeOutcome DecodeBoth(const Bytes& data) {
    DecodeOutcome fast = DecodeFast(data);
    const DecodeOutcome reference = DecodeReference(data);
    EXPECT_EQ(fast.Message, reference.Message);
    if (fast.Message == "ok" && reference.Message == "ok") {
        const BitmapImage& a = fast.Picture;
        const BitmapImage& b = reference.Picture;
        EXPECT_TRUE(a.ImageDataSize() == b.ImageDataSize() &&
                    std::equal(a.ImageData(), a.ImageData() + a.ImageDataSize(), b.ImageData()))
            << "fast and reference pictures differ";
    }
    return fast;
}
