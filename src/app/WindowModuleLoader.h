// Loads the window module, which holds the window system, only when the window is to open, so
// that the unattended run never loads Qt. The module uses the core this program has loaded and
// set up: it runs no start-up of its own.
#pragma once

#include <string>
#include <vector>

#include "app/StartWindow.h"

// The file name of the window module and the name of its entry,
// int (int argc, char** argv, const char* projectFile).
inline constexpr char kWindowModuleName[] = "libtectoplan-ui.so";
inline constexpr char kWindowEntryName[] = "TectoplanRunWindow";

// Where the module is looked for, in order: beside the program (the build tree), then the
// installed library folder, relative to the program's folder.
std::vector<std::string> WindowModuleCandidates();

// Loads the first candidate that loads and has the entry, and runs its window until it is closed;
// the result is the exit status. When no candidate does, raises EAppError WindowModule with what
// each candidate said.
// projectFile, when not empty, is the project file the window opens at start-up.
int RunWindowModule(const std::vector<std::string>& candidates, int argc, char** argv,
                    const std::string& projectFile = "");

// StartWindow (app/StartWindow.h) is RunWindowModule with WindowModuleCandidates.
