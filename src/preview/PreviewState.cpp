#include "preview/PreviewState.h"

#include "base/AppError.h"
#include "generator/ProgramGate.h"
#include "generator/ProjectGenerator.h"
#include "locale/ErrorStr.h"

namespace preview {

namespace {

TPreviewState Picture(const std::string& text, const hpgl::WorkArea& area,
                      std::vector<std::string> advice) {
  TPreviewState state;
  state.program = hpgl::ReadProgram(text);
  state.report = hpgl::CheckProgram(state.program, area);
  state.workArea = area;
  state.advice = std::move(advice);
  state.hasPicture = true;
  return state;
}

TPreviewState Message(std::string text, std::string noBreak = {}) {
  TPreviewState state;
  state.errorText = std::move(text);
  state.noBreak = std::move(noBreak);
  return state;
}

}  // namespace

TPreviewState BuildPreviewState(const TPanelsProject& project, TTextLanguage language) {
  const hpgl::WorkArea area{project.ProjectSize().Width(), project.ProjectSize().Height()};
  TPrjGenerator generator(project);
  try {
    GenerateCheckedProgram(generator);
    return Picture(generator.FileData(), area, {});
  } catch (const EAppError& e) {
    const bool refused = e.Id() == TErrorId::BelowZero && e.Args().size() == 2;
    if (!refused) {
      return Message(ErrorText(e, language));
    }
    // The refused program is whole: drawn, the operator sees where the wire would go.
    try {
      return Picture(generator.FileData(), area, {ErrorText(e, language)});
    } catch (const std::exception&) {
      return Message(ErrorText(e, language), e.Args()[1]);
    }
  } catch (const std::exception& e) {
    return Message(ErrorText(e));
  }
}

}  // namespace preview
