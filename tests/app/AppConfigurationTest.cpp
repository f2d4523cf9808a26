#include "app/AppConfiguration.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "EnvironmentScope.h"
#include "TestFiles.h"

namespace {

namespace fs = std::filesystem;

// A common configuration folder of the test's own, with or without a configuration file.
class AppConfigurationTest : public ::testing::Test {
 protected:
  void SetUp() override { env_.Set("XDG_CONFIG_DIRS", (root_.string() + ":/etc/xdg").c_str()); }

  void WriteConfig(const std::string& text) {
    fs::create_directories(root_ / "Corvana/Tectoplan");
    std::ofstream(root_ / "Corvana/Tectoplan/Tectoplan.ini", std::ios::binary) << text;
  }

  static std::string ProgramFolder() {
    return fs::read_symlink("/proc/self/exe").parent_path().string() + "/";
  }

  EnvironmentScope env_;
  const TempFolder folder_;
  const fs::path root_{folder_.path()};
};

TEST_F(AppConfigurationTest, DefaultsWithoutFileAndParameters) {
  AppCfg.Language = 7;
  AppCfg.AutoGen = true;
  LoadConfiguration({});
  EXPECT_EQ(AppCfg.AppDir, ProgramFolder());
  EXPECT_EQ(AppCfg.Language, 0);
  EXPECT_FALSE(AppCfg.AutoGen);
  EXPECT_EQ(AppCfg.AutoGenInFile, "");
  EXPECT_EQ(AppCfg.AutoGenOutFile, "");
}

TEST_F(AppConfigurationTest, ConfigurationFileLivesUnderTheCommonFolder) {
  EXPECT_EQ(GetConfigFilePath(), root_.string() + "/Corvana/Tectoplan/Tectoplan.ini");
  env_.Set("XDG_CONFIG_DIRS", nullptr);
  EXPECT_EQ(GetConfigFilePath(), "/etc/xdg/Corvana/Tectoplan/Tectoplan.ini");
  env_.Set("XDG_CONFIG_DIRS", "");
  EXPECT_EQ(GetSpecialFolderPath(kCommonAppDataFolder), "/etc/xdg");
  env_.Set("XDG_CONFIG_DIRS", "/opt/conf/:/etc/xdg");
  EXPECT_EQ(GetSpecialFolderPath(kCommonAppDataFolder), "/opt/conf");
}

TEST_F(AppConfigurationTest, LocalesKeyAndSwitchL) {
  struct Case {
    const char* file;
    std::vector<std::string> params;
    std::uint8_t expected;
  };
  const Case cases[] = {
      {"[Config]\r\nLocales=pl\r\n", {}, 0x15},
      {"[Config]\r\nLocales=pl\r\n", {"-L:en"}, 0x09},
      {"[Config]\r\nLocales=pl\r\n", {"-L"}, 0},  // an empty switch L wins over the file
      {"[Config]\r\nLocales=pl\r\n", {"-L", "-A"}, 0},
      {"[Config]\r\nLocales=pl\r\n", {"-Lxx"}, 0},
      {"", {"-l:PL"}, 0x15},
      {"", {"-L", "de"}, 0x07},
      {"", {"-Lpl", "-L:en"}, 0x15},  // the first match is used
      {"[config]\nlocales = en \n", {}, 0x09},
      {"[Config]\nLocales=\n", {}, 0},
      {"[Config]\nLocales=polish\n", {}, 0},
      {"\0\xff\xfe garbage\n[Config\nLocales=pl", {}, 0},
  };
  for (const auto& c : cases) {
    WriteConfig(c.file);
    LoadConfiguration(c.params);
    EXPECT_EQ(AppCfg.Language, c.expected) << c.file << " / " << c.params.size();
  }
}

TEST_F(AppConfigurationTest, UnreadableConfigurationMeansDefaults) {
  fs::create_directories(root_ / "Corvana/Tectoplan/Tectoplan.ini");  // a folder, not a file
  LoadConfiguration({"-L:pl"});
  EXPECT_EQ(AppCfg.Language, 0x15);
}

// An oversized file in the configuration's place never keeps the program from starting: it is
// ignored with a warning and the defaults apply; up to the limit it is read.
TEST_F(AppConfigurationTest, OversizedConfigurationIsIgnoredWithAWarning) {
  const std::string head = "[Config]\r\nLocales=pl\r\n";
  WriteConfig(head + std::string(kMaxConfigFileSize - head.size(), '\n'));
  EXPECT_FALSE(LoadConfiguration({}));
  EXPECT_EQ(AppCfg.Language, 0x15);

  WriteConfig(head + std::string(kMaxConfigFileSize - head.size() + 1, '\n'));
  const auto warning = LoadConfiguration({"-A"});
  ASSERT_TRUE(warning);
  EXPECT_EQ(warning->Id(), TErrorId::ConfigTooLarge);
  EXPECT_EQ(warning->Args().at(0), GetConfigFilePath());
  EXPECT_EQ(AppCfg.Language, 0);
  EXPECT_TRUE(AppCfg.AutoGen);  // the command line still counts
}

TEST_F(AppConfigurationTest, SwitchScan) {
  const std::string dir = ProgramFolder();
  struct Case {
    std::vector<std::string> params;
    bool autoGen;
    std::string in, out;
  };
  const Case cases[] = {
      {{"-A", "-I:job.tcj", "-O:job.plt"}, true, dir + "job.tcj", dir + "job.plt"},
      {{"-A", "-I", "job.tcj", "-O", "job.plt"}, true, dir + "job.tcj", dir + "job.plt"},
      {{"-a", "-ijob.tcj", "-ojob.plt"}, true, dir + "job.tcj", dir + "job.plt"},
      {{"-I:job.tcj", "-O:job.plt"}, false, dir + "job.tcj", dir + "job.plt"},
      {{"-A", "-I", "-O:x.plt"}, true, dir, dir + "x.plt"},
      {{"-Auto"}, false, "", ""},
      {{"/A"}, false, "", ""},  // "/" begins a path, not a switch
      {{"-A", "-I", "/home/op/job.tcj"}, true, "/home/op/job.tcj", ""},
      {{"/Orders/x.plt", "-I:./job.tcj"}, false, "./job.tcj", ""},
      {{"-I::x"}, false, dir + ":x", ""},
      {{"-I:sub/job.tcj", "-I:other.tcj"}, false, "sub/job.tcj", ""},
      {{"-I:sub\\job.tcj", "-O:C:job.plt"}, false, dir + "sub\\job.tcj", dir + "C:job.plt"},
      {{"-O"}, false, "", dir},
      {{"-Ifirst", "-A", "ignored"}, true, dir + "first", ""},
      {{"-A", "-A"}, true, "", ""},
      {{"--help", "-"}, false, "", ""},
  };
  for (const auto& c : cases) {
    LoadConfiguration(c.params);
    std::string joined;
    for (const auto& p : c.params) {
      joined += p + " ";
    }
    EXPECT_EQ(AppCfg.AutoGen, c.autoGen) << joined;
    EXPECT_EQ(AppCfg.AutoGenInFile, c.in) << joined;
    EXPECT_EQ(AppCfg.AutoGenOutFile, c.out) << joined;
  }
}

TEST_F(AppConfigurationTest, ResolveAppPath) {
  SetConfigDefaults();
  const std::string dir = ProgramFolder();
  EXPECT_EQ(ResolveAppPath("job.tcj"), dir + "job.tcj");
  EXPECT_EQ(ResolveAppPath(""), dir);
  EXPECT_EQ(ResolveAppPath("sub/job.tcj"), "sub/job.tcj");
  EXPECT_EQ(ResolveAppPath("/x/job.tcj"), "/x/job.tcj");
  EXPECT_EQ(ResolveAppPath("./job.tcj"), "./job.tcj");
}

// What a file manager passes: the project file is the first parameter that is neither a switch
// nor a switch's value, taken as given.
TEST_F(AppConfigurationTest, ProjectToOpenInTheWindow) {
  struct Case {
    std::vector<std::string> params;
    std::string project;
  };
  const Case cases[] = {
      {{}, ""},
      {{"roof.tcj"}, "roof.tcj"},
      {{"/home/op/jobs/roof.tcj"}, "/home/op/jobs/roof.tcj"},
      {{"jobs/a.tcj", "b.tcj"}, "jobs/a.tcj"},
      {{"-L", "pl", "roof.tcj"}, "roof.tcj"},
      {{"-l", "pl", "-i", "in.tcj", "-O", "out.plt", "roof.tcj"}, "roof.tcj"},
      {{"-L:pl", "roof.tcj"}, "roof.tcj"},
      {{"-Lpl", "roof.tcj"}, "roof.tcj"},
      {{"-I", "-L", "pl", "roof.tcj"}, "roof.tcj"},  // -I's value would begin with "-"
      {{"-X", "roof.tcj"}, "roof.tcj"},              // not a switch that takes a value
      {{"-I", "in.tcj"}, ""},
      {{"-A", "-I", "-O"}, ""},
      {{"-IL", "pl"}, "pl"},  // -IL carries its value, so "pl" is no value
  };
  for (const Case& c : cases) {
    std::string joined;
    for (const auto& p : c.params) {
      joined += p + " ";
    }
    EXPECT_EQ(FindProjectToOpen(c.params), c.project) << joined;
  }
}

}  // namespace
