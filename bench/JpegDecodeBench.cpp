// Decoding speed and peak memory of a 12-megapixel photo-like picture in four forms (baseline
// 4:2:0, baseline 4:4:4, progressive 4:2:0, greyscale): our JpegDecoder against libjpeg-turbo and
// stb_image on the same bytes. The files are compressed with libjpeg-turbo at start-up.
#include <benchmark/benchmark.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <jpeglib.h>

#if defined(__linux__)
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "codec/BitmapImage.h"
#include "jpeg/JpegDecoder.h"
#include "PhotoPicture.h"

extern "C" {
unsigned char* stbi_load_from_memory(const unsigned char* buffer, int len, int* x, int* y,
                                     int* channels_in_file, int desired_channels);
void stbi_image_free(void* retval_from_stbi_load);
}

namespace {

constexpr int kWidth = 4000, kHeight = 3000; // 12 megapixels

enum Form { kBaseline420, kBaseline444, kProgressive420, kGrey };

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void OnLibjpegError(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

std::vector<uint8_t> Compress(const std::vector<uint8_t>& rgb, Form form) {
    jpeg_compress_struct cinfo;
    ErrorManager err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = OnLibjpegError;
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    std::vector<uint8_t> grey;
    if (setjmp(err.jump)) throw std::runtime_error("libjpeg compression failed");
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &out, &outSize);
    cinfo.image_width = kWidth;
    cinfo.image_height = kHeight;
    cinfo.input_components = form == kGrey ? 1 : 3;
    cinfo.in_color_space = form == kGrey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    if (form == kBaseline444)
        for (int i = 0; i < 3; ++i)
            cinfo.comp_info[i].h_samp_factor = cinfo.comp_info[i].v_samp_factor = 1;
    if (form == kProgressive420) jpeg_simple_progression(&cinfo);
    if (form == kGrey) {
        grey.resize(size_t(kWidth) * kHeight);
        for (size_t i = 0; i < grey.size(); ++i)
            grey[i] = uint8_t((rgb[3 * i] * 77 + rgb[3 * i + 1] * 150 + rgb[3 * i + 2] * 29) >> 8);
    }
    jpeg_start_compress(&cinfo, TRUE);
    const size_t stride = size_t(kWidth) * cinfo.input_components;
    const uint8_t* source = form == kGrey ? grey.data() : rgb.data();
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(source + cinfo.next_scanline * stride);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<uint8_t> bytes(out, out + outSize);
    std::free(out);
    return bytes;
}

const std::vector<uint8_t>& File(Form form) {
    static std::map<Form, std::vector<uint8_t>> files;
    if (files.empty()) {
        const std::vector<uint8_t> rgb = MakePhotoPicture(kWidth, kHeight);
        for (Form f : {kBaseline420, kBaseline444, kProgressive420, kGrey})
            files[f] = Compress(rgb, f);
    }
    return files.at(form);
}

void Report(benchmark::State& state, Form form) {
    state.counters["MP/s"] = benchmark::Counter(double(state.iterations()) * kWidth * kHeight / 1e6,
                                                benchmark::Counter::kIsRate);
    state.counters["file_MB"] = double(File(form).size()) / 1e6;
}

void DecodeOurs(const std::vector<uint8_t>& data) {
    BitmapImage picture;
    JpegDecoder decoder;
    decoder.Decode(data.data(), data.size(), picture);
    benchmark::DoNotOptimize(picture.ImageData());
}

// Decodes into `target`, or into a new buffer when it is null (not zero-filled: the decoder
// writes every byte). Returns false when libjpeg-turbo fails.
bool DecodeLibjpegTurbo(const std::vector<uint8_t>& data, std::unique_ptr<uint8_t[]>* target) {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = OnLibjpegError;
    std::unique_ptr<uint8_t[]> fresh;
    if (setjmp(err.jump)) return false;
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);
    jpeg_start_decompress(&cinfo);
    const size_t stride = size_t(cinfo.output_width) * cinfo.output_components;
    if (target == nullptr || !*target) fresh.reset(new uint8_t[stride * cinfo.output_height]);
    uint8_t* pixels = target != nullptr && *target ? target->get() : fresh.get();
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = pixels + cinfo.output_scanline * stride;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    benchmark::DoNotOptimize(pixels);
    if (target != nullptr && !*target) *target = std::move(fresh);
    return true;
}

void DecodeLibjpegTurboFresh(const std::vector<uint8_t>& data) {
    DecodeLibjpegTurbo(data, nullptr);
}

#if defined(__linux__)
// A field of /proc/self/status in bytes ("VmRSS", "VmHWM").
uint64_t StatusBytes(const char* field) {
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (f == nullptr) return 0;
    char line[256];
    uint64_t kb = 0;
    const size_t n = std::strlen(field);
    while (std::fgets(line, sizeof line, f) != nullptr)
        if (std::strncmp(line, field, n) == 0 && line[n] == ':')
            kb = std::strtoull(line + n + 1, nullptr, 10);
    std::fclose(f);
    return kb * 1024;
}

// The memory one decode adds at its peak, in a child process so that nothing the benchmark
// did before is counted or reused: free heap memory is handed back and the peak reset before
// the decode, so every page it touches counts.
double PeakDecodeMegabytes(void (*decode)(const std::vector<uint8_t>&), Form form) {
    const std::vector<uint8_t>& data = File(form);
    int fds[2];
    if (pipe(fds) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        malloc_trim(0);
        if (std::FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
            std::fputs("5", f); // reset the peak resident size to the current one
            std::fclose(f);
        }
        const uint64_t before = StatusBytes("VmRSS");
        decode(data);
        const double megabytes = double(StatusBytes("VmHWM") - before) / 1e6;
        const ssize_t written = write(fds[1], &megabytes, sizeof megabytes);
        _exit(written == sizeof megabytes ? 0 : 1);
    }
    close(fds[1]);
    double megabytes = -1;
    if (child < 0 || read(fds[0], &megabytes, sizeof megabytes) != sizeof megabytes) megabytes = -1;
    close(fds[0]);
    if (child > 0) waitpid(child, nullptr, 0);
    return megabytes;
}
#endif

// Peak memory of one decode beside the size of the picture it makes. The child processes are
// forked once per decoder and form, the first time it is asked, and before that benchmark's
// clock: a fork between timed runs makes the parent's next writes to its pages fault.
void ReportMemory(benchmark::State& state, Form form, void (*decode)(const std::vector<uint8_t>&)) {
    state.counters["picture_MB"] =
        double(BitmapImage::RowWidthFor(form == kGrey ? 8 : 24, kWidth)) * kHeight / 1e6;
#if defined(__linux__)
    static std::map<std::pair<void (*)(const std::vector<uint8_t>&), Form>, double> peaks;
    const auto key = std::pair(decode, form);
    auto found = peaks.find(key);
    if (found == peaks.end()) found = peaks.emplace(key, PeakDecodeMegabytes(decode, form)).first;
    state.counters["peak_MB"] = found->second;
#else
    (void)decode;
#endif
}

void Ours(benchmark::State& state, Form form) {
    const std::vector<uint8_t>& data = File(form);
    ReportMemory(state, form, DecodeOurs);
    for (auto _ : state) DecodeOurs(data);
    Report(state, form);
}

// fresh: every run decodes into a newly allocated buffer, as ours does (the first write of
// each page costs a fault); otherwise into one buffer made before the clock, which times the
// decoding work alone.
void LibjpegTurbo(benchmark::State& state, Form form, bool fresh) {
    const std::vector<uint8_t>& data = File(form);
    std::unique_ptr<uint8_t[]> kept;
    if (!fresh) {
        DecodeLibjpegTurbo(data, &kept);
        if (kept) std::memset(kept.get(), 0, size_t(kWidth) * kHeight * (form == kGrey ? 1 : 3));
    }
    if (fresh) ReportMemory(state, form, DecodeLibjpegTurboFresh);
    for (auto _ : state) {
        if (!DecodeLibjpegTurbo(data, fresh ? nullptr : &kept)) {
            state.SkipWithError("libjpeg-turbo failed");
            break;
        }
    }
    Report(state, form);
}

void StbImage(benchmark::State& state, Form form) {
    const std::vector<uint8_t>& data = File(form);
    for (auto _ : state) {
        int w = 0, h = 0, n = 0;
        unsigned char* pixels = stbi_load_from_memory(data.data(), int(data.size()), &w, &h, &n, 0);
        if (pixels == nullptr) {
            state.SkipWithError("stb_image failed");
            break;
        }
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
    }
    Report(state, form);
}

} // namespace

#define FORM_BENCHMARKS(form)                                                                      \
    BENCHMARK_CAPTURE(Ours, form, form)->Unit(benchmark::kMillisecond);                            \
    BENCHMARK_CAPTURE(LibjpegTurbo, form, form, true)->Unit(benchmark::kMillisecond);              \
    BENCHMARK_CAPTURE(LibjpegTurbo, form##_kept_buffer, form, false)                               \
        ->Unit(benchmark::kMillisecond);                                                           \
    BENCHMARK_CAPTURE(StbImage, form, form)->Unit(benchmark::kMillisecond);

FORM_BENCHMARKS(kBaseline420)
FORM_BENCHMARKS(kBaseline444)
FORM_BENCHMARKS(kProgressive420)
FORM_BENCHMARKS(kGrey)

BENCHMARK_MAIN();
