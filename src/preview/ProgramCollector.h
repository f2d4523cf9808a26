// The program the generator appends, gathered as it is appended into what the cutting-program
// reader makes of its text (outlines, moves, statement numbers), so that the preview draws a
// program of a hundred thousand layers without writing and reading back its text.
#pragma once

#include <string_view>

#include "generator/ProjectGenerator.h"
#include "hpgl/HpglReader.h"

namespace preview {

class TProgramCollector : public TStatementSink {
 public:
  void Expect(std::int64_t statements) override;
  void Plain(std::string_view statement) override;
  void Move(bool penDown, std::int32_t x, std::int32_t y) override;

  // The program gathered so far; the collector starts again empty.
  hpgl::Program Take();

 private:
  void Add(bool penDown, std::int32_t x, std::int32_t y, bool hasPoint);

  hpgl::Program FProgram;
  int FPen = 0;
  bool FOutlineOpen = false;  // the last outline belongs to the current pen selection
  std::int64_t FSelectStatement = 0;
  std::int32_t FX = 0, FY = 0;
  std::int64_t FExpected = 0;  // statements still to come at most
};

}  // namespace preview
