#include "app/WindowModuleLoader.h"

#include <dlfcn.h>

#include <filesystem>

#include "base/AppCfg.h"
#include "base/AppError.h"
#include "base/InstallLayout.h"

namespace {

using TRunWindow = int (*)(int, char**, const char*);

}  // namespace

std::vector<std::string> WindowModuleCandidates() {
  return {AppCfg.AppDir + kWindowModuleName,
          (std::filesystem::path(AppCfg.AppDir) / kProgramToLibraryFolder / kWindowModuleName)
              .lexically_normal()
              .string()};
}

int RunWindowModule(const std::vector<std::string>& candidates, int argc, char** argv,
                    const std::string& projectFile) {
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
    return entry(argc, argv, projectFile.empty() ? nullptr : projectFile.c_str());
  }
  throw EAppError(TErrorId::WindowModule, {reasons});
}

int StartWindow(int argc, char** argv, const std::string& projectFile) {
  return RunWindowModule(WindowModuleCandidates(), argc, argv, projectFile);
}
