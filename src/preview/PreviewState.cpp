#include "preview/PreviewState.h"

#include "base/AppError.h"
#include "generator/ProgramGate.h"
#include "generator/ProjectGenerator.h"
#include "locale/ErrorStr.h"
#include "preview/ProgramCollector.h"
#include "preview/RefusalAdvice.h"

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

TPreviewState Message(std::string text, std::vector<std::string> advice) {
  TPreviewState state;
  state.errorText = std::move(text);
  state.advice = std::move(advice);
  return state;
}

// What to change, in the operator's terms, for a program that cannot be used.
std::vector<std::string> Advice(const TPanelsProject& project, TTextLanguage language) {
  const std::optional<TRefusalAdvice> advice = ExplainRefusal(project);
  return advice ? AdviceLines(*advice, language) : std::vector<std::string>();
}

}  // namespace

TPreviewState BuildPreviewState(const TPanelsProject& project, TTextLanguage language) {
  const hpgl::WorkArea area{project.ProjectSize().Width(), project.ProjectSize().Height()};
  // The moves as the generator appends them: the same program its text would read back as
  // (a test holds the two equal), without writing and reading back tens of megabytes.
  TProgramCollector collector;
  TPrjGenerator generator(project);
  generator.SetStatementSink(&collector);
  generator.SetWritesText(false);  // the preview never saves: no 30 MB text at the limit
  try {
    GenerateCheckedProgram(generator);
    return Picture(collector.Take(), area, {});
  } catch (const EAppError& e) {
    const bool refused = e.Id() == TErrorId::BelowZero && e.Args().size() == 2;
    if (!refused) {
      return Message(ErrorText(e, language), Advice(project, language));
    }
    // The refused program is whole: drawn, the operator sees where the wire would go.
    std::vector<std::string> advice{ErrorText(e, language)};
    for (std::string& line : Advice(project, language)) {
      advice.push_back(std::move(line));
    }
    return Picture(collector.Take(), area, std::move(advice));
  } catch (const std::exception& e) {
    return Message(ErrorText(e), {});
  }
}

}  // namespace preview
