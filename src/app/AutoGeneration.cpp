#include "app/AutoGeneration.h"

#include <filesystem>
#include <iostream>
#include <system_error>

#include "app/AppConfiguration.h"
#include "app/AppError.h"
#include "generator/ProgramCheck.h"
#include "generator/ProjectGenerator.h"
#include "platform/FileSystem.h"
#include "platform/NumberText.h"
#include "project/ProjectData.h"

namespace {

[[noreturn]] void ThrowUnreadable(const std::string& inFile, const std::error_code& reason) {
  throw EAppError("cannot read project file " + inFile + ": " + reason.message());
}

// The project file's bytes. Only a regular file is read: a folder or a pipe would give
// nothing usable, or block.
std::string ReadProjectFile(const std::string& inFile) {
  std::error_code ec;
  const auto status = std::filesystem::status(inFile, ec);
  if (ec) {
    ThrowUnreadable(inFile, ec);
  }
  if (status.type() == std::filesystem::file_type::directory) {
    ThrowUnreadable(inFile, std::make_error_code(std::errc::is_a_directory));
  }
  if (status.type() != std::filesystem::file_type::regular) {
    throw EAppError("cannot read project file " + inFile + ": not a regular file");
  }
  std::string text;
  if (const auto readError = platform::ReadWholeFile(inFile, text)) {
    ThrowUnreadable(inFile, readError);
  }
  return text;
}

}  // namespace

void RunAutoGeneration() {
  if (AppCfg.AutoGenInFile.empty()) {
    throw EAppError("no project file given (-I)");
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
    std::cerr << "tectoplan: warning: panel type " << platform::FormatInteger(project.PanelType())
              << " has no cutting program; the program written is empty\n";
  }
}
