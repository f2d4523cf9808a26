#include "generator/ProgramGate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <string_view>

#include "ErrorTexts.h"
#include "platform/NumberText.h"
#include "project/ProjectData.h"

namespace {

// The refusal read off a finished program text by a road of its own: statements are fixed texts
// without a minus sign and moves with two decimal integers, so the first minus sign marks the
// first coordinate below zero. "" when there is none. The gate itself never searches the text;
// this is what it must agree with.
std::string BelowZeroInText(std::string_view program) {
  const std::size_t minus = program.find('-');
  if (minus == std::string_view::npos) {
    return "";
  }
  const std::size_t lineStart = program.rfind('\n', minus) + 1;  // npos + 1 is 0
  std::size_t lineEnd = program.find_first_of("\r\n", minus);
  if (lineEnd == std::string_view::npos) {
    lineEnd = program.size();
  }
  std::int64_t lineNumber = 1;
  for (std::size_t i = 0; i < lineStart; ++i) {
    lineNumber += program[i] == '\n';
  }
  return EnglishText(EAppError(TErrorId::BelowZero,
                               {platform::FormatInteger(lineNumber),
                                std::string(program.substr(lineStart, lineEnd - lineStart))}));
}

// The message of GenerateCheckedProgram on project, "" when it passes; program gets the text the
// generator holds afterwards.
std::string CheckedMessage(const TPanelsProject& project, std::string& program) {
  TPrjGenerator generator(project);
  std::string message;
  try {
    GenerateCheckedProgram(generator);
  } catch (const EAppError& e) {
    message = EnglishText(e);
  }
  program = generator.FileData();
  return message;
}

std::string PlainProgram(const TPanelsProject& project) {
  TPrjGenerator generator(project);
  generator.GenerateProject();
  return generator.FileData();
}

TEST(BelowZeroInText, NamesTheFirstStatementBelowZero) {
  const struct {
    const char* program;
    const char* message;
  } kCases[] = {
      {"", ""},
      {"\r\n", ""},
      {"IN;\r\nVS32,1;\r\nWU0;\r\nPW0.350,1;\r\nLT;\r\nSP4;\r\nPU 0 0;\r\nPD 80 12080;\r\nPU;\r\n",
       ""},
      {"LT;\r\nSP4;\r\nPU 0 0;\r\nPD 0 -40;\r\nPD -80 -40;\r\nPU;\r\n",
       "The cutting program would move below the machine's zero in line 4: PD 0 -40;"},
      {"PD -1 5;\r\n",
       "The cutting program would move below the machine's zero in line 1: PD -1 5;"},
      {"LT;\r\nPD 3 4;\r\nPD 7 -2147483648;",
       "The cutting program would move below the machine's zero in line 3: PD 7 -2147483648;"},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(BelowZeroInText(c.program), c.message) << c.program;
  }
}

TEST(CheckLayerLimit, RefusesOnlyCountsAboveTheLimit) {
  TPanelsProject project;
  for (const std::int32_t count : {-2147483647 - 1, 0, 1, kMaxLayerCount}) {
    project.SetLayerCount(count);
    EXPECT_NO_THROW(CheckLayerLimit(project)) << count;
  }
  for (const std::int32_t count : {kMaxLayerCount + 1, 2147483647}) {
    project.SetLayerCount(count);
    try {
      CheckLayerLimit(project);
      ADD_FAILURE() << count << " was accepted";
    } catch (const EAppError& e) {
      EXPECT_EQ(EnglishText(e),
                "Layer count " + std::to_string(count) + " is above the limit of 100000 layers");
    }
  }
}

// The gate compares the plotter units each move is written with: a millimetre value that rounds
// to 0 is written "0" and passes, one that rounds to -1 is refused. A refused program is still
// generated whole, byte for byte as without the gate, for the preview to draw.
TEST(GenerateCheckedProgram, RefusesAProgramBelowZeroAndPassesTheRest) {
  const std::string kFlatNoLayers = "Panel type=1\nLayer count=0\nVertex A=100\nLeft space=2\n";
  const std::string kFlatOneLayer = "Panel type=1\nLayer count=1\nVertex A=100\nElevation=2\n";
  const struct {
    std::string project;
    const char* message;
  } kCases[] = {
      // A gutter with no layer starts one layer height below its base: 2 - 130 mm.
      {"Panel type=2\nLayer count=0\nVertex A=60\nVertex B=110\nVertex C=80\nVertex D=110\n"
       "Panel length=500\nTop space=10\nElevation=2\nLeft space=2\n",
       "The cutting program would move below the machine's zero in line 22: PD 0 -5120;"},
      {"Panel type=8\nLayer count=-3\nVertex A=40\nVertex B=80\nVertex C=100\nVertex D=60\n"
       "Elevation=2\nLeft space=2\n",
       "The cutting program would move below the machine's zero in line 22: PD 0 -15920;"},
      {"Panel type=1\nLayer count=1\nVertex A=100\nPanel length=-10\nElevation=2\nLeft space=2\n",
       "The cutting program would move below the machine's zero in line 6: PD -320 4080;"},
      // A flat project without layers stays on x = 0 above the zero.
      {"Panel type=1\nLayer count=0\nVertex A=100\nElevation=2\nLeft space=2\n", ""},
      {"Panel type=6\nLayer count=2\nVertex A=60\nVertex D=20\nElevation=2\nLeft space=2\n", ""},
      // The boundary in y: the flat outline without layers goes up to the elevation at line 4.
      // -0.0125 mm is a double just beyond half a unit below zero (-0.50000000000000003 units):
      // it rounds to -1. The double next to it towards zero rounds to 0.
      {kFlatNoLayers + "Elevation=-0.0124\n", ""},
      {kFlatNoLayers + "Elevation=-0.012499999999999999\n", ""},
      {kFlatNoLayers + "Elevation=-0.0125\n",
       "The cutting program would move below the machine's zero in line 4: PD 0 -1;"},
      {kFlatNoLayers + "Elevation=-0.0126\n",
       "The cutting program would move below the machine's zero in line 4: PD 0 -1;"},
      // The same boundary in x: the first cut of the layer begins at the left space, line 5.
      {kFlatOneLayer + "Left space=-0.012499999999999999\n", ""},
      {kFlatOneLayer + "Left space=-0.0125\n",
       "The cutting program would move below the machine's zero in line 5: PD -1 4080;"},
      {"Panel type=2\nLayer count=100001\n",
       "Layer count 100001 is above the limit of 100000 layers"},
  };
  for (const auto& c : kCases) {
    TPanelsProject project;
    project.OpenFromText("[Project]\n" + c.project);
    project.ComputeFaces();
    std::string program;
    const std::string message = CheckedMessage(project, program);
    EXPECT_EQ(message, c.message) << c.project;
    if (project.LayerCount() <= kMaxLayerCount) {
      EXPECT_FALSE(program.empty()) << c.project;
      EXPECT_EQ(program, PlainProgram(project)) << c.project;
    }
  }
  // The texts above are read as the doubles they are meant to be.
  TPanelsProject project;
  project.OpenFromText("[Project]\nElevation=-0.012499999999999999\n");
  EXPECT_EQ(project.Elevation(), std::nextafter(-0.0125, 0.0));
}

// Random projects, many of them just below the zero in one coordinate or another: the gate's
// verdict, taken as the moves are appended, is the one read off the finished text, and its text
// is the one generated without the gate.
TEST(GenerateCheckedProgram, AgreesWithTheTextOnRandomProjects) {
  std::mt19937_64 random(20261211);
  const auto pick = [&](std::initializer_list<double> values) {
    return *(values.begin() +
             std::uniform_int_distribution<std::size_t>(0, values.size() - 1)(random));
  };
  const auto length = [&] {
    switch (std::uniform_int_distribution<int>(0, 3)(random)) {
      case 0:
        return std::uniform_real_distribution<double>(0, 300)(random);
      case 1:
        return std::uniform_real_distribution<double>(-0.03, 0.03)(random);
      case 2:
        return pick({0.0, -0.0, -0.0124, -0.0125, -0.0126, 0.0125, -1.0, 2.0});
      default:
        return std::uniform_real_distribution<double>(-50, 50)(random);
    }
  };
  int refused = 0;
  int passed = 0;
  for (int i = 0; i < 3000; ++i) {
    TPanelsProject project;
    project.SetPanelType(
        static_cast<TRoofPanelType>(std::uniform_int_distribution<int>(1, 8)(random)));
    project.RoofPanel().SetDimA(length());
    project.RoofPanel().SetDimB(length());
    project.RoofPanel().SetDimC(length());
    project.RoofPanel().SetDimD(length());
    project.SetPanelLength(length());
    project.SetFrontBaseWidth(length());
    project.SetRearBaseWidth(length());
    project.SetTopSpace(length());
    project.SetElevation(length());
    project.SetLeftSpace(length());
    project.SetLayerCount(std::uniform_int_distribution<int>(-1, 6)(random));
    project.SetSkipBottom(random() % 2 == 0);
    project.SetCutDiagonally(random() % 2 == 0);
    project.ComputeFaces();
    std::string program;
    const std::string message = CheckedMessage(project, program);
    const std::string plain = PlainProgram(project);
    ASSERT_EQ(program, plain) << i;
    ASSERT_EQ(message, BelowZeroInText(plain)) << i << "\n" << plain;
    (message.empty() ? passed : refused) += 1;
  }
  // Both verdicts are well represented.
  EXPECT_GT(refused, 300);
  EXPECT_GT(passed, 300);
}

}  // namespace
