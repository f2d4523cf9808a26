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
  const MoveList& moves_;
  std::size_t at_ = 0;
};

// The length of a move in plotter units. Squares of whole units are exact up to 2^53 (moves of
// over two kilometres), so one rounding of the root keeps the length within a unit in the last
// place, as the library's hypot would, at a fraction of its cost over a million moves.
double MoveUnits(std::int64_t dx, std::int64_t dy) {
  const double run = static_cast<double>(dx), rise = static_cast<double>(dy);
  return std::sqrt(run * run + rise * rise);
}

// What one walk over an outline's moves finds: its figures and the moves its own checks name.
struct OutlineScan {
  OutlineFigures figures;
  const Move* first = nullptr;             // the first move with a point
  const Move* belowZero = nullptr;         // the first point left of or below the zero
  const Move* beyond = nullptr;            // the first point beyond the work area
  std::int64_t mostRight = 0, mostUp = 0;  // the farthest points beyond it, plotter units
  double right = 0, top = 0;               // the work area's edges as the scan held them
};

// One pass over the moves (a program may have a million): the figures and every per-outline
// check together. The work area in plotter units; a point counts as beyond it only when it lies
// more than half a unit out, since the program's coordinates are rounded to whole units.
OutlineScan Scan(const Outline& outline, std::optional<WorkArea> workArea) {
  OutlineScan scan;
  OutlineFigures& f = scan.figures;
  f.pen = outline.pen;
  f.firstStatement = outline.firstStatement;
  f.statements = outline.lastStatement - outline.firstStatement + 1;
  const double right = scan.right = workArea ? workArea->width * kPlotterUnitsPerMm + 0.5 : 0;
  const double top = scan.top = workArea ? workArea->height * kPlotterUnitsPerMm + 0.5 : 0;
  std::int64_t x = outline.entryX;
  std::int64_t y = outline.entryY;
  std::int64_t minX = 0, minY = 0, maxX = 0, maxY = 0;
  std::int64_t lastStatement = 0;  // move statements are numbered from 1
  // The cut's length summed in plotter units and turned into millimetres once: the lengths of
  // straight moves are whole units, and their sum stays exact.
  double cutUnits = 0;
  for (const Move& move : outline.moves) {
    if (move.statement != lastStatement) {
      ++f.moveStatements;  // a statement of several coordinate pairs is one step
      lastStatement = move.statement;
    }
    if (!move.hasPoint) {
      continue;
    }
    if (move.penDown) {
      ++f.cuttingMoves;
      cutUnits += MoveUnits(move.x - x, move.y - y);
    }
    if (scan.first == nullptr) {
      scan.first = &move;
      minX = maxX = move.x;
      minY = maxY = move.y;
    }
    minX = std::min<std::int64_t>(minX, move.x);
    maxX = std::max<std::int64_t>(maxX, move.x);
    minY = std::min<std::int64_t>(minY, move.y);
    maxY = std::max<std::int64_t>(maxY, move.y);
    if ((move.x | move.y) < 0 && scan.belowZero == nullptr) {
      scan.belowZero = &move;
    }
    if (workArea && (move.x > right || move.y > top)) {
      if (scan.beyond == nullptr) {
        scan.beyond = &move;
      }
      scan.mostRight = std::max<std::int64_t>(scan.mostRight, move.x);
      scan.mostUp = std::max<std::int64_t>(scan.mostUp, move.y);
    }
    x = move.x;
    y = move.y;
  }
  f.cutLength = cutUnits / kPlotterUnitsPerMm;
  if (scan.first != nullptr) {
    f.hasPoints = true;
    f.startX = Mm(scan.first->x);
    f.startY = Mm(scan.first->y);
    f.minX = Mm(minX);
    f.minY = Mm(minY);
    f.maxX = Mm(maxX);
    f.maxY = Mm(maxY);
    f.endX = Mm(x);
    f.endY = Mm(y);
  }
  return scan;
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
void CheckInStep(const Program& program, std::int64_t firstCount, std::int64_t secondCount,
                 std::vector<Finding>& findings) {
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

void CheckOutline(const OutlineScan& scan, const Outline& outline, int index,
                  std::optional<WorkArea> workArea, std::vector<Finding>& findings) {
  const Move* first = scan.first;
  if (first != nullptr && (first->penDown || first->x != 0 || first->y != 0)) {
    findings.push_back(AtMove(FindingKind::StartOffZero, outline, index, *first));
  }
  if (scan.belowZero != nullptr) {
    findings.push_back(AtMove(FindingKind::OffZero, outline, index, *scan.belowZero));
  }
  if (scan.beyond != nullptr) {
    Finding f = AtMove(FindingKind::BeyondWorkArea, outline, index, *scan.beyond);
    f.area = *workArea;
    f.overTop = scan.mostUp > scan.top ? Mm(scan.mostUp) - workArea->height : 0;
    f.overRight = scan.mostRight > scan.right ? Mm(scan.mostRight) - workArea->width : 0;
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
  std::vector<OutlineScan> scans;
  scans.reserve(program.outlines.size());
  for (const Outline& outline : program.outlines) {
    scans.push_back(Scan(outline, workArea));
    report.outlines.push_back(scans.back().figures);
  }
  if (program.outlines.size() > 2) {
    Finding f = Make(FindingKind::ThirdOutline, program.outlines[2].firstStatement);
    f.outline = 2;
    f.pen = program.outlines[2].pen;
    f.count = static_cast<std::int64_t>(program.outlines.size());
    report.findings.push_back(f);
  }
  if (program.outlines.size() == 2) {
    CheckInStep(program, scans[0].figures.moveStatements, scans[1].figures.moveStatements,
                report.findings);
  }
  for (std::size_t i = 0; i < program.outlines.size(); ++i) {
    CheckOutline(scans[i], program.outlines[i], static_cast<int>(i), workArea, report.findings);
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
