// The command-line and file-name rules of both platforms, each applied through the functions
// that use them, whatever platform the tests run on.
#include "platform/PathConventions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/AppConfiguration.h"
#include "app/OrvexUtils.h"

namespace {

using platform::kPosixConventions;
using platform::kWindowsConventions;
using platform::PathConventions;

constexpr char kDir[] = "PROGRAM_DIR/";

std::string Joined(const std::vector<std::string>& params) {
  std::string joined;
  for (const auto& p : params) {
    joined += p + " ";
  }
  return joined;
}

struct SwitchCase {
  const char* platform;
  const PathConventions* rules;
  std::vector<std::string> params;
  bool autoGen;
  std::string in, out;
};

TEST(PathConventions, SwitchesOfEachPlatform) {
  const std::string d = kDir;
  const PathConventions* posix = &kPosixConventions;
  const PathConventions* windows = &kWindowsConventions;
  const SwitchCase cases[] = {
      // "-" starts a switch everywhere.
      {"posix", posix, {"-A", "-I:job.tcj", "-O:job.plt"}, true, d + "job.tcj", d + "job.plt"},
      {"windows", windows, {"-A", "-I:job.tcj", "-O:job.plt"}, true, d + "job.tcj", d + "job.plt"},
      // "/" starts one only on Windows; on POSIX it begins an absolute path.
      {"posix", posix, {"/A", "/I:job.tcj"}, false, "", ""},
      {"windows", windows, {"/A", "/I:job.tcj"}, true, d + "job.tcj", ""},
      {"windows",
       windows,
       {"/a", "/ijob.tcj", "/o", "job.plt"},
       true,
       d + "job.tcj",
       d + "job.plt"},
      {"windows", windows, {"/Auto"}, false, "", ""},
      // A value that begins with a switch character is none.
      {"posix", posix, {"-A", "-I", "/home/op/job.tcj"}, true, "/home/op/job.tcj", ""},
      {"windows", windows, {"-A", "-I", "/O:x.plt"}, true, d, d + "x.plt"},
      {"windows", windows, {"-A", "-I", "C:\\jobs\\job.tcj"}, true, "C:\\jobs\\job.tcj", ""},
      // Directory parts: "/" on POSIX; "\", "/" and ":" on Windows.
      {"posix",
       posix,
       {"-I:sub\\job.tcj", "-O:C:job.plt"},
       false,
       d + "sub\\job.tcj",
       d + "C:job.plt"},
      {"windows", windows, {"-I:sub\\job.tcj", "-O:C:job.plt"}, false, "sub\\job.tcj", "C:job.plt"},
      {"windows",
       windows,
       {"-I:D:\\x\\job.tcj", "-O:./job.plt"},
       false,
       "D:\\x\\job.tcj",
       "./job.plt"},
      {"windows", windows, {"-I::x"}, false, ":x", ""},
      {"posix", posix, {"-I::x"}, false, d + ":x", ""},
      {"windows", windows, {"-O"}, false, "", d},
  };
  for (const SwitchCase& c : cases) {
    AppCfg.AppDir = kDir;
    AppCfg.AutoGen = false;
    AppCfg.AutoGenInFile.clear();
    AppCfg.AutoGenOutFile.clear();
    ReadCommandLine(c.params, *c.rules);
    EXPECT_EQ(AppCfg.AutoGen, c.autoGen) << c.platform << ": " << Joined(c.params);
    EXPECT_EQ(AppCfg.AutoGenInFile, c.in) << c.platform << ": " << Joined(c.params);
    EXPECT_EQ(AppCfg.AutoGenOutFile, c.out) << c.platform << ": " << Joined(c.params);
  }
}

TEST(PathConventions, ProjectToOpenOfEachPlatform) {
  struct Case {
    const char* platform;
    const PathConventions* rules;
    std::vector<std::string> params;
    std::string project;
  };
  const Case cases[] = {
      {"posix", &kPosixConventions, {"/home/op/roof.tcj"}, "/home/op/roof.tcj"},
      {"windows", &kWindowsConventions, {"/L", "pl", "roof.tcj"}, "roof.tcj"},
      {"windows", &kWindowsConventions, {"/X", "C:\\jobs\\roof.tcj"}, "C:\\jobs\\roof.tcj"},
      {"posix", &kPosixConventions, {"/x.tcj", "roof.tcj"}, "/x.tcj"},
      {"windows", &kWindowsConventions, {"/x.tcj", "roof.tcj"}, "roof.tcj"},
      {"posix", &kPosixConventions, {"-I", "/x.tcj", "roof.tcj"}, "roof.tcj"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindProjectToOpen(c.params, *c.rules), c.project)
        << c.platform << ": " << Joined(c.params);
  }
}

TEST(PathConventions, ResolveAppPathOfEachPlatform) {
  AppCfg.AppDir = kDir;
  struct Case {
    const char* name;
    const char* posix;
    const char* windows;
  };
  const Case cases[] = {
      {"job.tcj", "PROGRAM_DIR/job.tcj", "PROGRAM_DIR/job.tcj"},
      {"", "PROGRAM_DIR/", "PROGRAM_DIR/"},
      {"sub/job.tcj", "sub/job.tcj", "sub/job.tcj"},
      {"sub\\job.tcj", "PROGRAM_DIR/sub\\job.tcj", "sub\\job.tcj"},
      {"C:job.tcj", "PROGRAM_DIR/C:job.tcj", "C:job.tcj"},
      {"D:\\x\\job.tcj", "PROGRAM_DIR/D:\\x\\job.tcj", "D:\\x\\job.tcj"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ResolveAppPath(c.name, kPosixConventions), c.posix) << c.name;
    EXPECT_EQ(ResolveAppPath(c.name, kWindowsConventions), c.windows) << c.name;
  }
}

// A dot before the last directory mark is no extension; the extension wanted never holds a
// mark, so both platforms give the same names, "\" folders included.
TEST(PathConventions, ForceFileExtOfEachPlatform) {
  struct Case {
    const char* fileName;
    const char* expected;
  };
  const Case cases[] = {
      {"x", "x.plt"},
      {"x.PLT", "x.PLT"},
      {"x.plt.", "x.plt.plt"},
      {"dir.old\\x", "dir.old\\x.plt"},
      {"dir.old/x", "dir.old/x.plt"},
      {"C:x.plt", "C:x.plt"},
      {"D:\\jobs.2026\\panel", "D:\\jobs.2026\\panel.plt"},
  };
  for (const PathConventions* rules : {&kPosixConventions, &kWindowsConventions}) {
    for (const Case& c : cases) {
      EXPECT_EQ(ForceFileExt(c.fileName, "plt", *rules), c.expected)
          << c.fileName << (rules == &kPosixConventions ? " (posix)" : " (windows)");
    }
  }
  // A mark inside what follows the last dot shows which rules were used.
  EXPECT_EQ(ForceFileExt("a.b\\c", ".b\\c", kPosixConventions), "a.b\\c");
  EXPECT_EQ(ForceFileExt("a.b\\c", ".b\\c", kWindowsConventions), "a.b\\c.b\\c");
}

}  // namespace
