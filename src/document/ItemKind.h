// Item kind codes and frame membership references. The codes are stored in documents.
#pragma once

#include <cstdint>

enum TItemKind : int32_t {
    ikCaption = 0,
    ikText = 1,
    ikImage = 2,
    ikRectangle = 3,
    ikLine = 4,
    ikPolygon = 5,
    ikFrame = 6,
};

// The kind's English name for messages ("caption", "frame"...); "item" for an unknown code.
const char* ItemKindName(int32_t kind);

// A reference from a frame to one of its members: the member's kind and its index in the
// list of that kind. Every removal from a list renumbers these (see FrameMembership.h).
struct TKKItem {
    int32_t Kind = 0;
    int32_t Index = 0;
    friend bool operator==(const TKKItem&, const TKKItem&) = default;
};
