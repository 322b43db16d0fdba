// The system clipboard as the editor uses it: items in the program's own format, offered
// beside a picture of them for other programs, and pictures other programs copied. Tests use
// TMemoryClipboard.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class TCanvas;

// A picture of what was copied: Paint draws it on a canvas of Width x Height pixels.
struct TClipboardPicture {
    int32_t Width = 0;
    int32_t Height = 0;
    std::function<void(TCanvas&)> Paint;
};

// A picture another program put on the clipboard, as the bytes of a picture file.
struct TClipboardImage {
    std::vector<uint8_t> Bytes;
    std::string Format; // the MIME type the bytes were offered as, such as "image/png"
};

class TClipboard {
public:
    virtual ~TClipboard() = default;
    // Replaces the clipboard's content with bytes of the given MIME type and, when picture is
    // given, a PNG of it.
    virtual void SetData(const std::string& mimeType, const std::vector<uint8_t>& bytes,
                         const TClipboardPicture* picture) = 0;
    // The bytes of that MIME type, or nothing when the clipboard holds none.
    virtual std::optional<std::vector<uint8_t>> Data(const std::string& mimeType) const = 0;
    // The picture the clipboard holds, or nothing: JPEG bytes as they were copied, other
    // formats as the program offers them or as a PNG of the picture.
    virtual std::optional<TClipboardImage> Image() const = 0;
};

class TMemoryClipboard : public TClipboard {
public:
    void SetData(const std::string& mimeType, const std::vector<uint8_t>& bytes,
                 const TClipboardPicture* picture) override {
        MimeType = mimeType;
        Bytes = bytes;
        HasPicture = picture != nullptr;
        Picture.reset();
    }
    std::optional<std::vector<uint8_t>> Data(const std::string& mimeType) const override {
        if (mimeType != MimeType) return std::nullopt;
        return Bytes;
    }
    std::optional<TClipboardImage> Image() const override { return Picture; }
    // What another program copying a picture does: the clipboard holds only the picture.
    void SetImage(std::vector<uint8_t> bytes, std::string format) {
        MimeType.clear();
        Bytes.clear();
        HasPicture = false;
        Picture = TClipboardImage{std::move(bytes), std::move(format)};
    }

    std::string MimeType;
    std::vector<uint8_t> Bytes;
    bool HasPicture = false; // SetData was given a picture of the items
    std::optional<TClipboardImage> Picture;
};
