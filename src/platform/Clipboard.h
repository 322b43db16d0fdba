// The system clipboard as the editor uses it: items in the program's own format, offered
// beside a picture of them for other programs. Tests use TMemoryClipboard.
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

class TClipboard {
public:
    virtual ~TClipboard() = default;
    // Replaces the clipboard's content with bytes of the given MIME type and, when picture is
    // given, a PNG of it.
    virtual void SetData(const std::string& mimeType, const std::vector<uint8_t>& bytes,
                         const TClipboardPicture* picture) = 0;
    // The bytes of that MIME type, or nothing when the clipboard holds none.
    virtual std::optional<std::vector<uint8_t>> Data(const std::string& mimeType) const = 0;
};

class TMemoryClipboard : public TClipboard {
public:
    void SetData(const std::string& mimeType, const std::vector<uint8_t>& bytes,
                 const TClipboardPicture* picture) override {
        MimeType = mimeType;
        Bytes = bytes;
        HasPicture = picture != nullptr;
    }
    std::optional<std::vector<uint8_t>> Data(const std::string& mimeType) const override {
        if (mimeType != MimeType) return std::nullopt;
        return Bytes;
    }

    std::string MimeType;
    std::vector<uint8_t> Bytes;
    bool HasPicture = false;
};
