// Hints to the system about how the program uses a large block of its memory.
#pragma once

#include <cstddef>

namespace platform {

// Asks the system to back the whole pages of [data, data + size) with large pages (2 MiB on
// x86-64 Linux, transparent huge pages) as they are first written. A text of tens of megabytes
// written from start to end then costs one page fault per 2 MiB instead of one per 4 KiB, and
// writing it to a file copies from fewer, larger pages; pages never written are still never
// taken. Only a hint: where the system has no such pages, or declines, nothing changes.
void PreferLargePages(void* data, std::size_t size);

}  // namespace platform
