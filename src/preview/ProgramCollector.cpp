#include "preview/ProgramCollector.h"

#include <charconv>
#include <utility>

namespace preview {

// The generator's statements are fixed texts ("IN", "LT", "VS32,1", "SP4", "PU", ...) and moves:
// the reader's rules for them are that SP selects a pen and opens a new outline at its first
// move, a PU or PD without coordinates is a move that only sets the pen, and every other plain
// statement changes nothing that is drawn.
void TProgramCollector::Expect(std::int64_t statements) {
  FExpected = FProgram.statementCount + statements;
}

void TProgramCollector::Plain(std::string_view statement) {
  if (statement == "PU" || statement == "PD") {
    Add(statement == "PD", FX, FY, false);
    return;
  }
  ++FProgram.statementCount;
  if (statement.size() >= 2 && statement[0] == 'S' && statement[1] == 'P') {
    int pen = 0;
    std::from_chars(statement.data() + 2, statement.data() + statement.size(), pen);
    FPen = pen;
    FOutlineOpen = false;
    FSelectStatement = FProgram.statementCount;
  }
}

void TProgramCollector::Move(bool penDown, std::int32_t x, std::int32_t y) {
  Add(penDown, x, y, true);
}

void TProgramCollector::Add(bool penDown, std::int32_t x, std::int32_t y, bool hasPoint) {
  const std::int64_t statement = ++FProgram.statementCount;
  if (!FOutlineOpen) {
    hpgl::Outline& outline = FProgram.outlines.emplace_back();
    outline.pen = FPen;
    outline.firstStatement = FSelectStatement > 0 ? FSelectStatement : statement;
    outline.entryX = FX;
    outline.entryY = FY;
    FOutlineOpen = true;
    // Room for every statement still to come: the moves are never copied as they grow, and
    // the room an outline does not use is never touched (a large array has a block of its own,
    // backed by large pages).
    if (FExpected > statement) {
      outline.moves.reserve(static_cast<std::size_t>(FExpected - statement + 1));
    }
  }
  hpgl::Outline& outline = FProgram.outlines.back();
  outline.moves.push_back({statement, x, y, penDown, hasPoint});
  outline.lastStatement = statement;
  FX = x;
  FY = y;
}

hpgl::Program TProgramCollector::Take() {
  hpgl::Program program = std::move(FProgram);
  *this = TProgramCollector();
  return program;
}

}  // namespace preview
