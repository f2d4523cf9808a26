#include "app/WindowModuleLoader.h"

#include <dlfcn.h>

#include "base/AppCfg.h"
#include "base/AppError.h"

namespace {

using TRunWindow = int (*)(int, char**);

}  // namespace

std::vector<std::string> WindowModuleCandidates() {
  return {AppCfg.AppDir + kWindowModuleName,
          std::string(TECTOPLAN_MODULE_DIR "/") + kWindowModuleName};
}

int RunWindowModule(const std::vector<std::string>& candidates, int argc, char** argv) {
  std::string reasons;
  for (const std::string& path : candidates) {
    // The module is never unloaded: its window and Qt live until the process ends. RTLD_LOCAL:
    // nothing loaded later resolves against the window's symbols.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
      reasons += std::string(reasons.empty() ? "" : "; ") + dlerror();
      continue;
    }
    auto* entry = reinterpret_cast<TRunWindow>(dlsym(module, kWindowEntryName));
    if (!entry) {
      reasons += std::string(reasons.empty() ? "" : "; ") + path + ": no entry " + kWindowEntryName;
      continue;
    }
    return entry(argc, argv);
  }
  throw EAppError(TErrorId::WindowModule, {reasons});
}

int StartWindow(int argc, char** argv) {
  return RunWindowModule(WindowModuleCandidates(), argc, argv);
}
