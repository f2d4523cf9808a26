// Any bytes as a project file, then the checked generation: it must never crash, and a program
// that passes the checks must be well formed: whole statements, two outlines of equal length
// where the type has them, no coordinate below zero.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/AppError.h"
#include "generator/ProgramGate.h"
#include "generator/ProjectGenerator.h"
#include "project/ProjectData.h"

namespace {

void Require(bool condition) {
  if (!condition) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TPanelsProject project;
  project.OpenFromText(std::string(reinterpret_cast<const char*>(data), size));
  // Thousands of layers only make the run slow; the limit itself is tested elsewhere.
  if (project.LayerCount() > 1000) {
    project.SetLayerCount(project.LayerCount() % 1000);
  }
  project.ComputeFaces();
  TPrjGenerator generator(project);
  try {
    GenerateCheckedProgram(generator);
  } catch (const EAppError&) {
    return 0;
  }
  const std::string_view text = generator.FileData();
  Require(text.empty() || text.ends_with(";\r\n"));
  Require(text.find('-') == std::string_view::npos);
  std::size_t statements = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    statements += text[i] == '\n';
    Require(text[i] != '\n' || (i >= 2 && text[i - 1] == '\r' && text[i - 2] == ';'));
  }
  // A two-outline program: the header, then two outlines of the same length.
  const std::size_t first = text.find("LT;\r\n");
  const std::size_t second =
      first == std::string_view::npos ? first : text.find("LT;\r\n", first + 1);
  if (second != std::string_view::npos) {
    const auto count = [](std::string_view part) {
      std::size_t n = 0;
      for (const char c : part) {
        n += c == '\n';
      }
      return n;
    };
    Require(count(text.substr(first, second - first)) == count(text.substr(second)));
    Require(count(text.substr(0, first)) == 18);
  }
  Require(TPrjGenerator::HasProgram(project.PanelType()) == (statements > 0));
  return 0;
}
