#include "codec/LargePages.h"

#include <sys/mman.h>

void AskForLargePages(uint8_t* data, size_t size) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr uintptr_t kHuge = uintptr_t(2) << 20;
    // The whole huge pages inside the block, found by offsets from its start so that the
    // address handed on stays a pointer into the block.
    const uintptr_t address = reinterpret_cast<uintptr_t>(data);
    const uintptr_t skip = (kHuge - address % kHuge) % kHuge;
    if (data == nullptr || size <= skip) return;
    const size_t length = (size - skip) & ~(kHuge - 1);
    if (length > 0) madvise(data + skip, length, MADV_HUGEPAGE);
#else
    (void)data;
    (void)size;
#endif
}
