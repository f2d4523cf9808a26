#include "platform/CommandLine.h"

#include <csignal>

namespace platform {

std::vector<std::string> ProgramParameters(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void ReportBrokenPipesAsErrors() {
  std::signal(SIGPIPE, SIG_IGN);
}

}  // namespace platform
