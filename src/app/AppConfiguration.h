// The application configuration: fills AppCfg from built-in defaults, then the optional
// configuration file (section "Config", key "Locales"), then the command-line switches A, I, O
// and L.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/AppCfg.h"
#include "base/AppError.h"
#include "platform/PathConventions.h"

// The shell folder number of the folder for data shared by all users of the machine.
inline constexpr std::int32_t kCommonAppDataFolder = 0x23;

// A configuration file holds one key; a larger file than this is ignored (with a warning), so
// that no file in that place can keep the program from starting.
inline constexpr std::size_t kMaxConfigFileSize = 1u << 20;

// Defaults, then the configuration file when it exists, then the command line, which thus
// overrides the file. params are the program's parameters without the program name. Returns
// the warning ConfigTooLarge when the file was ignored, for the caller to show once the
// interface language is known.
std::optional<EAppError> LoadConfiguration(const std::vector<std::string>& params);

void SetConfigDefaults();

// <common application-data folder>/Corvana/Tectoplan/Tectoplan.ini, joined with the platform's
// delimiter ("\" on Windows).
std::string GetConfigFilePath();

// The path of a shell special folder; only kCommonAppDataFolder is known, others give "".
std::string GetSpecialFolderPath(std::int32_t folder);

// Reads "Locales" of section "Config"; an unreadable file leaves the defaults, and so does a
// file larger than kMaxConfigFileSize, which gives the warning ConfigTooLarge back.
std::optional<EAppError> ReadConfigFile(const std::string& path);

// A switch is a parameter that begins with a switch character of the rules: "-" on POSIX, where
// "/" begins an absolute path, "-" or "/" on Windows. Each switch is looked for in its own scan,
// in the order A, I, O, L, and its first match is used. A is exactly -A or -a. I, O and L take
// the rest of the parameter after the letter (one ":" right behind the letter skipped), or, when
// the parameter is just the two characters, the next parameter unless that begins with a switch
// character; a switch without a value stores an empty value. Without rules: the platform's.
void ReadCommandLine(const std::vector<std::string>& params);
void ReadCommandLine(const std::vector<std::string>& params,
                     const platform::PathConventions& rules);

// The project file to open in the window: the first parameter that is neither a switch nor the
// value of one, taken as given (relative to the current folder). A value is the parameter right
// after one that is exactly a two-character -I, -O or -L (either letter case), when it does not
// begin with a switch character. Further such parameters are ignored; none gives "".
std::string FindProjectToOpen(const std::vector<std::string>& params);
std::string FindProjectToOpen(const std::vector<std::string>& params,
                              const platform::PathConventions& rules);

// A name without a directory part (none of the rules' directory marks: "/" on POSIX; "\", "/"
// and ":" on Windows) is taken to lie in the program folder; any other name is returned
// unchanged. An empty name gives the program folder itself.
std::string ResolveAppPath(const std::string& name);
std::string ResolveAppPath(const std::string& name, const platform::PathConventions& rules);
