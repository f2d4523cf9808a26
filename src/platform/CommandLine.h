// The program's parameters as UTF-8 texts: as the system passed them on POSIX, from the UTF-16
// command line on Windows (whose char arguments are in the system's code page); and how the
// process meets a pipe whose reader has gone.
#pragma once

#include <string>
#include <vector>

namespace platform {

// The parameters without the program name; argc and argv are main's.
std::vector<std::string> ProgramParameters(int argc, char** argv);

// From here on a write to a pipe whose reader has gone (`tectoplan -A ... | head`) fails with an
// error that is reported like any failed write, instead of ending the process silently.
void ReportBrokenPipesAsErrors();

}  // namespace platform
