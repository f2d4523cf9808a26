#include "metafile/ImageFolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>

namespace fs = std::filesystem;

namespace {

class ImageFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("tectoplan-images-" + std::to_string(getpid()));
    fs::create_directories(root_ / "bin");
  }
  void TearDown() override { fs::remove_all(root_); }
  fs::path root_;
};

TEST_F(ImageFolderTest, BesideTheProgramComesFirstThenTheInstalledDataFolder) {
  auto candidates = ImageFolderCandidates(root_ / "bin");
  ASSERT_EQ(candidates.size(), 2u);
  EXPECT_EQ(candidates[0], root_ / "bin" / "images" / "");
  // Relative to the program's folder, never a path fixed when the build was configured.
  EXPECT_EQ(candidates[1], root_ / "share" / "tectoplan" / "images" / "");

  // Nothing there: the place beside the program, so that the load error names it.
  EXPECT_EQ(FindImageFolder(candidates), candidates[0]);
  fs::create_directories(candidates[1]);
  EXPECT_EQ(FindImageFolder(candidates), candidates[1]);
  fs::create_directories(candidates[0]);
  EXPECT_EQ(FindImageFolder(candidates), candidates[0]);
}

TEST_F(ImageFolderTest, AFileOfThatNameIsNotAFolder) {
  auto candidates = ImageFolderCandidates(root_ / "bin");
  std::ofstream(root_ / "bin" / "images") << "x";
  fs::create_directories(candidates[1]);
  EXPECT_EQ(FindImageFolder(candidates), candidates[1]);
}

TEST(ImageFolder, TheRunningProgramsOwnFolderComesFirst) {
  // This test program has no images/ beside it and no data folder relative to it, so the answer
  // is the place beside it, whatever is installed elsewhere on the machine.
  fs::path beside = fs::path(TECTOPLAN_BINARY_DIR) / "tests" / "metafile" / "images" / "";
  EXPECT_EQ(ImageFolder(), beside);
}

}  // namespace
