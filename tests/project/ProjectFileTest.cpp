#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "ErrorTexts.h"
#include "TestFiles.h"
#include "base/AppError.h"
#include "platform/NumberText.h"
#include "project/ProjectData.h"

namespace {

namespace fs = std::filesystem;

// Sets the process-wide decimal separator for one test and restores it afterwards.
class SeparatorScope {
 public:
  explicit SeparatorScope(std::string separator) : saved_(platform::NumberFormat()) {
    platform::NumberFormat().decimalSeparator = std::move(separator);
  }
  ~SeparatorScope() { platform::NumberFormat() = saved_; }

 private:
  platform::NumberFormatSettings saved_;
};

TPanelsProject Opened(const std::string& text) {
  TPanelsProject p;
  p.OpenFromText(text);
  return p;
}

TEST(ProjectFile, NewProjectIsSavedWithTheFourteenKeysInOrder) {
  SeparatorScope point(".");
  EXPECT_EQ(TPanelsProject().SaveToText(""),
            "[Project]\r\n"
            "Panel type=0\r\n"
            "Layer count=1\r\n"
            "Vertex A=0\r\n"
            "Vertex B=0\r\n"
            "Vertex C=0\r\n"
            "Vertex D=0\r\n"
            "Panel length=0\r\n"
            "Front base width=0\r\n"
            "Rear base width=0\r\n"
            "Elevation=2\r\n"
            "Top space=0\r\n"
            "Left space=2\r\n"
            "Skip bottom=0\r\n"
            "Cut diagonally=0\r\n");
}

TEST(ProjectFile, ValuesAreWrittenInTheirForms) {
  TPanelsProject p;
  p.SetPanelType(ptDoubleSlope);
  p.SetLayerCount(-3);
  p.RoofPanel().SetDimA(12.5);
  p.RoofPanel().SetDimB(1.0 / 3);
  p.SetSkipBottom(true);
  {
    SeparatorScope point(".");
    const std::string text = p.SaveToText("");
    EXPECT_NE(text.find("Panel type=7\r\n"), std::string::npos);
    EXPECT_NE(text.find("Layer count=-3\r\n"), std::string::npos);
    EXPECT_NE(text.find("Vertex A=12.5\r\n"), std::string::npos);
    EXPECT_NE(text.find("Vertex B=0.333333333333333\r\n"), std::string::npos);
    EXPECT_NE(text.find("Skip bottom=1\r\n"), std::string::npos);
  }
  SeparatorScope comma(",");
  EXPECT_NE(p.SaveToText("").find("Vertex A=12,5\r\n"), std::string::npos);
}

TEST(ProjectFile, SavedValuesComeBackAsWritten) {
  SeparatorScope point(".");
  TPanelsProject p;
  p.SetPanelType(ptRidge3E);
  p.SetLayerCount(4);
  p.RoofPanel().SetDimA(1.0 / 3);
  p.RoofPanel().SetDimB(0.00005);
  p.RoofPanel().SetDimC(1e15);
  p.RoofPanel().SetDimD(-7.25);
  p.SetPanelLength(999999999999999);
  p.SetFrontBaseWidth(1200);
  p.SetRearBaseWidth(800);
  p.SetElevation(3.5);
  p.SetTopSpace(10);
  p.SetLeftSpace(0);
  p.SetCutDiagonally(true);
  const std::string text = p.SaveToText("");
  for (const char* line :
       {"Vertex B=5E-5\r\n", "Vertex C=1E15\r\n", "Panel length=999999999999999\r\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line;
  }

  const TPanelsProject q = Opened(text);
  EXPECT_EQ(q.PanelType(), ptRidge3E);
  EXPECT_EQ(q.LayerCount(), 4);
  EXPECT_EQ(q.RoofPanel().DimA(), 0.333333333333333);  // the 15 digits written, not 1/3
  EXPECT_EQ(q.RoofPanel().DimB(), 0.00005);
  EXPECT_EQ(q.RoofPanel().DimC(), 1e15);
  EXPECT_EQ(q.RoofPanel().DimD(), -7.25);
  EXPECT_EQ(q.PanelLength(), 999999999999999);
  EXPECT_EQ(q.FrontBaseWidth(), 1200);
  EXPECT_EQ(q.RearBaseWidth(), 800);
  EXPECT_EQ(q.Elevation(), 3.5);
  EXPECT_EQ(q.TopSpace(), 10);
  EXPECT_EQ(q.LeftSpace(), 0);
  EXPECT_FALSE(q.SkipBottom());
  EXPECT_TRUE(q.CutDiagonally());
  EXPECT_EQ(q.SaveToText(""), text);
}

TEST(ProjectFile, MissingKeysGiveTheReadDefaultsNotTheConstructionDefaults) {
  using namespace std::string_literals;
  for (const std::string& text : {""s, "[Other]\r\nPanel type=3\r\n"s, "\0\xff\x01 gar\0bage"s}) {
    const TPanelsProject p = Opened(text);
    EXPECT_EQ(p.PanelType(), ptEmpty);
    EXPECT_EQ(p.LayerCount(), 0);
    EXPECT_EQ(p.RoofPanel().DimA(), 0.0);
    EXPECT_EQ(p.RoofPanel().DimD(), 0.0);
    EXPECT_EQ(p.PanelLength(), 1000.0);
    EXPECT_EQ(p.FrontBaseWidth(), 1000.0);
    EXPECT_EQ(p.RearBaseWidth(), 1000.0);
    EXPECT_EQ(p.Elevation(), 0.0);
    EXPECT_EQ(p.TopSpace(), 0.0);
    EXPECT_EQ(p.LeftSpace(), 0.0);
    EXPECT_FALSE(p.SkipBottom());
    EXPECT_FALSE(p.CutDiagonally());
  }
}

TEST(ProjectFile, LengthsFallBackThroughBlockWidth) {
  struct Case {
    const char* keys;
    double length, front, rear;
  };
  const Case cases[] = {
      {"Block width=1200\n", 1200, 1200, 1200},
      {"", 1000, 1000, 1000},
      {"Panel length=800\n", 800, 800, 800},
      {"Block width=1200\nPanel length=800\n", 800, 800, 800},
      {"Panel length=800\nRear base width=700\n", 800, 800, 700},
      {"Block width=x\nPanel length=\n", 1000, 1000, 1000},
  };
  for (const auto& c : cases) {
    const TPanelsProject p = Opened(std::string("[Project]\n") + c.keys);
    EXPECT_EQ(p.PanelLength(), c.length) << c.keys;
    EXPECT_EQ(p.FrontBaseWidth(), c.front) << c.keys;
    EXPECT_EQ(p.RearBaseWidth(), c.rear) << c.keys;
  }
}

TEST(ProjectFile, IntegerAndFlagValuesAsRead) {
  struct Case {
    const char* line;
    int panelType, layerCount;
    bool skipBottom;
  };
  const Case cases[] = {
      {"Panel type=0x7", 7, 0, false},
      {"Panel type=$7", 7, 0, false},
      {"Panel type=257", 1, 0, false},
      {"Panel type=-1", 255, 0, false},
      {"Panel type=0xFFFFFFFF", 255, 0, false},
      {"Panel type=0x100000000", 0, 0, false},
      {"panel TYPE=4", 4, 0, false},
      {"Layer count=3.0", 0, 0, false},
      {"Layer count=  3  ", 0, 3, false},
      {"Layer count=\"5\"", 0, 5, false},
      {"Layer count=3 ; note", 0, 0, false},
      {"Layer count=  -  ", 0, 0, false},
      {"Layer count=0x", 0, 0, false},
      {"Layer count=$", 0, 0, false},
      {"Skip bottom=2", 0, 0, true},
      {"Skip bottom=0x1", 0, 0, true},
      {"Skip bottom=true", 0, 0, false},
      {"Skip bottom=yes", 0, 0, false},
      {"Skip bottom=", 0, 0, false},
  };
  for (const auto& c : cases) {
    const TPanelsProject p = Opened(std::string("[Project]\r\n") + c.line + "\r\n");
    EXPECT_EQ(p.PanelType(), c.panelType) << c.line;
    EXPECT_EQ(p.LayerCount(), c.layerCount) << c.line;
    EXPECT_EQ(p.SkipBottom(), c.skipBottom) << c.line;
  }
}

TEST(ProjectFile, NumbersAreReadWithEitherDecimalSeparator) {
  struct Case {
    const char* value;
    double expected;
  };
  const Case cases[] = {
      {"12.5", 12.5},    {"12,5", 12.5},
      {"1000", 1000},    {"-0", 0},
      {"1E400", 0},      {"1e-400", 0},
      {"12.5.1", 0},     {"12,5.1", 0},
      {"inf", 0},        {"nan", 0},
      {"0x10", 0},       {"5E-5", 5e-5},
      {"  7.25 ", 7.25}, {"4,94065645841247E-324", 4.94065645841247E-324},
  };
  for (const char* separator : {".", ","}) {
    SeparatorScope scope(separator);
    for (const auto& c : cases) {
      const TPanelsProject p = Opened(std::string("[Project]\nVertex A=") + c.value + "\n");
      EXPECT_EQ(p.RoofPanel().DimA(), c.expected) << c.value << " under " << separator;
    }
  }
}

TEST(ProjectFile, SaveKeepsEverythingElseOfAnExistingFile) {
  SeparatorScope point(".");
  const std::string existing =
      "; written by hand\n"
      "[Project]\n"
      "Block width=1200\n"
      "Operator=Jan\n"
      "panel type=3\n"
      "\n"
      "[Machine]\n"
      "Wire=0.3\n";
  TPanelsProject p;
  p.SetPanelType(ptFlat);
  const std::string text = p.SaveToText(existing);
  EXPECT_EQ(text.substr(0, text.find("Layer count")),
            "; written by hand\n[Project]\nBlock width=1200\nOperator=Jan\npanel type=1\n");
  EXPECT_NE(text.find("Cut diagonally=0\n\n[Machine]\nWire=0.3\n"), std::string::npos);
}

TEST(ProjectFile, SaveAndOpenThroughAFile) {
  SeparatorScope point(".");
  TempFolder folder;
  const std::string path = folder.File("job.tcj");
  WriteFile(path, "[Machine]\r\nWire=0.3\r\n");
  TPanelsProject p;
  p.SetPanelType(ptGutter);
  p.RoofPanel().SetDimA(60);
  p.Save(path);
  EXPECT_EQ(ReadFile(path).rfind("[Machine]\r\nWire=0.3\r\n[Project]\r\nPanel type=2\r\n", 0), 0u);
  TPanelsProject q;
  q.Open(path);
  EXPECT_EQ(q.PanelType(), ptGutter);
  EXPECT_EQ(q.RoofPanel().DimA(), 60);
  EXPECT_EQ(q.Elevation(), 2.0);
}

// The same project as written by the Windows tool, and as it comes back from other hands: a
// second CR LF conversion, a lone CR at the end, an editor's UTF-16 save in either byte order.
std::string Utf16(const std::string& ascii, bool bigEndian) {
  std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char c : ascii) {
    out += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
  }
  return out;
}

struct ElsewhereCase {
  const char* name;
  std::string (*encode)(const std::string& crlfText);
};

const ElsewhereCase kElsewhere[] = {
    {"as written", [](const std::string& t) { return t; }},
    {"CR CR LF",
     [](const std::string& t) {
       std::string out;
       for (char c : t) {
         out += c == '\r' ? std::string("\r\r") : std::string(1, c);
       }
       return out;
     }},
    {"lone CR at the end", [](const std::string& t) { return t.substr(0, t.size() - 1); }},
    {"UTF-16 LE", [](const std::string& t) { return Utf16(t, false); }},
    {"UTF-16 BE", [](const std::string& t) { return Utf16(t, true); }},
};

TEST(ProjectFile, FilesFromOtherHandsOpenAsWritten) {
  SeparatorScope point(".");
  const std::string text =
      "[Project]\r\nPanel type=2\r\nLayer count=3\r\nVertex A=60\r\nPanel length=800\r\n"
      "Cut diagonally=1\r\n";
  for (const auto& c : kElsewhere) {
    const TPanelsProject p = Opened(c.encode(text));
    EXPECT_EQ(p.PanelType(), ptGutter) << c.name;
    EXPECT_EQ(p.LayerCount(), 3) << c.name;
    EXPECT_EQ(p.RoofPanel().DimA(), 60) << c.name;
    EXPECT_EQ(p.PanelLength(), 800) << c.name;
    EXPECT_EQ(p.FrontBaseWidth(), 800) << c.name;
    EXPECT_TRUE(p.CutDiagonally()) << c.name;
  }
}

// "Layer count" alone on a line before "Layer count=3" is the key with an empty value, so it
// reads the read default 0; a save replaces that line, and the file then reads 5, in the
// encoding it came in.
TEST(ProjectFile, AKeyLineWithoutEqualsSignIsTheKey) {
  SeparatorScope point(".");
  const std::string text = "[Project]\r\nLayer count\r\nLayer count=3\r\n";
  for (const auto& c : kElsewhere) {
    const std::string before = c.encode(text);
    EXPECT_EQ(Opened(before).LayerCount(), 0) << c.name;
    TPanelsProject p;
    p.SetLayerCount(5);
    const std::string saved = p.SaveToText(before);
    EXPECT_EQ(Opened(saved).LayerCount(), 5) << c.name;
    EXPECT_EQ(saved.substr(0, 2), before.substr(0, 2)) << c.name << ": the encoding stays";
    const std::string kept = c.encode("Layer count=3\r\n");
    const bool utf16 = before[0] != '[';
    EXPECT_NE(saved.find(kept.substr(utf16 ? 2 : 0)), std::string::npos)
        << c.name << ": the other line stays";
  }
}

TEST(ProjectFile, OpenRefusesAFileFarTooLargeForAProject) {
  SeparatorScope point(".");
  TempFolder folder;
  const std::string path = folder.File("big.tcj");
  const std::string head = "[Project]\r\nLayer count=3\r\n";
  // Exactly at the limit the file is read; one byte more and it is refused, the project as it was.
  WriteFile(path, head + std::string(kMaxProjectFileSize - head.size(), '\n'));
  TPanelsProject p;
  p.Open(path);
  EXPECT_EQ(p.LayerCount(), 3);
  EXPECT_EQ(ReadProjectFile(path).size(), kMaxProjectFileSize);
  WriteFile(path, head + std::string(kMaxProjectFileSize - head.size() + 1, '\n'));
  p.SetLayerCount(7);
  for (const auto& read : {std::function<void()>([&] { p.Open(path); }),
                           std::function<void()>([&] { ReadProjectFile(path); })}) {
    try {
      read();
      ADD_FAILURE() << "no error";
    } catch (const EAppError& e) {
      EXPECT_EQ(e.Id(), TErrorId::ProjectTooLarge);
    }
  }
  EXPECT_EQ(p.LayerCount(), 7);
}

TEST(ProjectFile, OpeningAMissingFileGivesTheDefaults) {
  TPanelsProject p;
  p.Open("/nonexistent-folder/job.tcj");
  EXPECT_EQ(p.LayerCount(), 0);
  EXPECT_EQ(p.PanelLength(), 1000);
}

TEST(ProjectFile, UnwritableTargetRaisesTheMessageAndKeepsTheFile) {
  TempFolder folder;
  const std::string missing = folder.File("no-such-folder/job.tcj");
  try {
    TPanelsProject().Save(missing);
    FAIL() << "no error";
  } catch (const EAppError& e) {
    EXPECT_EQ(EnglishText(e), "Unable to write to " + missing);
  }

  // An immutable file refuses the write; its bytes stay as they were.
  const std::string locked = folder.File("locked.tcj");
  WriteFile(locked, "[Project]\r\nPanel type=2\r\n");
  if (std::system(("chattr +i '" + locked + "' 2>/dev/null").c_str()) == 0) {
    try {
      TPanelsProject().Save(locked);
      ADD_FAILURE() << "no error";
    } catch (const EAppError& e) {
      EXPECT_EQ(EnglishText(e), "Unable to write to " + locked);
    }
    std::system(("chattr -i '" + locked + "'").c_str());
    EXPECT_EQ(ReadFile(locked), "[Project]\r\nPanel type=2\r\n");
  }

  // A folder in place of the file.
  const std::string dir = folder.File("dir.tcj");
  fs::create_directory(dir);
  EXPECT_THROW(TPanelsProject().Save(dir), EAppError);
  EXPECT_TRUE(fs::is_directory(dir));
}

// Under a real Polish locale the separator is a comma, read from the environment as the program
// entry does; the file holds 12,5 and reads back as 12.5.
TEST(ProjectFile, RegionalSeparatorFromTheEnvironment) {
  const char* saved = std::getenv("LC_ALL");
  const std::string savedValue = saved ? saved : "";
  unsetenv("LC_ALL");
  setenv("LC_NUMERIC", "pl_PL.UTF-8", 1);
  const platform::NumberFormatSettings polish = platform::NumberFormatFromEnvironment();
  unsetenv("LC_NUMERIC");
  if (saved) {
    setenv("LC_ALL", savedValue.c_str(), 1);
  }
  ASSERT_EQ(polish.decimalSeparator, ",")
      << "the pl_PL.UTF-8 locale is missing; scripts/install-deps generates it";

  SeparatorScope scope(polish.decimalSeparator);
  TempFolder folder;
  const std::string path = folder.File("job.tcj");
  TPanelsProject p;
  p.RoofPanel().SetDimA(12.5);
  p.Save(path);
  EXPECT_NE(ReadFile(path).find("Vertex A=12,5\r\n"), std::string::npos);
  TPanelsProject q;
  q.Open(path);
  EXPECT_EQ(q.RoofPanel().DimA(), 12.5);
}

}  // namespace
