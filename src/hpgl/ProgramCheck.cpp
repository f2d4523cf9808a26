#include "hpgl/ProgramCheck.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace hpgl {

namespace {

double Mm(std::int64_t units) {
  return static_cast<double>(units) / kPlotterUnitsPerMm;
}

// One move statement of an outline: its number and the pen state it moves with.
struct Step {
  std::int64_t statement;
  bool penDown;
};

// Walks the move statements of an outline in order: a statement of several coordinate pairs is
// one step, with the pen state of its first pair. Nothing is copied: an outline may have a
// million moves.
class TSteps {
 public:
  explicit TSteps(const Outline& outline) : moves_(outline.moves) {}
  bool Next(Step& step) {
    if (at_ == moves_.size()) {
      return false;
    }
    step = {moves_[at_].statement, moves_[at_].penDown};
    while (at_ < moves_.size() && moves_[at_].statement == step.statement) {
      ++at_;
    }
    return true;
  }

 private:
  const std::vector<Move>& moves_;
  std::size_t at_ = 0;
};

std::int64_t StepCount(const Outline& outline) {
  TSteps steps(outline);
  std::int64_t count = 0;
  for (Step step{}; steps.Next(step);) {
    ++count;
  }
  return count;
}

OutlineFigures Figures(const Outline& outline) {
  OutlineFigures f;
  f.pen = outline.pen;
  f.firstStatement = outline.firstStatement;
  f.statements = outline.lastStatement - outline.firstStatement + 1;
  f.moveStatements = StepCount(outline);
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

Finding Make(FindingKind kind, std::int64_t statement) {
  Finding f;
  f.kind = kind;
  f.check = CheckOf(kind);
  f.severity = SeverityOf(kind);
  f.statement = statement;
  return f;
}

Finding AtMove(FindingKind kind, const Outline& outline, int index, const Move& move) {
  Finding f = Make(kind, move.statement);
  f.outline = index;
  f.pen = outline.pen;
  f.hasPoint = move.hasPoint;
  f.x = move.x;
  f.y = move.y;
  f.penDown = move.penDown;
  return f;
}

const Move* MoveOf(const Outline& outline, std::int64_t statement) {
  for (const Move& move : outline.moves) {
    if (move.statement == statement && move.hasPoint) {
      return &move;
    }
  }
  return nullptr;
}

// The two towers run the k-th move statement of each outline together, so the outlines must
// have as many move statements, with the same pen state at each. When the numbers differ, the
// pen states after the lost or extra statement no longer pair up; only the count is reported.
void CheckInStep(const Program& program, std::vector<Finding>& findings) {
  const Outline& a = program.outlines[0];
  const Outline& b = program.outlines[1];
  const auto at = [&](FindingKind kind, int index, std::int64_t statement) {
    const Outline& outline = program.outlines[static_cast<std::size_t>(index)];
    const Move* move = MoveOf(outline, statement);
    Finding f = move ? AtMove(kind, outline, index, *move) : Make(kind, statement);
    f.outline = index;
    f.pen = outline.pen;
    f.otherPen = a.pen;
    return f;
  };
  const std::int64_t firstCount = StepCount(a), secondCount = StepCount(b);
  if (firstCount != secondCount) {
    const bool firstLonger = firstCount > secondCount;
    // The first step of the longer outline without a partner.
    TSteps longer(firstLonger ? a : b);
    Step unpaired{};
    for (std::int64_t k = 0; k <= std::min(firstCount, secondCount); ++k) {
      longer.Next(unpaired);
    }
    Finding f = at(FindingKind::StepCount, firstLonger ? 0 : 1, unpaired.statement);
    f.otherPen = firstLonger ? b.pen : a.pen;
    f.count = firstCount;
    f.otherCount = secondCount;
    f.penDown = unpaired.penDown;
    findings.push_back(f);
    return;
  }
  TSteps first(a), second(b);
  for (Step one{}, other{}; first.Next(one) && second.Next(other);) {
    if (one.penDown != other.penDown) {
      Finding f = at(FindingKind::StepPen, 1, other.statement);
      f.penDown = other.penDown;
      f.otherPenDown = one.penDown;
      f.otherStatement = one.statement;
      findings.push_back(f);
      return;
    }
  }
}

void CheckOutline(const Outline& outline, int index, std::optional<WorkArea> workArea,
                  std::vector<Finding>& findings) {
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
    findings.push_back(AtMove(FindingKind::StartOffZero, outline, index, *first));
  }
  if (belowZero != nullptr) {
    findings.push_back(AtMove(FindingKind::OffZero, outline, index, *belowZero));
  }
  if (beyond != nullptr) {
    Finding f = AtMove(FindingKind::BeyondWorkArea, outline, index, *beyond);
    f.area = *workArea;
    f.overTop = mostUp > top ? Mm(mostUp) - workArea->height : 0;
    f.overRight = mostRight > right ? Mm(mostRight) - workArea->width : 0;
    findings.push_back(f);
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

Check CheckOf(FindingKind kind) {
  switch (kind) {
    case FindingKind::ThirdOutline:
      return Check::OutlineCount;
    case FindingKind::StepCount:
    case FindingKind::StepPen:
      return Check::InStep;
    case FindingKind::StartOffZero:
      return Check::StartAtZero;
    case FindingKind::OffZero:
      return Check::BelowZero;
    case FindingKind::BeyondWorkArea:
      return Check::WorkArea;
    case FindingKind::UnknownStatement:
    case FindingKind::MoreUnknown:
    case FindingKind::Count:
      break;
  }
  return Check::Unknown;
}

Severity SeverityOf(FindingKind kind) {
  switch (CheckOf(kind)) {
    case Check::WorkArea:
      return Severity::Warning;
    case Check::Unknown:
      return Severity::Note;
    default:
      return Severity::Failure;
  }
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
    Finding f = Make(FindingKind::ThirdOutline, program.outlines[2].firstStatement);
    f.outline = 2;
    f.pen = program.outlines[2].pen;
    f.count = static_cast<std::int64_t>(program.outlines.size());
    report.findings.push_back(f);
  }
  if (program.outlines.size() == 2) {
    CheckInStep(program, report.findings);
  }
  for (std::size_t i = 0; i < program.outlines.size(); ++i) {
    CheckOutline(program.outlines[i], static_cast<int>(i), workArea, report.findings);
  }
  constexpr std::size_t kUnknownListed = 10;
  for (std::size_t i = 0; i < program.unknown.size() && i < kUnknownListed; ++i) {
    Finding f = Make(FindingKind::UnknownStatement, program.unknown[i].statement);
    f.text = program.unknown[i].text;
    report.findings.push_back(f);
  }
  if (program.unknownCount > static_cast<std::int64_t>(kUnknownListed)) {
    Finding f = Make(FindingKind::MoreUnknown, 0);
    f.count = program.unknownCount - static_cast<std::int64_t>(kUnknownListed);
    report.findings.push_back(f);
  }
  return report;
}

}  // namespace hpgl
