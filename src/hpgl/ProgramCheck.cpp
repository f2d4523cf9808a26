#include "hpgl/ProgramCheck.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace hpgl {

namespace {

double Mm(std::int64_t units) {
  return static_cast<double>(units) / kPlotterUnitsPerMm;
}

std::string Point(std::int64_t x, std::int64_t y) {
  return "(" + Millimetres(Mm(x)) + ", " + Millimetres(Mm(y)) + ") mm";
}

// One move statement of an outline: its number and the pen state it moves with.
struct Step {
  std::int64_t statement;
  bool penDown;
};

std::vector<Step> Steps(const Outline& outline) {
  std::vector<Step> steps;
  for (const Move& move : outline.moves) {
    if (steps.empty() || steps.back().statement != move.statement) {
      steps.push_back({move.statement, move.penDown});
    }
  }
  return steps;
}

OutlineFigures Figures(const Outline& outline) {
  OutlineFigures f;
  f.name = OutlineName(outline.pen);
  f.pen = outline.pen;
  f.firstStatement = outline.firstStatement;
  f.statements = outline.lastStatement - outline.firstStatement + 1;
  f.moveStatements = static_cast<std::int64_t>(Steps(outline).size());
  std::int64_t x = outline.entryX;
  std::int64_t y = outline.entryY;
  std::int64_t minX = 0, minY = 0, maxX = 0, maxY = 0;
  for (const Move& move : outline.moves) {
    if (!move.hasPoint) {
      continue;
    }
    if (move.penDown) {
      ++f.cuttingMoves;
      f.cutLength += std::hypot(Mm(move.x - x), Mm(move.y - y));
    }
    if (!f.hasPoints) {
      f.hasPoints = true;
      minX = maxX = move.x;
      minY = maxY = move.y;
      f.startX = Mm(move.x);
      f.startY = Mm(move.y);
    }
    minX = std::min<std::int64_t>(minX, move.x);
    maxX = std::max<std::int64_t>(maxX, move.x);
    minY = std::min<std::int64_t>(minY, move.y);
    maxY = std::max<std::int64_t>(maxY, move.y);
    x = move.x;
    y = move.y;
  }
  if (f.hasPoints) {
    f.minX = Mm(minX);
    f.minY = Mm(minY);
    f.maxX = Mm(maxX);
    f.maxY = Mm(maxY);
    f.endX = Mm(x);
    f.endY = Mm(y);
  }
  return f;
}

// The two towers run the k-th move statement of each outline together, so the outlines must
// have as many move statements, with the same pen state at each. When the numbers differ, the
// pen states after the lost or extra statement no longer pair up; only the count is reported.
void CheckInStep(const Program& program, std::vector<Finding>& findings) {
  const Outline& a = program.outlines[0];
  const Outline& b = program.outlines[1];
  const std::vector<Step> first = Steps(a);
  const std::vector<Step> second = Steps(b);
  const std::string nameA = OutlineName(a.pen);
  const std::string nameB = OutlineName(b.pen);
  if (first.size() != second.size()) {
    const bool firstLonger = first.size() > second.size();
    const Step& unpaired = firstLonger ? first[second.size()] : second[first.size()];
    findings.push_back({Check::InStep, Severity::Failure, unpaired.statement,
                        "the towers leave step: " + nameA + " has " + std::to_string(first.size()) +
                            " move statements, " + nameB + " " + std::to_string(second.size()) +
                            "; here " + (firstLonger ? nameA : nameB) +
                            " moves on without a partner"});
    return;
  }
  const auto state = [](bool down) { return down ? "down" : "up"; };
  for (std::size_t k = 0; k < first.size(); ++k) {
    if (first[k].penDown != second[k].penDown) {
      findings.push_back({Check::InStep, Severity::Failure, second[k].statement,
                          "the towers leave step: " + nameB + " moves with the pen " +
                              state(second[k].penDown) + " here, " + nameA + " with the pen " +
                              state(first[k].penDown) + " at its statement " +
                              std::to_string(first[k].statement)});
      return;
    }
  }
}

void CheckOutline(const Outline& outline, std::optional<WorkArea> workArea,
                  std::vector<Finding>& findings) {
  const std::string name = OutlineName(outline.pen);
  const Move* first = nullptr;
  const Move* belowZero = nullptr;
  const Move* beyond = nullptr;
  // The work area in plotter units; a point counts as beyond it only when it lies more than
  // half a unit out, since the program's coordinates are rounded to whole units.
  const double right = workArea ? workArea->width * kPlotterUnitsPerMm + 0.5 : 0;
  const double top = workArea ? workArea->height * kPlotterUnitsPerMm + 0.5 : 0;
  std::int64_t mostRight = 0, mostUp = 0;
  for (const Move& move : outline.moves) {
    if (!move.hasPoint) {
      continue;
    }
    if (first == nullptr) {
      first = &move;
    }
    if (belowZero == nullptr && (move.x < 0 || move.y < 0)) {
      belowZero = &move;
    }
    if (workArea && (move.x > right || move.y > top)) {
      if (beyond == nullptr) {
        beyond = &move;
      }
      mostRight = std::max<std::int64_t>(mostRight, move.x);
      mostUp = std::max<std::int64_t>(mostUp, move.y);
    }
  }
  if (first != nullptr && (first->penDown || first->x != 0 || first->y != 0)) {
    findings.push_back({Check::StartAtZero, Severity::Failure, first->statement,
                        name + " begins at " + Point(first->x, first->y) + " with the pen " +
                            (first->penDown ? "down" : "up") +
                            "; it must begin with the pen up at the machine's zero"});
  }
  if (belowZero != nullptr) {
    const char* where = belowZero->x < 0 && belowZero->y < 0 ? "left of and below"
                        : belowZero->x < 0                   ? "left of"
                                                             : "below";
    findings.push_back({Check::BelowZero, Severity::Failure, belowZero->statement,
                        name + " goes to " + Point(belowZero->x, belowZero->y) + ", " + where +
                            " the machine's zero"});
  }
  if (beyond != nullptr) {
    std::string text = name + " reaches beyond the work area (" + Millimetres(workArea->width) +
                       " x " + Millimetres(workArea->height) + " mm):";
    const double overTop = Mm(mostUp) - workArea->height;
    const double overRight = Mm(mostRight) - workArea->width;
    if (mostUp > top) {
      text += " " + Millimetres(overTop) + " mm above its top";
    }
    if (mostRight > right) {
      text += std::string(mostUp > top ? "," : "") + " " + Millimetres(overRight) +
              " mm past its right side";
    }
    findings.push_back({Check::WorkArea, Severity::Warning, beyond->statement, text});
  }
}

}  // namespace

std::string Millimetres(double value) {
  char buffer[64];
  const auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
  if (error != std::errc()) {
    return "?";
  }
  std::string text(buffer, end);
  text.erase(text.find_last_not_of('0') + 1);
  if (text.back() == '.') {
    text.pop_back();
  }
  if (text == "-0") {
    text = "0";
  }
  return text;
}

std::string OutlineName(int pen) {
  if (pen == 4) {
    return "front (pen 4)";
  }
  if (pen == 3) {
    return "rear (pen 3)";
  }
  return "pen " + std::to_string(pen);
}

bool CheckReport::Failed() const {
  return std::any_of(findings.begin(), findings.end(),
                     [](const Finding& f) { return f.severity == Severity::Failure; });
}

bool CheckReport::Passed(Check check) const {
  return std::none_of(findings.begin(), findings.end(),
                      [check](const Finding& f) { return f.check == check; });
}

CheckReport CheckProgram(const Program& program, std::optional<WorkArea> workArea) {
  CheckReport report;
  for (const Outline& outline : program.outlines) {
    report.outlines.push_back(Figures(outline));
  }
  if (program.outlines.size() > 2) {
    report.findings.push_back(
        {Check::OutlineCount, Severity::Failure, program.outlines[2].firstStatement,
         "a third outline: the machine cuts one outline, or two (front and rear); this program "
         "has " +
             std::to_string(program.outlines.size())});
  }
  if (program.outlines.size() == 2) {
    CheckInStep(program, report.findings);
  }
  for (const Outline& outline : program.outlines) {
    CheckOutline(outline, workArea, report.findings);
  }
  constexpr std::size_t kUnknownListed = 10;
  for (std::size_t i = 0; i < program.unknown.size() && i < kUnknownListed; ++i) {
    report.findings.push_back({Check::Unknown, Severity::Note, program.unknown[i].statement,
                               "'" + program.unknown[i].text +
                                   "' is not a statement this reader knows: kept, not drawn"});
  }
  if (program.unknownCount > static_cast<std::int64_t>(kUnknownListed)) {
    report.findings.push_back(
        {Check::Unknown, Severity::Note, 0,
         std::to_string(program.unknownCount - static_cast<std::int64_t>(kUnknownListed)) +
             " more unknown statements"});
  }
  return report;
}

}  // namespace hpgl
