// The system clipboard through Qt: our items under their own MIME type, with a picture of
// them that other programs can paste; pictures copied by other programs.
#pragma once

#include "platform/Clipboard.h"

class TQtClipboard : public TClipboard {
public:
    void SetData(const std::string& mimeType, const std::vector<uint8_t>& bytes,
                 const TClipboardPicture* picture) override;
    std::optional<std::vector<uint8_t>> Data(const std::string& mimeType) const override;
    std::optional<TClipboardImage> Image() const override;
};
