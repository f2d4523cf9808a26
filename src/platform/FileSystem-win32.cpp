#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "platform/FileSystem.h"
#include "platform/WideText.h"

namespace platform {

namespace {

// Closes a handle when it goes out of scope.
class Handle {
 public:
  explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() { Close(); }
  HANDLE get() const { return h_; }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
  void Reset(HANDLE h) {
    Close();
    h_ = h;
  }
  bool Close() {
    bool ok = true;
    if (valid()) {
      ok = CloseHandle(h_) != 0;
      h_ = INVALID_HANDLE_VALUE;
    }
    return ok;
  }

 private:
  HANDLE h_;
};

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::error_code WriteAll(HANDLE h, std::string_view data) {
  while (!data.empty()) {
    // WriteFile takes at most 4 GiB at a time; 1 GiB pieces keep well within it.
    const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(data.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(h, data.data(), piece, &written, nullptr)) {
      return LastWindowsError();
    }
    data.remove_prefix(written);
  }
  return {};
}

std::error_code WriteAll(HANDLE h, std::span<const std::string_view> parts) {
  for (const std::string_view part : parts) {
    if (auto ec = WriteAll(h, part)) {
      return ec;
    }
  }
  return {};
}

// The folder part of a path with "\" or "/" separators: "." for a bare name, the drive with its
// separator for "C:name", the root for "\name".
std::wstring DirectoryOf(const std::wstring& path) {
  const auto mark = path.find_last_of(L"\\/");
  if (mark == std::wstring::npos) {
    return path.size() >= 2 && path[1] == L':' ? path.substr(0, 2) : L".";
  }
  return mark == 0 || (mark == 2 && path[1] == L':') ? path.substr(0, mark + 1)
                                                     : path.substr(0, mark);
}

std::wstring JoinFolder(const std::wstring& folder, const std::wstring& name) {
  if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/' && folder.back() != L':') {
    return folder + L"\\" + name;
  }
  return folder + name;
}

// A new, empty temporary file in folder, opened for writing: .tectoplan-<process>-<n>.tmp.
std::error_code CreateTemporary(const std::wstring& folder, std::wstring& name, Handle& file) {
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = JoinFolder(folder, L".tectoplan-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                  std::to_wstring(++counter) + L".tmp");
    file.Reset(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.valid()) {
      return {};
    }
    if (GetLastError() != ERROR_FILE_EXISTS) {
      return LastWindowsError();
    }
  }
  return ErrorFromWindows(ERROR_FILE_EXISTS);
}

// The path a symbolic link or junction finally leads to, from an open handle of its target.
std::wstring FinalPath(HANDLE h, const std::wstring& fallback) {
  std::wstring buffer(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 2; ++attempt) {
    const DWORD n = GetFinalPathNameByHandleW(h, buffer.data(), static_cast<DWORD>(buffer.size()),
                                              FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n == 0) {
      return fallback;
    }
    if (n < buffer.size()) {
      buffer.resize(n);
      return buffer;
    }
    buffer.resize(n + 1);
  }
  return fallback;
}

}  // namespace

bool IsRegularFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(WideFromUtf8(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

std::error_code ReadWholeFile(const std::string& path, std::string& out, std::size_t limit) {
  out.clear();
  const std::wstring name = WideFromUtf8(path);
  const DWORD attributes = GetFileAttributesW(name.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return {EISDIR, std::generic_category()};
  }
  Handle file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file.valid()) {
    return LastWindowsError();
  }
  char buffer[65536];
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(file.get(), buffer, sizeof buffer, &n, nullptr)) {
      // A pipe whose writer has gone is at its end.
      if (GetLastError() == ERROR_BROKEN_PIPE) {
        return {};
      }
      out.clear();
      return LastWindowsError();
    }
    if (n == 0) {
      return {};
    }
    if (out.size() + n > limit) {
      out.clear();
      return {EFBIG, std::generic_category()};
    }
    out.append(buffer, n);
  }
}

TWriteResult ReplaceFileContents(const std::string& path, std::span<const std::string_view> data) {
  std::wstring target = WideFromUtf8(path);
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return TWriteResult{std::error_code(EISDIR, std::generic_category())};
  }

  // The target must be writable as it stands: a read-only file, or one that another program
  // holds open without sharing it for writing, refuses this open, and then nothing is renamed
  // over it either.
  Handle probe(CreateFileW(target.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  bool exists = probe.valid();
  if (!exists && GetLastError() != ERROR_FILE_NOT_FOUND) {
    return LastWindowsError();
  }
  if (exists && GetFileType(probe.get()) != FILE_TYPE_DISK) {
    // NUL, a serial line, a console or a pipe cannot be replaced; it takes the data as it comes.
    if (auto ec = WriteAll(probe.get(), data)) {
      return ec;
    }
    return probe.Close() ? TWriteResult{} : TWriteResult{LastWindowsError()};
  }
  if (exists && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    // A symbolic link is followed: the file it leads to is replaced, the link stays.
    target = FinalPath(probe.get(), target);
  }

  const std::wstring folder = DirectoryOf(target);
  std::wstring temp;
  Handle file;
  if (const auto tempError = CreateTemporary(folder, temp, file)) {
    // The folder takes no new file: the file is only ever replaced whole, never rewritten where
    // it stands, so it stays as it was.
    return exists ? TWriteResult{tempError, TWriteRefusal::FolderTakesNoNewFile}
                  : TWriteResult{tempError};
  }
  probe.Close();

  auto fail = [&temp, &file](std::error_code ec) {
    file.Close();
    DeleteFileW(temp.c_str());
    return TWriteResult{ec};
  };
  if (auto ec = WriteAll(file.get(), data)) {
    return fail(ec);
  }
  if (!FlushFileBuffers(file.get())) {
    return fail(LastWindowsError());
  }
  if (!file.Close()) {
    return fail(LastWindowsError());
  }
  // One rename within the folder: readers see the old file or the new one, and when it fails
  // (the target locked by another program, say) the old file is as it was.
  if (!MoveFileExW(temp.c_str(), target.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return fail(LastWindowsError());
  }
  return {};
}

std::error_code WriteStandardOutput(std::span<const std::string_view> data) {
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (out == nullptr || out == INVALID_HANDLE_VALUE) {
    return ErrorFromWindows(ERROR_INVALID_HANDLE);
  }
  return WriteAll(out, data);
}

}  // namespace platform
