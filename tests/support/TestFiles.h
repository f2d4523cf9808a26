// Files for the tests: a temporary folder that goes away with its content, and whole-file reads
// and writes.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <span>
#include <sstream>
#include <string>
#include <vector>

// A new folder PREFIX-XXXXXX in the system's temporary folder (/tmp), removed with everything in
// it. Readable by other users, so that a case run as another user can reach the files put there.
class TempFolder {
 public:
  explicit TempFolder(const std::string& prefix = "tectoplan-test") {
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
      char suffix[7];
      for (char& c : std::span(suffix, 6)) {
        c = "abcdefghijklmnopqrstuvwxyz0123456789"[random() % 36];
      }
      suffix[6] = '\0';
      const auto candidate = base / (prefix + "-" + suffix);
      if (std::filesystem::create_directory(candidate)) {
        path_ = candidate.string();
        break;
      }
    }
    std::filesystem::permissions(path_, std::filesystem::perms(0755));
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() { std::filesystem::remove_all(path_); }

  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  std::string operator/(const std::string& name) const { return File(name); }

  // The names in the folder, sorted.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::string path_;
};

// The file's bytes; a file that cannot be opened is a test failure.
inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in.is_open()) << "cannot read " << path;
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}
