#include "platform/Memory.h"

namespace platform {

// Large pages on Windows must be allocated as such (VirtualAlloc with MEM_LARGE_PAGES) and need
// the "Lock pages in memory" privilege, which a workshop account does not hold: no hint to give.
void PreferLargePages(void*, std::size_t) {}

}  // namespace platform
