// The window tests run on Qt's offscreen platform with one application object for all of them.
#include <gtest/gtest.h>

#include <cstdlib>

#include "ui/Application.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  testing::InitGoogleTest(&argc, argv);
  TTectoplanApplication app(argc, argv);
  PrepareApplication();
  return RUN_ALL_TESTS();
}
