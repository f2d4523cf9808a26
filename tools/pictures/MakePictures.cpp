// Writes the program's pictures into a folder: make_pictures FOLDER.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "Pictures.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_pictures FOLDER\n");
    return 2;
  }
  std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  for (const TPicture& picture : DrawPictures()) {
    std::ofstream out(folder / picture.fileName, std::ios::binary);
    out.write(reinterpret_cast<const char*>(picture.bytes.data()),
              static_cast<std::streamsize>(picture.bytes.size()));
    if (!out) {
      std::fprintf(stderr, "make_pictures: cannot write %s\n", (folder / picture.fileName).c_str());
      return 1;
    }
  }
  return 0;
}
