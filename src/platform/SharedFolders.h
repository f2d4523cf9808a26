// Folders the platform designates for the program's data.
#pragma once

#include <string>

namespace platform {

// The folder for configuration shared by all users of the machine. POSIX: the first entry of
// $XDG_CONFIG_DIRS, else /etc/xdg, never ending with "/". Windows: the common application-data
// folder (SHGetFolderPathW, CSIDL_COMMON_APPDATA), "" when the system cannot name it.
std::string GetCommonAppDataFolder();

}  // namespace platform
