#include "hpgl/HpglReader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <tuple>

#include "ErrorTexts.h"

#include "TestPrograms.h"

namespace {

using hpgl::Move;
using hpgl::Program;
using hpgl::ReadProgram;

// What the wire does: pen, and each point with its pen state, per outline.
using Path = std::vector<std::tuple<int, int, bool>>;
std::vector<std::pair<int, Path>> Geometry(const Program& program) {
  std::vector<std::pair<int, Path>> outlines;
  for (const hpgl::Outline& outline : program.outlines) {
    Path path;
    for (const Move& m : outline.moves) {
      if (m.hasPoint) {
        path.emplace_back(m.x, m.y, m.penDown);
      }
    }
    outlines.emplace_back(outline.pen, path);
  }
  return outlines;
}

std::string ErrorOf(std::string_view text) {
  try {
    ReadProgram(text);
  } catch (const EAppError& e) {
    return EnglishText(e);
  }
  return "no error";
}

// The gutter of two layers from the program format's worked example: 18 header statements, the
// front outline in statements 19 to 39 and the rear outline in 40 to 60.
TEST(HpglReader, ReadsOurGutterProgramStatementByStatement) {
  const Program p = ReadProgram(ReadFixture("gutter-two-layers.plt"));
  EXPECT_EQ(p.statementCount, 60);
  EXPECT_EQ(p.unknownCount, 0);
  ASSERT_EQ(p.outlines.size(), 2u);

  const int xs[] = {0,  80, 80,    14222, 28364, 28364, 14222, 0, 0,
                    80, 80, 14222, 28364, 28364, 14222, 0,     0};
  const int front[] = {5280, 5280, 9280, 7680, 9280, 5280, 5280, 5280, 80,
                       80,   4080, 2480, 4080, 80,   80,   80,   0};
  const int rear[] = {5280, 5280, 10080, 8480, 10080, 5280, 5280, 5280, 80,
                      80,   4880, 3280,  4880, 80,    80,   80,   0};
  struct Expected {
    int pen;
    std::int64_t select;  // the SP statement
    const int* ys;
  };
  const Expected expected[] = {{4, 20, front}, {3, 41, rear}};
  for (std::size_t k = 0; k < 2; ++k) {
    SCOPED_TRACE(k);
    const hpgl::Outline& o = p.outlines[k];
    const Expected& e = expected[k];
    EXPECT_EQ(o.pen, e.pen);
    EXPECT_EQ(o.firstStatement, e.select);
    EXPECT_EQ(o.lastStatement, e.select + 19);  // "PU;"
    ASSERT_EQ(o.moves.size(), 19u);             // PU 0 0, 17 cutting moves, PU
    EXPECT_EQ(o.moves[0].statement, e.select + 1);
    EXPECT_FALSE(o.moves[0].penDown);
    EXPECT_TRUE(o.moves[0].hasPoint);
    for (std::size_t i = 0; i < 17; ++i) {
      const Move& m = o.moves[i + 1];
      EXPECT_EQ(m.statement, e.select + 2 + static_cast<std::int64_t>(i));
      EXPECT_EQ(m.x, xs[i]) << "move " << i;
      EXPECT_EQ(m.y, e.ys[i]) << "move " << i;
      EXPECT_TRUE(m.penDown);
    }
    EXPECT_FALSE(o.moves[18].hasPoint);
    EXPECT_FALSE(o.moves[18].penDown);
  }
}

// Every example project's program, read back: one move per "PU x y" or "PD x y" line, with
// the line's number as its statement number, and one outline per pen.
TEST(HpglReader, ReadsEveryExampleProgramLineByLine) {
  const std::vector<ExampleProgram> examples = ExamplePrograms();
  ASSERT_EQ(examples.size(), 8u);
  for (const ExampleProgram& e : examples) {
    SCOPED_TRACE(e.name);
    // (statement, pen down, has a point, x, y) from the lines themselves
    std::vector<std::tuple<std::int64_t, bool, bool, int, int>> expected, read;
    std::istringstream lines(e.text);
    std::string line;
    std::int64_t number = 0;
    int x = 0, y = 0;
    while (std::getline(lines, line)) {
      ++number;
      ASSERT_GE(line.size(), 2u);
      ASSERT_EQ(line.substr(line.size() - 2), ";\r");
      std::istringstream statement(line.substr(0, line.size() - 2));
      std::string mnemonic;
      statement >> mnemonic;
      if (mnemonic != "PU" && mnemonic != "PD") {
        continue;
      }
      const bool hasPoint = static_cast<bool>(statement >> x >> y);
      expected.emplace_back(number, mnemonic == "PD", hasPoint, x, y);
    }
    const Program p = ReadProgram(e.text);
    EXPECT_EQ(p.statementCount, number);
    std::vector<int> pens;
    for (const hpgl::Outline& o : p.outlines) {
      pens.push_back(o.pen);
      for (const Move& m : o.moves) {
        read.emplace_back(m.statement, m.penDown, m.hasPoint, m.x, m.y);
      }
    }
    EXPECT_EQ(read, expected);
    const bool single = e.panelType == ptFlat || e.panelType == ptSlope;
    EXPECT_EQ(pens, (single ? std::vector<int>{4} : std::vector<int>{4, 3}));
  }
}

// The same gutter written by hand in other programs' habits gives the same wire path.
TEST(HpglReader, OtherStylesGiveTheSameOutlines) {
  const auto reference = Geometry(ReadProgram(ReadFixture("gutter-two-layers.plt")));
  struct Case {
    const char* file;
    std::int64_t unknown;
  };
  const Case cases[] = {
      {"style-one-line-commas.plt", 0},     // one line, commas, all points in one PD, SP0
      {"style-relative.plt", 0},            // PA/PR: relative pen moves
      {"style-no-terminators.plt", 0},      // no ";", statements glued together
      {"style-lowercase-decimals.plt", 5},  // lower case, decimals, LB, ESC, IP, SC, CI, ^Z
  };
  for (const Case& c : cases) {
    const Program p = ReadProgram(ReadFixture(c.file));
    EXPECT_EQ(Geometry(p), reference) << c.file;
    EXPECT_EQ(p.unknownCount, c.unknown) << c.file;
  }
}

TEST(HpglReader, KeepsUnknownStatementsWithTheirNumberAndLine) {
  // XY ends at the next mnemonic; its blank and line end are no part of its text.
  const Program p =
      ReadProgram("IN;\nSP4;XY1,2 \r\nPU0,0;\n\x1B.(;q;PD0,80;ZZ" + std::string(100, '7') + ";");
  ASSERT_EQ(p.unknown.size(), 4u);
  EXPECT_EQ(p.unknownCount, 4);
  const struct {
    std::int64_t statement, line;
    const char* text;
  } expected[] = {{3, 2, "XY1,2"},
                  {5, 4, "\\x1B.("},
                  {6, 4, "q"},
                  {8, 4, "ZZ77777777777777777777777777777777777777..."}};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(p.unknown[i].statement, expected[i].statement) << i;
    EXPECT_EQ(p.unknown[i].line, expected[i].line) << i;
    EXPECT_EQ(p.unknown[i].text, expected[i].text) << i;
  }
  ASSERT_EQ(p.outlines.size(), 1u);
  EXPECT_EQ(p.outlines[0].moves.size(), 2u);  // unknown statements move nothing
}

TEST(HpglReader, PenAndCoordinateStates) {
  struct Case {
    const char* name;
    const char* program;
    Path expected;  // of the single outline
  };
  const Case cases[] = {
      {"pen state carries into PA",
       "SP4;PU0,0;PD;PA10,0,10,10;PU;PA0,0;",
       {{0, 0, false}, {10, 0, true}, {10, 10, true}, {0, 0, false}}},
      {"PR and PU/PD in relative mode",
       "SP4;PU5,5;PR;PD10,0,0,10;PU-15,-15;",
       {{5, 5, false}, {15, 5, true}, {15, 15, true}, {0, 0, false}}},
      {"IN lifts the pen and returns to absolute",
       "SP4;PR;PD1,1;IN;PA2,2;",
       {{1, 1, true}, {2, 2, false}}},
      {"DF returns to absolute, keeps the pen",
       "SP4;PR;PD1,1;DF;PA3,3;",
       {{1, 1, true}, {3, 3, true}}},
      {"signs separate numbers, + allowed",
       "SP4;PU+0-0;PD10-20+5+7;",
       {{0, 0, false}, {10, -20, true}, {5, 7, true}}},
      {"blank before comma", "SP4;PU 0 , 0 ;PD 1 ,2", {{0, 0, false}, {1, 2, true}}},
      {"decimals round halves away from zero",
       "SP4;PD 0.5,-0.5,1.49,2.5",
       {{1, -1, true}, {1, 3, true}}},
      {"the whole coordinate range",
       "SP4;PD-2147483648,2147483647;",
       {{-2147483648, 2147483647, true}}},
  };
  for (const Case& c : cases) {
    const Program p = ReadProgram(c.program);
    ASSERT_EQ(p.outlines.size(), 1u) << c.name;
    EXPECT_EQ(Geometry(p)[0].second, c.expected) << c.name;
  }
}

TEST(HpglReader, OutlinePerPenSelection) {
  // Moves before any SP belong to pen 0; selections that move nothing are dropped.
  const Program p = ReadProgram("PU0,0;SP4;SP3;PU0,0;PD0,1;SP3;PD1,1;SP;");
  ASSERT_EQ(p.outlines.size(), 3u);
  EXPECT_EQ(p.outlines[0].pen, 0);
  EXPECT_EQ(p.outlines[0].firstStatement, 1);
  EXPECT_EQ(p.outlines[1].pen, 3);
  EXPECT_EQ(p.outlines[1].firstStatement, 3);
  EXPECT_EQ(p.outlines[2].pen, 3);
  EXPECT_EQ(p.outlines[2].firstStatement, 6);
  EXPECT_EQ(p.outlines[2].entryX, 0);  // where the wire stood when the outline began
  EXPECT_EQ(p.outlines[2].entryY, 1);
}

TEST(HpglReader, FeedingInPiecesGivesTheSameProgram) {
  const std::string text = ReadFixture("style-lowercase-decimals.plt");
  const auto whole = ReadProgram(text);
  std::mt19937 random(7);
  for (int round = 0; round < 20; ++round) {
    hpgl::Reader reader;
    std::size_t at = 0;
    while (at < text.size()) {
      const std::size_t n = std::uniform_int_distribution<std::size_t>(0, 9)(random);
      reader.Feed(std::string_view(text).substr(at, n));
      at += n;
    }
    const Program p = reader.Finish();
    EXPECT_EQ(Geometry(p), Geometry(whole));
    EXPECT_EQ(p.statementCount, whole.statementCount);
    EXPECT_EQ(p.unknownCount, whole.unknownCount);
  }
}

TEST(HpglReader, RefusesMalformedStatementsNamingThem) {
  struct Case {
    const char* name;
    std::string program;
    const char* error;
  };
  const Case cases[] = {
      {"odd coordinates", "SP4;PU 0 0;PD 10;",
       "statement 3 (line 1, PD): an odd number of coordinates"},
      {"odd, no terminator", "SP4\nPU 0 0\nPD 10 20 30",
       "statement 3 (line 3, PD): an odd number of coordinates"},
      {"foreign character", "SP4;PU 0 0;PD 10 2$0;",
       "statement 3 (line 1, PD): unexpected character '$'"},
      {"byte beyond ASCII", "PA 1\xFF;", "statement 1 (line 1, PA): unexpected character '\\xFF'"},
      {"empty parameter", "PD 10,,20;", "statement 1 (line 1, PD): an empty parameter before ','"},
      {"leading comma", "PR ,1,2;", "statement 1 (line 1, PR): an empty parameter before ','"},
      {"trailing comma", "PD 10,20,;", "statement 1 (line 1, PD): a parameter missing after ','"},
      {"lone sign", "PD -,5;", "statement 1 (line 1, PD): '-' is not a number"},
      {"lone point", "PU .;", "statement 1 (line 1, PU): '.' is not a number"},
      {"two points", "PD 1.2.3,4;", "statement 1 (line 1, PD): '1.2.3' is not a number"},
      {"beyond 32 bits", "PD 2147483648,0;", "statement 1 (line 1, PD): a coordinate out of range"},
      {"beyond 64 bits", "PD 0,-99999999999999999999999;",
       "statement 1 (line 1, PD): a coordinate out of range"},
      {"long number", "PD " + std::string(65, '1'),
       "statement 1 (line 1, PD): a number longer than 64 characters"},
      {"relative beyond range", "PA 2147483000,0;PR 1000,0;",
       "statement 2 (line 1, PR): a relative move beyond the coordinate range"},
      {"pen fraction", "IN;SP 2.5;", "statement 2 (line 1, SP): not a pen number from 0 to 255"},
      {"pen too high", "SP256;", "statement 1 (line 1, SP): not a pen number from 0 to 255"},
      {"two pens", "SP3,4;", "statement 1 (line 1, SP): more than one pen number"},
      {"header damage", "IN;VS32,x;", "statement 2 (line 1, VS): a parameter missing after ','"},
      {"many parameters", "PW1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1;",
       "statement 1 (line 1, PW): more than 16 parameters"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ErrorOf(c.program), c.error) << c.name;
  }
}

// Untrusted input: every cap stops the read early, with memory bounded by the cap.
TEST(HpglReader, CapsBoundMemoryOnHugeInput) {
  {  // a gigabyte of digits: refused within the first megabyte
    hpgl::Reader reader;
    const std::string megabyte(1 << 20, '9');
    reader.Feed("SP4;PD ");
    EXPECT_THROW(reader.Feed(megabyte), EAppError);
  }
  {  // no ";" at all in an unknown statement: read to the end, a few bytes kept
    hpgl::Reader reader;
    const std::string megabyte(1 << 20, '5');
    reader.Feed("XX");
    for (int i = 0; i < 16; ++i) {
      reader.Feed(megabyte);
    }
    const Program p = reader.Finish();
    ASSERT_EQ(p.unknown.size(), 1u);
    EXPECT_EQ(p.unknown[0].text.size(), hpgl::kMaxUnknownTextKept + 3);
  }
  {  // points beyond the cap
    hpgl::Reader reader;
    std::string pairs;
    for (int i = 0; i < 100000; ++i) {
      pairs += "1,1,";
    }
    reader.Feed("SP4;PD");
    std::string error;
    try {
      for (std::size_t fed = 0; fed <= hpgl::kMaxMoves; fed += 100000) {
        reader.Feed(pairs);
      }
    } catch (const EAppError& e) {
      error = EnglishText(e);
    }
    EXPECT_EQ(error, "statement 2 (line 1, PD): more than 4000000 moves in the program");
  }
  {  // pen selections beyond the cap
    std::string program;
    for (std::size_t i = 0; i <= hpgl::kMaxOutlines; ++i) {
      program += "SP1;PU;";
    }
    EXPECT_EQ(ErrorOf(program),
              "statement 20002 (line 1, PU): more than 10000 outlines in the program");
  }
  {  // unknown statements: all counted, the first hundred kept
    std::string program;
    for (int i = 0; i < 150; ++i) {
      program += "CI5;";
    }
    const Program p = ReadProgram(program);
    EXPECT_EQ(p.unknownCount, 150);
    EXPECT_EQ(p.unknown.size(), hpgl::kMaxUnknownKept);
  }
}

TEST(HpglReader, ReadsFilesInPiecesAndNamesAFileItCannotRead) {
  const Program p = hpgl::ReadProgramFile(Fixture("double-slope-narrow.plt"));
  EXPECT_EQ(p.statementCount, 52);
  EXPECT_EQ(p.outlines.size(), 2u);
  try {
    hpgl::ReadProgramFile("/nonexistent/job.plt");
    FAIL() << "no error";
  } catch (const EAppError& e) {
    EXPECT_EQ(EnglishText(e),
              "Unable to read the cutting program /nonexistent/job.plt: No such file or directory");
  }
}

}  // namespace
