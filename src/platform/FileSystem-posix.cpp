#include "platform/FileSystem.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

namespace platform {

namespace {

std::error_code LastError() {
  return {errno, std::generic_category()};
}

std::error_code Error(int code) {
  return {code, std::generic_category()};
}

// Closes a descriptor when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() { Close(); }
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
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

// Writes the parts one after the other with as few calls as the kernel allows (writev), going on
// after a partial write where it stopped.
std::error_code WriteAll(int fd, std::span<const std::string_view> parts) {
  constexpr std::size_t kMostAtOnce = 64;  // well below IOV_MAX (1024 on Linux)
  std::size_t next = 0;                    // the first part not yet written whole
  std::size_t done = 0;                    // bytes of parts[next] already written
  while (next < parts.size()) {
    iovec pieces[kMostAtOnce];
    std::size_t count = 0;
    for (std::size_t i = next; i < parts.size() && count < kMostAtOnce; ++i) {
      const std::string_view part = i == next ? parts[i].substr(done) : parts[i];
      if (!part.empty()) {
        pieces[count++] = {const_cast<char*>(part.data()), part.size()};
      }
    }
    if (count == 0) {
      return {};
    }
    const ssize_t written = ::writev(fd, pieces, static_cast<int>(count));
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return LastError();
    }
    // Step past what was written: whole parts first, then into the part where it stopped.
    std::size_t left = static_cast<std::size_t>(written);
    while (next < parts.size()) {
      const std::size_t rest = parts[next].size() - done;
      if (left < rest) {
        done += left;
        break;
      }
      left -= rest;
      ++next;
      done = 0;
    }
  }
  return {};
}

// A file-size limit must make write() fail with EFBIG instead of killing the process.
void IgnoreFileSizeSignal() {
  static std::once_flag once;
  std::call_once(once, [] { ::signal(SIGXFSZ, SIG_IGN); });
}

mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// The final step of a path: the folder (opened as a path, with every link on the way checked)
// and the name in it, or the object itself where only the kernel can follow the last link.
struct TResolved {
  FileDescriptor folder;
  std::string name;
  FileDescriptor opened;
};

std::deque<std::string> SplitPath(std::string_view path) {
  std::deque<std::string> parts;
  while (!path.empty()) {
    const auto slash = path.find('/');
    const std::string_view part = path.substr(0, slash);
    if (!part.empty()) {
      parts.emplace_back(part);
    }
    if (slash == std::string_view::npos) {
      break;
    }
    path.remove_prefix(slash + 1);
  }
  return parts;
}

// The kernel's rule for links in shared folders (fs.protected_symlinks), applied whatever the
// setting: in a sticky, world-writable folder a link is followed only when it belongs to the
// caller or to the folder's owner, so that nobody can plant a link there that makes the program
// replace a file of his choice with the caller's rights.
bool MayFollow(int folder, const struct stat& link) {
  struct stat st;
  if (::fstat(folder, &st) != 0) {
    return false;
  }
  if ((st.st_mode & S_ISVTX) == 0 || (st.st_mode & S_IWOTH) == 0) {
    return true;
  }
  return link.st_uid == ::geteuid() || link.st_uid == st.st_uid;
}

// path/name, as shown in messages.
std::string Join(const std::string& path, const std::string& name) {
  if (path.empty()) {
    return name;
  }
  return path.back() == '/' ? path + name : path + "/" + name;
}

bool InProcFileSystem(int folder) {
  struct statfs fs;
  return ::fstatfs(folder, &fs) == 0 && fs.f_type == PROC_SUPER_MAGIC;
}

std::error_code ReadLink(int folder, const std::string& name, std::string& target) {
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t n = ::readlinkat(folder, name.c_str(), buffer.data(), buffer.size());
    if (n < 0) {
      return LastError();
    }
    if (static_cast<std::size_t>(n) < buffer.size()) {
      target.assign(buffer.data(), static_cast<std::size_t>(n));
      return {};
    }
    buffer.resize(buffer.size() * 2);
  }
}

// Walks path one name at a time, as the kernel would, so that every symbolic link on the way is
// seen and checked, and the folder found is the one that is then written: nothing on the way can
// be swapped for a link between the check and the write.
TWriteResult Resolve(const std::string& path, TResolved& out) {
  if (path.empty()) {
    return {Error(ENOENT)};
  }
  constexpr int kFolderFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;
  const bool absolute = path.front() == '/';
  FileDescriptor folder(::open(absolute ? "/" : ".", kFolderFlags));
  if (!folder.valid()) {
    return {LastError()};
  }
  std::string shown = absolute ? "/" : "";  // the folder's path as walked, for messages
  std::deque<std::string> parts = SplitPath(path);
  bool mustBeFolder = path.back() == '/';
  int links = 0;
  while (!parts.empty()) {
    const std::string name = std::move(parts.front());
    parts.pop_front();
    const bool last = parts.empty();
    if (name == ".") {
      if (last) {
        return {Error(EISDIR)};
      }
      continue;
    }
    struct stat st;
    if (::fstatat(folder.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
      if (errno == ENOENT && last && !mustBeFolder) {
        out.folder.Reset(::dup(folder.get()));
        out.name = name;
        return {};
      }
      return {LastError()};
    }
    if (S_ISLNK(st.st_mode)) {
      if (++links > 40) {
        return {Error(ELOOP)};
      }
      if (!MayFollow(folder.get(), st)) {
        return {Error(EACCES), TWriteRefusal::LinkInSharedFolder, Join(shown, name)};
      }
      // The links of /proc (a descriptor's /proc/self/fd/N, a pipe's "pipe:[N]") lead to objects
      // that may have no path at all; only the kernel can follow them.
      struct stat object;
      if (InProcFileSystem(folder.get()) &&
          ::fstatat(folder.get(), name.c_str(), &object, 0) == 0 && !S_ISREG(object.st_mode)) {
        if (S_ISDIR(object.st_mode)) {
          folder.Reset(::openat(folder.get(), name.c_str(), kFolderFlags));
          if (!folder.valid()) {
            return {LastError()};
          }
          shown = Join(shown, name);
          continue;
        }
        if (!last || mustBeFolder) {
          return {Error(ENOTDIR)};
        }
        out.opened.Reset(
            ::openat(folder.get(), name.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (!out.opened.valid()) {
          return {LastError(),
                  errno == ENXIO ? TWriteRefusal::PipeWithoutReader : TWriteRefusal::None};
        }
        return {};
      }
      std::string target;
      if (auto ec = ReadLink(folder.get(), name, target)) {
        return {ec};
      }
      if (target.empty()) {
        return {Error(ENOENT)};
      }
      if (last && target.back() == '/') {
        mustBeFolder = true;
      }
      std::deque<std::string> more = SplitPath(target);
      parts.insert(parts.begin(), more.begin(), more.end());
      if (target.front() == '/') {
        folder.Reset(::open("/", kFolderFlags));
        if (!folder.valid()) {
          return {LastError()};
        }
        shown.assign(1, '/');  // as = "/", on which g++ 12 warns -Wrestrict wrongly
      }
      if (parts.empty()) {
        return {Error(EISDIR)};  // a link to "/"
      }
      continue;
    }
    if (S_ISDIR(st.st_mode)) {
      if (last) {
        return {Error(EISDIR)};
      }
      folder.Reset(::openat(folder.get(), name.c_str(), kFolderFlags | O_NOFOLLOW));
      if (!folder.valid()) {
        return {LastError()};
      }
      shown = Join(shown, name);
      continue;
    }
    if (!last || mustBeFolder) {
      return {Error(ENOTDIR)};
    }
    out.folder.Reset(::dup(folder.get()));
    out.name = name;
    return {};
  }
  return {Error(EISDIR)};  // the path names "/" itself
}

// A pipe, terminal or device takes the data as it comes; it was opened without waiting for a
// reader, and waits like any writer of a pipe from here on.
std::error_code WriteToStream(FileDescriptor& fd, std::span<const std::string_view> data) {
  const int flags = ::fcntl(fd.get(), F_GETFL);
  if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
    return LastError();
  }
  if (auto ec = WriteAll(fd.get(), data)) {
    return ec;
  }
  return fd.Close() == 0 ? std::error_code{} : LastError();
}

std::string TemporaryName() {
  static constexpr char kLetters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  unsigned char random[8] = {};
  if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
    // Without the kernel's generator the name only has to differ from the names tried before.
    static unsigned counter = 0;
    const unsigned long seed = static_cast<unsigned long>(::getpid()) * 7919u + ++counter;
    for (std::size_t i = 0; i < sizeof random; ++i) {
      random[i] = static_cast<unsigned char>(seed >> (i * 5));
    }
  }
  std::string name = ".tectoplan-";
  for (const unsigned char r : random) {
    name += kLetters[r % (sizeof kLetters - 1)];
  }
  return name;
}

// Runs attempt with new hidden names until one is free: an attempt that fails with EEXIST met a
// name in use and is tried again with another. name holds the name that worked, else nothing.
template <typename TAttempt>
std::error_code WithFreshName(std::string& name, TAttempt attempt) {
  for (int tries = 0; tries < 100; ++tries) {
    name = TemporaryName();
    if (attempt(name)) {
      return {};
    }
    if (errno != EEXIST) {
      name.clear();
      return LastError();
    }
  }
  name.clear();
  return Error(EEXIST);
}

// Gives the unnamed temporary file fd a hidden name in folder. /proc/self/fd/N with
// AT_SYMLINK_FOLLOW works for every user; AT_EMPTY_PATH, where /proc is missing, only for
// privileged ones on older kernels.
std::error_code LinkTemporary(int fd, int folder, std::string& name) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  return WithFreshName(name, [&](const std::string& tried) {
    if (::linkat(AT_FDCWD, self.c_str(), folder, tried.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      return true;
    }
    return errno == ENOENT && ::linkat(fd, "", folder, tried.c_str(), AT_EMPTY_PATH) == 0;
  });
}

// A new file for the content: unnamed (O_TMPFILE) where the file system allows it, so that a
// killed process leaves nothing behind; otherwise a hidden name of its own. name stays empty for
// an unnamed file.
std::error_code CreateTemporary(int folder, FileDescriptor& fd, std::string& name) {
  name.clear();
  fd.Reset(::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
  if (fd.valid()) {
    return {};
  }
  // A file system or kernel without unnamed files says so in one of these ways; any other error
  // is the folder refusing a new file, which a named file would meet as well.
  if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
    return LastError();
  }
  return WithFreshName(name, [&](const std::string& tried) {
    fd.Reset(::openat(folder, tried.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                      0600));
    return fd.valid();
  });
}

// Replaces the regular file name in folder (existing is its status, or null for a new file).
TWriteResult ReplaceRegularFile(int folder, const std::string& name, const struct stat* existing,
                                std::span<const std::string_view> data) {
  const TWriteRefusal noNewFile =
      existing != nullptr ? TWriteRefusal::FolderTakesNoNewFile : TWriteRefusal::None;
  FileDescriptor fd;
  std::string temp;
  if (auto ec = CreateTemporary(folder, fd, temp)) {
    return {ec, noNewFile};
  }
  auto fail = [&](std::error_code ec, TWriteRefusal refusal = TWriteRefusal::None) {
    if (!temp.empty()) {
      ::unlinkat(folder, temp.c_str(), 0);
    }
    return TWriteResult{ec, refusal};
  };
  if (auto ec = WriteAll(fd.get(), data)) {
    return fail(ec);
  }
  if (existing != nullptr) {
    // Keep the owner where allowed (only root may give a file away); the mode always.
    [[maybe_unused]] const int ignored = ::fchown(fd.get(), existing->st_uid, existing->st_gid);
    if (::fchmod(fd.get(), existing->st_mode & 07777) != 0) {
      return fail(LastError());
    }
  } else if (::fchmod(fd.get(), NewFileMode()) != 0) {
    return fail(LastError());
  }
  if (::fsync(fd.get()) != 0) {
    return fail(LastError());
  }
  if (temp.empty()) {
    if (auto ec = LinkTemporary(fd.get(), folder, temp)) {
      return fail(ec, noNewFile);
    }
  }
  if (fd.Close() != 0) {
    return fail(LastError());
  }
  // From the link above to this rename the content has a hidden name; a kill in between is the
  // one moment that leaves it behind.
  if (::renameat(folder, temp.c_str(), folder, name.c_str()) != 0) {
    return fail(LastError());
  }
  // Make the rename itself durable.
  FileDescriptor dir(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.valid()) {
    ::fsync(dir.get());
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

TWriteResult ReplaceFileContents(const std::string& path, std::span<const std::string_view> data) {
  IgnoreFileSizeSignal();
  TResolved target;
  if (auto result = Resolve(path, target)) {
    return result;
  }
  if (!target.opened.valid()) {
    // Opening the target for writing asks exactly what an ordinary write would ask of it: a
    // read-only or immutable file refuses, and then nothing is renamed over it either. Without
    // O_NONBLOCK a pipe without a reader would wait here for ever.
    target.opened.Reset(::openat(target.folder.get(), target.name.c_str(),
                                 O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    if (!target.opened.valid()) {
      if (errno == ENXIO) {
        return {LastError(), TWriteRefusal::PipeWithoutReader};
      }
      if (errno != ENOENT) {
        return {LastError()};  // ELOOP: replaced by a link since it was looked at
      }
      return ReplaceRegularFile(target.folder.get(), target.name, nullptr, data);
    }
  }
  struct stat st;
  if (::fstat(target.opened.get(), &st) != 0) {
    return {LastError()};
  }
  if (!S_ISREG(st.st_mode) || !target.folder.valid()) {
    return {WriteToStream(target.opened, data)};
  }
  target.opened.Close();
  return ReplaceRegularFile(target.folder.get(), target.name, &st, data);
}

std::error_code WriteStandardOutput(std::span<const std::string_view> data) {
  IgnoreFileSizeSignal();
  return WriteAll(STDOUT_FILENO, data);
}

}  // namespace platform
