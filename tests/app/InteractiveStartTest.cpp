#include "app/InteractiveStart.h"

#include <gtest/gtest.h>

#include <string>

namespace {

char kProgram[] = "tectoplan";
char kLast[] = "x";
char* kArgv[] = {kProgram, kLast, nullptr};

TEST(InteractiveStart, RunsTheFirstModuleThatLoads) {
  testing::internal::CaptureStderr();
  const int status =
      RunWindowModule({"/nonexistent/libtectoplan-ui.so", FAKE_WINDOW_MODULE}, 2, kArgv);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(status, 21);
}

TEST(InteractiveStart, NoModuleIsAnErrorWithItsReason) {
  testing::internal::CaptureStderr();
  const int status = RunWindowModule({"/nonexistent/libtectoplan-ui.so"}, 2, kArgv);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(status, 1);
  EXPECT_NE(err.find("tectoplan: cannot load the main window"), std::string::npos) << err;
  EXPECT_NE(err.find("/nonexistent/libtectoplan-ui.so"), std::string::npos) << err;
  EXPECT_EQ(err.back(), '\n');
}

TEST(InteractiveStart, ModuleWithoutEntryIsNotRun) {
  testing::internal::CaptureStderr();
  const int status = RunWindowModule({NO_ENTRY_MODULE}, 2, kArgv);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(status, 1);
  EXPECT_NE(err.find("no entry TectoplanRunInteractive"), std::string::npos) << err;
}

}  // namespace
