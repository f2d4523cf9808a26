#include "platform/FileSystem.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <mutex>
#include <vector>

namespace platform {

namespace {

std::error_code LastError() {
  return {errno, std::generic_category()};
}

// Closes a descriptor when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() { Close(); }
  int get() const { return fd_; }
  void Reset(int fd) {
    Close();
    fd_ = fd;
  }
  int Close() {
    int result = 0;
    if (fd_ >= 0) {
      result = ::close(fd_);
      fd_ = -1;
    }
    return result;
  }

 private:
  int fd_;
};

std::error_code WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t written = ::write(fd, data.data(), data.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return LastError();
    }
    data.remove_prefix(static_cast<std::size_t>(written));
  }
  return {};
}

// A file-size limit must make write() fail with EFBIG instead of killing the process.
void IgnoreFileSizeSignal() {
  static std::once_flag once;
  std::call_once(once, [] { ::signal(SIGXFSZ, SIG_IGN); });
}

std::string DirectoryOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) {
    return ".";
  }
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Follows a chain of symbolic links to the path they finally name (which need not exist).
std::error_code ResolveLinks(const std::string& path, std::string& resolved) {
  resolved = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (::lstat(resolved.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
      return {};
    }
    std::vector<char> buffer(PATH_MAX + 1);
    const ssize_t n = ::readlink(resolved.c_str(), buffer.data(), buffer.size() - 1);
    if (n < 0) {
      return LastError();
    }
    std::string target(buffer.data(), static_cast<std::size_t>(n));
    resolved = target.front() == '/' ? target : DirectoryOf(resolved) + "/" + target;
  }
  return {ELOOP, std::generic_category()};
}

mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// Writes data into the already opened target and truncates it to that length.
std::error_code WriteInPlace(int fd, std::string_view data, bool truncate) {
  if (auto ec = WriteAll(fd, data)) {
    return ec;
  }
  if (truncate && ::ftruncate(fd, static_cast<off_t>(data.size())) != 0) {
    return LastError();
  }
  return {};
}

}  // namespace

bool IsRegularFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::error_code ReadWholeFile(const std::string& path, std::string& out, std::size_t limit) {
  out.clear();
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) {
    return LastError();
  }
  struct stat st;
  if (::fstat(fd.get(), &st) != 0) {
    return LastError();
  }
  if (S_ISDIR(st.st_mode)) {
    return {EISDIR, std::generic_category()};
  }
  if (S_ISREG(st.st_mode) && static_cast<std::uintmax_t>(st.st_size) > limit) {
    return {EFBIG, std::generic_category()};
  }
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      return LastError();
    }
    if (n == 0) {
      return {};
    }
    if (out.size() + static_cast<std::size_t>(n) > limit) {
      out.clear();
      return {EFBIG, std::generic_category()};
    }
    out.append(buffer, static_cast<std::size_t>(n));
  }
}

std::error_code ReplaceFileContents(const std::string& path, std::string_view data) {
  IgnoreFileSizeSignal();
  struct stat st;
  if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    // Pipes, terminals and devices cannot be replaced; they take the data as it comes. They are
    // opened by the name given: a link such as /dev/stdout may lead through /proc to a pipe,
    // which has no path to resolve.
    FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_CLOEXEC));
    if (fd.get() < 0) {
      return LastError();
    }
    if (auto ec = WriteInPlace(fd.get(), data, false)) {
      return ec;
    }
    return fd.Close() == 0 ? std::error_code{} : LastError();
  }

  std::string target;
  if (auto ec = ResolveLinks(path, target)) {
    return ec;
  }
  const bool exists = ::stat(target.c_str(), &st) == 0;
  if (!exists && errno != ENOENT) {
    return LastError();
  }
  if (exists && !S_ISREG(st.st_mode)) {
    return {EISDIR, std::generic_category()};  // replaced by a folder or device meanwhile
  }

  // The target must be writable as it stands: a read-only or immutable file refuses this open,
  // and then nothing is renamed over it either.
  FileDescriptor probe;
  if (exists) {
    probe.Reset(::open(target.c_str(), O_WRONLY | O_CLOEXEC));
    if (probe.get() < 0) {
      return LastError();
    }
  }

  std::string temp = DirectoryOf(target) + "/.tectoplan-XXXXXX";
  FileDescriptor fd(::mkstemp(temp.data()));
  if (fd.get() < 0) {
    const auto tempError = LastError();
    if (!exists) {
      return tempError;
    }
    // The folder takes no new file, but the file itself is writable: update it where it stands.
    if (auto ec = WriteInPlace(probe.get(), data, true)) {
      return ec;
    }
    return probe.Close() == 0 ? std::error_code{} : LastError();
  }
  probe.Close();

  auto fail = [&temp](std::error_code ec) {
    ::unlink(temp.c_str());
    return ec;
  };
  if (auto ec = WriteAll(fd.get(), data)) {
    return fail(ec);
  }
  if (exists) {
    // Keep the owner where allowed (only root may give a file away); the mode always.
    [[maybe_unused]] const int ignored = ::fchown(fd.get(), st.st_uid, st.st_gid);
    if (::fchmod(fd.get(), st.st_mode & 07777) != 0) {
      return fail(LastError());
    }
  } else if (::fchmod(fd.get(), NewFileMode()) != 0) {
    return fail(LastError());
  }
  if (::fsync(fd.get()) != 0) {
    return fail(LastError());
  }
  if (fd.Close() != 0) {
    return fail(LastError());
  }
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    return fail(LastError());
  }
  // Make the rename itself durable.
  FileDescriptor dir(::open(DirectoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) {
    ::fsync(dir.get());
  }
  return {};
}

std::error_code WriteStandardOutput(std::string_view data) {
  IgnoreFileSizeSignal();
  return WriteAll(STDOUT_FILENO, data);
}

}  // namespace platform
