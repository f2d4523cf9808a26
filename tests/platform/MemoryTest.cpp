// The allocator of the large arrays: an array keeps its content as it grows from the general
// heap into blocks of its own, those blocks start on a large page, pages never written are never
// taken, and a size no system can give is refused as operator new refuses it.
#include "platform/Memory.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

#include <cstdint>
#include <fstream>
#include <new>
#include <vector>

namespace {

using TLargeVector = std::vector<std::uint32_t, platform::TLargeArrayAllocator<std::uint32_t>>;

TEST(LargeArrayAllocator, KeepsTheContentAcrossTheThreshold) {
  TLargeVector values;
  constexpr std::uint32_t kCount = 3 * platform::kLargeArrayBytes / sizeof(std::uint32_t);
  for (std::uint32_t i = 0; i < kCount; ++i) {
    values.push_back(i * 2654435761u);
  }
  for (std::uint32_t i = 0; i < kCount; ++i) {
    ASSERT_EQ(values[i], i * 2654435761u) << i;
  }
  TLargeVector copy = values;
  values.clear();
  values.shrink_to_fit();
  EXPECT_EQ(copy.back(), (kCount - 1) * 2654435761u);
}

TEST(LargeArrayAllocator, RefusesWhatNoSystemGives) {
  platform::TLargeArrayAllocator<std::uint64_t> allocator;
  EXPECT_THROW(static_cast<void>(allocator.allocate(SIZE_MAX / 16)), std::bad_alloc);  // 8 EiB
  EXPECT_THROW(static_cast<void>(allocator.allocate(SIZE_MAX / 4)), std::bad_array_new_length);
}

#ifndef _WIN32
// Resident pages of this process, from /proc/self/statm.
std::int64_t ResidentPages() {
  std::ifstream statm("/proc/self/statm");
  std::int64_t size = 0, resident = 0;
  statm >> size >> resident;
  return resident;
}

TEST(LargeArrayAllocator, BlocksStartOnALargePageAndTakeOnlyWrittenPages) {
  TLargeVector values;
  values.reserve(64 << 20);  // 256 MiB of room
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(values.data()) % (2 << 20), 0u);
  const std::int64_t before = ResidentPages();
  values.resize(1 << 20);  // 4 MiB written
  const std::int64_t taken = (ResidentPages() - before) * ::sysconf(_SC_PAGESIZE);
  EXPECT_GE(taken, std::int64_t{3} << 20);
  EXPECT_LT(taken, std::int64_t{32} << 20);  // not the room
}
#endif

}  // namespace
