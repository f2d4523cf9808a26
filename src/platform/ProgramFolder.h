// Where the running program lies.
#pragma once

#include <string>

namespace platform {

// The full path of the running program file (UTF-8); empty when the system cannot tell.
std::string GetProgramFileName();

}  // namespace platform
