#include "platform/Memory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace platform {

void PreferLargePages(void* data, std::size_t size) {
  // madvise takes whole pages: the part of the block that covers them.
  const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto begin = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = (begin + page - 1) & ~(page - 1);
  const std::uintptr_t end = (begin + size) & ~(page - 1);
  if (end > first) {
    // A system without transparent huge pages says EINVAL: the memory is used as it is.
    ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
  }
}

}  // namespace platform
