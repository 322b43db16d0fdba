#include "imaging/AreaAverage.h"

#include <algorithm>
#include <exception>
#include <thread>
#include <vector>

namespace {

// Sources with at least this many pixels are shrunk by two threads, each taking half of the
// target rows: printing a big photo waits for the shrink.
constexpr int64_t kThreadedPixels = int64_t{4} << 20;

// What a shrink reads: target column t spans source columns [ColumnFrom[t], ColumnFrom[t + 1]),
// at least one as width <= the source's.
struct TShrink {
    const TPixelRows& Source;
    int32_t Width, Height;
    std::vector<int32_t> ColumnFrom;
    uint32_t* Out;
};

// Target rows [first, last) of the shrink, with a row buffer and sums of its own.
class TRowWorker {
public:
    explicit TRowWorker(const TShrink& s)
        : S(s), Row(static_cast<size_t>(s.Source.Width())), Sums(3 * static_cast<size_t>(s.Width)) {
    }

    void Run(int32_t first, int32_t last) {
        const int32_t sh = S.Source.Height();
        for (int32_t t = first; t < last; ++t) {
            const int32_t from = static_cast<int32_t>(int64_t{t} * sh / S.Height);
            const int32_t to = static_cast<int32_t>(int64_t{t + 1} * sh / S.Height);
            std::fill(Sums.begin(), Sums.end(), 0);
            for (int32_t y = from; y < to; ++y) AddRow(y);
            const uint64_t rows = static_cast<uint64_t>(to - from);
            uint32_t* target = S.Out + static_cast<size_t>(t) * static_cast<size_t>(S.Width);
            for (int32_t c = 0; c < S.Width; ++c) {
                const uint64_t n =
                    rows * static_cast<uint64_t>(S.ColumnFrom[static_cast<size_t>(c) + 1] -
                                                 S.ColumnFrom[static_cast<size_t>(c)]);
                const uint64_t* sum = &Sums[3 * static_cast<size_t>(c)];
                // Rounded to the nearest value.
                const auto mean = [n](uint64_t v) {
                    return static_cast<uint32_t>((v + n / 2) / n);
                };
                target[c] = 0xFF000000u | mean(sum[0]) << 16 | mean(sum[1]) << 8 | mean(sum[2]);
            }
        }
    }

private:
    // Adds source row y to the sums of the target columns. A column span of at most 65535
    // pixels of 255 fits 32 bits; the sums of a box, up to 65535 such rows, 64 bits.
    void AddRow(int32_t y) {
        if (const uint8_t* packed = S.Source.PackedRow(y)) {
            AddPackedRow(packed);
            return;
        }
        S.Source.Row(y, Row.data());
        const uint32_t* p = Row.data();
        uint64_t* sum = Sums.data();
        for (int32_t c = 0; c < S.Width; ++c, sum += 3) {
            const int32_t end = S.ColumnFrom[static_cast<size_t>(c) + 1];
            uint32_t r = 0, g = 0, b = 0;
            for (int32_t x = S.ColumnFrom[static_cast<size_t>(c)]; x < end; ++x) {
                const uint32_t v = p[x];
                r += (v >> 16) & 0xFF;
                g += (v >> 8) & 0xFF;
                b += v & 0xFF;
            }
            sum[0] += r;
            sum[1] += g;
            sum[2] += b;
        }
    }

    // The same for a row of blue, green, red bytes.
    void AddPackedRow(const uint8_t* p) {
        uint64_t* sum = Sums.data();
        for (int32_t c = 0; c < S.Width; ++c, sum += 3) {
            const uint8_t* end =
                p + 3 * static_cast<size_t>(S.ColumnFrom[static_cast<size_t>(c) + 1]);
            uint32_t r = 0, g = 0, b = 0;
            for (const uint8_t* px =
                     p + 3 * static_cast<size_t>(S.ColumnFrom[static_cast<size_t>(c)]);
                 px < end; px += 3) {
                b += px[0];
                g += px[1];
                r += px[2];
            }
            sum[0] += r;
            sum[1] += g;
            sum[2] += b;
        }
    }

    const TShrink& S;
    std::vector<uint32_t> Row;
    std::vector<uint64_t> Sums;
};

} // namespace

TPixmap AreaAverage(const TPixelRows& source, int32_t width, int32_t height) {
    const int32_t sw = source.Width(), sh = source.Height();
    TPixmap out;
    if (sw <= 0 || sh <= 0 || width <= 0 || height <= 0) return out;
    width = std::min(width, sw);
    height = std::min(height, sh);
    out.Width = width;
    out.Height = height;
    out.Pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));

    TShrink shrink{source, width, height, std::vector<int32_t>(static_cast<size_t>(width) + 1),
                   out.Pixels.data()};
    for (int32_t t = 0; t <= width; ++t)
        shrink.ColumnFrom[static_cast<size_t>(t)] = static_cast<int32_t>(int64_t{t} * sw / width);

    TRowWorker main(shrink);
    const int32_t half = height / 2;
    if (int64_t{sw} * sh >= kThreadedPixels && half > 0 &&
        std::thread::hardware_concurrency() > 1) {
        // Both workers' buffers exist before the thread starts, so nothing in it allocates.
        TRowWorker other(shrink);
        std::thread helper;
        try {
            helper = std::thread([&other, half] { other.Run(0, half); });
        } catch (const std::exception&) {
            main.Run(0, half); // no thread to be had: this one does all
        }
        main.Run(half, height);
        if (helper.joinable()) helper.join();
        return out;
    }
    main.Run(0, height);
    return out;
}
