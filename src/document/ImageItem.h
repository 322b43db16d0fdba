// An image: a picture stretched to fill its rectangle exactly.
#pragma once

#include <memory>
#include <string>

#include "imaging/MemBitmap.h"
#include "platform/Rect.h"

class TNyomtatoKep {
public:
    TNyomtatoKep() : Picture(std::make_unique<TMemBitmap>()) {}

    std::unique_ptr<TMemBitmap> Picture; // never null
    TRect Rect;                          // mm
    std::string FileName;                // where the picture was loaded from
};
