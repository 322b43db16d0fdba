// Frames and their members: a frame lists the items placed in it by (kind, index), so every
// append and removal keeps those references in step, and moving a frame moves its members.
#pragma once

#include <cstdint>

struct TPageItems;
class TNyomtatoKeret;

// After an item of this kind was appended to its list: the last frame (other than a new frame
// itself) whose Rect contains (x, y), right and bottom excluded, takes it as a member.
void AttachToFrame(TPageItems& items, int32_t kind, int32_t x, int32_t y);

// Before item (kind, index) is removed from its list: every frame drops its references to it,
// and references to later items of the kind move down by one.
void DetachReference(TPageItems& items, int32_t kind, int32_t index);

// Moves the frame's members by (dx, dy): boxes by their Rect, lines and polygons point by
// point. Members of member frames stay. References that name no item are passed over, and
// coordinates stop at the ends of the int32 range rather than overflow.
void MoveMembers(TPageItems& items, const TNyomtatoKeret& frame, int32_t dx, int32_t dy);
