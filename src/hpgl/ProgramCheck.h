// The check of a cutting program before it goes to the machine: the figures of each outline and
// the faults that would waste a block or drive the wire where it must not go.
// Millimetres; x grows from the machine's zero across the block, y grows upward from it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "hpgl/HpglReader.h"

namespace hpgl {

// The work area a project computed: from the machine's zero to (width, height).
struct WorkArea {
  double width = 0;   // millimetres
  double height = 0;  // millimetres
};

struct OutlineFigures {
  int pen = 0;
  std::int64_t firstStatement = 0;
  std::int64_t statements = 0;      // from the pen selection to the outline's last pen statement
  std::int64_t moveStatements = 0;  // PU, PD, PA, PR statements
  std::int64_t cuttingMoves = 0;    // coordinate pairs made with the pen down
  double cutLength = 0;             // millimetres, along the pen-down moves
  bool hasPoints = false;           // false: the box, start and end below mean nothing
  double minX = 0, minY = 0, maxX = 0, maxY = 0;  // the box around every point, millimetres
  double startX = 0, startY = 0;                  // the first point of the outline
  double endX = 0, endY = 0;                      // the last point
};

enum class Severity { Failure, Warning, Note };

// Which check a finding comes from.
enum class Check { OutlineCount, InStep, BelowZero, StartAtZero, WorkArea, Unknown };

// What a finding says; its sentence in each language is made from these by the preview layer.
enum class FindingKind {
  ThirdOutline,      // count: the program's outlines
  StepCount,         // count, otherCount: move statements of the first and the second outline
  StepPen,           // penDown: the second outline's pen here; otherPenDown at otherStatement
  StartOffZero,      // point, penDown: the outline's first point and its pen state
  OffZero,           // point: the first point left of or below the machine's zero
  BeyondWorkArea,    // area; overTop, overRight: millimetres beyond it (0 where not beyond)
  UnknownStatement,  // text: the statement as the reader kept it
  MoreUnknown,       // count: unknown statements beyond those listed
  Count
};

// One result of the check, as data. statement is the program's statement (counted from 1) where
// the check first fails, 0 when it belongs to no statement.
struct Finding {
  FindingKind kind = FindingKind::UnknownStatement;
  Check check = Check::Unknown;
  Severity severity = Severity::Note;
  std::int64_t statement = 0;
  int outline = -1;  // the outline's index in the program, -1 when the finding has none
  int pen = 0;       // that outline's pen
  int otherPen = 0;  // StepCount, StepPen: the first outline's pen
  bool hasPoint = false;
  std::int64_t x = 0, y = 0;  // plotter units, the point where the finding is made
  bool penDown = false;
  bool otherPenDown = false;
  std::int64_t otherStatement = 0;
  std::int64_t count = 0, otherCount = 0;
  WorkArea area;
  double overTop = 0, overRight = 0;  // millimetres
  std::string text;
};

// The check and the severity of a kind.
Check CheckOf(FindingKind kind);
Severity SeverityOf(FindingKind kind);

struct CheckReport {
  std::vector<OutlineFigures> outlines;
  std::vector<Finding> findings;  // in the order the checks run, then by outline
  bool Failed() const;
  // True when no finding of the given check was made.
  bool Passed(Check check) const;
};

// Runs every check on program. Failures:
// - a program of more than two outlines (the machine has one wire, two towers);
// - the two outlines of a two-outline program differ in their number of move statements, or
//   the k-th move statements of the two differ in their pen state (the towers move in step);
// - a point left of or below the machine's zero;
// - an outline whose first point is not reached with the pen up at the origin.
// Warnings: with a work area, the most any outline reaches beyond it (right or up), and the
// statement where it first goes beyond. Notes: the statements the reader did not know.
CheckReport CheckProgram(const Program& program, std::optional<WorkArea> workArea = {});

// A length in millimetres as the report writes it: at most three decimals, no trailing zeros
// ("709.1", "2", "-0.025"); the same in every locale.
std::string Millimetres(double value);

}  // namespace hpgl
