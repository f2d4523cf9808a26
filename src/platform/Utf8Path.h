// std::filesystem paths from and to the program's file names, which are UTF-8 texts on every
// platform: POSIX takes the bytes as they are, Windows the UTF-16 they stand for (a plain char
// string would be read in the system's code page there).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

std::filesystem::path PathFromUtf8(std::string_view name);
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace platform
