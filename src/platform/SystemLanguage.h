// The languages the user's environment names, as short language names ("pl", "en").
#pragma once

#include <string>

namespace platform {

// Language of the system default locale. POSIX: LC_ALL, else LANG, the part of the locale name
// before "_", "." or "@" (pl_PL.UTF-8 gives "pl"); empty when neither variable is set. Windows:
// the ISO 639 name of the system default locale (0x0415 gives "pl").
std::string SystemLocaleLanguageName();

// Language of the user's interface. POSIX: the first entry of LANGUAGE, else LC_ALL,
// LC_MESSAGES, LANG, read the same way. Windows: the ISO 639 name of GetUserDefaultUILanguage.
std::string UserUILanguageName();

}  // namespace platform
