// The program's parameters as UTF-8 texts: as the system passed them on POSIX, from the UTF-16
// command line on Windows (whose char arguments are in the system's code page).
#pragma once

#include <string>
#include <vector>

namespace platform {

// The parameters without the program name; argc and argv are main's.
std::vector<std::string> ProgramParameters(int argc, char** argv);

}  // namespace platform
