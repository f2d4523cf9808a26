#include "platform/FileSystem.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string_view>
#include <thread>
#include <tuple>
#include <vector>

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

  struct TChildResult {
    int error = -1;  // the errno value of the reason, 0 for success
    platform::TWriteRefusal refusal = platform::TWriteRefusal::None;
  };
  // Runs body in a child process (as the nobody user when asked) and returns what it produced.
  static TChildResult InChild(bool asNobody, const std::function<platform::TWriteResult()>& body) {
    int channel[2];
    EXPECT_EQ(pipe(channel), 0);
    const pid_t pid = fork();
    if (pid == 0) {
      close(channel[0]);
      if (asNobody &&
          (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0)) {
        _exit(1);
      }
      const platform::TWriteResult result = body();
      const int reply[2] = {result.reason.value(), static_cast<int>(result.refusal)};
      _exit(write(channel[1], reply, sizeof reply) == sizeof reply ? 0 : 1);
    }
    close(channel[1]);
    int reply[2] = {-1, 0};
    const bool answered = read(channel[0], reply, sizeof reply) == sizeof reply;
    close(channel[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!answered || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      return {};
    }
    return {reply[0], static_cast<platform::TWriteRefusal>(reply[1])};
  }

  fs::path folder_;
};

TEST_F(FileSystemTest, NewFileGetsTheUmaskModeAndTheContent) {
  const mode_t saved = umask(027);
  const auto result = ReplaceFileContents(File("new.tcj"), "abc\r\n");
  umask(saved);
  ASSERT_FALSE(result) << result.reason.message();
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

// The kernel's rule for links in sticky, world-writable folders, applied by the program itself:
// such a link is followed only when it belongs to the caller or to the folder's owner, so a link
// that another user plants in /tmp cannot make a run replace a file of his choosing.
TEST_F(FileSystemTest, LinksInSharedFoldersAreFollowedOnlyFromTheirOwners) {
  if (geteuid() != 0) {
    GTEST_SKIP() << "needs root to give links to another user";
  }
  const std::string victim = File("victim/target.plt");
  fs::create_directory(File("victim"));
  fs::create_directory(File("shared"));
  fs::permissions(File("shared"), fs::perms(01777));
  fs::create_directory(File("theirs"));
  fs::permissions(File("theirs"), fs::perms(01777));
  ASSERT_EQ(chown(File("theirs").c_str(), kNobody, kNobody), 0);
  fs::create_directory(File("open"));
  fs::permissions(File("open"), fs::perms(0777));
  const uid_t me = geteuid();
  const struct {
    const char* what;
    std::vector<std::tuple<std::string, std::string, uid_t>> links;  // link, target, owner
    std::string path;
    std::string refusedLink;  // "" when the path is followed
  } kCases[] = {
      {"another user's link in a sticky folder",
       {{"shared/job.plt", victim, kNobody}},
       "shared/job.plt",
       "shared/job.plt"},
      {"another user's dangling link",
       {{"shared/job.plt", File("victim/new.plt"), kNobody}},
       "shared/job.plt",
       "shared/job.plt"},
      {"another user's link to a folder on the way",
       {{"shared/dir", File("victim"), kNobody}},
       "shared/dir/target.plt",
       "shared/dir"},
      {"the caller's own link leading to another user's",
       {{"mine.plt", File("shared/job.plt"), me}, {"shared/job.plt", victim, kNobody}},
       "mine.plt",
       "shared/job.plt"},
      {"the caller's own link in a sticky folder",
       {{"shared/job.plt", victim, me}},
       "shared/job.plt",
       ""},
      {"the folder owner's link", {{"theirs/job.plt", victim, kNobody}}, "theirs/job.plt", ""},
      {"another user's link in a folder without the sticky bit",
       {{"open/job.plt", victim, kNobody}},
       "open/job.plt",
       ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    Write(victim, "victim");
    for (const auto& [link, target, owner] : c.links) {
      fs::remove(File(link));
      fs::create_symlink(target, File(link));
      ASSERT_EQ(lchown(File(link).c_str(), owner, owner), 0);
    }
    const auto result = ReplaceFileContents(File(c.path), "new");
    if (c.refusedLink.empty()) {
      EXPECT_FALSE(result) << result.reason.message();
      EXPECT_EQ(Read(victim), "new");
    } else {
      EXPECT_EQ(result.reason, std::errc::permission_denied);
      EXPECT_EQ(result.refusal, platform::TWriteRefusal::LinkInSharedFolder);
      EXPECT_EQ(result.link, File(c.refusedLink));
      EXPECT_EQ(Read(victim), "victim");
      EXPECT_FALSE(fs::exists(File("victim/new.plt")));
    }
    for (const auto& link : c.links) {
      fs::remove(File(std::get<0>(link)));
    }
  }
}

TEST_F(FileSystemTest, MissingFolderFails) {
  EXPECT_EQ(ReplaceFileContents(File("nowhere/job.plt"), "x").reason,
            std::errc::no_such_file_or_directory);
}

TEST_F(FileSystemTest, ImmutableFileIsNeitherWrittenNorReplaced) {
  Write(File("locked.plt"), "old program");
  if (std::system(("chattr +i '" + File("locked.plt") + "' 2>/dev/null").c_str()) != 0) {
    GTEST_SKIP() << "this file system has no immutable attribute";
  }
  EXPECT_EQ(ReplaceFileContents(File("locked.plt"), "new").reason,
            std::errc::operation_not_permitted);
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
  EXPECT_EQ(InChild(true, [&] { return ReplaceFileContents(path, "new"); }).error, EACCES);
  EXPECT_EQ(Read(path), "old");
  EXPECT_TRUE(Leftovers({"theirs.tcj"}).empty());
}

// The reverse: a file the user may write, in a folder that takes no new file. It cannot be
// replaced in one step, and rewriting it in place could leave half of it: it is refused, whatever
// keeps the folder from taking the file.
TEST_F(FileSystemTest, ExistingFileInAFolderThatTakesNoNewFileIsRefused) {
  if (geteuid() != 0) {
    GTEST_SKIP() << "needs root to act as another user, lock a folder or mount";
  }
  const std::string old = "old content, longer";
  const struct {
    const char* what;
    const char* lock;    // shell command on the folder D
    const char* unlock;  // shell command that undoes it, or ""
    bool fileInTheLock;  // the file is written after the lock (into the mount)
    bool asNobody;
    int error;
  } kCases[] = {
      {"no write permission", "chmod 0755 D", "", false, true, EACCES},
      {"immutable folder", "chattr +i D", "chattr -i D", false, false, EPERM},
      {"no free inode", "mount -t tmpfs -o size=1m,nr_inodes=2 tmpfs D", "umount D", true, false,
       ENOSPC},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    const std::string folder = File("locked");
    const std::string path = folder + "/mine.tcj";
    fs::create_directory(folder);
    auto shell = [&](std::string line) {
      line.replace(line.find(" D"), 2, " '" + folder + "'");
      return std::system((line + " 2>/dev/null").c_str()) == 0;
    };
    if (!c.fileInTheLock) {
      Write(path, old);
      ASSERT_EQ(chown(path.c_str(), kNobody, kNobody), 0);
    }
    if (!shell(c.lock)) {
      std::cout << "[  SKIPPED ] " << c.what << ": '" << c.lock << "' is not allowed here\n";
      fs::remove_all(folder);
      continue;
    }
    if (c.fileInTheLock) {
      Write(path, old);
    }
    const auto result = InChild(c.asNobody, [&] { return ReplaceFileContents(path, "new"); });
    EXPECT_EQ(result.error, c.error);
    EXPECT_EQ(result.refusal, platform::TWriteRefusal::FolderTakesNoNewFile);
    // A new name in the same folder meets the folder's own refusal, not this one.
    const auto fresh =
        InChild(c.asNobody, [&] { return ReplaceFileContents(folder + "/other.tcj", "x"); });
    EXPECT_EQ(fresh.error, c.error);
    EXPECT_EQ(fresh.refusal, platform::TWriteRefusal::None);
    EXPECT_EQ(Read(path), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    if (*c.unlock != '\0') {
      shell(c.unlock);
    }
    fs::remove_all(folder);
  }
}

TEST_F(FileSystemTest, FileSizeLimitFailsTheWriteAndKeepsTheOldFile) {
  const std::string path = File("big.plt");
  Write(path, "old");
  const int error = InChild(false, [&] {
                      const rlimit limit{100, 100};
                      setrlimit(RLIMIT_FSIZE, &limit);
                      return ReplaceFileContents(path, std::string(1000, 'y'));
                    }).error;
  EXPECT_EQ(error, EFBIG);
  EXPECT_EQ(Read(path), "old");
  EXPECT_TRUE(Leftovers({"big.plt"}).empty());
}

// A pipe nobody reads from would make the write wait for ever: it is refused at once.
TEST_F(FileSystemTest, PipeWithoutAReaderIsRefusedAtOnce) {
  const std::string fifo = File("pipe");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  fs::create_symlink("pipe", File("link"));
  for (const std::string& path : {fifo, File("link")}) {
    const auto result = ReplaceFileContents(path, "nobody listens");
    EXPECT_EQ(result.reason, std::errc::no_such_device_or_address) << path;
    EXPECT_EQ(result.refusal, platform::TWriteRefusal::PipeWithoutReader) << path;
  }
  EXPECT_TRUE(fs::is_fifo(fifo));
}

// The content gets its name only when it is complete, for another user too: the unnamed file is
// linked through /proc/self/fd, which the kernel allows to every user.
TEST_F(FileSystemTest, AnotherUserReplacesHisFileLeavingNothingElse) {
  if (geteuid() != 0) {
    GTEST_SKIP() << "needs root to act as another user";
  }
  fs::create_directory(File("his"));
  ASSERT_EQ(chown(File("his").c_str(), kNobody, kNobody), 0);
  const std::string path = File("his/job.plt");
  EXPECT_EQ(InChild(true, [&] { return ReplaceFileContents(path, "first"); }).error, 0);
  EXPECT_EQ(InChild(true, [&] { return ReplaceFileContents(path, "second"); }).error, 0);
  EXPECT_EQ(Read(path), "second");
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, kNobody);
  EXPECT_EQ(std::distance(fs::directory_iterator(File("his")), fs::directory_iterator()), 1);
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

// Everything read from fd until its writers are gone.
std::string ReadToEnd(int fd) {
  std::string all;
  char buffer[4096];
  for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) {
    all.append(buffer, static_cast<std::size_t>(n));
  }
  return all;
}

// A text and its ending go out as two parts, never joined into a copy: the target holds them one
// after the other, empty parts included.
TEST_F(FileSystemTest, PartsAreWrittenOneAfterTheOther) {
  const std::string large(2 << 20, 'x');
  const std::string_view parts[] = {"", "IN;\r\n", large, "", "PU;\r\n", "\r\n"};
  const std::string whole = std::string("IN;\r\n") + large + "PU;\r\n\r\n";

  Write(File("job.plt"), "old program");
  ASSERT_FALSE(ReplaceFileContents(File("job.plt"), parts));
  EXPECT_EQ(Read(File("job.plt")), whole);
  ASSERT_FALSE(ReplaceFileContents(File("new.plt"), parts));
  EXPECT_EQ(Read(File("new.plt")), whole);
  const std::string_view nothing[] = {"", ""};
  ASSERT_FALSE(ReplaceFileContents(File("empty.plt"), nothing));
  EXPECT_EQ(Read(File("empty.plt")), "");

  // A pipe whose reader is slow while signals keep arriving: a write that a signal interrupts
  // returns what it took so far, part way through a part, and the rest must follow from there.
  const std::string fifo = File("pipe");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  fcntl(reader, F_SETFL, 0);  // blocking from here on
  // A writer of the test's own, open until the run is over: without one, a read before the run
  // opens the pipe would see its end at once.
  const int holder = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
  ASSERT_GE(holder, 0);
  struct sigaction tick = {};
  tick.sa_handler = [](int) {};  // no SA_RESTART: the signal cuts the write short
  struct sigaction saved;
  ASSERT_EQ(sigaction(SIGALRM, &tick, &saved), 0);
  // A writer that goes wrong writes more than the whole: the reader then stops and leaves, and
  // the writer gets EPIPE instead of going on for ever.
  struct sigaction ignore = {};
  ignore.sa_handler = SIG_IGN;
  struct sigaction savedPipe;
  ASSERT_EQ(sigaction(SIGPIPE, &ignore, &savedPipe), 0);
  std::string received;
  std::thread drain([&] {
    sigset_t alarm;
    sigemptyset(&alarm);
    sigaddset(&alarm, SIGALRM);
    pthread_sigmask(SIG_BLOCK, &alarm, nullptr);  // the writer gets the signals
    char buffer[4096];
    for (ssize_t n;
         received.size() <= whole.size() && (n = read(reader, buffer, sizeof buffer)) > 0;) {
      received.append(buffer, static_cast<std::size_t>(n));
      std::this_thread::sleep_for(std::chrono::microseconds(20));
    }
    close(reader);
  });
  itimerval every = {{0, 300}, {0, 300}};
  setitimer(ITIMER_REAL, &every, nullptr);
  const auto result = ReplaceFileContents(fifo, parts);
  itimerval off = {};
  setitimer(ITIMER_REAL, &off, nullptr);
  sigaction(SIGALRM, &saved, nullptr);
  close(holder);
  drain.join();
  sigaction(SIGPIPE, &savedPipe, nullptr);
  EXPECT_FALSE(result) << result.reason.message();
  EXPECT_EQ(received.size(), whole.size());
  EXPECT_TRUE(received == whole);

  // Standard output, in a child whose standard output is a pipe.
  int channel[2];
  ASSERT_EQ(pipe(channel), 0);
  const pid_t pid = fork();
  if (pid == 0) {
    close(channel[0]);
    dup2(channel[1], STDOUT_FILENO);
    close(channel[1]);
    _exit(platform::WriteStandardOutput(parts) ? 1 : 0);
  }
  close(channel[1]);
  EXPECT_EQ(ReadToEnd(channel[0]), whole);
  close(channel[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
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
