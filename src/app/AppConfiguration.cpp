#include "app/AppConfiguration.h"

#include <cctype>
#include <optional>

#include "locale/LocaleUtl.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/PathConventions.h"
#include "platform/ProgramFolder.h"
#include "platform/SharedFolders.h"

namespace {

// The value of the first parameter that is the switch with the given letter, or nullopt when no
// parameter is. An empty value means the switch was given without one.
std::optional<std::string> FindSwitchValue(const std::vector<std::string>& params, char letter,
                                           const platform::PathConventions& rules) {
  for (std::size_t i = 0; i < params.size(); ++i) {
    const std::string& p = params[i];
    if (p.size() < 2 || !rules.IsSwitchStart(p[0]) ||
        std::tolower(static_cast<unsigned char>(p[1])) != letter) {
      continue;
    }
    if (p.size() > 2) {
      return p.substr(p[2] == ':' ? 3 : 2);
    }
    if (i + 1 < params.size() && !params[i + 1].empty() && !rules.IsSwitchStart(params[i + 1][0])) {
      return params[i + 1];
    }
    return std::string();
  }
  return std::nullopt;
}

}  // namespace

void SetConfigDefaults() {
  const std::string exe = platform::GetProgramFileName();
  const auto mark = platform::HostConventions().LastDirectoryMark(exe);
  AppCfg.AppDir = mark == std::string::npos ? std::string() : exe.substr(0, mark + 1);
  AppCfg.Language = 0;
  AppCfg.AutoGen = false;
  AppCfg.AutoGenInFile.clear();
  AppCfg.AutoGenOutFile.clear();
}

std::string GetSpecialFolderPath(std::int32_t folder) {
  return folder == kCommonAppDataFolder ? platform::GetCommonAppDataFolder() : std::string();
}

std::string GetConfigFilePath() {
  const char d = platform::HostConventions().delimiter;
  return GetSpecialFolderPath(kCommonAppDataFolder) + d + "Corvana" + d + "Tectoplan" + d +
         "Tectoplan.ini";
}

std::optional<EAppError> ReadConfigFile(const std::string& path) {
  std::string bytes;
  if (const auto ec = platform::ReadWholeFile(path, bytes, kMaxConfigFileSize)) {
    if (ec == std::errc::file_too_large) {
      return EAppError(TErrorId::ConfigTooLarge, {path, std::to_string(kMaxConfigFileSize >> 20)});
    }
    return std::nullopt;
  }
  const auto locales = platform::IniDocument(std::move(bytes)).ReadString("Config", "Locales");
  if (locales && !locales->empty()) {
    AppCfg.Language = static_cast<std::uint8_t>(GetLanguageIdByName(*locales));
  }
  return std::nullopt;
}

void ReadCommandLine(const std::vector<std::string>& params) {
  ReadCommandLine(params, platform::HostConventions());
}

void ReadCommandLine(const std::vector<std::string>& params,
                     const platform::PathConventions& rules) {
  for (const std::string& p : params) {
    if (p.size() == 2 && rules.IsSwitchStart(p[0]) && (p[1] == 'A' || p[1] == 'a')) {
      AppCfg.AutoGen = true;
      break;
    }
  }
  if (const auto value = FindSwitchValue(params, 'i', rules)) {
    AppCfg.AutoGenInFile = ResolveAppPath(*value, rules);
  }
  if (const auto value = FindSwitchValue(params, 'o', rules)) {
    AppCfg.AutoGenOutFile = ResolveAppPath(*value, rules);
  }
  if (const auto value = FindSwitchValue(params, 'l', rules)) {
    AppCfg.Language = static_cast<std::uint8_t>(GetLanguageIdByName(*value));
  }
}

std::string FindProjectToOpen(const std::vector<std::string>& params) {
  return FindProjectToOpen(params, platform::HostConventions());
}

std::string FindProjectToOpen(const std::vector<std::string>& params,
                              const platform::PathConventions& rules) {
  bool valueFollows = false;
  for (const std::string& p : params) {
    const bool isSwitch = !p.empty() && rules.IsSwitchStart(p[0]);
    if (!isSwitch && !valueFollows) {
      return p;
    }
    const char letter =
        p.size() == 2 ? static_cast<char>(std::tolower(static_cast<unsigned char>(p[1]))) : 0;
    valueFollows = isSwitch && (letter == 'i' || letter == 'o' || letter == 'l');
  }
  return std::string();
}

std::string ResolveAppPath(const std::string& name) {
  return ResolveAppPath(name, platform::HostConventions());
}

std::string ResolveAppPath(const std::string& name, const platform::PathConventions& rules) {
  return rules.LastDirectoryMark(name) == std::string::npos ? AppCfg.AppDir + name : name;
}

std::optional<EAppError> LoadConfiguration(const std::vector<std::string>& params) {
  SetConfigDefaults();
  std::optional<EAppError> warning;
  const std::string path = GetConfigFilePath();
  if (platform::IsRegularFile(path)) {
    warning = ReadConfigFile(path);
  }
  ReadCommandLine(params);
  return warning;
}
