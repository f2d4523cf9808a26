// The entry of the window module: the interactive start, loaded by the program only when it
// opens the window, so that the unattended run never loads the window system.
#pragma once

extern "C" {
// Runs the window until it is closed; the result is the program's exit status. argv are the
// program's own arguments: the module keeps its own copy of the configuration and the text
// table and fills them from these, as the program did.
__attribute__((visibility("default"))) int TectoplanRunInteractive(int argc, char** argv);
}
