// The languages the user's environment names, as short language names ("pl", "en").
#pragma once

#include <string>

namespace platform {

// Language of the system default locale: LC_ALL, else LANG. The part of the locale name before
// "_", "." or "@" (pl_PL.UTF-8 gives "pl"); empty when neither variable is set.
std::string SystemLocaleLanguageName();

// Language of the user's interface: the first entry of LANGUAGE, else LC_ALL, LC_MESSAGES, LANG,
// read the same way.
std::string UserUILanguageName();

}  // namespace platform
