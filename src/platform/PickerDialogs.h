// The colour and font common dialogs: an answer, or nothing when cancelled.
#pragma once

#include <optional>

#include "platform/Color.h"
#include "platform/Font.h"

class TColorDialogs {
public:
    virtual ~TColorDialogs() = default;
    virtual std::optional<TColor> PickColor(TColor initial) = 0;
};

class TFontDialogs {
public:
    virtual ~TFontDialogs() = default;
    // The font's Height is in screen pixels on the way in and out.
    virtual std::optional<TFont> PickFont(const TFont& initial) = 0;
};
