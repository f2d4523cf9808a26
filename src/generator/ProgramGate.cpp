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

void GenerateCheckedProgram(TPrjGenerator& generator) {
  CheckLayerLimit(generator.PrjData());
  generator.GenerateProject();
  if (const auto& below = generator.FirstBelowZero()) {
    throw EAppError(TErrorId::BelowZero,
                    {platform::FormatInteger(below->line), below->statement + ";"});
  }
}
