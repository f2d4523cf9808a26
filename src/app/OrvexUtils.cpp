#include "app/OrvexUtils.h"

#include <algorithm>
#include <cctype>

namespace {

bool EqualIgnoringAsciiCase(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
    return std::tolower(x) == std::tolower(y);
  });
}

}  // namespace

std::string ForceFileExt(const std::string& fileName, const std::string& ext) {
  return ForceFileExt(fileName, ext, platform::HostConventions());
}

std::string ForceFileExt(const std::string& fileName, const std::string& ext,
                         const platform::PathConventions& rules) {
  std::string current;
  const auto dot = fileName.rfind('.');
  const auto slash = rules.LastDirectoryMark(fileName);
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
    current = fileName.substr(dot);
  }

  const auto firstNonDot = ext.find_first_not_of('.');
  std::string wanted = ".";
  if (firstNonDot != std::string::npos) {
    wanted.append(ext, firstNonDot);
  }

  std::string base = fileName;
  while (!base.empty() && base.back() == '.') {
    base.pop_back();
  }

  // The comparison looks at the name as given, before its trailing dots were removed.
  if (EqualIgnoringAsciiCase(current, wanted)) {
    return base;
  }
  return base + wanted;
}
