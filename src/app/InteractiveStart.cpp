#include "app/InteractiveStart.h"

#include <dlfcn.h>

#include <cstdio>

#include "app/AppConfiguration.h"

namespace {

using TRunInteractive = int (*)(int, char**);
constexpr char kEntryName[] = "TectoplanRunInteractive";

}  // namespace

std::vector<std::string> WindowModuleCandidates() {
  return {AppCfg.AppDir + kWindowModuleName,
          std::string(TECTOPLAN_MODULE_DIR "/") + kWindowModuleName};
}

int RunWindowModule(const std::vector<std::string>& candidates, int argc, char** argv) {
  std::string reasons;
  for (const std::string& path : candidates) {
    // The module is never unloaded: its window and Qt live until the process ends.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
      reasons += std::string(reasons.empty() ? "" : "; ") + dlerror();
      continue;
    }
    auto* entry = reinterpret_cast<TRunInteractive>(dlsym(module, kEntryName));
    if (!entry) {
      reasons += std::string(reasons.empty() ? "" : "; ") + path + ": no entry " + kEntryName;
      continue;
    }
    return entry(argc, argv);
  }
  std::fprintf(stderr, "tectoplan: cannot load the main window (%s); use -A to run unattended\n",
               reasons.c_str());
  return 1;
}

int StartInteractive(int argc, char** argv) {
  return RunWindowModule(WindowModuleCandidates(), argc, argv);
}
