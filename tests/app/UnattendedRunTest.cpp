// End-to-end: the built program run as a separate process, as a workshop's script would run it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "ProgramRun.h"
#include "TestFiles.h"
#include "base/Version.h"
#include "platform/FileSystem.h"

namespace {

namespace fs = std::filesystem;

const std::string kFixtures = std::string(TEST_DATA_DIR) + "/../generator/data/";

TEST(UnattendedRun, HelpVersionAndTheWindowlessStart) {
  const TempFolder cwd;
  const auto help = RunTectoplan(cwd.path(), kProgram, "--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.err, "");
  for (const char* part : {"-A", "-I", "-O", "-L", "Example:", "tectoplan -A -I:"}) {
    EXPECT_THAT(help.out, testing::HasSubstr(part));
  }
  // Only the exact parameters; anything else keeps the switch rules.
  const auto version = RunTectoplan(cwd.path(), kProgram, "-A --version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::string("Tectoplan ") + kTectoplanVersion + "\n");
  EXPECT_EQ(RunTectoplan(cwd.path(), kProgram, "-A --Version").status, 1);

  // Without -A the window opens; the switches I and O are stored but not used. A copy of the
  // program without its window module beside it (and none installed) says so and ends.
  const ProgramCopy copy;
  WriteFile(cwd / "job.tcj", ReadFile(kFixtures + "gutter-2-layers.tcj"));
  const auto window = RunTectoplan(cwd.path(), copy.program(), "-I:./job.tcj -O:./job.plt -Auto");
  EXPECT_EQ(window.status, 1);
  EXPECT_EQ(window.out, "");
  EXPECT_THAT(window.err, testing::StartsWith("tectoplan: cannot load the main window ("));
  EXPECT_THAT(window.err, testing::HasSubstr(copy.dir() / "libtectoplan-ui.so"));
  EXPECT_THAT(cwd.Names(), testing::ElementsAre("job.tcj"));
}

TEST(UnattendedRun, WritesBesideTheProgramAndToStandardOutput) {
  const ProgramCopy copy;
  const TempFolder cwd;
  const std::string expected = ReadFile(kFixtures + "gutter-2-layers.plt");
  WriteFile(copy.dir() / "job.tcj", ReadFile(kFixtures + "gutter-2-layers.tcj"));

  // Bare names mean the program's folder, whatever the current folder is.
  const auto beside = RunTectoplan(cwd.path(), copy.program(), "-A -I:job.tcj -O:job.plt");
  EXPECT_EQ(beside.status, 0) << beside.err;
  EXPECT_EQ(beside.out, "");
  EXPECT_EQ(beside.err, "");
  EXPECT_EQ(ReadFile(copy.dir() / "job.plt"), expected);
  EXPECT_TRUE(cwd.Names().empty());

  // Without O the program goes to standard output, byte for byte; the values may also come as
  // the next parameter.
  const auto piped = RunTectoplan(cwd.path(), copy.program(), "-a -I " + copy.dir() / "job.tcj");
  EXPECT_EQ(piped.status, 0) << piped.err;
  EXPECT_EQ(piped.out, expected);
  EXPECT_EQ(piped.err, "");
  EXPECT_TRUE(cwd.Names().empty());

  // No extension is added to the output name.
  const auto plain =
      RunTectoplan(cwd.path(), copy.program(), "-A -I:" + copy.dir() / "job.tcj" + " -O:./out");
  EXPECT_EQ(plain.status, 0) << plain.err;
  EXPECT_EQ(ReadFile(cwd / "out"), expected);
}

// File names are bytes on Linux: Polish letters go through in any locale, the C locale included.
TEST(UnattendedRun, PolishFileNames) {
  const ProgramCopy copy;
  const TempFolder cwd;
  WriteFile(copy.dir() / "Rynna żółta.tcj", ReadFile(kFixtures + "gutter-2-layers.tcj"));
  const auto run = RunTectoplan(cwd.path(), copy.program(),
                                "-A '-I:Rynna żółta.tcj' '-O:Rynna żółta.plt'", "LC_ALL=C");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadFile(copy.dir() / "Rynna żółta.plt"), ReadFile(kFixtures + "gutter-2-layers.plt"));
}

TEST(UnattendedRun, ProjectsWithoutAProgramWriteTheEmptyProgramAndWarn) {
  const TempFolder cwd;
  WriteFile(cwd / "empty.tcj", "");
  WriteFile(cwd / "custom.tcj", "[Project]\r\nPanel type=9\r\n");
  WriteFile(cwd / "high.tcj", "[Project]\r\nPanel type=129\r\nLayer count=1\r\nVertex A=10\r\n");
  const struct {
    const char* file;
    const char* type;
  } kCases[] = {{"empty.tcj", "0"}, {"custom.tcj", "9"}, {"high.tcj", "129"}};
  for (const auto& c : kCases) {
    const auto run = RunTectoplan(cwd.path(), kProgram, std::string("-A -I:./") + c.file);
    EXPECT_EQ(run.status, 0) << c.file;
    EXPECT_EQ(run.out, "\r\n") << c.file;
    EXPECT_EQ(run.err, std::string("tectoplan: warning: panel type ") + c.type +
                           " has no cutting program; the program written is empty\n")
        << c.file;
  }
}

TEST(UnattendedRun, NoUsableInputWritesNothingAndFails) {
  const ProgramCopy copy;
  const TempFolder cwd;
  fs::create_directory(cwd / "folder");
  WriteFile(cwd / "secret.tcj", ReadFile(kFixtures + "gutter-2-layers.tcj"));
  fs::permissions(cwd / "secret.tcj", fs::perms(0600));
  const std::string nobody = "setpriv --reuid=65534 --regid=65534 --clear-groups";
  const struct {
    std::string args;
    std::string prefix;
    std::string err;
  } kCases[] = {
      {"-A", "", "tectoplan: no project file given (-I)\n"},
      {"-A -O:./x.plt", "", "tectoplan: no project file given (-I)\n"},
      {"-A -I:./missing.tcj -O:./x.plt", "",
       "tectoplan: Unable to read the project file ./missing.tcj: No such file or directory\n"},
      {"-A -I:./folder -O:./x.plt", "",
       "tectoplan: Unable to read the project file ./folder: Is a directory\n"},
      // An empty value of I resolves to the program's folder.
      {"-A -I -O:./x.plt", "",
       "tectoplan: Unable to read the project file " + copy.dir().path() + "/: Is a directory\n"},
      {"-A -I:./secret.tcj", nobody,
       "tectoplan: Unable to read the project file ./secret.tcj: Permission denied\n"},
  };
  for (const auto& c : kCases) {
    const auto run = RunTectoplan(cwd.path(), copy.program(), c.args, c.prefix);
    EXPECT_EQ(run.status, 1) << c.args;
    EXPECT_EQ(run.out, "") << c.args;
    EXPECT_EQ(run.err, c.err) << c.args;
    EXPECT_THAT(cwd.Names(), testing::ElementsAre("folder", "secret.tcj")) << c.args;
    EXPECT_THAT(copy.dir().Names(), testing::ElementsAre("libtectoplan-core.so", "tectoplan"))
        << c.args;
  }
}

// Inputs far larger than their kind: a project file is refused like an unreadable one, an
// oversized configuration file gives one warning line and the run goes on with the defaults.
TEST(UnattendedRun, OversizedInputs) {
  const ProgramCopy copy;
  const TempFolder cwd;
  const TempFolder common;
  const std::string project = ReadFile(kFixtures + "gutter-2-layers.tcj");
  WriteFile(cwd / "big.tcj", project + std::string(1u << 20, '\n'));
  WriteFile(cwd / "job.tcj", project);
  fs::create_directories(common / "Corvana/Tectoplan");
  WriteFile(common / "Corvana/Tectoplan/Tectoplan.ini",
            "[Config]\r\nLocales=pl\r\n" + std::string(1u << 20, '\n'));

  const auto big = RunTectoplan(cwd.path(), copy.program(), "-A -I:./big.tcj -O:./x.plt");
  EXPECT_EQ(big.status, 1);
  EXPECT_EQ(big.err,
            "tectoplan: Unable to read the project file ./big.tcj: it is larger than 1 MiB, and a "
            "project file holds a few hundred bytes\n");
  EXPECT_FALSE(fs::exists(cwd / "x.plt"));

  const auto configured = RunTectoplan(cwd.path(), copy.program(), "-A -I:./job.tcj -O:./x.plt",
                                       "XDG_CONFIG_DIRS=" + common.path());
  EXPECT_EQ(configured.status, 0) << configured.err;
  EXPECT_EQ(configured.err, "tectoplan: warning: the configuration file " + common.path() +
                                "/Corvana/Tectoplan/Tectoplan.ini is larger than 1 MiB and is "
                                "ignored; the defaults apply\n");
  EXPECT_EQ(ReadFile(cwd / "x.plt"), ReadFile(kFixtures + "gutter-2-layers.plt"));
}

// Every failure after reading leaves an older program of the output name byte for byte, and no
// temporary file behind.
TEST(UnattendedRun, FailedRunsKeepTheOldProgram) {
  const ProgramCopy copy;  // reachable by the unprivileged user, unlike the build tree may be
  const TempFolder cwd;
  const std::string old = "PD 0 0;\r\nOLD PROGRAM\r\n";
  const std::string gutter = ReadFile(kFixtures + "gutter-2-layers.tcj");
  std::string belowZero = gutter;
  belowZero.replace(belowZero.find("Layer count=2"), 13, "Layer count=0");
  WriteFile(cwd / "job.tcj", gutter);
  WriteFile(cwd / "below.tcj", belowZero);
  WriteFile(cwd / "huge.tcj",
            "[Project]\r\nPanel type=1\r\nLayer count=1\r\nVertex A=10\r\n"
            "Panel length=1E9\r\n");
  WriteFile(cwd / "many.tcj", "[Project]\r\nPanel type=2\r\nLayer count=2000000000\r\n");
  const std::string nobody = "setpriv --reuid=65534 --regid=65534 --clear-groups";
  const struct {
    const char* what;
    std::string args;
    std::string prefix;
    std::string err;
  } kCases[] = {
      {"file size limit", "-A -I:./job.tcj -O:./job.plt", "prlimit --fsize=200",
       "tectoplan: Unable to write to ./job.plt: File too large\n"},
      {"no permission", "-A -I:./job.tcj -O:./job.plt", nobody,
       "tectoplan: Unable to write to ./job.plt: Permission denied\n"},
      {"out of range", "-A -I:./huge.tcj -O:./job.plt", "",
       "tectoplan: Coordinate out of range: 1000000000 mm\n"},
      {"below zero", "-A -I:./below.tcj -O:./job.plt", "",
       "tectoplan: The cutting program would move below the machine's zero in line 22: "
       "PD 0 -5120;\n"},
      {"layer limit", "-A -I:./many.tcj -O:./job.plt", "",
       "tectoplan: Layer count 2000000000 is above the limit of 100000 layers\n"},
  };
  for (const auto& c : kCases) {
    WriteFile(cwd / "job.plt", old);
    const auto run = RunTectoplan(cwd.path(), copy.program(), c.args, c.prefix);
    EXPECT_EQ(run.status, 1) << c.what;
    EXPECT_EQ(run.out, "") << c.what;
    EXPECT_EQ(run.err, c.err) << c.what;
    EXPECT_EQ(ReadFile(cwd / "job.plt"), old) << c.what;
    EXPECT_THAT(cwd.Names(),
                testing::ElementsAre("below.tcj", "huge.tcj", "job.plt", "job.tcj", "many.tcj"))
        << c.what;
  }
  // Nothing is created under a new name either.
  const auto fresh = RunTectoplan(cwd.path(), copy.program(), "-A -I:./below.tcj -O:./new.plt");
  EXPECT_EQ(fresh.status, 1);
  EXPECT_FALSE(fs::exists(cwd / "new.plt"));
  const auto missingFolder =
      RunTectoplan(cwd.path(), copy.program(), "-A -I:./job.tcj -O:./no/job.plt");
  EXPECT_EQ(missingFolder.status, 1);
  EXPECT_EQ(missingFolder.err,
            "tectoplan: Unable to write to ./no/job.plt: No such file or directory\n");
}

TEST(UnattendedRun, ImmutableTargetKeepsItsContent) {
  const TempFolder cwd;
  WriteFile(cwd / "job.tcj", ReadFile(kFixtures + "gutter-2-layers.tcj"));
  WriteFile(cwd / "job.plt", "OLD\r\n");
  if (std::system(("chattr +i " + cwd / "job.plt" + " 2>/dev/null").c_str()) != 0) {
    GTEST_SKIP() << "chattr +i is not supported on the filesystem of /tmp";
  }
  const auto run = RunTectoplan(cwd.path(), kProgram, "-A -I:./job.tcj -O:./job.plt");
  std::system(("chattr -i " + cwd / "job.plt").c_str());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "tectoplan: Unable to write to ./job.plt: Operation not permitted\n");
  EXPECT_EQ(ReadFile(cwd / "job.plt"), "OLD\r\n");
  EXPECT_THAT(cwd.Names(), testing::ElementsAre("job.plt", "job.tcj"));
}

// An existing program is replaced with its mode kept, through a symbolic link; as root a
// read-only mode does not stop the write, as it would not stop an ordinary open.
TEST(UnattendedRun, ReplacesAnOldProgramKeepingItsModeThroughALink) {
  const TempFolder cwd;
  WriteFile(cwd / "job.tcj", ReadFile(kFixtures + "gutter-2-layers.tcj"));
  for (const auto mode : {fs::perms(0640), fs::perms(0444)}) {
    WriteFile(cwd / "real.plt", "OLD\r\n");
    fs::permissions(cwd / "real.plt", mode);
    fs::remove(cwd / "link.plt");
    fs::create_symlink("real.plt", cwd / "link.plt");
    const auto run = RunTectoplan(cwd.path(), kProgram, "-A -I:./job.tcj -O:./link.plt");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::is_symlink(cwd / "link.plt"));
    EXPECT_EQ(ReadFile(cwd / "real.plt"), ReadFile(kFixtures + "gutter-2-layers.plt"));
    EXPECT_EQ(fs::status(cwd / "real.plt").permissions(), mode);
    EXPECT_THAT(cwd.Names(), testing::ElementsAre("job.tcj", "link.plt", "real.plt"));
  }
}

TEST(UnattendedRun, NonRegularTargetIsWrittenDirectly) {
  const TempFolder cwd;
  WriteFile(cwd / "job.tcj", ReadFile(kFixtures + "flat-3-layers.tcj"));
  // A pipe (what a serial line or a controller's feed looks like) gets the program as it comes.
  const auto piped = RunTectoplan(cwd.path(), kProgram, "-A -I:./job.tcj -O:/dev/stdout | cat");
  EXPECT_EQ(piped.out, ReadFile(kFixtures + "flat-3-layers.plt"));
  // A character device is written, never replaced by a file.
  const auto device = RunTectoplan(cwd.path(), kProgram, "-A -I:./job.tcj -O:/dev/null");
  EXPECT_EQ(device.status, 0) << device.err;
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  EXPECT_THAT(cwd.Names(), testing::ElementsAre("job.tcj"));
}

// The example projects that `make demo` runs: each gives its program; those that are worked
// examples of the cutting paths give exactly the fixture.
TEST(UnattendedRun, ExampleProjects) {
  const std::string examples = std::string(TEST_DATA_DIR) + "/../../examples/";
  const TempFolder out;
  const struct {
    const char* example;
    const char* fixture;
  } kCases[] = {
      {"flat", "flat-3-layers"}, {"gutter", "gutter-2-layers"},
      {"gutter-3e", nullptr},    {"ridge", nullptr},
      {"ridge-3e", nullptr},     {"slope", "slope-2-layers"},
      {"double-slope", nullptr}, {"double-slope-narrow", "doubleslope-narrow"},
  };
  for (const auto& c : kCases) {
    const std::string plt = out / (std::string(c.example) + ".plt");
    const auto run =
        RunTectoplan(out.path(), kProgram, "-A -I:" + examples + c.example + ".tcj -O:" + plt);
    EXPECT_EQ(run.status, 0) << c.example << ": " << run.err;
    EXPECT_EQ(run.err, "") << c.example;
    const std::string program = ReadFile(plt);
    EXPECT_THAT(program, testing::EndsWith(";\r\nPU;\r\n\r\n")) << c.example;
    if (c.fixture != nullptr) {
      EXPECT_EQ(program, ReadFile(kFixtures + c.fixture + ".plt")) << c.example;
    }
  }
}

}  // namespace
