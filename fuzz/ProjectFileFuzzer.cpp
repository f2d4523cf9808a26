// Any bytes as a project file: reading must never crash or hang, and whatever is read must be
// written and read back to the same values.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "project/ProjectData.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TPanelsProject project;
  project.OpenFromText(std::string(reinterpret_cast<const char*>(data), size));
  project.ComputeFaces();

  const std::string saved =
      project.SaveToText(std::string(reinterpret_cast<const char*>(data), size));
  TPanelsProject again;
  again.OpenFromText(saved);
  if (again.SaveToText("") != project.SaveToText("")) {
    std::abort();
  }
  return 0;
}
