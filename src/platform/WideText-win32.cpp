#include "platform/WideText.h"

#include <windows.h>

#include <cerrno>

namespace platform {

namespace {

// Windows error codes that have no errno counterpart, with the system's (English) text.
class WindowsCategory : public std::error_category {
 public:
  const char* name() const noexcept override { return "windows"; }
  std::string message(int code) const override {
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
        reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = n > 0 ? std::wstring(buffer, n) : std::wstring();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L'.' ||
                             text.back() == L' ')) {
      text.pop_back();
    }
    return text.empty() ? "Windows error " + std::to_string(code) : Utf8FromWide(text);
  }
};

struct ErrnoOfWindowsError {
  DWORD windows;
  int errnoValue;
};

constexpr ErrnoOfWindowsError kErrnoOfWindowsError[] = {
    {ERROR_FILE_NOT_FOUND, ENOENT},
    {ERROR_PATH_NOT_FOUND, ENOENT},
    {ERROR_INVALID_DRIVE, ENOENT},
    {ERROR_BAD_NETPATH, ENOENT},
    {ERROR_BAD_PATHNAME, ENOENT},
    {ERROR_ACCESS_DENIED, EACCES},
    {ERROR_SHARING_VIOLATION, EBUSY},
    {ERROR_LOCK_VIOLATION, EBUSY},
    {ERROR_WRITE_PROTECT, EROFS},
    {ERROR_DISK_FULL, ENOSPC},
    {ERROR_HANDLE_DISK_FULL, ENOSPC},
    {ERROR_FILE_TOO_LARGE, EFBIG},
    {ERROR_FILE_EXISTS, EEXIST},
    {ERROR_ALREADY_EXISTS, EEXIST},
    {ERROR_DIRECTORY, ENOTDIR},
    {ERROR_FILENAME_EXCED_RANGE, ENAMETOOLONG},
    {ERROR_BUFFER_OVERFLOW, ENAMETOOLONG},
    {ERROR_INVALID_NAME, EINVAL},
    {ERROR_INVALID_PARAMETER, EINVAL},
    {ERROR_NOT_ENOUGH_MEMORY, ENOMEM},
    {ERROR_OUTOFMEMORY, ENOMEM},
    {ERROR_TOO_MANY_OPEN_FILES, EMFILE},
    {ERROR_BROKEN_PIPE, EPIPE},
    {ERROR_NO_DATA, EPIPE},
    {ERROR_NOT_SAME_DEVICE, EXDEV},
    {ERROR_CANT_RESOLVE_FILENAME, ELOOP},
};

}  // namespace

std::wstring WideFromUtf8(std::string_view text) {
  if (text.empty()) {
    return {};
  }
  const int size = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), n);
  return wide;
}

std::string Utf8FromWide(std::wstring_view text) {
  if (text.empty()) {
    return {};
  }
  const int size = static_cast<int>(text.size());
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), n, nullptr, nullptr);
  return utf8;
}

std::error_code ErrorFromWindows(unsigned long code) {
  for (const ErrnoOfWindowsError& row : kErrnoOfWindowsError) {
    if (row.windows == code) {
      return {row.errnoValue, std::generic_category()};
    }
  }
  static const WindowsCategory category;
  return {static_cast<int>(code), category};
}

std::error_code LastWindowsError() {
  return ErrorFromWindows(GetLastError());
}

}  // namespace platform
