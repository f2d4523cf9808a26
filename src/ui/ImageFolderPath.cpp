#include "ui/ImageFolderPath.h"

#include <filesystem>

#include "app/AppConfiguration.h"

std::string WindowImageFolder() {
  const std::string beside = AppCfg.AppDir + "images/";
  std::error_code ec;
  if (std::filesystem::is_directory(beside, ec)) {
    return beside;
  }
  const std::string installed = TECTOPLAN_DATA_DIR "/images/";
  if (std::filesystem::is_directory(installed, ec)) {
    return installed;
  }
  return beside;
}
