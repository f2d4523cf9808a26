// The preview draws the moves the generator appends instead of reading the program's text
// back: for the golden projects, the examples and random projects (refused ones among them),
// what the collector gathers equals what the reader reads from the text, statement for
// statement, whether or not the generator writes the text.
#include "preview/ProgramCollector.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "TestPrograms.h"
#include "base/AppError.h"
#include "generator/ProgramGate.h"
#include "hpgl/HpglReader.h"
#include "project/ProjectData.h"

namespace {

void ExpectSamePrograms(const hpgl::Program& collected, const hpgl::Program& read,
                        const std::string& name) {
  SCOPED_TRACE(name);
  EXPECT_EQ(collected.statementCount, read.statementCount);
  EXPECT_EQ(collected.unknownCount, 0);
  EXPECT_EQ(read.unknownCount, 0);
  ASSERT_EQ(collected.outlines.size(), read.outlines.size());
  for (std::size_t k = 0; k < read.outlines.size(); ++k) {
    const hpgl::Outline &c = collected.outlines[k], &r = read.outlines[k];
    EXPECT_EQ(c.pen, r.pen) << k;
    EXPECT_EQ(c.firstStatement, r.firstStatement) << k;
    EXPECT_EQ(c.lastStatement, r.lastStatement) << k;
    EXPECT_EQ(c.entryX, r.entryX) << k;
    EXPECT_EQ(c.entryY, r.entryY) << k;
    ASSERT_EQ(c.moves.size(), r.moves.size()) << k;
    for (std::size_t i = 0; i < r.moves.size(); ++i) {
      const hpgl::Move &cm = c.moves[i], &rm = r.moves[i];
      ASSERT_TRUE(cm.statement == rm.statement && cm.x == rm.x && cm.y == rm.y &&
                  cm.penDown == rm.penDown && cm.hasPoint == rm.hasPoint)
          << "outline " << k << ", move " << i << ": statement " << cm.statement << " (" << cm.x
          << ", " << cm.y << ") against " << rm.statement << " (" << rm.x << ", " << rm.y << ")";
    }
  }
}

enum class TOutcome { Passed, Refused, NoText };

struct TGenerated {
  TOutcome outcome = TOutcome::Passed;
  std::string error;  // the refusal's arguments, joined
  hpgl::Program collected;
};

// Generates project's program with a collector following; refused programs are whole too.
TGenerated Generate(TPrjGenerator& generator) {
  preview::TProgramCollector collector;
  generator.SetStatementSink(&collector);
  TGenerated made;
  try {
    GenerateCheckedProgram(generator);
  } catch (const EAppError& e) {
    made.outcome = e.Id() == TErrorId::BelowZero ? TOutcome::Refused : TOutcome::NoText;
    for (const std::string& arg : e.Args()) {
      made.error += arg + "|";
    }
  }
  made.collected = collector.Take();
  return made;
}

// The collector against the reader of the text, and the generator that writes no text (the
// preview's) against the one that does: the same moves and the same refusal.
TOutcome ExpectCollectedEqualsRead(const TPanelsProject& project, const std::string& name) {
  TPrjGenerator withText(project);
  const TGenerated made = Generate(withText);
  TPrjGenerator textless(project);
  textless.SetWritesText(false);
  const TGenerated drawn = Generate(textless);
  EXPECT_EQ(drawn.outcome, made.outcome) << name;
  EXPECT_EQ(drawn.error, made.error) << name;
  EXPECT_TRUE(textless.FileData().empty()) << name;
  if (made.outcome == TOutcome::NoText) {
    return made.outcome;
  }
  ExpectSamePrograms(made.collected, hpgl::ReadProgram(withText.FileData()), name);
  ExpectSamePrograms(drawn.collected, made.collected, name + " without text");
  return made.outcome;
}

TEST(ProgramCollector, GathersWhatTheReaderReadsFromTheText) {
  int compared = 0;
  for (const char* folder : {TEST_DATA_DIR "/../generator/data", EXAMPLES_DIR}) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      if (entry.path().extension() != ".tcj") {
        continue;
      }
      TPanelsProject project;
      project.Open(entry.path().string());
      project.ComputeFaces();
      ExpectCollectedEqualsRead(project, entry.path().filename().string());
      ++compared;
    }
  }
  EXPECT_GE(compared, 15);

  // Random projects of every type with a program, dimensions negative too (refused programs).
  std::mt19937 random(20261211);
  std::uniform_real_distribution<double> dimension(-200, 900);
  std::uniform_int_distribution<int> type(1, 8), layers(0, 12), flag(0, 1);
  int outcomes[3] = {0, 0, 0};
  for (int i = 0; i < 400; ++i) {
    TPanelsProject project;
    project.SetPanelType(static_cast<TRoofPanelType>(type(random)));
    project.RoofPanel().SetDimA(dimension(random));
    project.RoofPanel().SetDimB(dimension(random));
    project.RoofPanel().SetDimC(dimension(random));
    project.RoofPanel().SetDimD(dimension(random));
    project.SetPanelLength(std::abs(dimension(random)) + 1);
    project.SetFrontBaseWidth(dimension(random));
    project.SetRearBaseWidth(dimension(random));
    project.SetTopSpace(dimension(random) / 10);
    project.SetLayerCount(layers(random));
    project.SetSkipBottom(flag(random) == 1);
    project.SetCutDiagonally(flag(random) == 1);
    project.ComputeFaces();
    ++outcomes[static_cast<int>(
        ExpectCollectedEqualsRead(project, "random project " + std::to_string(i)))];
  }
  EXPECT_GT(outcomes[static_cast<int>(TOutcome::Passed)], 100);
  EXPECT_GT(outcomes[static_cast<int>(TOutcome::Refused)], 50);
}

}  // namespace
