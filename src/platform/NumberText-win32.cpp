#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/ClassicNumber.h"
#include "platform/NumberText.h"
#include "platform/WideText.h"

namespace platform {

NumberFormatSettings NumberFormatFromEnvironment() {
  NumberFormatSettings settings;
  // The user's regional settings, as Control Panel shows them; at most 3 characters and the null.
  wchar_t buffer[8] = {};
  if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8) > 1) {
    settings.decimalSeparator = Utf8FromWide(buffer);
  }
  return settings;
}

namespace {

// gdtoa clamps a written exponent to ±19999 before it looks at the digits, so a long run of
// digits with a large opposite exponent would come out as 0 or an infinity. The text is written
// anew as d.ddd...E<exponent> with the point's shift folded into the exponent, which then is the
// value's own order of magnitude. Digits past the 800th only decide a tie, which a 1 in their
// place decides the same way (the exact midpoint of two doubles needs at most 768).
std::string WithFoldedExponent(const std::string& text) {
  std::size_t i = 0;
  std::string out;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    out += text[i++];
  }
  std::string digits;
  long long pointShift = 0;  // the decimal exponent of the last digit kept
  bool seenPoint = false;
  bool droppedNonZero = false;
  for (; i < text.size() && text[i] != 'e' && text[i] != 'E'; ++i) {
    const char c = text[i];
    if (c == '.') {
      seenPoint = true;
      continue;
    }
    if (digits.empty() && c == '0') {
      pointShift -= seenPoint ? 1 : 0;
      continue;
    }
    if (digits.size() < 800) {
      digits += c;
      pointShift -= seenPoint ? 1 : 0;
    } else {
      droppedNonZero = droppedNonZero || c != '0';
      pointShift += seenPoint ? 0 : 1;
    }
  }
  if (digits.empty()) {
    return out + "0";
  }
  if (droppedNonZero) {
    digits += '1';
    --pointShift;
  }
  long long exponent = 0;
  if (i < text.size()) {
    // At most a few million digits: beyond ±10^12 the value is 0 or an infinity anyway.
    const std::string written = text.substr(i + 1);
    exponent = std::clamp(std::strtoll(written.c_str(), nullptr, 10), -1'000'000'000'000LL,
                          1'000'000'000'000LL);
  }
  const long long magnitude = exponent + pointShift + static_cast<long long>(digits.size()) - 1;
  out += digits[0];
  out += '.';
  out += digits.substr(1);
  out += 'e';
  out += std::to_string(std::clamp(magnitude, -99'999LL, 99'999LL));
  return out;
}

}  // namespace

// mingw-w64's own strtod (gdtoa), not the system C library's: correctly rounded on every
// Windows version, and it tells underflow (a finite result) from overflow (an infinite one). It
// reads "." as the decimal point under the "C" locale, the one the Windows build runs under: it
// never calls setlocale.
double ParseClassicNumber(const std::string& text) {
  return __mingw_strtod(WithFoldedExponent(text).c_str(), nullptr);
}

}  // namespace platform
