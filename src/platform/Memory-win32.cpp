#include "platform/Memory.h"

namespace platform {

// Large pages on Windows must be allocated as such (VirtualAlloc with MEM_LARGE_PAGES) and need
// the "Lock pages in memory" privilege, which a workshop account does not hold: no hint to give,
// and a large block is an ordinary one.
void PreferLargePages(void*, std::size_t) {}

void* AllocateLargePageBlock(std::size_t size) {
  return ::operator new(size);
}

void FreeLargePageBlock(void* block, std::size_t) noexcept {
  ::operator delete(block);
}

}  // namespace platform
