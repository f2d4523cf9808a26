#include "view/ViewCommand.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "TestFiles.h"
#include "TestPrograms.h"
#include "base/Version.h"
#include "locale/LocalStr.h"
#include "project/ProjectData.h"

namespace {

namespace fs = std::filesystem;

struct Result {
  int status;
  std::string out, err;
};

Result Viewed(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = view::RunView(args, out, err);
  return {status, out.str(), err.str()};
}

TEST(ViewCommand, PrintsTheCheckAsATable) {
  const std::string file = Fixture("gutter-two-layers.plt");
  const Result r = Viewed({file, "--project", Fixture("gutter-two-layers.tcj")});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, file +
                       ": 60 statements, 2 outline(s)\n"
                       "outline        from  statements  moves  cutting  cut mm  x mm      y mm    "
                       "start   end\n"
                       "front (pen 4)    20          20     19       17  3509.4  0..709.1  0..232  "
                       "(0, 0)  (0, 0)\n"
                       "rear (pen 3)     41          20     19       17  3589.4  0..709.1  0..252  "
                       "(0, 0)  (0, 0)\n"
                       "check passed\n");
}

// The table's line above it, its headings, the labels and the verdict follow the interface
// language; the columns stay aligned with the Polish letters.
TEST(ViewCommand, TheTableInPolish) {
  LoadPolishStr();
  std::ostringstream out, err;
  const int status = view::RunView({Fixture("damaged-below-zero.plt")}, out, err);
  LoadEnglishStr();
  EXPECT_EQ(status, 1);
  EXPECT_EQ(
      out.str(),
      Fixture("damaged-below-zero.plt") +
          ": instrukcje 15, kontury 1\n"
          "kontur           od  instrukcje  ruchy  tnące  cięcie mm  x mm     y mm     start "
          "  koniec\n"
          "przód (pisak 4)   2          14     13     11       4607  0..1002  -1..302  (0, 0) "
          " (2, -1)\n"
          "BŁĄD  instrukcja 14: Przód (pisak 4) dochodzi do (2, -1) mm, poniżej zera "
          "maszyny\n"
          "kontrola NIEZALICZONA: błędy 1, ostrzeżenia 0\n");
}

TEST(ViewCommand, ExitStatusFollowsTheCheck) {
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* lastLine;
  };
  const Case cases[] = {
      {{Fixture("flat-top-space.plt"), "--project", Fixture("flat-top-space.tcj")},
       0,
       "check passed, 1 warning(s)"},
      {{Fixture("damaged-rear-pen-up.plt")}, 1, "check FAILED: 1 failure(s), 0 warning(s)"},
      {{Fixture("style-lowercase-decimals.plt")}, 0, "check passed"},
  };
  for (const Case& c : cases) {
    const Result r = Viewed(c.args);
    EXPECT_EQ(r.status, c.status) << c.args[0];
    const std::string last = r.out.substr(r.out.rfind('\n', r.out.size() - 2) + 1);
    EXPECT_EQ(last, std::string(c.lastLine) + "\n") << c.args[0];
  }
}

TEST(ViewCommand, HelpGoesToStandardOutput) {
  const Result r = Viewed({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out.rfind("usage: tectoplan-view PROGRAM.plt", 0), 0u);

  const Result version = Viewed({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::string("tectoplan-view ") + kTectoplanVersion + "\n");
}

TEST(ViewCommand, ErrorsAndTheirStatus) {
  TempFolder folder;
  const std::string bad = folder.File("bad.plt");
  std::ofstream(bad, std::ios::binary) << "IN;\r\nSP4;\r\nPU 0 0;\r\nPD 10;\r\n";
  // A FIFO without a writer: opening it to read would wait for one for ever.
  const std::string fifo = folder.File("fifo.tcj");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string big = folder.File("big.tcj");
  std::ofstream(big, std::ios::binary) << "[Project]\r\n" << std::string(kMaxProjectFileSize, '\n');
  const std::string usage =
      "usage: tectoplan-view PROGRAM.plt [--svg OUT.svg] [--project JOB.tcj] [-L LANGUAGE]\n"
      "       tectoplan-view --project JOB.tcj [--svg OUT.svg] [-L LANGUAGE]\n";
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string err;
  };
  const Case cases[] = {
      {{bad},
       1,
       "tectoplan-view: Unable to read the cutting program " + bad +
           ": statement 4 (line 4, PD): an odd number of coordinates\n"},
      {{folder.File("none.plt")},
       1,
       "tectoplan-view: Unable to read the cutting program " + folder.File("none.plt") +
           ": No such file or directory\n"},
      {{}, 2, usage},
      {{"a.plt", "b.plt"}, 2, "tectoplan-view: one program at a time\n" + usage},
      {{"a.plt", "--svg"}, 2, "tectoplan-view: --svg needs a file name\n" + usage},
      {{"a.plt", "-x"}, 2, "tectoplan-view: unknown option -x\n" + usage},
      {{Fixture("gutter-two-layers.plt"), "--project", folder.File("none.tcj")},
       2,
       "tectoplan-view: Unable to read the project file " + folder.File("none.tcj") +
           ": No such file or directory\n"},
      {{Fixture("gutter-two-layers.plt"), "--project", fifo},
       2,
       "tectoplan-view: Unable to read the project file " + fifo +
           ": it is a FIFO (named pipe), not a file\n"},
      {{Fixture("gutter-two-layers.plt"), "--project", "/dev/zero"},
       2,
       "tectoplan-view: Unable to read the project file /dev/zero: it is a device, not a file\n"},
      {{Fixture("gutter-two-layers.plt"), "--project", big},
       2,
       "tectoplan-view: Unable to read the project file " + big +
           ": it is larger than 1 MiB, and a project file holds a few hundred bytes\n"},
      // NUL bytes before the first statement are skipped, so only the limit ends this.
      {{"/dev/zero"},
       1,
       "tectoplan-view: Unable to read the cutting program /dev/zero: it is longer than 64 MiB, "
       "more than any program Tectoplan writes\n"},
      {{Fixture("gutter-two-layers.plt"), "--svg", folder.File("no/such/folder.svg")},
       2,
       "tectoplan-view: Unable to write to " + folder.File("no/such/folder.svg") +
           ": No such file or directory\n"},
  };
  for (const Case& c : cases) {
    const Result r = Viewed(c.args);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_EQ(r.err, c.err);
  }
}

TEST(ViewCommand, WritesThePicture) {
  TempFolder folder;
  const std::string svg = folder.File("gutter.svg");
  // A failing program is drawn too: the picture shows where it fails.
  const Result r = Viewed({Fixture("damaged-left-of-zero.plt"), "--svg", svg});
  EXPECT_EQ(r.status, 1);
  std::ifstream in(svg, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  EXPECT_EQ(s.str().rfind("<?xml", 0), 0u);
  EXPECT_NE(s.str().find("<g id=\"outline-2\" data-pen=\"3\""), std::string::npos);
  EXPECT_NE(s.str().find(">CHECK FAILED<"), std::string::npos);
}

// The picture's title is the program's file name, Polish letters and all, in any locale.
TEST(ViewCommand, PictureOfAProgramWithAPolishName) {
  TempFolder folder;
  const std::string program = folder.File("Rynna żółta.plt");
  WriteFile(program, ReadFixture("gutter-two-layers.plt"));
  const std::string svg = folder.File("Rynna żółta.svg");
  const Result r = Viewed({program, "--svg", svg});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(ReadFile(svg).find("Rynna żółta.plt"), std::string::npos);
}

// The built program hands its arguments and its exit status through.
TEST(ViewCommand, TheProgramRuns) {
  const std::string program = std::string(TECTOPLAN_BINARY_DIR) + "/tectoplan-view";
  const int passed =
      std::system((program + " '" + Fixture("gutter-two-layers.plt") + "' >/dev/null").c_str());
  const int failed =
      std::system((program + " '" + Fixture("damaged-below-zero.plt") + "' >/dev/null").c_str());
  ASSERT_TRUE(WIFEXITED(passed) && WIFEXITED(failed));
  EXPECT_EQ(WEXITSTATUS(passed), 0);
  EXPECT_EQ(WEXITSTATUS(failed), 1);
}

// The program takes the interface language as tectoplan does: the switch -L, then the
// configuration file, then the locale; its messages follow it.
TEST(ViewCommand, TheProgramSpeaksTheInterfaceLanguage) {
  const std::string program = std::string(TECTOPLAN_BINARY_DIR) + "/tectoplan-view";
  const TempFolder folder;
  const std::string missing = folder.File("none.plt");
  fs::create_directories(folder / "polish/Corvana/Tectoplan");
  std::ofstream(folder / "polish/Corvana/Tectoplan/Tectoplan.ini") << "[Config]\r\nLocales=pl\r\n";
  const std::string english = "tectoplan-view: Unable to read the cutting program " + missing +
                              ": No such file or directory\n";
  const std::string polish = "tectoplan-view: Nie można odczytać programu cięcia " + missing +
                             ": Nie ma takiego pliku ani katalogu\n";
  struct Case {
    std::string environment, switches, err;
  };
  const std::string noConfig = "XDG_CONFIG_DIRS=" + folder / "none";
  const std::string polishConfig = "XDG_CONFIG_DIRS=" + folder / "polish";
  const Case cases[] = {
      {noConfig + " LC_ALL=C.UTF-8", "", english},
      {noConfig + " LC_ALL=C.UTF-8", "-L:pl", polish},
      {noConfig + " LC_ALL=C.UTF-8", "-L pl", polish},
      {noConfig + " LC_ALL=pl_PL.UTF-8", "", polish},
      {noConfig + " LC_ALL=pl_PL.UTF-8", "-L:en", english},
      {polishConfig + " LC_ALL=C.UTF-8", "", polish},
      {polishConfig + " LC_ALL=C.UTF-8", "-l:EN", english},
  };
  for (const Case& c : cases) {
    const std::string command = "env " + c.environment + " " + program + " " + c.switches + " '" +
                                missing + "' >/dev/null 2>" + folder / "err";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status)) << command;
    EXPECT_EQ(WEXITSTATUS(status), 1) << command;
    EXPECT_EQ(ReadFile(folder / "err"), c.err) << command;
  }
}

// ---------------------------------------------------------------------------------------------
// Without a program file: the program the unattended run would write for a project.

// The example project of examples/ with the given keys replaced.
std::string ExampleProject(const std::string& name,
                           const std::vector<std::pair<std::string, std::string>>& keys) {
  std::string text = ReadFile(std::string(EXAMPLES_DIR) + "/" + name + ".tcj");
  for (const auto& [key, value] : keys) {
    const std::size_t at = text.find("\n" + key + "=");
    if (at == std::string::npos) {
      text += key + "=" + value + "\r\n";
    } else {
      const std::size_t end = text.find('\r', at + 1);
      text.replace(at + 1, end - at - 1, key + "=" + value);
    }
  }
  return text;
}

struct Ran {
  int status;
  std::string out, err;
};

// The built program in a shell, with the English interface and no configuration file.
Ran RunProgram(const std::string& program, const std::string& args, const TempFolder& folder,
               const std::string& environment = "LC_ALL=C.UTF-8") {
  const std::string command = "cd '" + folder.path() + "' && env XDG_CONFIG_DIRS=/nonexistent " +
                              environment + " '" + std::string(TECTOPLAN_BINARY_DIR) + "/" +
                              program + "' " + args + " >.out 2>.err";
  const int status = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(status)) << command;
  Ran run{WEXITSTATUS(status), ReadFile(folder / ".out"), ReadFile(folder / ".err")};
  fs::remove(folder / ".out");
  fs::remove(folder / ".err");
  return run;
}

const std::vector<std::pair<std::string, std::string>> kDoubleSlopeMinus400 = {
    {"Layer count", "1"}, {"Vertex A", "-400"}};

TEST(ViewProject, APassingProgramIsCheckedAsTheUnattendedRunWritesIt) {
  TempFolder folder;
  WriteFile(folder / "gutter.tcj", ExampleProject("gutter", {}));
  const Ran run = RunProgram("tectoplan-view", "--project gutter.tcj --svg gutter.svg", folder);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "gutter.tcj: 60 statements, 2 outline(s)");
  EXPECT_EQ(run.out.substr(run.out.rfind('\n', run.out.size() - 2) + 1), "check passed\n");
  // The same program as the unattended run writes, drawn.
  ASSERT_EQ(RunProgram("tectoplan", "-A -I:./gutter.tcj -O:./gutter.plt", folder).status, 0);
  const Ran fromFile =
      RunProgram("tectoplan-view", "gutter.plt --project gutter.tcj --svg file.svg", folder);
  EXPECT_EQ(fromFile.out.substr(fromFile.out.find('\n')), run.out.substr(run.out.find('\n')));
  const std::string svg = ReadFile(folder / "gutter.svg");
  EXPECT_NE(svg.find(">gutter.tcj<"), std::string::npos);
  EXPECT_NE(svg.find(">CHECK PASSED<"), std::string::npos);
}

// A program refused for a move below zero: the unattended run's error line word for word, the
// advice under it, and the refused program checked and drawn with the offending move marked.
TEST(ViewProject, ARefusedProgramIsDrawnWithTheAdvice) {
  TempFolder folder;
  WriteFile(folder / "slope.tcj", ExampleProject("double-slope", kDoubleSlopeMinus400));
  const Ran unattended = RunProgram("tectoplan", "-A -I:./slope.tcj -O:./slope.plt", folder);
  EXPECT_EQ(unattended.status, 1);
  const std::string errorLine =
      "The cutting program would move below the machine's zero in line "
      "36: PD 40080 -15920;\n";
  EXPECT_EQ(unattended.err, "tectoplan: " + errorLine);
  EXPECT_FALSE(fs::exists(folder / "slope.plt"));

  const Ran run = RunProgram("tectoplan-view", "--project slope.tcj --svg slope.svg", folder);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "tectoplan-view: " + errorLine +
                         "  The rear outline goes 398 mm below the machine's zero in line 36 (PD "
                         "40080 -15920;).\n"
                         "  Change Size A by at least +398 mm (to -2), or Elevation in the project "
                         "file by at least +398 mm (to 400).\n");
  EXPECT_NE(run.out.find("FAIL  statement 36: Rear (pen 3) goes to (1002, -398) mm, below the "
                         "machine's zero\n"),
            std::string::npos);
  const std::string svg = ReadFile(folder / "slope.svg");
  EXPECT_NE(svg.find(">CHECK FAILED<"), std::string::npos);
  EXPECT_NE(svg.find(">statement 36</text>"), std::string::npos);  // the ring on the move
  EXPECT_NE(svg.find(">The rear outline goes 398 mm below the machine's zero in line 36 (PD "
                     "40080 -15920;).</text>"),
            std::string::npos);
  // The refused program is drawn in full: the rear outline down to -398 mm.
  EXPECT_NE(svg.find("<g id=\"outline-2\" data-pen=\"3\""), std::string::npos);
  EXPECT_NE(svg.find(" -398"), std::string::npos);
  // Without --svg, the table and the same messages; no picture.
  const Ran table = RunProgram("tectoplan-view", "--project slope.tcj", folder);
  EXPECT_EQ(table.status, 1);
  EXPECT_EQ(table.out, run.out);
  EXPECT_EQ(table.err, run.err);
}

TEST(ViewProject, TheAdviceInPolish) {
  TempFolder folder;
  WriteFile(folder / "gutter.tcj", ExampleProject("gutter", {{"Layer count", "0"}}));
  const Ran run = RunProgram("tectoplan-view", "-L pl --project gutter.tcj", folder);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err.substr(0, run.err.find('\n', run.err.find('\n') + 1) + 1),
            "tectoplan-view: Program cięcia wyprowadziłby drut poniżej zera maszyny w wierszu 22: "
            "PD 0 -5120;\n"
            "  Przedni kontur sięga 128 mm poniżej zera maszyny w wierszu 22 (PD 0 -5120;).\n");
  EXPECT_NE(run.err.find("\n  Zmień Ilość warstw o co najmniej +1 (na 1).\n"), std::string::npos);
}

// Where the gate leaves no program text, or the panel type has none, the reason and the advice
// are all: exit 1, and no picture, not even an old one replaced.
TEST(ViewProject, NoPictureWithoutAProgramText) {
  TempFolder folder;
  struct Case {
    const char* name;
    std::string project;
    std::string err;
  };
  const Case cases[] = {
      {"range", ExampleProject("flat", {{"Vertex A", "2147483647"}, {"Vertex D", "2147483647"}}),
       "tectoplan-view: Coordinate out of range: 6442450943 mm\n"
       "  No cutting program can be made: a coordinate of 6442450943 mm lies beyond the "
       "machine's range of ±53687091.175 mm.\n"
       "  The value that takes it out of range: Size A = 2147483647 mm.\n"},
      {"limit", ExampleProject("gutter", {{"Layer count", "100001"}}),
       "tectoplan-view: Layer count 100001 is above the limit of 100000 layers\n"
       "  No cutting program is made for more than 100000 layers; Number of pieces is 100001.\n"},
      {"custom", ExampleProject("gutter", {{"Panel type", "9"}}),
       "tectoplan-view: warning: panel type 9 has no cutting program; the program written is "
       "empty\n"
       "  Panel type 9 has no cutting program: there is nothing to draw.\n"},
  };
  for (const Case& c : cases) {
    const std::string project = folder / (std::string(c.name) + ".tcj");
    const std::string svg = folder / (std::string(c.name) + ".svg");
    WriteFile(project, c.project);
    WriteFile(svg, "old picture");
    const Result r = Viewed({"--project", project, "--svg", svg});
    EXPECT_EQ(r.status, 1) << c.name;
    EXPECT_EQ(r.out, "") << c.name;
    EXPECT_EQ(r.err, c.err + "tectoplan-view: no picture written to " + svg +
                         ": there is no program to draw\n")
        << c.name;
    EXPECT_EQ(ReadFile(svg), "old picture") << c.name;
  }
}

TEST(ViewProject, ExitStatusOfTheProgram) {
  TempFolder folder;
  WriteFile(folder / "gutter.tcj", ExampleProject("gutter", {}));
  WriteFile(folder / "refused.tcj", ExampleProject("double-slope", kDoubleSlopeMinus400));
  WriteFile(folder / "range.tcj", ExampleProject("flat", {{"Vertex A", "1E300"}}));
  fs::create_directory(folder / "folder.tcj");
  struct Case {
    std::string args;
    int status;
    bool svg;  // the picture is written
  };
  const Case cases[] = {
      {"--project gutter.tcj --svg out.svg", 0, true},
      {"--project refused.tcj --svg out.svg", 1, true},
      {"--project range.tcj --svg out.svg", 1, false},
      {"--project none.tcj --svg out.svg", 2, false},
      {"--project folder.tcj --svg out.svg", 2, false},
      {"--project refused.tcj --svg no/such/folder/out.svg", 2, false},
      {"--project", 2, false},
      {"--svg out.svg", 2, false},
  };
  for (const Case& c : cases) {
    const Ran run = RunProgram("tectoplan-view", c.args, folder);
    EXPECT_EQ(run.status, c.status) << c.args << "\n" << run.err;
    EXPECT_EQ(fs::exists(folder / "out.svg"), c.svg) << c.args;
    fs::remove(folder / "out.svg");
  }
}

}  // namespace
