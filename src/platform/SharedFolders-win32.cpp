#include "platform/SharedFolders.h"

#include <shlobj.h>
#include <windows.h>

#include "platform/WideText.h"

namespace platform {

std::string GetCommonAppDataFolder() {
  // No window, no access token, the current rather than the default path; a failure leaves the
  // buffer empty, and the empty folder leads to no configuration file.
  wchar_t buffer[MAX_PATH + 1] = {};
  SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer);
  return Utf8FromWide(buffer);
}

}  // namespace platform
