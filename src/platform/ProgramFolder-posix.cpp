#include "platform/ProgramFolder.h"

#include <limits.h>
#include <unistd.h>

#include <vector>

namespace platform {

std::string GetProgramFileName() {
  std::vector<char> buffer(PATH_MAX + 1);
  const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  return n > 0 ? std::string(buffer.data(), static_cast<std::size_t>(n)) : std::string();
}

}  // namespace platform
