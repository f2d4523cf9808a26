#include "platform/ProgramFolder.h"

#include <windows.h>

#include "platform/WideText.h"

namespace platform {

std::string GetProgramFileName() {
  // The path may be longer than MAX_PATH; the buffer grows until the whole name fits.
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) {
      return {};
    }
    if (n < buffer.size()) {
      buffer.resize(n);
      return Utf8FromWide(buffer);
    }
    if (buffer.size() >= 32768) {
      return {};
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace platform
