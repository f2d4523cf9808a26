// Small helpers of the application frame: the program version and forcing a file-name extension.
#pragma once

#include <string>

#include "base/Version.h"
#include "platform/PathConventions.h"

// The version the window shows in its caption and --version prints: the build's project version.
class TAppInfo {
 public:
  std::string Version() const { return kTectoplanVersion; }
};

// Gives fileName the extension ext (".plt" or "plt" alike) unless it already has it, compared
// without regard to ASCII case. Trailing dots of fileName are dropped. A directory mark of the
// rules ends the directory part ("/" on POSIX; "\", "/" and ":" on Windows), so a dot in a
// folder name is never taken for an extension. Without rules: the platform's.
std::string ForceFileExt(const std::string& fileName, const std::string& ext);
std::string ForceFileExt(const std::string& fileName, const std::string& ext,
                         const platform::PathConventions& rules);
