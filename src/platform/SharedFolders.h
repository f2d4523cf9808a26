// Folders the platform designates for the program's data.
#pragma once

#include <string>

namespace platform {

// The folder for configuration shared by all users of the machine: the first entry of
// $XDG_CONFIG_DIRS, else /etc/xdg. Never ends with "/".
std::string GetCommonAppDataFolder();

}  // namespace platform
