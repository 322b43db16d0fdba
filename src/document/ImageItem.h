// An image: a picture stretched to fill its rectangle exactly. Copies of an image share its
// picture: a picture is never changed once its item is on the page (a new picture replaces the
// pointer), so the page's history keeps earlier states without duplicating pictures.
#pragma once

#include <memory>
#include <string>

#include "imaging/MemBitmap.h"
#include "platform/Rect.h"

class TNyomtatoKep {
public:
    TNyomtatoKep() : Picture(std::make_shared<TMemBitmap>()) {}

    std::shared_ptr<TMemBitmap> Picture; // never null; shared by copies of the item
    TRect Rect;                          // mm
    std::string FileName;                // where the picture was loaded from

    // Same rectangle, file name and picture object (pictures compare by identity).
    friend bool operator==(const TNyomtatoKep& a, const TNyomtatoKep& b) {
        return a.Picture == b.Picture && a.Rect == b.Rect && a.FileName == b.FileName;
    }
};
