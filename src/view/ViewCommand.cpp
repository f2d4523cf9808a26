#include "view/ViewCommand.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <optional>

#include "base/AppError.h"
#include "base/Version.h"
#include "generator/ProgramGate.h"
#include "generator/ProjectGenerator.h"
#include "hpgl/HpglReader.h"
#include "hpgl/ProgramCheck.h"
#include "locale/ErrorStr.h"
#include "locale/ViewStr.h"
#include "platform/FileSystem.h"
#include "platform/NumberText.h"
#include "platform/Utf8Path.h"
#include "preview/FindingText.h"
#include "preview/PreviewSvg.h"
#include "preview/RefusalAdvice.h"
#include "project/ProjectData.h"

namespace view {

namespace {

constexpr const char* kUsage =
    "usage: tectoplan-view PROGRAM.plt [--svg OUT.svg] [--project JOB.tcj] [-L LANGUAGE]\n"
    "       tectoplan-view --project JOB.tcj [--svg OUT.svg] [-L LANGUAGE]\n";

void PrintError(std::ostream& err, const std::string& text) {
  err << "tectoplan-view: " << text << "\n";
}

// The language switch as tectoplan spells it: -L LANGUAGE, -L:LANGUAGE or -LLANGUAGE, either
// letter case. The program's entry has read it; here it is only stepped over.
bool IsLanguageSwitch(const std::string& a) {
  return a.size() >= 2 && a[0] == '-' && (a[1] == 'L' || a[1] == 'l');
}

struct Options {
  bool help = false;
  bool version = false;
  std::string program;
  std::string svg;
  std::string project;
};

std::optional<Options> ParseArguments(const std::vector<std::string>& args, std::ostream& err) {
  Options o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--version") {
      o.version = true;
    } else if (a == "--svg" || a == "--project") {
      if (i + 1 == args.size()) {
        PrintError(err, MessageText(TErrorId::ViewOptionNeedsFile, {a}));
        err << kUsage;
        return std::nullopt;
      }
      (a == "--svg" ? o.svg : o.project) = args[++i];
    } else if (IsLanguageSwitch(a)) {
      if (a.size() == 2 && i + 1 < args.size() && !args[i + 1].empty() && args[i + 1][0] != '-') {
        ++i;
      }
    } else if (a.size() > 1 && a[0] == '-') {
      PrintError(err, MessageText(TErrorId::ViewUnknownOption, {a}));
      err << kUsage;
      return std::nullopt;
    } else if (o.program.empty()) {
      o.program = a;
    } else {
      PrintError(err, MessageText(TErrorId::ViewOneProgram));
      err << kUsage;
      return std::nullopt;
    }
  }
  if (o.program.empty() && o.project.empty() && !o.help && !o.version) {
    err << kUsage;
    return std::nullopt;
  }
  return o;
}

// The project in file, computed as the unattended run computes it.
std::unique_ptr<TPanelsProject> OpenProject(const std::string& file) {
  auto project = std::make_unique<TPanelsProject>();
  project->OpenFromText(ReadProjectFile(file));
  project->ComputeFaces();
  return project;
}

hpgl::WorkArea WorkAreaOf(const TPanelsProject& project) {
  return {project.ProjectSize().Width(), project.ProjectSize().Height()};
}

std::string FileTitle(const std::string& file) {
  return platform::Utf8FromPath(platform::PathFromUtf8(file).filename());
}

// The columns a text takes on a terminal: one per UTF-8 character (the Polish headings).
std::size_t Columns(const std::string& text) {
  std::size_t n = 0;
  for (const char c : text) {
    n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }
  return n;
}

std::string Pad(const std::string& text, std::size_t width, bool right) {
  if (Columns(text) >= width) {
    return text;
  }
  const std::string fill(width - Columns(text), ' ');
  return right ? fill + text : text + fill;
}

void PrintTable(const hpgl::Program& program, const hpgl::CheckReport& report,
                const std::string& name, std::ostream& out) {
  using hpgl::Millimetres;
  out << FillArguments(
             GetViewStr(TViewStr::TableTitle),
             {name, std::to_string(program.statementCount), std::to_string(report.outlines.size())})
      << "\n";
  std::vector<std::string> head;
  for (const TViewStr id :
       {TViewStr::HeadOutline, TViewStr::HeadFrom, TViewStr::HeadStatements, TViewStr::HeadMoves,
        TViewStr::HeadCutting, TViewStr::HeadCutMm, TViewStr::HeadXMm, TViewStr::HeadYMm,
        TViewStr::HeadStart, TViewStr::HeadEnd}) {
    head.push_back(GetViewStr(id));
  }
  std::vector<std::vector<std::string>> rows = {head};
  for (const hpgl::OutlineFigures& o : report.outlines) {
    const auto point = [](double x, double y) {
      return "(" + Millimetres(x) + ", " + Millimetres(y) + ")";
    };
    rows.push_back({preview::OutlineTitle(o.pen), std::to_string(o.firstStatement),
                    std::to_string(o.statements), std::to_string(o.moveStatements),
                    std::to_string(o.cuttingMoves), Millimetres(std::round(o.cutLength * 10) / 10),
                    o.hasPoints ? Millimetres(o.minX) + ".." + Millimetres(o.maxX) : "-",
                    o.hasPoints ? Millimetres(o.minY) + ".." + Millimetres(o.maxY) : "-",
                    o.hasPoints ? point(o.startX, o.startY) : "-",
                    o.hasPoints ? point(o.endX, o.endY) : "-"});
  }
  std::vector<std::size_t> widths(head.size(), 0);
  for (const auto& row : rows) {
    for (std::size_t c = 0; c < row.size(); ++c) {
      widths[c] = std::max(widths[c], Columns(row[c]));
    }
  }
  for (const auto& row : rows) {
    std::string line;
    for (std::size_t c = 0; c < row.size(); ++c) {
      // Names and points read from the left, counts and lengths from the right.
      const bool right = c >= 1 && c <= 5;
      line += (c ? "  " : "") + Pad(row[c], widths[c], right);
    }
    line.erase(line.find_last_not_of(' ') + 1);
    out << line << "\n";
  }
  int failures = 0, warnings = 0;
  for (const hpgl::Finding& f : report.findings) {
    failures += f.severity == hpgl::Severity::Failure;
    warnings += f.severity == hpgl::Severity::Warning;
    out << Pad(preview::SeverityLabel(f.severity), 4, false) << "  ";
    if (f.statement > 0) {
      out << GetViewStr(TViewStr::Statement) << " " << f.statement << ": ";
    }
    out << preview::FindingText(f) << "\n";
  }
  if (failures > 0) {
    out << FillArguments(GetViewStr(TViewStr::VerdictFailed),
                         {std::to_string(failures), std::to_string(warnings)});
  } else if (warnings > 0) {
    out << FillArguments(GetViewStr(TViewStr::VerdictPassedWarnings), {std::to_string(warnings)});
  } else {
    out << GetViewStr(TViewStr::VerdictPassed);
  }
  out << "\n";
}

// Writes the picture to file; false (the error said) when it cannot be written.
bool WritePicture(const std::string& file, const std::string& svg, std::ostream& err) {
  if (const auto result = platform::ReplaceFileContents(file, svg)) {
    PrintError(err, ErrorText(platform::WriteError(TErrorId::PictureWrite, file, result)));
    return false;
  }
  return true;
}

// Without a program file: the program the unattended run would write for the project, by the
// same road (the project opened and computed, then the gate). A program refused for a move below
// or left of the machine's zero is still whole and is checked and drawn, with the advice; where
// the gate leaves no text, or the panel type has none, the reason and the advice are all.
int RunProjectView(const Options& options, std::ostream& out, std::ostream& err) {
  std::unique_ptr<TPanelsProject> project;
  try {
    project = OpenProject(options.project);
  } catch (const EAppError& e) {
    PrintError(err, ErrorText(e));
    return 2;
  }
  TPrjGenerator generator(*project);
  std::optional<EAppError> refusal;
  try {
    GenerateCheckedProgram(generator);
  } catch (const EAppError& e) {
    refusal = e;
  }
  const bool hasProgram = TPrjGenerator::HasProgram(project->PanelType());
  std::vector<std::string> advice;
  if (refusal || !hasProgram) {
    if (const std::optional<preview::TRefusalAdvice> explained =
            preview::ExplainRefusal(*project)) {
      advice = preview::AdviceLines(*explained);
    }
    PrintError(err, refusal ? ErrorText(*refusal)
                            : MessageText(TErrorId::NoProgramForType,
                                          {platform::FormatInteger(project->PanelType())}));
    for (const std::string& line : advice) {
      err << "  " << line << "\n";
    }
  }
  if (!hasProgram || (refusal && refusal->Id() != TErrorId::BelowZero)) {
    if (!options.svg.empty()) {
      PrintError(err, FillArguments(GetViewStr(TViewStr::NoPictureWritten), {options.svg}));
    }
    return 1;
  }
  const hpgl::Program program = hpgl::ReadProgram(generator.FileData());
  const hpgl::WorkArea workArea = WorkAreaOf(*project);
  const hpgl::CheckReport report = hpgl::CheckProgram(program, workArea);
  PrintTable(program, report, options.project, out);
  if (!options.svg.empty() &&
      !WritePicture(
          options.svg,
          hpgl::DrawPreviewSvg(program, report, {FileTitle(options.project), workArea, advice}),
          err)) {
    return 2;
  }
  return refusal || report.Failed() ? 1 : 0;
}

}  // namespace

int RunView(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const std::optional<Options> options = ParseArguments(args, err);
  if (!options) {
    return 2;
  }
  if (options->help) {
    out << kUsage
        << "Checks a cutting program and prints the result; exits 1 when a check fails.\n"
           "  --svg OUT.svg      also draws the program as an A4 picture\n"
           "  --project JOB.tcj  also says how far the program reaches beyond the project's "
           "work area\n"
           "Without PROGRAM.plt, --project JOB.tcj checks (and with --svg draws) the program\n"
           "the unattended run would write for the project; a program it would refuse is\n"
           "drawn too, with the reason and what to change, and exits 1.\n"
           "  --version          shows the version\n"
           "  -L LANGUAGE        the language of the messages, for example pl or en, as for\n"
           "                     tectoplan; else the configuration file's, else the locale's\n";
    return 0;
  }
  if (options->version) {
    out << "tectoplan-view " << kTectoplanVersion << "\n";
    return 0;
  }
  if (options->program.empty()) {
    return RunProjectView(*options, out, err);
  }
  std::optional<hpgl::WorkArea> workArea;
  if (!options->project.empty()) {
    try {
      workArea = WorkAreaOf(*OpenProject(options->project));
    } catch (const EAppError& e) {
      PrintError(err, ErrorText(e));
      return 2;
    }
  }
  hpgl::Program program;
  try {
    program = hpgl::ReadProgramFile(options->program);
  } catch (const EAppError& e) {
    PrintError(err, ErrorText(e));
    return 1;
  }
  const hpgl::CheckReport report = hpgl::CheckProgram(program, workArea);
  PrintTable(program, report, options->program, out);
  if (!options->svg.empty() &&
      !WritePicture(options->svg,
                    hpgl::DrawPreviewSvg(program, report, {FileTitle(options->program), workArea}),
                    err)) {
    return 2;
  }
  return report.Failed() ? 1 : 0;
}

}  // namespace view
