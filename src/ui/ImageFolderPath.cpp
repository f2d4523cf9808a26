#include "ui/ImageFolderPath.h"

#include "metafile/ImageFolder.h"

std::string WindowImageFolder() {
  return ImageFolder().string();
}
