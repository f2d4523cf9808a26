// The entry of the window module, loaded by the program only when it opens the window, so that
// the unattended run never loads the window system.
#pragma once

extern "C" {
// Builds the application object and the main window and runs them until the window is closed;
// the result is the program's exit status. The program's start-up has run: the configuration,
// the text tables and the number format are the core's, set once by the program. argv are the
// program's own arguments, for the window system; projectFile, when not null, is the project file
// to open at start-up.
__attribute__((visibility("default"))) int TectoplanRunWindow(int argc, char** argv,
                                                              const char* projectFile);
}
