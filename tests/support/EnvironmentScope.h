// Sets environment variables for one test and restores them afterwards.
#pragma once

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

class EnvironmentScope {
 public:
  EnvironmentScope() = default;
  EnvironmentScope(const EnvironmentScope&) = delete;
  EnvironmentScope& operator=(const EnvironmentScope&) = delete;
  ~EnvironmentScope() {
    for (const auto& [name, value] : saved_) {
      if (value) {
        setenv(name.c_str(), value->c_str(), 1);
      } else {
        unsetenv(name.c_str());
      }
    }
  }

  // value nullptr unsets the variable.
  void Set(const std::string& name, const char* value) {
    if (!saved_.count(name)) {
      const char* old = std::getenv(name.c_str());
      saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    if (value) {
      setenv(name.c_str(), value, 1);
    } else {
      unsetenv(name.c_str());
    }
  }

  // Clears every variable that names a locale or language.
  void ClearLocale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LC_NUMERIC", "LANG", "LANGUAGE"}) {
      Set(name, nullptr);
    }
  }

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};
