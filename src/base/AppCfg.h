// The application configuration record, one per process: filled once by the program's start-up
// (app/AppConfiguration) and only read afterwards, by every layer that needs it.
#pragma once

#include <cstdint>
#include <string>

struct TAppCfg {
  std::string AppDir;          // folder of the program file, ending with "/"
  std::uint8_t Language = 0;   // language asked for (0x15 Polish, 0x09 English); 0 for none
  bool AutoGen = false;        // run unattended instead of opening the window
  std::string AutoGenInFile;   // project file the unattended run reads
  std::string AutoGenOutFile;  // cutting program the unattended run writes; empty: standard output
};

extern TAppCfg AppCfg;
