#include "platform/SystemLanguage.h"

#include <windows.h>

#include "platform/WideText.h"

namespace platform {

namespace {

// The ISO 639 language name of a locale ("pl" for 0x0415); empty when the system cannot tell.
std::string LanguageNameOf(LCID locale) {
  wchar_t buffer[LOCALE_NAME_MAX_LENGTH] = {};
  if (GetLocaleInfoW(locale, LOCALE_SISO639LANGNAME, buffer, LOCALE_NAME_MAX_LENGTH) <= 0) {
    return {};
  }
  return Utf8FromWide(buffer);
}

}  // namespace

std::string SystemLocaleLanguageName() {
  return LanguageNameOf(GetSystemDefaultLCID());
}

std::string UserUILanguageName() {
  return LanguageNameOf(MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT));
}

}  // namespace platform
