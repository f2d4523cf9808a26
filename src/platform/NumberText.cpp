#include "platform/NumberText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "base/AppError.h"
#include "platform/ClassicNumber.h"

namespace platform {

namespace {

constexpr int kSignificantDigits = 15;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

int HexDigitValue(char c) {
  if (IsDigit(c)) {
    return c - '0';
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return -1;
}

std::string_view SkipLeadingSpaces(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

}  // namespace

NumberFormatSettings& NumberFormat() {
  static NumberFormatSettings settings;
  return settings;
}

std::string FormatNumber(double value, std::string_view decimalSeparator) {
  if (std::isnan(value)) {
    return "NAN";
  }
  if (std::isinf(value)) {
    return value < 0 ? "-INF" : "INF";
  }
  if (value == 0) {
    return "0";
  }
  // d.dddddddddddddde±x: the value rounded to 15 significant digits.
  std::array<char, 64> buffer;
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::scientific, kSignificantDigits - 1);
  std::string_view text(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));

  std::string out;
  if (text.front() == '-') {
    out = "-";
    text.remove_prefix(1);
  }
  const auto e = text.find('e');
  std::string digits;
  for (char c : text.substr(0, e)) {
    if (IsDigit(c)) {
      digits += c;
    }
  }
  int exponent = 0;
  const auto expText = text.substr(e + 1);
  std::from_chars(expText.data() + (expText.front() == '+' ? 1 : 0),
                  expText.data() + expText.size(), exponent);
  // The largest doubles round up past the largest double at 15 digits; such a text could never
  // be read back, so they are written rounded toward zero instead.
  if (exponent == 308 && digits > "179769313486231") {
    digits = "179769313486231";
  }
  while (digits.size() > 1 && digits.back() == '0') {
    digits.pop_back();
  }

  if (exponent >= kSignificantDigits || exponent < -4) {
    out += digits[0];
    if (digits.size() > 1) {
      out += decimalSeparator;
      out += digits.substr(1);
    }
    out += 'E';
    out += std::to_string(exponent);
    return out;
  }
  if (exponent < 0) {
    out += '0';
    out += decimalSeparator;
    out.append(static_cast<std::size_t>(-exponent - 1), '0');
    out += digits;
    return out;
  }
  const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
  if (digits.size() <= integerDigits) {
    out += digits;
    out.append(integerDigits - digits.size(), '0');
    return out;
  }
  out += digits.substr(0, integerDigits);
  out += decimalSeparator;
  out += digits.substr(integerDigits);
  return out;
}

std::string FormatNumber(double value) {
  return FormatNumber(value, NumberFormat().decimalSeparator);
}

std::optional<double> ParseNumber(std::string_view text,
                                  std::span<const std::string_view> separators) {
  std::string_view rest = SkipLeadingSpaces(text);
  std::string normalized;
  if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
    normalized += rest.front();
    rest.remove_prefix(1);
  }
  bool anyDigit = false;
  bool separatorSeen = false;
  while (!rest.empty()) {
    if (IsDigit(rest.front())) {
      normalized += rest.front();
      rest.remove_prefix(1);
      anyDigit = true;
      continue;
    }
    if (separatorSeen) {
      break;
    }
    bool matched = false;
    for (const std::string_view separator : separators) {
      if (!separator.empty() && rest.substr(0, separator.size()) == separator) {
        rest.remove_prefix(separator.size());
        matched = true;
        break;
      }
    }
    if (!matched) {
      break;
    }
    normalized += '.';
    separatorSeen = true;
  }
  if (!anyDigit) {
    return std::nullopt;
  }
  if (!rest.empty() && (rest.front() == 'e' || rest.front() == 'E')) {
    normalized += 'e';
    rest.remove_prefix(1);
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
      normalized += rest.front();
      rest.remove_prefix(1);
    }
    if (rest.empty() || !IsDigit(rest.front())) {
      return std::nullopt;
    }
    while (!rest.empty() && IsDigit(rest.front())) {
      normalized += rest.front();
      rest.remove_prefix(1);
    }
  }
  if (!rest.empty()) {
    return std::nullopt;
  }
  const double value = ParseClassicNumber(normalized);
  if (std::isinf(value)) {
    return std::nullopt;
  }
  return value;
}

std::optional<double> ParseNumber(std::string_view text) {
  const std::string_view separators[] = {NumberFormat().decimalSeparator};
  return ParseNumber(text, separators);
}

std::optional<std::int32_t> ParseInteger(std::string_view text) {
  std::string_view rest = SkipLeadingSpaces(text);
  bool negative = false;
  if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
    negative = rest.front() == '-';
    rest.remove_prefix(1);
  }
  bool hex = false;
  if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
    hex = true;
    rest.remove_prefix(2);
  } else if (!rest.empty() && (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X')) {
    hex = true;
    rest.remove_prefix(1);
  }
  if (rest.empty()) {
    return std::nullopt;
  }

  std::uint64_t magnitude = 0;
  if (hex) {
    for (char c : rest) {
      const int digit = HexDigitValue(c);
      if (digit < 0) {
        return std::nullopt;
      }
      magnitude = magnitude * 16 + static_cast<std::uint64_t>(digit);
      if (magnitude > 0xFFFFFFFFu) {
        return std::nullopt;
      }
    }
    // Hexadecimal values take all 32 bits: from 2^31 on they are negative numbers.
    std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
    if (negative) {
      bits = 0u - bits;
    }
    return static_cast<std::int32_t>(bits);
  }

  const std::uint64_t limit = negative ? 0x80000000u : 0x7FFFFFFFu;
  for (char c : rest) {
    if (!IsDigit(c)) {
      return std::nullopt;
    }
    magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
    if (magnitude > limit) {
      return std::nullopt;
    }
  }
  const auto signedValue = static_cast<std::int64_t>(magnitude);
  return static_cast<std::int32_t>(negative ? -signedValue : signedValue);
}

std::string FormatInteger(std::int64_t value) {
  return std::to_string(value);
}

double NumberFromText(std::string_view text) {
  if (const auto value = ParseNumber(text)) {
    return *value;
  }
  throw EAppError(TErrorId::InvalidFloat, {std::string(text)});
}

std::int32_t IntegerFromText(std::string_view text) {
  if (const auto value = ParseInteger(text)) {
    return *value;
  }
  throw EAppError(TErrorId::InvalidInteger, {std::string(text)});
}

}  // namespace platform
