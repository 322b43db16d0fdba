// Asking the system to back a large picture buffer with transparent huge pages.
#pragma once

#include <cstddef>
#include <cstdint>

// For a block about to be written whole, front to back, right after it was allocated: on
// Linux its untouched pages are asked to come as 2 MB pages, which spares the kernel a fault
// and a clearing for every 4 KB of it (the pages are zero either way). Elsewhere, and for
// blocks smaller than a huge page, nothing happens.
void AskForLargePages(uint8_t* data, size_t size);
