// Numbers as text, the way project files and the window's fields hold them: general format with
// up to 15 significant digits and the decimal separator of the user's regional settings.
// Every conversion here is independent of the process's C locale.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace platform {

// The regional number format, one process-wide object. The program entry loads it from the
// environment; tests set it directly.
struct NumberFormatSettings {
  std::string decimalSeparator = ".";  // may be several bytes (UTF-8)
};
NumberFormatSettings& NumberFormat();

// POSIX: the separator of the user's LC_NUMERIC locale (LC_ALL, else LC_NUMERIC, else LANG),
// read without touching the process's own locale; "." when that locale is not installed.
// Windows: the decimal separator of the user's regional settings (LOCALE_SDECIMAL).
NumberFormatSettings NumberFormatFromEnvironment();

// General format, 15 significant digits: 12.5, 0.333333333333333, 1E15, 5E-5, -2.5E-7. Scientific
// from 1E15 up and below 1E-4 (decided after rounding to 15 digits); zero and -0 give "0";
// infinities and NaN give INF, -INF and NAN.
std::string FormatNumber(double value, std::string_view decimalSeparator);
std::string FormatNumber(double value);  // with the regional separator

// Reads a number written with one of the given separators: leading blanks, an optional sign,
// digits with at most one separator ("5." and ".5" but not a lone separator), an optional
// exponent, nothing after it. Values beyond the largest double are refused; values below the
// smallest give the nearest double (0 or a subnormal).
std::optional<double> ParseNumber(std::string_view text,
                                  std::span<const std::string_view> separators);
std::optional<double> ParseNumber(std::string_view text);  // with the regional separator

// Reads a whole number: leading blanks, an optional sign, then decimal digits within the signed
// 32-bit range, or hexadecimal digits after $, x, X, 0x or 0X that fit 32 bits (values from
// 2^31 on wrap to negative numbers); nothing after the digits.
std::optional<std::int32_t> ParseInteger(std::string_view text);

std::string FormatInteger(std::int64_t value);

// The same conversions for callers that treat a bad text as an error: they raise EAppError with
// "'TEXT' is not a valid floating point value" or "'TEXT' is not a valid integer value".
double NumberFromText(std::string_view text);
std::int32_t IntegerFromText(std::string_view text);

}  // namespace platform
