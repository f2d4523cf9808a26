// The interactive start of the program: loads the window module, which holds the window system,
// only when the window is to open, so that the unattended run never loads it.
#pragma once

#include <string>
#include <vector>

// The file name of the window module.
inline constexpr char kWindowModuleName[] = "libtectoplan-ui.so";

// Where the module is looked for, in order: beside the program, then the installed library
// folder.
std::vector<std::string> WindowModuleCandidates();

// Loads the first candidate that loads and runs its window until it is closed; the result is the
// exit status. When no candidate loads, one line on standard error says why and the result is 1.
int RunWindowModule(const std::vector<std::string>& candidates, int argc, char** argv);

// RunWindowModule with WindowModuleCandidates.
int StartInteractive(int argc, char** argv);
