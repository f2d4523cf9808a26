#include "app/OrvexUtils.h"

#include <gtest/gtest.h>

namespace {

struct ExtCase {
  const char* fileName;
  const char* expected;
};

constexpr ExtCase kPltCases[] = {
    {"x", "x.plt"},
    {"x.plt", "x.plt"},
    {"x.PLT", "x.PLT"},
    {"x.txt", "x.txt.plt"},
    {"x.", "x.plt"},
    {"x.plt.", "x.plt.plt"},
    {"dir.old/x", "dir.old/x.plt"},
    {"/home/op/jobs.2026/panel", "/home/op/jobs.2026/panel.plt"},
    {"", ".plt"},
};

TEST(ForceFileExt, GivesTheExtensionUnlessTheNameHasIt) {
  for (const char* ext : {".plt", "plt", "..plt"}) {
    for (const auto& c : kPltCases) {
      EXPECT_EQ(ForceFileExt(c.fileName, ext), c.expected) << c.fileName << " with " << ext;
    }
  }
}

TEST(ForceFileExt, ComparesOnlyAsciiLettersWithoutCase) {
  EXPECT_EQ(ForceFileExt("job.TcJ", ".tcj"), "job.TcJ");
  EXPECT_EQ(ForceFileExt("job.tcj", ".plt"), "job.tcj.plt");
}

TEST(TAppInfo, VersionIsFixed) {
  EXPECT_EQ(TAppInfo().Version(), "1.2.0.0");
}

}  // namespace
