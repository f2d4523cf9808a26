#include "platform/SystemLanguage.h"

#include <cstdlib>
#include <initializer_list>
#include <string_view>

namespace platform {

namespace {

std::string_view FirstSetVariable(std::initializer_list<const char*> names) {
  for (const char* name : names) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') {
      return value;
    }
  }
  return {};
}

std::string LanguagePart(std::string_view localeName) {
  return std::string(localeName.substr(0, localeName.find_first_of("_.@")));
}

}  // namespace

std::string SystemLocaleLanguageName() {
  return LanguagePart(FirstSetVariable({"LC_ALL", "LANG"}));
}

std::string UserUILanguageName() {
  std::string_view languages = FirstSetVariable({"LANGUAGE"});
  languages = languages.substr(0, languages.find(':'));
  if (!languages.empty()) {
    return LanguagePart(languages);
  }
  return LanguagePart(FirstSetVariable({"LC_ALL", "LC_MESSAGES", "LANG"}));
}

}  // namespace platform
