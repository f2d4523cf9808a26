// Small helpers of the application frame: the program version and forcing a file-name extension.
#pragma once

#include <string>

// The version the window shows in its caption and --version prints.
class TAppInfo {
 public:
  std::string Version() const { return "1.2.0.0"; }
};

// Gives fileName the extension ext (".plt" or "plt" alike) unless it already has it, compared
// without regard to ASCII case. Trailing dots of fileName are dropped. Only "/" ends the directory
// part, so a dot in a folder name is never taken for an extension.
std::string ForceFileExt(const std::string& fileName, const std::string& ext);
