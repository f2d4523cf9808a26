// The Windows implementations of the platform services, against the system itself (run under
// Wine by `make test-windows`).
#include <windows.h>

#include <gtest/gtest.h>
#include <shlobj.h>

#include <filesystem>
#include <string>

#include "TestFiles.h"
#include "app/AppConfiguration.h"
#include "platform/FileSystem.h"
#include "platform/NumberText.h"
#include "platform/ProgramFolder.h"
#include "platform/SharedFolders.h"
#include "platform/SystemLanguage.h"
#include "platform/Utf8Path.h"
#include "platform/WideText.h"

namespace {

namespace fs = std::filesystem;
using platform::PathFromUtf8;
using platform::WideFromUtf8;

// A folder for the test's files whose name holds Polish letters.
class Win32Files : public ::testing::Test {
 protected:
  std::string File(const std::string& name) const { return folder_ + "\\" + name; }

  const TempFolder temp_;
  const std::string folder_ = temp_.path() + "\\Zażółć gęślą jaźń";
  const bool created_ = fs::create_directory(PathFromUtf8(folder_));
};

TEST(Win32Text, Utf8AndUtf16RoundTrip) {
  const std::string polish = "Żółw łódź ĄĘŚĆ ńż";
  const std::wstring wide = WideFromUtf8(polish);
  EXPECT_EQ(wide, L"\u017b\u00f3\u0142w \u0142\u00f3d\u017a \u0104\u0118\u015a\u0106 \u0144\u017c");
  EXPECT_EQ(platform::Utf8FromWide(wide), polish);
  EXPECT_EQ(WideFromUtf8(""), L"");
}

TEST(Win32Errors, FileErrorsReadAsOnOtherPlatforms) {
  EXPECT_EQ(platform::ErrorFromWindows(ERROR_FILE_NOT_FOUND), std::errc::no_such_file_or_directory);
  EXPECT_EQ(platform::ErrorFromWindows(ERROR_ACCESS_DENIED), std::errc::permission_denied);
  EXPECT_EQ(platform::ErrorFromWindows(ERROR_DISK_FULL), std::errc::no_space_on_device);
  const std::error_code other = platform::ErrorFromWindows(ERROR_INVALID_FUNCTION);
  EXPECT_NE(other.category(), std::generic_category());
  EXPECT_FALSE(other.message().empty());
}

TEST(Win32Folders, ConfigurationFileLiesUnderTheCommonApplicationDataFolder) {
  const std::string common = platform::GetCommonAppDataFolder();
  ASSERT_GE(common.size(), 3u);
  EXPECT_EQ(common.substr(1, 2), ":\\") << common;
  EXPECT_TRUE(fs::is_directory(PathFromUtf8(common))) << common;
  EXPECT_EQ(GetConfigFilePath(), common + "\\Corvana\\Tectoplan\\Tectoplan.ini");

  // The file there is the configuration that LoadConfiguration reads.
  const fs::path config = PathFromUtf8(GetConfigFilePath());
  ASSERT_FALSE(fs::exists(config)) << "a configuration file is already there";
  fs::create_directories(config.parent_path());
  WriteFile(config.string(), "[Config]\r\nLocales=pl\r\n");
  LoadConfiguration({});
  const std::uint8_t fromFile = AppCfg.Language;
  LoadConfiguration({"/L:en"});
  const std::uint8_t fromSwitch = AppCfg.Language;
  fs::remove_all(config.parent_path().parent_path());
  EXPECT_EQ(fromFile, 0x15);
  EXPECT_EQ(fromSwitch, 0x09);
}

TEST(Win32Folders, ProgramFolderIsTheTestProgramsFolder) {
  const std::string program = platform::GetProgramFileName();
  EXPECT_EQ(PathFromUtf8(program).filename(), "platform_tests.exe") << program;
  SetConfigDefaults();
  ASSERT_FALSE(AppCfg.AppDir.empty());
  EXPECT_EQ(AppCfg.AppDir.back(), '\\');
  EXPECT_EQ(AppCfg.AppDir + "platform_tests.exe", program);
  EXPECT_EQ(ResolveAppPath("job.tcj"), AppCfg.AppDir + "job.tcj");
  EXPECT_EQ(ResolveAppPath("C:job.tcj"), "C:job.tcj");
}

// The regional settings Wine takes from the locale it runs in (platform_tests runs under
// pl_PL.UTF-8, platform_tests_english under en_US.UTF-8).
TEST(Win32Regional, SeparatorAndLanguagesFollowTheLocale) {
  wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
  ASSERT_GT(GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH), 0);
  const std::string locale = platform::Utf8FromWide(name);
  struct Case {
    const char* locale;
    const char* separator;
    const char* language;
  };
  const Case cases[] = {{"pl-PL", ",", "pl"}, {"en-US", ".", "en"}};
  bool known = false;
  for (const Case& c : cases) {
    if (locale != c.locale) {
      continue;
    }
    known = true;
    EXPECT_EQ(platform::NumberFormatFromEnvironment().decimalSeparator, c.separator) << locale;
    EXPECT_EQ(platform::SystemLocaleLanguageName(), c.language) << locale;
    EXPECT_EQ(platform::UserUILanguageName(), c.language) << locale;
  }
  EXPECT_TRUE(known) << "started in locale " << locale;
}

TEST_F(Win32Files, PolishNamesAreWrittenAndRead) {
  ASSERT_TRUE(created_);
  const std::string path = File("Dach żółty.plt");
  EXPECT_FALSE(platform::IsRegularFile(path));
  ASSERT_FALSE(platform::ReplaceFileContents(path, "IN;\r\n"));
  EXPECT_TRUE(platform::IsRegularFile(path));
  EXPECT_FALSE(platform::IsRegularFile(folder_));
  std::string text;
  EXPECT_FALSE(platform::ReadWholeFile(path, text));
  EXPECT_EQ(text, "IN;\r\n");
  EXPECT_TRUE(fs::is_regular_file(fs::path(L"" + WideFromUtf8(path))));
}

TEST_F(Win32Files, ReplacementLeavesOnlyTheNewFile) {
  const std::string path = File("job.plt");
  ASSERT_FALSE(platform::ReplaceFileContents(path, "old"));
  ASSERT_FALSE(platform::ReplaceFileContents(path, "new content"));
  std::string text;
  EXPECT_FALSE(platform::ReadWholeFile(path, text));
  EXPECT_EQ(text, "new content");
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(PathFromUtf8(folder_))) {
    names.push_back(platform::Utf8FromPath(entry.path().filename()));
  }
  EXPECT_EQ(names, std::vector<std::string>{"job.plt"});
}

// Another program holds the target open without sharing it for writing: nothing is replaced,
// the old content stays byte for byte and no temporary file is left behind.
TEST_F(Win32Files, LockedTargetKeepsTheOldFile) {
  const std::string path = File("locked.plt");
  ASSERT_FALSE(platform::ReplaceFileContents(path, "old program"));
  for (const DWORD share : {DWORD{0}, DWORD{FILE_SHARE_READ}}) {
    const HANDLE other = CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, share, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    const std::error_code ec = platform::ReplaceFileContents(path, "new program").reason;
    CloseHandle(other);
    EXPECT_TRUE(ec) << "share mode " << share;
    std::string text;
    EXPECT_FALSE(platform::ReadWholeFile(path, text));
    EXPECT_EQ(text, "old program") << "share mode " << share;
    EXPECT_EQ(std::distance(fs::directory_iterator(PathFromUtf8(folder_)), {}), 1);
  }
  // Once the other program lets go, the replacement works.
  EXPECT_FALSE(platform::ReplaceFileContents(path, "new program"));
}

TEST_F(Win32Files, ReadOnlyFileIsKept) {
  const std::string readOnly = File("read-only.plt");
  ASSERT_FALSE(platform::ReplaceFileContents(readOnly, "kept"));
  const std::wstring name = WideFromUtf8(readOnly);
  ASSERT_TRUE(SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_READONLY));
  // Wine run by root opens a read-only file for writing all the same, as root may on Linux.
  const HANDLE probe = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
  if (probe != INVALID_HANDLE_VALUE) {
    CloseHandle(probe);
    SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL);
    GTEST_SKIP() << "this system lets a read-only file be opened for writing";
  }
  EXPECT_EQ(platform::ReplaceFileContents(readOnly, "lost").reason, std::errc::permission_denied);
  std::string text;
  EXPECT_FALSE(platform::ReadWholeFile(readOnly, text));
  EXPECT_EQ(text, "kept");
  SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Win32Files, RefusedTargetsAndTheirReasons) {
  std::string text;
  EXPECT_EQ(platform::ReplaceFileContents(folder_, "x").reason, std::errc::is_a_directory);
  EXPECT_EQ(platform::ReadWholeFile(folder_, text), std::errc::is_a_directory);
  EXPECT_EQ(platform::ReplaceFileContents(File("no folder\\x.plt"), "x").reason,
            std::errc::no_such_file_or_directory);
  EXPECT_EQ(platform::ReadWholeFile(File("missing.tcj"), text),
            std::errc::no_such_file_or_directory);
  // A device takes the data as it comes.
  EXPECT_FALSE(platform::ReplaceFileContents("NUL", "discarded"));
}

}  // namespace
