#include "generator/ProgramGate.h"

#include <string>

#include "base/AppError.h"
#include "platform/NumberText.h"

void CheckLayerLimit(const TPanelsProject& project) {
  if (project.LayerCount() > kMaxLayerCount) {
    throw EAppError(TErrorId::LayerLimit, {platform::FormatInteger(project.LayerCount()),
                                           platform::FormatInteger(kMaxLayerCount)});
  }
}

void CheckProgramBelowZero(std::string_view program) {
  // Statements are fixed texts without a minus sign ("IN", "VS32,1", "PW0.350,1", ...) and moves
  // with two decimal integers, so the first minus sign marks the first coordinate below zero.
  const std::size_t minus = program.find('-');
  if (minus == std::string_view::npos) {
    return;
  }
  const std::size_t lineStart = program.rfind('\n', minus) + 1;  // npos + 1 is 0
  std::size_t lineEnd = program.find_first_of("\r\n", minus);
  if (lineEnd == std::string_view::npos) {
    lineEnd = program.size();
  }
  std::size_t lineNumber = 1;
  for (std::size_t i = 0; i < lineStart; ++i) {
    lineNumber += program[i] == '\n';
  }
  throw EAppError(TErrorId::BelowZero,
                  {platform::FormatInteger(static_cast<std::int64_t>(lineNumber)),
                   std::string(program.substr(lineStart, lineEnd - lineStart))});
}

void GenerateCheckedProgram(TPrjGenerator& generator) {
  CheckLayerLimit(generator.PrjData());
  generator.GenerateProject();
  CheckProgramBelowZero(generator.FileData());
}
