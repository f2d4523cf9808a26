#include "app/AutoGeneration.h"

#include <iostream>

#include "app/AppConfiguration.h"
#include "base/AppError.h"
#include "generator/ProgramGate.h"
#include "generator/ProjectGenerator.h"
#include "locale/ErrorStr.h"
#include "platform/FileSystem.h"
#include "platform/NumberText.h"
#include "project/ProjectData.h"

void RunAutoGeneration() {
  if (AppCfg.AutoGenInFile.empty()) {
    throw EAppError(TErrorId::NoProjectFile);
  }
  GenerateFromProjectFile(AppCfg.AutoGenInFile, AppCfg.AutoGenOutFile);
}

void GenerateFromProjectFile(const std::string& inFile, const std::string& outFile) {
  TPanelsProject project;
  project.OpenFromText(ReadProjectFile(inFile));
  project.ComputeFaces();
  TPrjGenerator generator(project);
  GenerateCheckedProgram(generator);
  generator.Save(outFile);
  if (!TPrjGenerator::HasProgram(project.PanelType())) {
    std::cerr << "tectoplan: "
              << MessageText(TErrorId::NoProgramForType,
                             {platform::FormatInteger(project.PanelType())})
              << "\n";
  }
}
