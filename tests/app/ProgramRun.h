// Runs the built program as a separate process, as a workshop's script would run it.
#pragma once

#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>

#include "TestFiles.h"

inline const std::string kProgram = TECTOPLAN_PROGRAM;
inline const std::string kCoreLibrary = TECTOPLAN_CORE_LIBRARY;

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs "cd DIR && PREFIX PROGRAM ARGS" through the shell; stdout and stderr are caught in a
// folder of their own so that they never show up among the files a run writes.
inline RunResult RunTectoplan(const std::string& dir, const std::string& program,
                              const std::string& args, const std::string& prefix = "") {
  const TempFolder capture;
  const std::string command = "cd " + dir + " && " + prefix + " " + program + " " + args + " >" +
                              capture / "out" + " 2>" + capture / "err";
  const int raw = std::system(command.c_str());
  RunResult result;
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
  result.out = ReadFile(capture / "out");
  result.err = ReadFile(capture / "err");
  return result;
}

// A copy of the program in a folder of its own, so that bare names resolve there.
class ProgramCopy {
 public:
  // The core library goes along: the program finds it beside itself.
  ProgramCopy() {
    std::filesystem::copy_file(kProgram, dir_ / "tectoplan");
    std::filesystem::copy_file(kCoreLibrary, dir_ / std::filesystem::path(kCoreLibrary).filename());
  }
  const TempFolder& dir() const { return dir_; }
  std::string program() const { return dir_ / "tectoplan"; }

 private:
  TempFolder dir_;
};
