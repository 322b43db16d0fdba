// Encoding speed of a 12-megapixel photo-like picture at quality 75: our JpegEncoder against
// libjpeg-turbo doing the same work (our two quantization tables given explicitly, optimised
// Huffman tables, float DCT, no subsampling, a restart interval of four MCU rows) and against
// stb_image_write at quality 75 (its own tables, fixed Huffman tables, 4:2:0 below quality 91).
// Counters: megapixels a second, the output size, and the peak memory one encode adds to the
// process (measured in a child process, apart from the timed runs).
#include <benchmark/benchmark.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <vector>

#include <jpeglib.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "codec/BitmapImage.h"
#include "jpeg/JpegEncoder.h"
#include "jpeg/JpegEncoderTables.h"
#include "jpeg/JpegTables.h"
#include "PhotoPicture.h"

extern "C" {
typedef void stbi_write_func(void* context, void* data, int size);
int stbi_write_jpg_to_func(stbi_write_func* func, void* context, int x, int y, int comp,
                           const void* data, int quality);
}

namespace {

constexpr int kWidth = 4000, kHeight = 3000; // 12 megapixels
constexpr uint32_t kQuality = 75;

struct Inputs {
    BitmapImage Picture;      // what our encoder and libjpeg-turbo read: bottom-up BGR rows
    std::vector<uint8_t> Rgb; // what stb_image_write reads: top-down RGB
};

const Inputs& Input() {
    static const Inputs inputs = [] {
        Inputs in;
        in.Rgb = MakePhotoPicture(kWidth, kHeight);
        in.Picture.SetSize(0, 24, kWidth, kHeight);
        for (int y = 0; y < kHeight; ++y) {
            uint8_t* row = in.Picture.Row(uint32_t(y));
            const uint8_t* rgb = in.Rgb.data() + size_t(y) * kWidth * 3;
            for (int x = 0; x < kWidth; ++x) {
                row[3 * x] = rgb[3 * x + 2];
                row[3 * x + 1] = rgb[3 * x + 1];
                row[3 * x + 2] = rgb[3 * x];
            }
        }
        return in;
    }();
    return inputs;
}

// Peak resident memory one call of `encode` adds, in megabytes: run in a child process, whose
// resident set starts as the parent's. The heap's free memory is given back first, so that
// what the encode allocates shows as new resident pages.
double PeakMegabytes(const std::function<void()>& encode) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        malloc_trim(0);
        long pages = 0;
        if (FILE* f = std::fopen("/proc/self/statm", "r")) {
            long size = 0;
            if (std::fscanf(f, "%ld %ld", &size, &pages) != 2) pages = 0;
            std::fclose(f);
        }
        const double before = double(pages) * double(sysconf(_SC_PAGESIZE)) / 1e6;
        encode();
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const double peak = double(usage.ru_maxrss) * 1024 / 1e6 - before;
        if (write(fds[1], &peak, sizeof peak) != sizeof peak) _exit(1);
        _exit(0);
    }
    close(fds[1]);
    double peak = -1;
    if (read(fds[0], &peak, sizeof peak) != sizeof peak) peak = -1;
    close(fds[0]);
    waitpid(child, nullptr, 0);
    return peak;
}

void Report(benchmark::State& state, size_t bytes, double peak) {
    state.counters["MP/s"] = benchmark::Counter(double(state.iterations()) * kWidth * kHeight / 1e6,
                                                benchmark::Counter::kIsRate);
    state.counters["out_bytes"] = double(bytes);
    state.counters["peak_MB"] = peak;
}

std::vector<uint8_t> EncodeOurs() {
    JpegEncoder encoder;
    encoder.SetQuality(kQuality);
    return encoder.Encode(Input().Picture);
}

void Ours(benchmark::State& state) {
    Input(); // made before the clock runs
    size_t bytes = 0;
    for (auto _ : state) {
        const std::vector<uint8_t> out = EncodeOurs();
        bytes = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    Report(state, bytes, PeakMegabytes([] { benchmark::DoNotOptimize(EncodeOurs().data()); }));
}

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void OnLibjpegError(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

// Our quantization tables in the natural order libjpeg takes them in.
void NaturalTable(const uint8_t example[64], unsigned int natural[64]) {
    EncoderQuantizationTable table;
    table.Build(kQuality, example);
    for (int n = 0; n < 64; ++n) natural[n] = table.Values[kNaturalToZigzag[n]];
}

size_t EncodeLibjpegTurbo() {
    const BitmapImage& picture = Input().Picture;
    unsigned int luminance[64], chrominance[64];
    NaturalTable(kLuminanceExampleTable, luminance);
    NaturalTable(kChrominanceExampleTable, chrominance);
    jpeg_compress_struct cinfo;
    ErrorManager err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = OnLibjpegError;
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    if (setjmp(err.jump)) throw std::runtime_error("libjpeg-turbo failed");
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &out, &outSize);
    cinfo.image_width = kWidth;
    cinfo.image_height = kHeight;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    jpeg_add_quant_table(&cinfo, 0, luminance, 100, TRUE);
    jpeg_add_quant_table(&cinfo, 1, chrominance, 100, TRUE);
    for (int i = 0; i < 3; ++i)
        cinfo.comp_info[i].h_samp_factor = cinfo.comp_info[i].v_samp_factor = 1;
    cinfo.optimize_coding = TRUE;
    cinfo.dct_method = JDCT_FLOAT;
    cinfo.restart_in_rows = 4;
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(picture.Row(cinfo.next_scanline));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::free(out);
    return outSize;
}

void LibjpegTurbo(benchmark::State& state) {
    Input();
    size_t bytes = 0;
    for (auto _ : state) bytes = EncodeLibjpegTurbo();
    Report(state, bytes, PeakMegabytes([] { EncodeLibjpegTurbo(); }));
}

size_t EncodeStb() {
    std::vector<uint8_t> out;
    auto append = [](void* context, void* data, int size) {
        auto* v = static_cast<std::vector<uint8_t>*>(context);
        v->insert(v->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
    };
    if (!stbi_write_jpg_to_func(append, &out, kWidth, kHeight, 3, Input().Rgb.data(), kQuality))
        throw std::runtime_error("stb_image_write failed");
    return out.size();
}

void StbImageWrite(benchmark::State& state) {
    Input();
    size_t bytes = 0;
    for (auto _ : state) bytes = EncodeStb();
    Report(state, bytes, PeakMegabytes([] { EncodeStb(); }));
}

} // namespace

BENCHMARK(Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(LibjpegTurbo)->Unit(benchmark::kMillisecond);
BENCHMARK(StbImageWrite)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
