#include "preview/PreviewState.h"

#include "base/AppError.h"
#include "generator/ProgramGate.h"
#include "generator/ProjectGenerator.h"
#include "locale/ErrorStr.h"
#include "preview/ProgramCollector.h"

namespace preview {

namespace {

TPreviewState Picture(hpgl::Program program, const hpgl::WorkArea& area,
                      std::vector<std::string> advice) {
  TPreviewState state;
  state.program = std::move(program);
  state.report = hpgl::CheckProgram(state.program, area);
  state.workArea = area;
  state.advice = std::move(advice);
  state.hasPicture = true;
  return state;
}

TPreviewState Message(std::string text) {
  TPreviewState state;
  state.errorText = std::move(text);
  return state;
}

}  // namespace

TPreviewState BuildPreviewState(const TPanelsProject& project, TTextLanguage language) {
  const hpgl::WorkArea area{project.ProjectSize().Width(), project.ProjectSize().Height()};
  // The moves as the generator appends them: the same program its text would read back as
  // (a test holds the two equal), without writing and reading back tens of megabytes.
  TProgramCollector collector;
  TPrjGenerator generator(project);
  generator.SetStatementSink(&collector);
  try {
    GenerateCheckedProgram(generator);
    return Picture(collector.Take(), area, {});
  } catch (const EAppError& e) {
    const bool refused = e.Id() == TErrorId::BelowZero && e.Args().size() == 2;
    if (!refused) {
      return Message(ErrorText(e, language));
    }
    // The refused program is whole: drawn, the operator sees where the wire would go.
    return Picture(collector.Take(), area, {ErrorText(e, language)});
  } catch (const std::exception& e) {
    return Message(ErrorText(e));
  }
}

}  // namespace preview
