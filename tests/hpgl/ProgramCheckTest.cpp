#include "hpgl/ProgramCheck.h"

#include <gtest/gtest.h>

#include <cmath>

#include "preview/FindingText.h"
#include "project/ProjectData.h"

#include "TestPrograms.h"

namespace {

using hpgl::CheckProgram;
using hpgl::CheckReport;
using hpgl::Finding;
using hpgl::ReadProgram;
using hpgl::ReadProgramFile;
using hpgl::Severity;
using hpgl::WorkArea;

// The work area as the project file's project computes it.
WorkArea ProjectArea(const std::string& name) {
  TPanelsProject project;
  project.Open(Fixture(name));
  project.ComputeFaces();
  return {project.ProjectSize().Width(), project.ProjectSize().Height()};
}

std::string Listed(const std::vector<Finding>& findings) {
  std::string text;
  for (const Finding& f : findings) {
    text += (f.severity == Severity::Failure   ? "FAIL "
             : f.severity == Severity::Warning ? "WARN "
                                               : "NOTE ") +
            std::to_string(f.statement) + ": " + preview::FindingText(f, TTextLanguage::English) +
            "\n";
  }
  return text;
}

// The programs of the worked examples pass, and their figures are those of the outlines.
TEST(ProgramCheck, WorkedExamplesPassWithTheirFigures) {
  struct Outline {
    std::int64_t first, statements, moves, cutting;
    double cutLength, maxX, maxY, endX, endY;
  };
  struct Case {
    const char* file;
    std::vector<Outline> outlines;
  };
  const double slant = std::hypot(1000.0, 40.0);  // the single slope's slanted cut
  const Case cases[] = {
      // up 302 and 2, four cuts of 1000, two drops of 100 and one of 2
      {"flat-three-layers.plt", {{2, 14, 13, 11, 4606, 1002, 302, 2, 0}}},
      {"slope-two-layers.plt", {{2, 16, 15, 13, 3406 + 2 * slant, 1002, 162, 1002, 0}}},
      // each layer: up 100 (front) / 60 (rear), the top to x 902 / 702, down, back along the
      // base; between them 100 down, and 102 up at the start, 2 down at the end
      {"double-slope-narrow.plt",
       {{20, 16, 15, 13,
         102 + 2 + 100 + std::hypot(900.0, 20.0) + 80 + 900 + 100 + 0 + 100 +
             std::hypot(900.0, 20.0) + 80 + 900 + 2,
         902, 202, 2, 0},
        {37, 16, 15, 13,
         102 + 2 + 60 + std::hypot(700.0, 20.0) + 40 + 700 + 100 + 0 + 60 +
             std::hypot(700.0, 20.0) + 40 + 700 + 2,
         702, 162, 2, 0}}},
      {"gutter-two-layers.plt",
       {{20, 20, 19, 17, 0, 709.1, 232, 0, 0}, {41, 20, 19, 17, 0, 709.1, 252, 0, 0}}},
      {"gutter-skip-bottom-diagonal.plt",
       {{20, 14, 13, 11, 0, 709.1, 122, 0, 0}, {35, 14, 13, 11, 0, 709.1, 122, 0, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const CheckReport report = CheckProgram(ReadProgramFile(Fixture(c.file)));
    EXPECT_FALSE(report.Failed());
    EXPECT_EQ(Listed(report.findings), "");
    ASSERT_EQ(report.outlines.size(), c.outlines.size());
    for (std::size_t k = 0; k < c.outlines.size(); ++k) {
      const hpgl::OutlineFigures& f = report.outlines[k];
      const Outline& e = c.outlines[k];
      EXPECT_EQ(f.firstStatement, e.first);
      EXPECT_EQ(f.statements, e.statements);
      EXPECT_EQ(f.moveStatements, e.moves);
      EXPECT_EQ(f.cuttingMoves, e.cutting);
      if (e.cutLength > 0) {
        EXPECT_NEAR(f.cutLength, e.cutLength, 1e-6);
      }
      EXPECT_EQ(f.minX, 0);
      EXPECT_EQ(f.minY, 0);
      EXPECT_EQ(f.maxX, e.maxX);
      EXPECT_EQ(f.maxY, e.maxY);
      EXPECT_EQ(f.startX, 0);
      EXPECT_EQ(f.startY, 0);
      EXPECT_EQ(f.endX, e.endX);
      EXPECT_EQ(f.endY, e.endY);
    }
  }
}

// The check passes on every example project's program. Beyond the work area is allowed only
// where the programs reach past it by design: the top space of flat and single-slope programs,
// a narrow double slope's wider rear base.
TEST(ProgramCheck, EveryExampleProgramPasses) {
  for (const ExampleProgram& e : ExamplePrograms()) {
    const CheckReport report = CheckProgram(ReadProgram(e.text), e.workArea);
    EXPECT_FALSE(report.Failed()) << e.name << "\n" << Listed(report.findings);
    const bool byDesign =
        e.panelType == ptFlat || e.panelType == ptSlope || e.panelType == ptDoubleSlopeNarrow;
    for (const Finding& f : report.findings) {
      EXPECT_TRUE(byDesign && f.check == hpgl::Check::WorkArea)
          << e.name << ": " << preview::FindingText(f, TTextLanguage::English);
    }
  }
}

// Each damaged program fails at the statement where the damage is, and only there.
TEST(ProgramCheck, DamagedProgramsFailAtTheDamage) {
  struct Case {
    const char* file;
    const char* findings;
  };
  const Case cases[] = {
      {"damaged-rear-statement-lost.plt",
       "FAIL 39: The towers leave step: front (pen 4) has 19 move statements, rear (pen 3) 18; "
       "here front (pen 4) moves on without a partner\n"},
      {"damaged-rear-pen-up.plt",
       "FAIL 46: The towers leave step: rear (pen 3) moves with the pen up here, front (pen 4) "
       "with the pen down at its statement 25\n"},
      {"damaged-rear-starts-pen-down.plt",
       "FAIL 42: The towers leave step: rear (pen 3) moves with the pen down here, front (pen 4) "
       "with the pen up at its statement 21\n"
       "FAIL 42: Rear (pen 3) begins at (0, 0) mm with the pen down; it must begin with the pen "
       "up at the machine's zero\n"},
      {"damaged-third-outline.plt",
       "FAIL 62: A third outline: the machine cuts one outline, or two (front and rear); this "
       "program has 3\n"},
      {"damaged-below-zero.plt",
       "FAIL 14: Front (pen 4) goes to (2, -1) mm, below the machine's zero\n"},
      {"damaged-left-of-zero.plt",
       "FAIL 40: Rear (pen 3) goes to (-2, 102) mm, left of the machine's zero\n"},
      {"damaged-start-off-zero.plt",
       "FAIL 3: Front (pen 4) begins at (2, 0) mm with the pen up; it must begin with the pen up "
       "at the machine's zero\n"},
  };
  for (const Case& c : cases) {
    const CheckReport report = CheckProgram(ReadProgramFile(Fixture(c.file)));
    EXPECT_TRUE(report.Failed()) << c.file;
    EXPECT_EQ(Listed(report.findings), c.findings) << c.file;
  }
}

TEST(ProgramCheck, SmallerFaults) {
  struct Case {
    const char* name;
    const char* program;
    const char* findings;
  };
  const Case cases[] = {
      {"both below and left", "SP4;PU0,0;PD-40,-80;",
       "FAIL 3: Front (pen 4) goes to (-1, -2) mm, left of and below the machine's zero\n"},
      {"a pen-down point before the origin", "SP4;PD0,0;PU0,0;",
       "FAIL 2: Front (pen 4) begins at (0, 0) mm with the pen down; it must begin with the pen "
       "up at the machine's zero\n"},
      {"a pen change without a move is no beginning", "SP4;PD;PU;PA0,0;PD0,1;", ""},
      {"moves before any pen selection", "PU1,1;",
       "FAIL 1: Pen 0 begins at (0.025, 0.025) mm with the pen up; it must begin with the pen "
       "up at the machine's zero\n"},
      {"outlines of other pens move in step too", "SP1;PU0,0;PD0,1;SP2;PU0,0;PU0,1;",
       "FAIL 6: The towers leave step: pen 2 moves with the pen up here, pen 1 with the pen down "
       "at its statement 3\n"},
      {"an extra rear statement", "SP4;PU0,0;PD0,1;SP3;PU0,0;PD0,1;PD0,2;",
       "FAIL 7: The towers leave step: front (pen 4) has 2 move statements, rear (pen 3) 3; here "
       "rear (pen 3) moves on without a partner\n"},
      {"unknown statements are notes", "SP4;PU0,0;CI50;AA1;",
       "NOTE 3: 'CI50' is not a statement this reader knows: kept, not drawn\n"
       "NOTE 4: 'AA1' is not a statement this reader knows: kept, not drawn\n"},
  };
  for (const Case& c : cases) {
    const CheckReport report = CheckProgram(ReadProgram(c.program));
    EXPECT_EQ(Listed(report.findings), c.findings) << c.name;
    EXPECT_EQ(report.Failed(), std::string(c.findings).find("FAIL") != std::string::npos) << c.name;
  }
}

TEST(ProgramCheck, ListsTenUnknownStatementsAndCountsTheRest) {
  std::string program = "SP4;PU0,0;";
  for (int i = 0; i < 13; ++i) {
    program += "CI1;";
  }
  const CheckReport report = CheckProgram(ReadProgram(program));
  ASSERT_EQ(report.findings.size(), 11u);
  EXPECT_EQ(report.findings[9].statement, 12);
  EXPECT_EQ(report.findings[10].statement, 0);
  EXPECT_EQ(preview::FindingText(report.findings[10], TTextLanguage::English),
            "3 more unknown statements");
  EXPECT_FALSE(report.Failed());
}

// Beyond the work area is a warning with the amount, never a failure.
TEST(ProgramCheck, WarnsHowFarAProgramReachesBeyondTheWorkArea) {
  struct Case {
    const char* name;
    const char* program;  // a fixture file, or program text when it starts with "SP"
    WorkArea area;
    const char* findings;
  };
  const Case cases[] = {
      // a flat program starts its top space above the work area by design
      {"flat with top space", "flat-top-space.plt", ProjectArea("flat-top-space.tcj"),
       "WARN 4: Front (pen 4) reaches beyond the work area (1002 x 207 mm): 5 mm above its top\n"},
      // the rear base of this narrow double slope is wider than the front base
      {"wider rear base", "double-slope-wider-rear.plt", ProjectArea("double-slope-wider-rear.tcj"),
       "WARN 42: Rear (pen 3) reaches beyond the work area (702 x 202 mm): 200 mm past its "
       "right side\n"},
      {"within", "gutter-two-layers.plt", ProjectArea("gutter-two-layers.tcj"), ""},
      {"within", "double-slope-narrow.plt", ProjectArea("double-slope-narrow.tcj"), ""},
      {"within", "flat-three-layers.plt", ProjectArea("flat-three-layers.tcj"), ""},
      {"the largest amount, the first statement",
       "SP4;PU0,0;PD0,41,40,80,44,40;",
       {1, 1},
       "WARN 3: Front (pen 4) reaches beyond the work area (1 x 1 mm): 1 mm above its top, 0.1 mm "
       "past its right side\n"},
      {"rounding is not beyond", "SP4;PU0,0;PD40000,40000;", {999.9875, 999.9875}, ""},
      {"one unit is",
       "SP4;PU0,0;PD40000,40000;",
       {999.98, 1000},
       "WARN 3: Front (pen 4) reaches beyond the work area (999.98 x 1000 mm): 0.02 mm past its "
       "right "
       "side\n"},
  };
  for (const Case& c : cases) {
    const std::string program = c.program;
    const hpgl::Program p =
        program.rfind("SP", 0) == 0 ? ReadProgram(program) : ReadProgramFile(Fixture(program));
    const CheckReport report = CheckProgram(p, c.area);
    EXPECT_EQ(Listed(report.findings), c.findings) << c.name << " " << c.program;
    EXPECT_FALSE(report.Failed()) << c.name;
  }
}

TEST(ProgramCheck, MillimetresAreWrittenTheSameInEveryLocale) {
  const struct {
    double value;
    const char* text;
  } cases[] = {{709.1, "709.1"}, {2, "2"},       {-0.025, "-0.025"},
               {0.0004, "0"},    {-0.0001, "0"}, {1e6, "1000000"}};
  for (const auto& c : cases) {
    EXPECT_EQ(hpgl::Millimetres(c.value), c.text) << c.value;
  }
}

}  // namespace
