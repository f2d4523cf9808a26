// Hints to the system about how the program uses a large block of its memory, and an allocator
// for the large arrays of a program of a hundred thousand layers.
#pragma once

#include <cstddef>
#include <limits>
#include <memory>
#include <new>

namespace platform {

// Asks the system to back the whole pages of [data, data + size) with large pages (2 MiB on
// x86-64 Linux, transparent huge pages) as they are first written. A text of tens of megabytes
// written from start to end then costs one page fault per 2 MiB instead of one per 4 KiB, and
// writing it to a file copies from fewer, larger pages; pages never written are still never
// taken. Only a hint: where the system has no such pages, or declines, nothing changes.
void PreferLargePages(void* data, std::size_t size);

// A block of at least size bytes that starts on a large-page boundary and asks for large pages
// (PreferLargePages), so that all of it can be backed by them: a block from the general heap
// keeps small pages from its start to the first boundary, up to 511 page faults, which on a
// virtual machine cost more than filling the block. Pages never written are never taken.
// Raises std::bad_alloc when the system gives no memory. Where the system has no such pages
// (Windows), an ordinary block.
void* AllocateLargePageBlock(std::size_t size);
// Gives back a block of AllocateLargePageBlock, with the size it was asked for.
void FreeLargePageBlock(void* block, std::size_t size) noexcept;

// From this size on, an array is worth a block of its own.
inline constexpr std::size_t kLargeArrayBytes = std::size_t{4} << 20;

// std::allocator for small arrays, AllocateLargePageBlock from kLargeArrayBytes on: for the
// arrays of moves a program of a hundred thousand layers fills (millions of entries).
template <class T>
class TLargeArrayAllocator {
 public:
  using value_type = T;

  TLargeArrayAllocator() noexcept = default;
  template <class U>
  TLargeArrayAllocator(const TLargeArrayAllocator<U>&) noexcept {}

  T* allocate(std::size_t n) {
    if (n > std::numeric_limits<std::size_t>::max() / sizeof(T)) {
      throw std::bad_array_new_length();
    }
    if (n * sizeof(T) >= kLargeArrayBytes) {
      return static_cast<T*>(AllocateLargePageBlock(n * sizeof(T)));
    }
    return std::allocator<T>().allocate(n);
  }
  void deallocate(T* p, std::size_t n) noexcept {
    if (n * sizeof(T) >= kLargeArrayBytes) {
      FreeLargePageBlock(p, n * sizeof(T));
    } else {
      std::allocator<T>().deallocate(p, n);
    }
  }

  template <class U>
  friend bool operator==(const TLargeArrayAllocator&, const TLargeArrayAllocator<U>&) noexcept {
    return true;
  }
};

}  // namespace platform
