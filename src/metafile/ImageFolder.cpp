#include "metafile/ImageFolder.h"

#include <system_error>

#include "base/InstallLayout.h"
#include "platform/ProgramFolder.h"

std::vector<std::filesystem::path> ImageFolderCandidates(
    const std::filesystem::path& programFolder) {
  return {programFolder / "images" / "",
          (programFolder / kProgramToImageFolder / "").lexically_normal()};
}

std::filesystem::path FindImageFolder(const std::vector<std::filesystem::path>& candidates) {
  for (const auto& folder : candidates) {
    std::error_code error;
    if (std::filesystem::is_directory(folder, error)) {
      return folder;
    }
  }
  return candidates.empty() ? std::filesystem::path() : candidates.front();
}

std::filesystem::path ImageFolder() {
  std::filesystem::path program = platform::GetProgramFileName();
  return FindImageFolder(ImageFolderCandidates(program.parent_path()));
}
