// Reading a decimal number text by the rules of the C locale, whatever locale the process runs
// under: the one step of number reading that each platform's C library offers differently.
#pragma once

#include <string>

namespace platform {

// text holds an optional sign, digits with an optional "." and an optional exponent, as
// ParseNumber has checked. Correctly rounded; values beyond the largest double give an infinity,
// values below the smallest give the nearest double (0 or a subnormal).
double ParseClassicNumber(const std::string& text);

}  // namespace platform
