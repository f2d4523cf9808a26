#include "generator/ProjectGenerator.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "ErrorTexts.h"
#include "TestFiles.h"
#include "platform/FileSystem.h"
#include "project/ProjectData.h"

namespace {
// Heap allocations of at least 64 bytes: more than any one statement, less than any program text.
std::atomic<std::size_t> gTextAllocations{0};
}  // namespace

// The heap allocations of this test program that could hold a program text are counted, so that
// a test can see how often the text is allocated. The memory comes from malloc, so free is the
// matching release.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
  if (size >= 64) {
    gTextAllocations.fetch_add(1, std::memory_order_relaxed);
  }
  if (void* p = std::malloc(size == 0 ? 1 : size)) {
    return p;
  }
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

namespace {

std::string Fixture(const std::string& name) {
  return ReadFile(std::string(TEST_DATA_DIR) + "/data/" + name);
}

std::vector<std::string> Lines(const std::string& program) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = program.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(program.substr(start, end - start));
  }
  return lines;
}

std::string Generate(const TPanelsProject& project) {
  TPrjGenerator generator(project);
  generator.GenerateProject();
  return generator.FileData();
}

std::string GenerateFromText(const std::string& projectText) {
  TPanelsProject project;
  project.OpenFromText(projectText);
  project.ComputeFaces();
  return Generate(project);
}

// The worked examples of the cutting paths: project file in, program file out, byte for byte.
TEST(TPrjGenerator, WritesTheWorkedExamplesByteForByte) {
  const TempFolder dir;
  for (const char* name : {"flat-3-layers", "flat-top-space", "slope-2-layers", "slope-skip-bottom",
                           "gutter-2-layers", "gutter-diagonal-cut", "doubleslope-narrow"}) {
    TPanelsProject project;
    project.Open(std::string(TEST_DATA_DIR) + "/data/" + name + ".tcj");
    project.ComputeFaces();
    TPrjGenerator generator(project);
    generator.GenerateProject();
    const std::string out = dir / (std::string(name) + ".plt");
    generator.Save(out);
    EXPECT_EQ(ReadFile(out), Fixture(std::string(name) + ".plt")) << name;
  }
}

TEST(TPrjGenerator, GutterProgramStartsWithTheHeaderAndTheFrontFrame) {
  const auto lines = Lines(Fixture("gutter-diagonal-cut.plt"));
  const std::vector<std::string> start(lines.begin(), lines.begin() + 22);
  EXPECT_THAT(start, testing::ElementsAre("IN;", "VS32,1;", "VS32,2;", "VS32,3;", "VS32,4;",
                                          "VS32,5;", "VS32,6;", "VS32,7;", "VS32,8;", "WU0;",
                                          "PW0.350,1;", "PW0.350,2;", "PW0.350,3;", "PW0.350,4;",
                                          "PW0.350,5;", "PW0.350,6;", "PW0.350,7;", "PW0.350,8;",
                                          "LT;", "SP4;", "PU 0 0;", "PD 0 80;"));
  // The fixture itself is what the generator must produce.
  EXPECT_EQ(GenerateFromText(Fixture("gutter-diagonal-cut.tcj")) + "\r\n",
            Fixture("gutter-diagonal-cut.plt"));
}

struct RoundCase {
  double mm;
  std::int32_t units;
};

TEST(TPrjGenerator, Mm2pltRoundsTheExactProductOnceTiesToEven) {
  constexpr RoundCase kCases[] = {
      {0, 0},
      {1, 40},
      {-1, -40},
      {0.0124, 0},
      {0.0126, 1},
      {0.0625, 2},
      {0.1875, 8},
      {-0.0625, -2},
      {-0.1875, -8},
      {0.025, 1},
      // Near-ties: the double nearest these lies just off the half unit, which a product
      // rounded to double first would turn into a tie and round the other way.
      {0.0125, 1},
      {-0.0125, -1},
      {0.0375, 1},
      {0.0875, 3},
      {707.10678118654755, 28284},
      {53687091.175, 2147483647},
      {-53687091.2, -2147483647 - 1},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(TPrjGenerator::mm2plt(c.mm), c.units) << c.mm;
  }
  EXPECT_EQ(TPrjGenerator::plt2mm(28364), 709.1);
  EXPECT_EQ(TPrjGenerator::plt2mm(-1), -0.025);
}

// The same rounding by a second road: the product formed in the 64-bit significand of long double
// (exact for a double times 40) and rounded once by the x87 unit. Checked around many half units,
// where a product rounded to double first goes wrong.
TEST(TPrjGenerator, Mm2pltAgreesWithAnExtendedPrecisionReference) {
  std::mt19937_64 random(20260101);
  std::uniform_int_distribution<std::int64_t> halfUnits(-4294967296LL, 4294967294LL);
  int checked = 0;
  for (int i = 0; i < 30000; ++i) {
    const std::int64_t k = i < 2000 ? i - 1000 : halfUnits(random);
    double mm = (static_cast<double>(k) + 0.5) / 40;
    for (int step = 0; step < 4; ++step) {
      mm = std::nextafter(mm, -1e300);
    }
    for (int step = 0; step < 9; ++step, mm = std::nextafter(mm, 1e300)) {
      const long long reference = std::llrintl(static_cast<long double>(mm) * 40);
      if (reference < INT32_MIN || reference > INT32_MAX) {
        EXPECT_THROW(TPrjGenerator::mm2plt(mm), EAppError) << mm;
        continue;
      }
      ASSERT_EQ(TPrjGenerator::mm2plt(mm), reference) << std::hexfloat << mm;
      ++checked;
    }
  }
  EXPECT_GT(checked, 100000);  // about half the random range lies beyond 32 bits
}

TEST(TPrjGenerator, Mm2pltRefusesWhatNoPlotterUnitHolds) {
  const struct {
    double mm;
    const char* message;
  } kCases[] = {
      {53687091.2, "Coordinate out of range: 53687091.2 mm"},
      {-53687091.225, "Coordinate out of range: -53687091.225 mm"},
      {1e300, "Coordinate out of range: 1E300 mm"},
      {std::numeric_limits<double>::infinity(), "Coordinate out of range: INF mm"},
      {std::numeric_limits<double>::quiet_NaN(), "Coordinate out of range: NAN mm"},
  };
  for (const auto& c : kCases) {
    try {
      TPrjGenerator::mm2plt(c.mm);
      ADD_FAILURE() << c.mm << " was accepted";
    } catch (const EAppError& e) {
      EXPECT_EQ(EnglishText(e), c.message);
    }
  }
}

TEST(TPrjGenerator, GenLineAndGenMoveLine) {
  EXPECT_EQ(TPrjGenerator::GenLine("IN"), "IN;\r\n");
  EXPECT_EQ(TPrjGenerator::GenLine("VS32,1"), "VS32,1;\r\n");
  EXPECT_EQ(TPrjGenerator::GenMoveLine("PD", 2, 302), "PD 80 12080;\r\n");
  EXPECT_EQ(TPrjGenerator::GenMoveLine("PD", 0, -1), "PD 0 -40;\r\n");
  EXPECT_EQ(TPrjGenerator::GenMoveLine("PU", -2.5, 0.5), "PU -100 20;\r\n");
  // Values that round to zero are written without a sign.
  EXPECT_EQ(TPrjGenerator::GenMoveLine("PU", -0.0, -0.01), "PU 0 0;\r\n");
  EXPECT_EQ(TPrjGenerator::GenMoveLine("PD", -53687091.2, 53687091.175),
            "PD -2147483648 2147483647;\r\n");
}

TEST(TPrjGenerator, OutOfRangeCoordinateAppendsNoPartOfItsStatement) {
  TPanelsProject project;
  project.OpenFromText("[Project]\nPanel type=1\nLayer count=1\nVertex A=10\nPanel length=1E9\n");
  project.ComputeFaces();
  TPrjGenerator generator(project);
  EXPECT_THROW(generator.GenerateProject(), EAppError);
  // Everything before the offending statement is whole; the statement itself is not there.
  EXPECT_EQ(generator.FileData(), "LT;\r\nSP4;\r\nPU 0 0;\r\nPD 0 400;\r\nPD 0 400;\r\n");
}

// A computed project of the given type; the narrow double slope gets faces of two widths.
void SetUpProject(TPanelsProject& project, TRoofPanelType type, int layers, bool skipBottom,
                  bool cutDiagonally) {
  project.SetPanelType(type);
  project.RoofPanel().SetDimA(60);
  project.RoofPanel().SetDimB(110);
  project.RoofPanel().SetDimC(80);
  project.RoofPanel().SetDimD(30);
  project.SetPanelLength(500);
  project.SetFrontBaseWidth(500);
  project.SetRearBaseWidth(400);
  project.SetTopSpace(5);
  project.SetLayerCount(layers);
  project.SetSkipBottom(skipBottom);
  project.SetCutDiagonally(cutDiagonally);
  project.ComputeFaces();
}

// Statement counts per outline, written from the path descriptions; N of 0 or less counts as 0.
int ExpectedOutlineCount(TRoofPanelType type, int N, bool SB, bool CD) {
  const int n = std::max(N, 0);
  const int between = n >= 1 ? n - 1 : 0;
  switch (type) {
    case ptFlat:
      return 6 + 4 * ((n + 1) / 2) + n / 2;
    case ptSlope:
      return 6 + 5 * n + (n >= 1 && !SB ? 1 : 0);
    case ptGutter:
    case ptGutter3E:
    case ptRidge:
    case ptRidge3E:
      return 6 + 5 * n + (SB ? 0 : 2 * n) + between + (CD ? 4 : 0);
    default:
      return 6 + 4 * n + (SB ? 0 : n) + between;
  }
}

TEST(TPrjGenerator, StatementCountsAndMatchingOutlines) {
  for (const TRoofPanelType type : {ptFlat, ptGutter, ptGutter3E, ptRidge, ptRidge3E, ptSlope,
                                    ptDoubleSlope, ptDoubleSlopeNarrow}) {
    const bool twoOutlines = type != ptFlat && type != ptSlope;
    for (int N = -1; N <= 5; ++N) {
      for (const bool SB : {false, true}) {
        for (const bool CD : {false, true}) {
          TPanelsProject project;
          SetUpProject(project, type, N, SB, CD);
          const auto lines = Lines(Generate(project));
          const std::string what = "type " + std::to_string(int(type)) + " N " + std::to_string(N) +
                                   " SB " + std::to_string(SB) + " CD " + std::to_string(CD);
          const int outline = ExpectedOutlineCount(type, N, SB, CD);
          if (!twoOutlines) {
            EXPECT_EQ(lines.size(), std::size_t(outline)) << what;
            EXPECT_EQ(lines.front(), "LT;") << what;
            continue;
          }
          ASSERT_EQ(lines.size(), std::size_t(18 + 2 * outline)) << what;
          // Both outlines follow the same steps: the frame lines sit at the same places.
          const std::size_t rear = 18 + outline;
          EXPECT_EQ(lines[18], "LT;") << what;
          EXPECT_EQ(lines[19], "SP4;") << what;
          EXPECT_EQ(lines[rear - 1], "PU;") << what;
          EXPECT_EQ(lines[rear], "LT;") << what;
          EXPECT_EQ(lines[rear + 1], "SP3;") << what;
          EXPECT_EQ(lines.back(), "PU;") << what;
          EXPECT_EQ(std::count(lines.begin(), lines.end(), "LT;"), 2) << what;
        }
      }
    }
  }
}

// The text is reserved once, before the first statement, for the longest program the project can
// give: no statement reallocates it (and copies everything written so far). Checked where the
// statements are longest, every coordinate ten digits and a sign, and at the layer limit.
TEST(TPrjGenerator, ReservesTheWholeProgramOnce) {
  for (const TRoofPanelType type : {ptFlat, ptGutter, ptGutter3E, ptRidge, ptRidge3E, ptSlope,
                                    ptDoubleSlope, ptDoubleSlopeNarrow}) {
    for (const int N : {0, 1, 2, 7, 1000, 100000}) {
      for (const bool longest : {false, true}) {
        for (const bool SB : {false, true}) {
          if (N == 100000 && (!longest || SB)) {
            continue;  // one program at the limit per type is enough, and the longest
          }
          TPanelsProject project;
          SetUpProject(project, type, N, SB, !SB);
          if (longest) {
            // About -1.2E9 plotter units across the whole stack.
            project.SetLeftSpace(-30000000);
            project.SetElevation(-30000000);
            project.ComputeFaces();
          }
          const std::string what = "type " + std::to_string(int(type)) + " N " + std::to_string(N) +
                                   " longest " + std::to_string(longest) + " SB " +
                                   std::to_string(SB);
          TPrjGenerator generator(project);
          const std::size_t before = gTextAllocations.load();
          generator.GenerateProject();
          EXPECT_EQ(gTextAllocations.load() - before, 1u) << what;
        }
      }
    }
  }
}

// Options a path does not read leave its program unchanged.
TEST(TPrjGenerator, OptionsWithoutEffect) {
  const struct {
    TRoofPanelType type;
    bool skipBottomMatters;
  } kCases[] = {{ptFlat, false}, {ptSlope, true}, {ptDoubleSlopeNarrow, true}};
  for (const auto& c : kCases) {
    std::string programs[4];
    for (int flags = 0; flags < 4; ++flags) {
      TPanelsProject project;
      SetUpProject(project, c.type, 3, flags & 1, flags & 2);
      programs[flags] = Generate(project);
    }
    EXPECT_EQ(programs[0], programs[2]) << "CutDiagonally, type " << int(c.type);
    EXPECT_EQ(programs[1], programs[3]) << "CutDiagonally, type " << int(c.type);
    EXPECT_EQ(programs[0] == programs[1], !c.skipBottomMatters) << "type " << int(c.type);
  }
}

TEST(TPrjGenerator, FaceTypeOtherThanOneIsTheRearFace) {
  TPanelsProject project;
  project.OpenFromText(Fixture("gutter-2-layers.tcj"));
  project.ComputeFaces();
  std::string rear;
  for (const int faceType : {2, 0, 3, -1}) {
    TPrjGenerator generator(project);
    generator.GenerateIndepFacePath(faceType);
    if (rear.empty()) {
      rear = generator.FileData();
    }
    EXPECT_EQ(generator.FileData(), rear) << faceType;
  }
  EXPECT_THAT(rear, testing::StartsWith("LT;\r\nSP3;\r\n"));
  EXPECT_THAT(rear, testing::HasSubstr("PD 80 10080;"));  // the rear face's height, 120 + 132 mm
}

// The middle cut rises to the work-area height, which includes UnderBottom: it must reach the
// highest point of the stack, also when a face is lifted by UnderBottom.
TEST(TPrjGenerator, MiddleCutReachesTheTopOfALiftedStack) {
  TPanelsProject project;
  project.OpenFromText(
      "[Project]\nPanel type=4\nLayer count=2\nVertex A=100\nVertex B=0\nVertex C=80\n"
      "Vertex D=0\nPanel length=300\nElevation=2\nTop space=10\nLeft space=2\n"
      "Cut diagonally=1\n");
  project.ComputeFaces();
  ASSERT_GT(project.UnderBottom(), 0);
  const auto lines = Lines(Generate(project));
  // Front outline: lines 18 .. 18 + count - 1; the middle cut is its last four moves.
  const auto frontEnd = std::find(lines.begin() + 19, lines.end(), "PU;");
  ASSERT_NE(frontEnd, lines.end());
  int highest = 0;
  for (auto it = lines.begin() + 20; it != frontEnd - 4; ++it) {
    highest = std::max(highest, std::stoi(it->substr(it->rfind(' ') + 1)));
  }
  const std::string& upStroke = *(frontEnd - 4);
  EXPECT_EQ(std::stoi(upStroke.substr(upStroke.rfind(' ') + 1)), highest) << upStroke;
}

TEST(TPrjGenerator, PanelTypeOrdinalsFromTheProjectFile) {
  const std::string flatProject = Fixture("flat-3-layers.tcj");
  const std::string flatProgram = Fixture("flat-3-layers.plt");
  const struct {
    const char* ordinal;
    bool flat;
  } kCases[] = {{"0", false},   {"9", false},   {"128", false}, {"129", false},
                {"136", false}, {"137", false}, {"257", true},  {"1", true}};
  for (const auto& c : kCases) {
    std::string text = flatProject;
    text.replace(text.find("Panel type=1"), 12, std::string("Panel type=") + c.ordinal);
    EXPECT_EQ(GenerateFromText(text) + "\r\n", c.flat ? flatProgram : "\r\n") << c.ordinal;
  }
}

TEST(TPrjGenerator, SaveTwiceAndGenerateTwice) {
  const TempFolder dir;
  TPanelsProject project;
  project.OpenFromText(Fixture("doubleslope-narrow.tcj"));
  project.ComputeFaces();
  TPrjGenerator generator(project);
  generator.GenerateProject();
  generator.Save(dir / "a.plt");
  generator.Save(dir / "a.plt");
  generator.Save(dir / "b.plt");
  const std::string once = Fixture("doubleslope-narrow.plt");
  EXPECT_EQ(ReadFile(dir / "a.plt"), once);
  EXPECT_EQ(ReadFile(dir / "b.plt"), once);

  generator.GenerateProject();
  generator.Save(dir / "a.plt");
  const std::string body = once.substr(0, once.size() - 2);
  EXPECT_EQ(ReadFile(dir / "a.plt"), body + body + "\r\n");
}

// A generator that only tells a sink (the preview's) holds no text, so saving it would write an
// empty program: it refuses and leaves the file that stood there.
TEST(TPrjGenerator, WithoutTextRefusesToSave) {
  const TempFolder dir;
  TPanelsProject project;
  project.OpenFromText(Fixture("doubleslope-narrow.tcj"));
  project.ComputeFaces();
  TPrjGenerator generator(project);
  generator.SetWritesText(false);
  generator.GenerateProject();
  EXPECT_TRUE(generator.FileData().empty());
  WriteFile(dir / "a.plt", "kept");
  EXPECT_THROW(generator.Save(dir / "a.plt"), std::logic_error);
  EXPECT_EQ(ReadFile(dir / "a.plt"), "kept");
}

TEST(TPrjGenerator, SaveFailureCarriesTheNameAndTheReason) {
  const TempFolder dir;
  TPanelsProject project;
  TPrjGenerator generator(project);
  const std::string target = dir / "missing/x.plt";
  try {
    generator.Save(target);
    ADD_FAILURE() << "saved into a missing folder";
  } catch (const EAppError& e) {
    EXPECT_EQ(EnglishText(e), "Unable to write to " + target + ": No such file or directory");
  }
  // An empty program is one line end; a folder as the target is refused.
  generator.Save(dir / "empty.plt");
  EXPECT_EQ(ReadFile(dir / "empty.plt"), "\r\n");
  EXPECT_THROW(generator.Save(dir / ""), EAppError);
}

}  // namespace
