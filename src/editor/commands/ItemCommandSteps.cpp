#include "editor/commands/ItemCommandSteps.h"

#include <limits>

#include "editor/CoreServices.h"
#include "editor/ItemDialogs.h"
#include "platform/MessageBoxes.h"
#include "platform/WholeNumber.h"

void WarnBadTextCoordinates(TCoreServices& s, const char* caption) {
    s.Messages.Show(kBadTextCoordinates, caption, MB_ICONWARNING);
}

bool BoxFits(int32_t x, int32_t y, int32_t w, int32_t h) {
    constexpr int64_t lo = std::numeric_limits<int32_t>::min();
    constexpr int64_t hi = std::numeric_limits<int32_t>::max();
    const int64_t right = int64_t{x} + w;
    const int64_t bottom = int64_t{y} + h;
    return right >= lo && right <= hi && bottom >= lo && bottom <= hi;
}

TImageFields ReadImageFields(const TImageDialogData& d, bool withPosition) {
    TImageFields f;
    int32_t left = 0;
    int32_t top = 0;
    if (withPosition) {
        const auto l = ParseWholeNumber(d.Left);
        if (!l) return TImageFields{{}, "Left"};
        const auto t = ParseWholeNumber(d.Top);
        if (!t) return TImageFields{{}, "Top"};
        left = *l;
        top = *t;
    }
    const auto w = ParseWholeNumber(d.Width);
    if (!w || *w < 1 || !BoxFits(left, 0, *w, 0)) return TImageFields{{}, "Width"};
    const auto h = ParseWholeNumber(d.Height);
    if (!h || *h < 1 || !BoxFits(0, top, 0, *h)) return TImageFields{{}, "Height"};
    f.Rect = TRect{left, top, left + *w, top + *h};
    return f;
}

void WarnBadImageField(TCoreServices& s, const char* field, const char* caption) {
    s.Messages.Show(std::string("Hibás képkoordináták ! (") + field + ")", caption, MB_ICONWARNING);
}
