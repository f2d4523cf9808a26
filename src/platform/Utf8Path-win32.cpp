#include "platform/Utf8Path.h"

#include "platform/WideText.h"

namespace platform {

std::filesystem::path PathFromUtf8(std::string_view name) {
  return std::filesystem::path(WideFromUtf8(name));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
  return Utf8FromWide(path.native());
}

}  // namespace platform
