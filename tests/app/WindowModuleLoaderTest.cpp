#include "app/WindowModuleLoader.h"

#include <gtest/gtest.h>

#include <string>

#include "base/AppError.h"
#include "locale/ErrorStr.h"

namespace {

char kProgram[] = "tectoplan";
char kLast[] = "x";
char* kArgv[] = {kProgram, kLast, nullptr};

// The text of the error RunWindowModule raises for candidates, in English.
std::string LoadError(const std::vector<std::string>& candidates) {
  try {
    RunWindowModule(candidates, 2, kArgv);
  } catch (const EAppError& e) {
    EXPECT_EQ(e.Id(), TErrorId::WindowModule);
    return ErrorText(e, TTextLanguage::English);
  }
  ADD_FAILURE() << "no error";
  return {};
}

TEST(WindowModuleLoader, RunsTheFirstModuleThatLoads) {
  testing::internal::CaptureStderr();
  const int status =
      RunWindowModule({"/nonexistent/libtectoplan-ui.so", FAKE_WINDOW_MODULE}, 2, kArgv);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(status, 21);
  EXPECT_EQ(RunWindowModule({FAKE_WINDOW_MODULE}, 2, kArgv, "roof.tcj"), 121);
}

TEST(WindowModuleLoader, NoModuleIsAnErrorWithItsReason) {
  const std::string text = LoadError({"/nonexistent/libtectoplan-ui.so"});
  EXPECT_EQ(text.rfind("cannot load the main window (", 0), 0u) << text;
  EXPECT_NE(text.find("/nonexistent/libtectoplan-ui.so"), std::string::npos) << text;
}

TEST(WindowModuleLoader, ModuleWithoutEntryIsNotRun) {
  const std::string text = LoadError({NO_ENTRY_MODULE});
  EXPECT_NE(text.find("no entry TectoplanRunWindow"), std::string::npos) << text;
}

}  // namespace
