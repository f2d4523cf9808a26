// The program's entry: --help and --version, then the configuration and the interface language,
// then either the unattended run (switch A) or the interactive start.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "app/AppConfiguration.h"
#include "app/AutoGeneration.h"
#include "app/OrvexUtils.h"
#include "app/StartWindow.h"
#include "locale/ErrorStr.h"
#include "locale/LocalStr.h"
#include "platform/CommandLine.h"
#include "platform/NumberText.h"
#include "platform/PathConventions.h"

namespace {

constexpr char kUsage[] =
    "Usage: tectoplan [-A] [-I PROJECT] [-O PROGRAM] [-L LANGUAGE] [PROJECT.tcj]\n"
    "Writes the HPGL cutting program (.plt) of a panel project (.tcj) for the foam cutter.\n"
    "\n"
    "  -A           run unattended: read the project, write its cutting program, open no window\n"
    "  -I PROJECT   the project file to read\n"
    "  -O PROGRAM   the cutting program to write, named exactly as given (no extension is\n"
    "               added); without -O the program goes to standard output\n"
    "  -L LANGUAGE  the interface language by name, for example pl or en\n"
    "  PROJECT.tcj  without -A: the project file the window opens at start-up\n"
    "  --help       show this text        --version  show the version\n"
    "\n"
    "%s"
    "\n"
    "Example:\n"
    "  tectoplan -A -I:./gutter.tcj -O:./gutter.plt\n"
    "\n"
    "Exit status of the unattended run: 0 when the program was written, 1 on any error (no\n"
    "project file, unreadable project, refused program, failed write); then nothing is written\n"
    "and one line on standard error says why.\n";

// The rules of the platform's command line (platform/PathConventions.h) in words.
constexpr char kPosixSwitches[] =
    "Switches begin with \"-\" in either letter case; a value follows the letter, after an\n"
    "optional \":\", or comes as the next parameter. A file name without \"/\" means a file in\n"
    "the program's folder, so name a file in the current folder as ./NAME.\n";
constexpr char kWindowsSwitches[] =
    "Switches begin with \"-\" or \"/\" in either letter case; a value follows the letter,\n"
    "after an optional \":\", or comes as the next parameter. A file name without \"\\\", \"/\"\n"
    "or \":\" means a file in the program's folder, so name a file in the current folder as\n"
    ".\\NAME.\n";

}  // namespace

int main(int argc, char** argv) {
  platform::ReportBrokenPipesAsErrors();
  const std::vector<std::string> params = platform::ProgramParameters(argc, argv);
  for (const std::string& p : params) {
    if (p == "--help") {
      const bool windowsRules = platform::HostConventions().IsSwitchStart('/');
      std::printf(kUsage, windowsRules ? kWindowsSwitches : kPosixSwitches);
      return 0;
    }
    if (p == "--version") {
      std::printf("Tectoplan %s\n", TAppInfo().Version().c_str());
      return 0;
    }
  }

  // The one start-up of the process: the window module uses what it sets here.
  platform::NumberFormat() = platform::NumberFormatFromEnvironment();
  const auto configWarning = LoadConfiguration(params);
  InitLocalStr();
  if (configWarning) {
    std::fprintf(stderr, "tectoplan: %s\n", ErrorText(*configWarning).c_str());
  }
  try {
    if (!AppCfg.AutoGen) {
      return StartWindow(argc, argv, FindProjectToOpen(params));
    }
    RunAutoGeneration();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tectoplan: %s\n", ErrorText(e).c_str());
    return 1;
  }
  return 0;
}
