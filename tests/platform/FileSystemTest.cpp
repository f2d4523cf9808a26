#include "platform/FileSystem.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using platform::ReplaceFileContents;

constexpr uid_t kNobody = 65534;

class FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "tectoplan-fs-XXXXXX").string();
    folder_ = mkdtemp(pattern.data());
    fs::permissions(folder_, fs::perms::all);  // reachable for the other-user cases
  }
  void TearDown() override {
    for (const auto& entry : fs::recursive_directory_iterator(folder_)) {
      std::system(("chattr -i '" + entry.path().string() + "' 2>/dev/null").c_str());
    }
    fs::remove_all(folder_);
  }

  std::string File(const std::string& name) const { return (folder_ / name).string(); }

  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  static mode_t Mode(const std::string& path) {
    struct stat st;
    EXPECT_EQ(::stat(path.c_str(), &st), 0);
    return st.st_mode & 07777;
  }
  // Names in the folder besides the given ones: left-over temporary files.
  std::vector<std::string> Leftovers(std::initializer_list<std::string> expected) const {
    std::vector<std::string> extra;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      const auto name = entry.path().filename().string();
      if (std::find(expected.begin(), expected.end(), name) == expected.end()) {
        extra.push_back(name);
      }
    }
    return extra;
  }

  // Runs body in a child process (as the nobody user when asked) and returns the errno value of
  // the error code it produced (0 for success).
  static int InChild(bool asNobody, const std::function<std::error_code()>& body) {
    const pid_t pid = fork();
    if (pid == 0) {
      if (asNobody &&
          (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0)) {
        _exit(255);
      }
      _exit(body().value());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  fs::path folder_;
};

TEST_F(FileSystemTest, NewFileGetsTheUmaskModeAndTheContent) {
  const mode_t saved = umask(027);
  const auto ec = ReplaceFileContents(File("new.tcj"), "abc\r\n");
  umask(saved);
  ASSERT_FALSE(ec) << ec.message();
  EXPECT_EQ(Read(File("new.tcj")), "abc\r\n");
  EXPECT_EQ(Mode(File("new.tcj")), 0640u);
  EXPECT_TRUE(Leftovers({"new.tcj"}).empty());
}

TEST_F(FileSystemTest, ExistingFileKeepsItsModeAndIsReplacedWhole) {
  Write(File("job.plt"), std::string(10000, 'x'));
  fs::permissions(File("job.plt"), fs::perms(0604));
  ASSERT_FALSE(ReplaceFileContents(File("job.plt"), "short"));
  EXPECT_EQ(Read(File("job.plt")), "short");
  EXPECT_EQ(Mode(File("job.plt")), 0604u);
  EXPECT_TRUE(Leftovers({"job.plt"}).empty());
}

TEST_F(FileSystemTest, SymbolicLinkIsFollowed) {
  Write(File("real.tcj"), "old");
  fs::create_symlink("real.tcj", File("link.tcj"));
  fs::create_symlink(File("absent.tcj"), File("dangling.tcj"));
  ASSERT_FALSE(ReplaceFileContents(File("link.tcj"), "new"));
  ASSERT_FALSE(ReplaceFileContents(File("dangling.tcj"), "created"));
  EXPECT_TRUE(fs::is_symlink(File("link.tcj")));
  EXPECT_EQ(Read(File("real.tcj")), "new");
  EXPECT_EQ(Read(File("absent.tcj")), "created");
}

TEST_F(FileSystemTest, MissingFolderFails) {
  EXPECT_EQ(ReplaceFileContents(File("nowhere/job.plt"), "x"),
            std::errc::no_such_file_or_directory);
}

TEST_F(FileSystemTest, ImmutableFileIsNeitherWrittenNorReplaced) {
  Write(File("locked.plt"), "old program");
  if (std::system(("chattr +i '" + File("locked.plt") + "' 2>/dev/null").c_str()) != 0) {
    GTEST_SKIP() << "this file system has no immutable attribute";
  }
  EXPECT_EQ(ReplaceFileContents(File("locked.plt"), "new"), std::errc::operation_not_permitted);
  EXPECT_EQ(Read(File("locked.plt")), "old program");
  EXPECT_TRUE(Leftovers({"locked.plt"}).empty());
}

// The folder lets the other user create files, but the file itself is not his to write: a rename
// over it would succeed, and must not happen.
TEST_F(FileSystemTest, ReadOnlyFileOfAnotherUserIsNotReplaced) {
  if (geteuid() != 0) {
    GTEST_SKIP() << "needs root to act as another user";
  }
  Write(File("theirs.tcj"), "old");
  fs::permissions(File("theirs.tcj"), fs::perms(0644));
  const std::string path = File("theirs.tcj");
  EXPECT_EQ(InChild(true, [&] { return ReplaceFileContents(path, "new"); }), EACCES);
  EXPECT_EQ(Read(path), "old");
  EXPECT_TRUE(Leftovers({"theirs.tcj"}).empty());
}

// The reverse: a file the user may write, in a folder where he may not create the temporary file.
TEST_F(FileSystemTest, WritableFileInALockedFolderIsUpdatedInPlace) {
  if (geteuid() != 0) {
    GTEST_SKIP() << "needs root to act as another user";
  }
  fs::create_directory(File("locked"));
  const std::string path = File("locked/mine.tcj");
  Write(path, "old content, longer");
  ASSERT_EQ(chown(path.c_str(), kNobody, kNobody), 0);
  fs::permissions(File("locked"), fs::perms(0755));
  EXPECT_EQ(InChild(true, [&] { return ReplaceFileContents(path, "new"); }), 0);
  EXPECT_EQ(Read(path), "new");
  EXPECT_EQ(InChild(true, [&] { return ReplaceFileContents(File("locked/other.tcj"), "x"); }),
            EACCES);
}

TEST_F(FileSystemTest, FileSizeLimitFailsTheWriteAndKeepsTheOldFile) {
  const std::string path = File("big.plt");
  Write(path, "old");
  const int error = InChild(false, [&] {
    const rlimit limit{100, 100};
    setrlimit(RLIMIT_FSIZE, &limit);
    return ReplaceFileContents(path, std::string(1000, 'y'));
  });
  EXPECT_EQ(error, EFBIG);
  EXPECT_EQ(Read(path), "old");
  EXPECT_TRUE(Leftovers({"big.plt"}).empty());
}

TEST_F(FileSystemTest, DevicesAndPipesAreWrittenDirectly) {
  EXPECT_FALSE(ReplaceFileContents("/dev/null", "x"));
  const std::string fifo = File("pipe");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  EXPECT_FALSE(ReplaceFileContents(fifo, "through the pipe"));
  char buffer[64] = {};
  EXPECT_EQ(read(reader, buffer, sizeof buffer), 16);
  EXPECT_STREQ(buffer, "through the pipe");
  close(reader);
}

TEST_F(FileSystemTest, ReadWholeFileRefusesFolders) {
  std::string out;
  EXPECT_EQ(platform::ReadWholeFile(folder_.string(), out), std::errc::is_a_directory);
  EXPECT_EQ(platform::ReadWholeFile(File("missing"), out), std::errc::no_such_file_or_directory);
  Write(File("x"), "data");
  EXPECT_FALSE(platform::ReadWholeFile(File("x"), out));
  EXPECT_EQ(out, "data");
  EXPECT_TRUE(platform::IsRegularFile(File("x")));
  EXPECT_FALSE(platform::IsRegularFile(folder_.string()));
}

TEST_F(FileSystemTest, ReadWholeFileStopsAtItsLimit) {
  Write(File("x"), "12345");
  struct Case {
    const char* name;
    std::string path;
    std::size_t limit;
    std::error_code expected;
    std::string content;
  };
  const std::error_code tooLarge = std::make_error_code(std::errc::file_too_large);
  const Case cases[] = {
      {"a file of exactly the limit", File("x"), 5, {}, "12345"},
      {"a file one byte above it", File("x"), 4, tooLarge, ""},
      {"a device that never ends", "/dev/zero", 100'000, tooLarge, ""},
      {"a device that ends below the limit", "/dev/null", 10, {}, ""},
  };
  for (const auto& c : cases) {
    std::string out = "old";
    EXPECT_EQ(platform::ReadWholeFile(c.path, out, c.limit), c.expected) << c.name;
    EXPECT_EQ(out, c.content) << c.name;
  }
}

}  // namespace
