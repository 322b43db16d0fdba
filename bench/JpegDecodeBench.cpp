// Decoding speed of a 12-megapixel photo-like picture in four forms (baseline 4:2:0,
// baseline 4:4:4, progressive 4:2:0, greyscale): our JpegDecoder against libjpeg-turbo and
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

void Ours(benchmark::State& state, Form form) {
    const std::vector<uint8_t>& data = File(form);
    for (auto _ : state) {
        BitmapImage picture;
        JpegDecoder decoder;
        decoder.Decode(data.data(), data.size(), picture);
        benchmark::DoNotOptimize(picture.ImageData());
    }
    Report(state, form);
}

// fresh: every run decodes into a newly allocated picture, as ours does (the first write of
// each page costs a fault); otherwise into one buffer made before the clock, which times the
// decoding work alone.
void LibjpegTurbo(benchmark::State& state, Form form, bool fresh) {
    const std::vector<uint8_t>& data = File(form);
    std::unique_ptr<uint8_t[]> kept;
    for (auto _ : state) {
        jpeg_decompress_struct cinfo;
        ErrorManager err;
        cinfo.err = jpeg_std_error(&err.pub);
        err.pub.error_exit = OnLibjpegError;
        if (setjmp(err.jump)) {
            state.SkipWithError("libjpeg-turbo failed");
            break;
        }
        jpeg_create_decompress(&cinfo);
        jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
        jpeg_read_header(&cinfo, TRUE);
        jpeg_start_decompress(&cinfo);
        const size_t stride = size_t(cinfo.output_width) * cinfo.output_components;
        // Not zero-filled: the decoder writes every byte.
        std::unique_ptr<uint8_t[]> pixels;
        if (fresh || !kept) {
            pixels.reset(new uint8_t[stride * cinfo.output_height]);
            if (!fresh) {
                std::memset(pixels.get(), 0, stride * cinfo.output_height);
                kept = std::move(pixels);
            }
        }
        uint8_t* target = fresh ? pixels.get() : kept.get();
        while (cinfo.output_scanline < cinfo.output_height) {
            JSAMPROW row = target + cinfo.output_scanline * stride;
            jpeg_read_scanlines(&cinfo, &row, 1);
        }
        jpeg_finish_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
        benchmark::DoNotOptimize(target);
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
