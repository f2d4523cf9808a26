// Faults injected into the unattended run's writes, as root runs them in CI: full and locked
// folders, file-size limits, kills in the middle of a large write, two runs at once, pipes
// without a reader or with one that leaves, and links planted in a shared folder. Each case that
// needs a mount, chattr or another user skips with the reason where the machine does not allow it.
// Random moments come from one seed, printed so that a failure can be replayed
// (TECTOPLAN_FAULT_SEED=N).
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "ProgramRun.h"
#include "TestFiles.h"
#include "base/AppError.h"
#include "locale/ErrorStr.h"
#include "project/ProjectData.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

const std::string kGutter =
    ReadFile(std::string(TEST_DATA_DIR) + "/../generator/data/gutter-2-layers.tcj");
const std::string kOld = "PD 0 0;\r\nOLD PROGRAM\r\n";
const std::string kNobody = "setpriv --reuid=65534 --regid=65534 --clear-groups";

// The gutter fixture with another layer count: 50 000 layers make a program of about 15 MB.
std::string GutterProject(int layers) {
  std::string text = kGutter;
  text.replace(text.find("Layer count=2"), 13, "Layer count=" + std::to_string(layers));
  return text;
}

// The names in folder, sorted.
std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename());
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool Shell(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

std::mt19937_64& Random() {
  static std::mt19937_64 random = [] {
    const char* given = std::getenv("TECTOPLAN_FAULT_SEED");
    const std::uint64_t seed =
        given != nullptr ? std::strtoull(given, nullptr, 10) : std::random_device()();
    std::cout << "fault injection seed " << seed << " (replay with TECTOPLAN_FAULT_SEED=" << seed
              << ")\n";
    return std::mt19937_64(seed);
  }();
  return random;
}

// Starts the program with args, its output thrown away, and returns its process id.
pid_t Start(const std::vector<std::string>& args) {
  std::vector<char*> argv{const_cast<char*>(kProgram.c_str())};
  for (const auto& a : args) {
    argv.push_back(const_cast<char*>(a.c_str()));
  }
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  EXPECT_EQ(posix_spawn(&pid, kProgram.c_str(), &actions, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// The exit status, or 128 + the signal that ended the process.
int Wait(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// A folder with the 50 000-layer project, the program it gives and an older program.
class FaultInjection : public testing::Test {
 protected:
  void SetUp() override {
    WriteFile(work_ / "big.tcj", GutterProject(50000));
    WriteFile(work_ / "small.tcj", kGutter);
    const auto run = RunTectoplan(work_.path(), kProgram, "-A -I:./big.tcj");
    ASSERT_EQ(run.status, 0) << run.err;
    big_ = run.out;
  }
  // Runs the big project into out (relative to the work folder).
  RunResult WriteBig(const std::string& out, const std::string& prefix = "") const {
    return RunTectoplan(work_.path(), kProgram, "-A -I:./big.tcj -O:" + out, prefix);
  }
  // Mounts a tmpfs with the options on folder, or says why not.
  static bool Mount(const std::string& folder, const std::string& options) {
    return Shell("mount -t tmpfs -o " + options + " tmpfs '" + folder + "'");
  }

  TempFolder work_;
  std::string big_;
};

std::string NoNewFile(const std::string& file, const std::string& reason) {
  return "tectoplan: Unable to write to " + file + ": its folder takes no new file (" + reason +
         "), and the file is only ever replaced whole; allow creating files in the folder or "
         "write elsewhere\n";
}

// A full file system: without a free inode the old program cannot be replaced and stays; with
// inodes but too little space the write fails and the old program stays too.
TEST_F(FaultInjection, FullFileSystem) {
  const std::string folder = work_ / "D";
  const struct {
    const char* what;
    const char* options;
    std::string err;
  } kCases[] = {
      {"no free inode", "size=2m,nr_inodes=2", NoNewFile("D/job.plt", "No space left on device")},
      {"no space", "size=2m", "tectoplan: Unable to write to D/job.plt: No space left on device\n"},
  };
  for (const auto& c : kCases) {
    fs::create_directory(folder);
    if (!Mount(folder, c.options)) {
      GTEST_SKIP() << "mounting a tmpfs is not allowed here";
    }
    WriteFile(folder + "/job.plt", kOld);
    const auto run = WriteBig("D/job.plt");
    EXPECT_EQ(run.status, 1) << c.what;
    EXPECT_EQ(run.err, c.err) << c.what;
    EXPECT_EQ(ReadFile(folder + "/job.plt"), kOld) << c.what;
    EXPECT_EQ(NamesIn(folder), std::vector<std::string>{"job.plt"}) << c.what;
    Shell("umount '" + folder + "'");
    fs::remove_all(folder);
  }
}

// An immutable folder takes no new file: the program is refused and the project save fails with
// its fixed text, also under a file-size limit that would have cut an in-place write short.
TEST_F(FaultInjection, ImmutableFolder) {
  const std::string folder = work_ / "L";
  fs::create_directory(folder);
  WriteFile(folder + "/job.plt", kOld);
  const std::string project = "[Other]\r\nkept=1\r\n[Project]\r\nLayer count=7\r\n";
  WriteFile(folder + "/job.tcj", project);
  if (!Shell("chattr +i '" + folder + "'")) {
    GTEST_SKIP() << "chattr +i is not allowed here";
  }
  // The limit leaves room for the message on standard error, which goes to a file here.
  for (const std::string prefix : {"", "prlimit --fsize=4096"}) {
    const auto run = WriteBig("L/job.plt", prefix);
    EXPECT_EQ(run.status, 1) << prefix;
    EXPECT_EQ(run.err, NoNewFile("L/job.plt", "Operation not permitted")) << prefix;

    // The project save, as the window's command runs it, in a child with the limit.
    const pid_t pid = fork();
    if (pid == 0) {
      if (!prefix.empty()) {
        const rlimit limit{40, 40};  // below the project's 14 keys
        setrlimit(RLIMIT_FSIZE, &limit);
      }
      try {
        TPanelsProject().Save(folder + "/job.tcj");
      } catch (const EAppError& e) {
        _exit(ErrorText(e) == "Unable to write to " + folder + "/job.tcj" ? 0 : 2);
      }
      _exit(3);
    }
    EXPECT_EQ(Wait(pid), 0) << prefix;
  }
  Shell("chattr -i '" + folder + "'");
  EXPECT_EQ(ReadFile(folder + "/job.plt"), kOld);
  EXPECT_EQ(ReadFile(folder + "/job.tcj"), project);
  EXPECT_EQ(NamesIn(folder), (std::vector<std::string>{"job.plt", "job.tcj"}));
}

// A file-size limit below the program's size cuts the write; the old program stays whole.
TEST_F(FaultInjection, FileSizeLimit) {
  WriteFile(work_ / "job.plt", kOld);
  const auto run = WriteBig("./job.plt", "prlimit --fsize=1000000");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "tectoplan: Unable to write to ./job.plt: File too large\n");
  EXPECT_EQ(ReadFile(work_ / "job.plt"), kOld);
  EXPECT_THAT(work_.Names(), testing::ElementsAre("big.tcj", "job.plt", "small.tcj"));
}

// kill -9 at random moments of a large write: after every kill the name holds the old program or
// the whole new one. The content gets a name only when complete, so the one leftover possible is
// a complete program under a hidden name, if the kill falls between its link and its rename.
TEST_F(FaultInjection, KillAtRandomMoments) {
  auto& random = Random();
  const std::string out = work_ / "job.plt";
  const std::vector<std::string> args = {"-A", "-I:" + work_ / "big.tcj", "-O:" + out};
  const auto begin = std::chrono::steady_clock::now();
  ASSERT_EQ(Wait(Start(args)), 0);
  const auto duration = std::chrono::steady_clock::now() - begin;
  ASSERT_EQ(ReadFile(out), big_);
  int killed = 0;
  for (int round = 0; round < 12; ++round) {
    WriteFile(out, kOld);
    const auto delay = std::uniform_int_distribution<std::int64_t>(
        0, std::chrono::duration_cast<std::chrono::microseconds>(duration).count())(random);
    const pid_t pid = Start(args);
    std::this_thread::sleep_for(std::chrono::microseconds(delay));
    kill(pid, SIGKILL);
    const int status = Wait(pid);
    killed += status == 128 + SIGKILL;
    const std::string now = ReadFile(out);
    EXPECT_TRUE(now == kOld || now == big_)
        << "round " << round << " after " << delay << " us: " << now.size() << " bytes";
    for (const auto& name : work_.Names()) {
      if (name == "big.tcj" || name == "small.tcj" || name == "job.plt") {
        continue;
      }
      EXPECT_THAT(name, testing::StartsWith(".tectoplan-")) << "round " << round;
      EXPECT_EQ(ReadFile(work_ / name), big_) << "round " << round << ": a partial leftover";
      std::cout << "a kill after " << delay << " us left the complete program as " << name << "\n";
      fs::remove(work_ / name);
    }
  }
  std::cout << killed << " of 12 runs were killed before they ended\n";
  EXPECT_GT(killed, 0);
}

// Two runs at once on one name: each exit says what happened, and the name holds one whole
// program. In a folder that takes no new file both are refused and the old program stays.
TEST_F(FaultInjection, TwoWritersAtOnce) {
  auto& random = Random();
  WriteFile(work_ / "other.tcj", GutterProject(20000));
  const auto other = RunTectoplan(work_.path(), kProgram, "-A -I:./other.tcj").out;
  const std::string out = work_ / "job.plt";
  for (int round = 0; round < 4; ++round) {
    const pid_t first = Start({"-A", "-I:" + work_ / "big.tcj", "-O:" + out});
    std::this_thread::sleep_for(
        std::chrono::microseconds(std::uniform_int_distribution<int>(0, 20000)(random)));
    const pid_t second = Start({"-A", "-I:" + work_ / "other.tcj", "-O:" + out});
    EXPECT_EQ(Wait(first), 0) << "round " << round;
    EXPECT_EQ(Wait(second), 0) << "round " << round;
    const std::string now = ReadFile(out);
    EXPECT_TRUE(now == big_ || now == other) << "round " << round << ": " << now.size();
    EXPECT_THAT(work_.Names(),
                testing::ElementsAre("big.tcj", "job.plt", "other.tcj", "small.tcj"));
  }
  const std::string folder = work_ / "L";
  fs::create_directory(folder);
  WriteFile(folder + "/job.plt", kOld);
  if (!Shell("chattr +i '" + folder + "'")) {
    GTEST_SKIP() << "chattr +i is not allowed here";
  }
  const pid_t first = Start({"-A", "-I:" + work_ / "big.tcj", "-O:" + folder + "/job.plt"});
  const pid_t second = Start({"-A", "-I:" + work_ / "other.tcj", "-O:" + folder + "/job.plt"});
  EXPECT_EQ(Wait(first), 1);
  EXPECT_EQ(Wait(second), 1);
  Shell("chattr -i '" + folder + "'");
  EXPECT_EQ(ReadFile(folder + "/job.plt"), kOld);
}

// A pipe without a reader is refused at once; with a reader the program goes through it.
TEST_F(FaultInjection, PipeWithoutAndWithAReader) {
  ASSERT_EQ(mkfifo((work_ / "feed").c_str(), 0600), 0);
  const auto begin = std::chrono::steady_clock::now();
  const auto alone =
      RunTectoplan(work_.path(), kProgram, "-A -I:./small.tcj -O:./feed", "timeout 10");
  EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(5));
  EXPECT_EQ(alone.status, 1);
  EXPECT_EQ(alone.err,
            "tectoplan: Unable to write to ./feed: no program reads from this pipe; start the "
            "reader first\n");
  // The reader is there before the writer: opened without waiting, read until the writer ends.
  const int reader = open((work_ / "feed").c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  const pid_t pid = Start({"-A", "-I:" + work_ / "big.tcj", "-O:" + work_ / "feed"});
  std::string got;
  int status = -1;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < deadline) {
    char buffer[65536];
    const ssize_t n = ::read(reader, buffer, sizeof buffer);
    if (n > 0) {
      got.append(buffer, static_cast<std::size_t>(n));
      continue;
    }
    int raw = 0;
    if (status < 0 && waitpid(pid, &raw, WNOHANG) == pid) {
      status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
      continue;  // drain what is left
    }
    if (status >= 0 && n == 0) {
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  close(reader);
  if (status < 0) {
    kill(pid, SIGKILL);
    Wait(pid);
  }
  EXPECT_EQ(status, 0);
  EXPECT_EQ(got, big_);
}

// A reader that leaves early: the run says so in one line and ends with 1, for standard output
// and for a pipe named with -O alike.
TEST_F(FaultInjection, ClosedPipe) {
  const struct {
    const char* output;
    const char* err;
  } kCases[] = {
      {"", "tectoplan: Unable to write to standard output: Broken pipe\n"},
      {"-O:/dev/stdout", "tectoplan: Unable to write to /dev/stdout: Broken pipe\n"},
  };
  for (const auto& c : kCases) {
    const TempFolder capture;
    const std::string command = "cd " + work_.path() + " && bash -c '" + kProgram +
                                " -A -I:./big.tcj " + c.output + " 2>" + capture / "err" +
                                " | head -c 10 >/dev/null; echo ${PIPESTATUS[0]} >" +
                                capture / "status" + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(ReadFile(capture / "status"), "1\n") << c.output;
    EXPECT_EQ(ReadFile(capture / "err"), c.err) << c.output;
  }
}

// Another user's link planted in a sticky, world-writable folder (as in /tmp) is not followed by
// root: neither the file it names is replaced nor the file a dangling one names created.
TEST_F(FaultInjection, PlantedLinkInAStickyFolder) {
  const std::string shared = work_ / "shared";
  fs::create_directory(shared);
  fs::permissions(shared, fs::perms(01777));
  WriteFile(work_ / "victim.plt", kOld);
  if (!Shell(kNobody + " ln -s " + work_ / "victim.plt" + " " + shared + "/job.plt") ||
      !Shell(kNobody + " ln -s " + work_ / "absent.plt" + " " + shared + "/new.plt")) {
    GTEST_SKIP() << "setpriv cannot act as uid 65534 here";
  }
  for (const std::string name : {"job.plt", "new.plt"}) {
    const auto run = RunTectoplan(work_.path(), kProgram, "-A -I:./small.tcj -O:./shared/" + name);
    EXPECT_EQ(run.status, 1) << name;
    EXPECT_EQ(run.err, "tectoplan: Unable to write to ./shared/" + name + ": shared/" + name +
                           " is another user's symbolic link in a shared folder and is not "
                           "followed; remove the link or write elsewhere\n");
  }
  EXPECT_EQ(ReadFile(work_ / "victim.plt"), kOld);
  EXPECT_FALSE(fs::exists(work_ / "absent.plt"));
}

// As uid 65534: the program replaces its own file through the unnamed temporary (linked through
// /proc/self/fd, which unprivileged users may do), and is refused where its folder takes no new
// file.
TEST_F(FaultInjection, AsAnotherUser) {
  const ProgramCopy copy;  // reachable by that user
  const std::string mine = work_ / "mine";
  const std::string locked = work_ / "locked";
  fs::create_directory(mine);
  fs::create_directory(locked);
  WriteFile(mine + "/job.plt", kOld);
  WriteFile(locked + "/job.plt", kOld);
  if (!Shell("chown -R 65534:65534 '" + mine + "' '" + locked + "/job.plt' && " + kNobody +
             " true")) {
    GTEST_SKIP() << "setpriv cannot act as uid 65534 here";
  }
  const auto replaced = RunTectoplan(work_.path(), copy.program(),
                                     "-A -I:" + work_ / "big.tcj" + " -O:./mine/job.plt", kNobody);
  EXPECT_EQ(replaced.status, 0) << replaced.err;
  EXPECT_EQ(ReadFile(mine + "/job.plt"), big_);
  EXPECT_EQ(NamesIn(mine), std::vector<std::string>{"job.plt"});
  const auto refused = RunTectoplan(work_.path(), copy.program(),
                                    "-A -I:" + work_ / "big.tcj" + " -O:./locked/job.plt", kNobody);
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err, NoNewFile("./locked/job.plt", "Permission denied"));
  EXPECT_EQ(ReadFile(locked + "/job.plt"), kOld);
}

}  // namespace
