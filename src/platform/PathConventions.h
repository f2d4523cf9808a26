// The platform's conventions for command lines and file names: which characters start a switch,
// which mark a directory part in a file name, and the delimiter that joins folder names.
#pragma once

#include <string>
#include <string_view>

namespace platform {

struct PathConventions {
  std::string_view switchStarts;    // a parameter beginning with one of these is a switch
  std::string_view directoryMarks;  // a name holding one of these has a directory part
  char delimiter;                   // joins a folder and a name

  bool IsSwitchStart(char c) const { return switchStarts.find(c) != std::string_view::npos; }
  // The position of the last directory mark in name, npos when it has none.
  std::size_t LastDirectoryMark(std::string_view name) const {
    return name.find_last_of(directoryMarks);
  }
};

// POSIX: only "-" starts a switch, since "/" starts an absolute path; "/" is the one mark.
inline constexpr PathConventions kPosixConventions{"-", "/", '/'};
// Windows: "-" and "/" start a switch; "\" and "/" separate folders and ":" ends a drive.
inline constexpr PathConventions kWindowsConventions{"-/", "\\/:", '\\'};

// The conventions of the platform the program was built for.
const PathConventions& HostConventions();

}  // namespace platform
