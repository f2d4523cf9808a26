#include "platform/SharedFolders.h"

#include <cstdlib>
#include <string_view>

namespace platform {

std::string GetCommonAppDataFolder() {
  std::string_view dirs;
  if (const char* value = std::getenv("XDG_CONFIG_DIRS")) {
    dirs = value;
  }
  std::string first(dirs.substr(0, dirs.find(':')));
  while (first.size() > 1 && first.back() == '/') {
    first.pop_back();
  }
  return first.empty() ? "/etc/xdg" : first;
}

}  // namespace platform
