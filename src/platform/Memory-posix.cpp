#include "platform/Memory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace platform {

namespace {

// The large page of x86-64 and of 4 KiB-page ARM64: blocks are laid out on it even where the
// system has none, which costs only address space.
constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;

std::uintptr_t RoundUp(std::uintptr_t value, std::uintptr_t unit) {
  return (value + unit - 1) & ~(unit - 1);
}

}  // namespace

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

void* AllocateLargePageBlock(std::size_t size) {
  if (size > SIZE_MAX / 2) {
    throw std::bad_alloc();
  }
  const std::uintptr_t length = size == 0 ? kLargePage : RoundUp(size, kLargePage);
  // One large page more than the block, so that a boundary lies within the first one; what
  // stands before the boundary and after the block is given back at once.
  void* mapped = ::mmap(nullptr, length + kLargePage, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) {
    throw std::bad_alloc();
  }
  const auto begin = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t block = RoundUp(begin, kLargePage);
  if (block > begin) {
    ::munmap(mapped, block - begin);
  }
  const std::uintptr_t tail = begin + length + kLargePage - (block + length);
  if (tail > 0) {
    ::munmap(reinterpret_cast<void*>(block + length), tail);
  }
  ::madvise(reinterpret_cast<void*>(block), length, MADV_HUGEPAGE);
  return reinterpret_cast<void*>(block);
}

void FreeLargePageBlock(void* block, std::size_t size) noexcept {
  if (block != nullptr) {
    ::munmap(block, size == 0 ? kLargePage : RoundUp(size, kLargePage));
  }
}

}  // namespace platform
