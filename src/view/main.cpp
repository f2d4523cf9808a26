#include <iostream>

#include "app/AppConfiguration.h"
#include "locale/ErrorStr.h"
#include "locale/LocalStr.h"
#include "platform/CommandLine.h"
#include "platform/NumberText.h"
#include "view/ViewCommand.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args = platform::ProgramParameters(argc, argv);
  // The program's start-up: the number format for project files, then the interface language by
  // its rule (-L, the configuration file, the locale) for the messages.
  platform::NumberFormat() = platform::NumberFormatFromEnvironment();
  const auto configWarning = LoadConfiguration(args);
  InitLocalStr();
  if (configWarning) {
    std::cerr << "tectoplan-view: " << ErrorText(*configWarning) << "\n";
  }
  return view::RunView(args, std::cout, std::cerr);
}
