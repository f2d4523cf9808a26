// The cutting programs and projects the hpgl tests read, in programs/ beside the tests.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

inline std::string Fixture(const std::string& name) {
  return std::string(TEST_PROGRAMS_DIR) + "/" + name;
}

inline std::string ReadFixture(const std::string& name) {
  std::ifstream in(Fixture(name), std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The program of each example project in examples/, generated here exactly as the unattended
// run writes it (without the final CR LF), with the work area its project computes.
#include <filesystem>
#include <optional>
#include <vector>

#include "generator/ProgramGate.h"
#include "generator/ProjectGenerator.h"
#include "hpgl/ProgramCheck.h"
#include "project/ProjectData.h"

struct ExampleProgram {
  std::string name;  // the project's file name without .tcj
  TRoofPanelType panelType;
  std::string text;
  hpgl::WorkArea workArea;
};

inline std::vector<ExampleProgram> ExamplePrograms() {
  std::vector<ExampleProgram> examples;
  for (const auto& entry : std::filesystem::directory_iterator(EXAMPLES_DIR)) {
    if (entry.path().extension() != ".tcj") {
      continue;
    }
    TPanelsProject project;
    project.Open(entry.path().string());
    project.ComputeFaces();
    TPrjGenerator generator(project);
    GenerateCheckedProgram(generator);
    examples.push_back({entry.path().stem().string(),
                        project.PanelType(),
                        generator.FileData(),
                        {project.ProjectSize().Width(), project.ProjectSize().Height()}});
  }
  return examples;
}
