#include "generator/ProgramGate.h"

#include <gtest/gtest.h>

#include <string>

#include "ErrorTexts.h"
#include "project/ProjectData.h"

namespace {

std::string CheckMessage(const std::string& program) {
  try {
    CheckProgramBelowZero(program);
  } catch (const EAppError& e) {
    return EnglishText(e);
  }
  return "";
}

TEST(CheckProgramBelowZero, NamesTheFirstStatementBelowZero) {
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
    EXPECT_EQ(CheckMessage(c.program), c.message) << c.program;
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

TEST(GenerateCheckedProgram, RefusesAProgramBelowZeroAndPassesTheRest) {
  const struct {
    const char* project;
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
      {"Panel type=2\nLayer count=100001\n",
       "Layer count 100001 is above the limit of 100000 layers"},
  };
  for (const auto& c : kCases) {
    TPanelsProject project;
    project.OpenFromText(std::string("[Project]\n") + c.project);
    project.ComputeFaces();
    TPrjGenerator generator(project);
    std::string message;
    try {
      GenerateCheckedProgram(generator);
      EXPECT_FALSE(generator.FileData().empty()) << c.project;
    } catch (const EAppError& e) {
      message = EnglishText(e);
    }
    EXPECT_EQ(message, c.message) << c.project;
  }
}

}  // namespace
