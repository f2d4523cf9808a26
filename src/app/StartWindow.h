// Opening the interactive window, the program's road without the switch A. Where the window
// comes from is the build's choice: the window module on Linux, nothing in the Windows build.
#pragma once

#include <string>

// Runs the window until it is closed; the result is the exit status. projectFile, when not
// empty, is the project file the window opens at start-up. Raises EAppError when the window
// cannot be had: WindowModule when the module does not load, NoWindow when the build has none.
int StartWindow(int argc, char** argv, const std::string& projectFile);
