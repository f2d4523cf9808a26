#include <langinfo.h>
#include <locale.h>

#include <cstdlib>

#include "platform/ClassicNumber.h"
#include "platform/NumberText.h"

namespace platform {

NumberFormatSettings NumberFormatFromEnvironment() {
  NumberFormatSettings settings;
  const char* name = nullptr;
  for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') {
      name = value;
      break;
    }
  }
  if (name == nullptr) {
    return settings;
  }
  locale_t locale = newlocale(LC_NUMERIC_MASK, name, static_cast<locale_t>(nullptr));
  if (locale == static_cast<locale_t>(nullptr)) {
    return settings;
  }
  const char* radix = nl_langinfo_l(RADIXCHAR, locale);
  if (radix != nullptr && *radix != '\0') {
    settings.decimalSeparator = radix;
  }
  freelocale(locale);
  return settings;
}

// strtod under the "C" locale: correctly rounded, and it tells underflow (a finite result) from
// overflow (an infinite one).
double ParseClassicNumber(const std::string& text) {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return strtod_l(text.c_str(), nullptr, c);
}

}  // namespace platform
