// The boundary to the Windows API: the program's UTF-8 texts as the UTF-16 the API takes and
// back, and Windows error codes as the program's error codes. Used by the -win32.cpp files only.
#pragma once

#include <string>
#include <string_view>
#include <system_error>

namespace platform {

// Invalid UTF-8 or UTF-16 is carried over with the replacement character U+FFFD.
std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);

// A Windows error code (GetLastError) as an error code: the common file errors as their errno
// values in std::generic_category, so that they read the same as on other platforms; any other
// code in a category whose message is the system's own text.
std::error_code ErrorFromWindows(unsigned long code);
// ErrorFromWindows(GetLastError()).
std::error_code LastWindowsError();

}  // namespace platform
