// Pictures: printing a big photo to PDF at 600 dpi, loading a document that holds one (time and
// peak memory against reading the file), and importing an Exif photo against decoding the same
// picture saved as JFIF.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <QGuiApplication>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "codec/BitmapImage.h"
#include "document/DocumentFile.h"
#include "document/ItemLists.h"
#include "document/PageSettings.h"
#include "editor/PrinterMetrics.h"
#include "editor/PrintPage.h"
#include "imaging/MemBitmap.h"
#include "imaging/PictureImport.h"
#include "jpeg/JpegEncoder.h"
#include "PhotoPicture.h"
#include "platform/Files.h"
#include "platform/qt/QtPrinter.h"

namespace {

const std::filesystem::path kDir = std::filesystem::temp_directory_path() / "fs_picture_bench";

BitmapImage Photo(int width, int height) {
    const std::vector<uint8_t> rgb = MakePhotoPicture(width, height);
    BitmapImage p;
    p.SetSize(0, 24, uint32_t(width), uint32_t(height));
    for (int y = 0; y < height; ++y) {
        uint8_t* row = p.Row(uint32_t(y));
        for (int x = 0; x < width; ++x) {
            const uint8_t* s = &rgb[(size_t(y) * width + x) * 3];
            row[3 * x] = s[2], row[3 * x + 1] = s[1], row[3 * x + 2] = s[0];
        }
    }
    return p;
}

std::shared_ptr<TMemBitmap> PhotoBitmap(int width, int height) {
    auto b = std::make_shared<TMemBitmap>();
    b->SetPicture(TMemBitmap::BlockFromCodecPicture(Photo(width, height)), false);
    return b;
}

// 30 MP (6325 x 4743) or 0.1 MP (365 x 274) in a 90 x 90 mm rectangle, printed to PDF.
void BM_PrintPhotoToPdf(benchmark::State& state) {
    const bool big = state.range(0) == 30;
    const auto picture = big ? PhotoBitmap(6325, 4743) : PhotoBitmap(365, 274);
    std::filesystem::create_directories(kDir);
    const std::string pdf = (kDir / "print.pdf").string();
    TPageItems items;
    auto image = std::make_unique<TNyomtatoKep>();
    image->Rect = {20, 20, 110, 110};
    image->Picture = picture;
    items.Images.Add(std::move(image));
    TPageSettings settings;
    for (auto _ : state) {
        TQtPrinter printer(TQtPrinter::TChoice::BuiltInPdf, nullptr);
        printer.UsePaperOfSize(209, 296);
        printer.SetOutputFile(pdf);
        TPrinterMetrics m;
        ReadDefaultPrinter(printer, m);
        benchmark::DoNotOptimize(PrintDocument(printer, items, settings, m));
    }
    state.counters["pdf_MB"] = double(std::filesystem::file_size(pdf)) / 1e6;
}
BENCHMARK(BM_PrintPhotoToPdf)->Arg(30)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3);

// The document with one 30 MP bitmap picture (about 90 MB), written once.
const std::string& BigDocument() {
    static const std::string path = [] {
        std::filesystem::create_directories(kDir);
        const std::string p = (kDir / "big.PST").string();
        if (!std::filesystem::exists(p)) {
            TDocumentData doc;
            doc.PageWidthMm = 210;
            doc.PageHeightMm = 297;
            auto image = std::make_unique<TNyomtatoKep>();
            image->Rect = {20, 20, 110, 110};
            image->Picture = PhotoBitmap(6325, 4743);
            doc.Items.Images.Add(std::move(image));
            if (SaveDocumentFile(p, doc).Failed()) std::abort();
        }
        return p;
    }();
    return path;
}

// A field of /proc/self/status in kB.
long StatusKb(const char* field) {
    FILE* f = std::fopen("/proc/self/status", "r");
    char line[256];
    long kb = -1;
    while (f && std::fgets(line, sizeof line, f)) {
        if (std::strncmp(line, field, std::strlen(field)) == 0)
            kb = std::atol(line + std::strlen(field));
    }
    if (f) std::fclose(f);
    return kb;
}

// Peak resident memory that work adds, in MB: run in a child whose peak is reset first
// (clear_refs 5), so what the parent holds does not count.
template <typename Work>
double ChildPeakMb(Work work) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        if (FILE* c = std::fopen("/proc/self/clear_refs", "w")) {
            std::fputs("5", c);
            std::fclose(c);
        }
        const long before = StatusKb("VmRSS:");
        work();
        const long grown = StatusKb("VmHWM:") - before;
        (void)!write(fds[1], &grown, sizeof grown);
        _exit(0);
    }
    close(fds[1]);
    long grown = -1024;
    (void)!read(fds[0], &grown, sizeof grown);
    close(fds[0]);
    waitpid(pid, nullptr, 0);
    return double(grown) / 1024.0;
}

void ReadLikeCat(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    static char buffer[1 << 17];
    while (std::fread(buffer, 1, sizeof buffer, f) == sizeof buffer) {
    }
    std::fclose(f);
}

void BM_CatBigDocument(benchmark::State& state) {
    const std::string& path = BigDocument();
    for (auto _ : state) ReadLikeCat(path);
    state.counters["file_MB"] = double(std::filesystem::file_size(path)) / 1e6;
    state.counters["peak_MB"] = ChildPeakMb([&] { ReadLikeCat(path); });
}
BENCHMARK(BM_CatBigDocument)->Unit(benchmark::kMillisecond);

void BM_LoadBigDocument(benchmark::State& state) {
    const std::string& path = BigDocument();
    for (auto _ : state) benchmark::DoNotOptimize(LoadDocumentFile(path));
    state.counters["file_MB"] = double(std::filesystem::file_size(path)) / 1e6;
    state.counters["peak_MB"] =
        ChildPeakMb([&] { benchmark::DoNotOptimize(LoadDocumentFile(path)); });
}
BENCHMARK(BM_LoadBigDocument)->Unit(benchmark::kMillisecond);

// The document read as dump --no-pictures reads it: mapped, its picture's rows passed over.
void BM_ReadBigDocumentSizesOnly(benchmark::State& state) {
    const std::string& path = BigDocument();
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadDocumentFile(path, TPictureReading::SizesOnly));
    state.counters["peak_MB"] = ChildPeakMb(
        [&] { benchmark::DoNotOptimize(LoadDocumentFile(path, TPictureReading::SizesOnly)); });
}
BENCHMARK(BM_ReadBigDocumentSizesOnly)->Unit(benchmark::kMillisecond);

extern "C" char** environ;

// Runs a program with its output to /dev/null and waits for it; false when it failed.
bool RunQuietly(std::vector<std::string> args) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return spawned == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// The two commands a user would time: `cat big.PST` and `folioscriptor-cli dump
// --no-pictures big.PST`, each a process of its own writing to /dev/null.
void BM_CatBigDocumentProcess(benchmark::State& state) {
    const std::string& path = BigDocument();
    for (auto _ : state) {
        if (!RunQuietly({"cat", path})) state.SkipWithError("cat failed");
    }
}
BENCHMARK(BM_CatBigDocumentProcess)->Unit(benchmark::kMillisecond);

void BM_DumpBigDocumentWithoutPictures(benchmark::State& state) {
    const std::string& path = BigDocument();
    for (auto _ : state) {
        if (!RunQuietly({FS_CLI, "dump", "--no-pictures", path}))
            state.SkipWithError("dump failed");
    }
}
BENCHMARK(BM_DumpBigDocumentWithoutPictures)->Unit(benchmark::kMillisecond);

// 12 MP (4000 x 3000): the JFIF stream, and the same data behind an Exif segment (orientation 6)
// in place of APP0, as phones write it.
struct TPhotoStreams {
    std::vector<uint8_t> Jfif, Exif;
};
const TPhotoStreams& PhotoStreams() {
    static const TPhotoStreams s = [] {
        TPhotoStreams out;
        JpegEncoder e;
        e.SetQuality(90);
        out.Jfif = e.Encode(Photo(4000, 3000));
        out.Exif = {0xFF, 0xD8, 0xFF, 0xE1, 0, 34, 'E', 'x', 'i', 'f',  0,    0, 'I',
                    'I',  42,   0,    8,    0, 0,  0,   1,   0,   0x12, 0x01, 3, 0,
                    1,    0,    0,    0,    6, 0,  0,   0,   0,   0,    0,    0};
        const size_t app0 = 2 + (size_t(out.Jfif[4]) << 8 | out.Jfif[5]);
        out.Exif.insert(out.Exif.end(), out.Jfif.begin() + 2 + ptrdiff_t(app0), out.Jfif.end());
        return out;
    }();
    return s;
}

void BM_DecodeJfifPhoto(benchmark::State& state) {
    const auto& s = PhotoStreams();
    for (auto _ : state) {
        TMemBitmap b;
        b.LoadFromJpegFileData(s.Jfif);
        benchmark::DoNotOptimize(b.DibBlock.data());
    }
}
BENCHMARK(BM_DecodeJfifPhoto)->Unit(benchmark::kMillisecond);

void BM_ImportExifPhoto(benchmark::State& state) {
    const auto& s = PhotoStreams();
    for (auto _ : state) {
        TMemBitmap b;
        std::string why;
        benchmark::DoNotOptimize(ImportPicture(s.Exif, b, why));
    }
}
BENCHMARK(BM_ImportExifPhoto)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::filesystem::remove_all(kDir);
    return 0;
}
