#include "platform/CommandLine.h"

// windows.h first: shellapi.h builds on its declarations.
#include <windows.h>

#include <shellapi.h>

#include "platform/WideText.h"

namespace platform {

std::vector<std::string> ProgramParameters(int, char**) {
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> params;
  for (int i = 1; args != nullptr && i < count; ++i) {
    params.push_back(Utf8FromWide(args[i]));
  }
  LocalFree(args);
  return params;
}

// Windows has no signal for it: a write to a pipe without a reader fails with an error already.
void ReportBrokenPipesAsErrors() {}

}  // namespace platform
