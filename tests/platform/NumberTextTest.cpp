#include "platform/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "ErrorTexts.h"

namespace {

using platform::FormatNumber;
using platform::ParseInteger;
using platform::ParseNumber;

TEST(FormatNumber, GeneralFormatWithFifteenDigits) {
  struct Case {
    double value;
    const char* expected;
  };
  const Case cases[] = {
      {0.0, "0"},
      {-0.0, "0"},
      {1000, "1000"},
      {12.5, "12.5"},
      {-12.5, "-12.5"},
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {0.1 + 0.2, "0.3"},
      {0.00005, "5E-5"},
      {0.0001, "0.0001"},
      {0.000123, "0.000123"},
      {0.00009999999999999999, "0.0001"},  // scientific form decided after rounding
      {1e15, "1E15"},
      {999999999999999, "999999999999999"},
      {999999999999999.9, "1E15"},
      {1.5e20, "1.5E20"},
      {-2.5e-7, "-2.5E-7"},
      {123456789012345678.0, "1.23456789012346E17"},
      {std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
      // Rounded toward zero: 1.79769313486232E308 would be beyond the largest double.
      {std::numeric_limits<double>::max(), "1.79769313486231E308"},
      {-1.797693134862315e308, "-1.79769313486231E308"},
      {1.79769313486231e308, "1.79769313486231E308"},
      {std::numeric_limits<double>::infinity(), "INF"},
      {-std::numeric_limits<double>::infinity(), "-INF"},
      {std::numeric_limits<double>::quiet_NaN(), "NAN"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatNumber(c.value, "."), c.expected) << c.expected;
  }
  EXPECT_EQ(FormatNumber(12.5, ","), "12,5");
  EXPECT_EQ(FormatNumber(1.5e-5, "\xD9\xAB"),
            "1\xD9\xAB"
            "5E-5");  // a two-byte separator
}

TEST(ParseNumber, AcceptsOnlyTheNumberGrammar) {
  const std::string_view point[] = {"."};
  struct Case {
    const char* text;
    std::optional<double> expected;
  };
  const Case cases[] = {
      {"12.5", 12.5},
      {"+12.5", 12.5},
      {"-12.5", -12.5},
      {"5.", 5},
      {".5", 0.5},
      {"  7", 7},
      {"1e3", 1000},
      {"1E+3", 1000},
      {"2.5e-2", 0.025},
      {"-0", -0.0},
      {"1e-400", 0.0},
      {"4.94065645841247E-324", std::numeric_limits<double>::denorm_min()},
      {"1E308", 1e308},
      {"1E400", std::nullopt},
      {"-1E400", std::nullopt},
      {".", std::nullopt},
      {"", std::nullopt},
      {"-", std::nullopt},
      {"+.", std::nullopt},
      {"12,5", std::nullopt},
      {"1.2.3", std::nullopt},
      {"7 ", std::nullopt},
      {"1e", std::nullopt},
      {"1e+", std::nullopt},
      {"e5", std::nullopt},
      {"inf", std::nullopt},
      {"nan", std::nullopt},
      {"0x10", std::nullopt},
      {"1_000", std::nullopt},
      {"--1", std::nullopt},
  };
  for (const auto& c : cases) {
    const auto value = ParseNumber(c.text, point);
    EXPECT_EQ(value.has_value(), c.expected.has_value()) << c.text;
    if (value && c.expected) {
      EXPECT_EQ(*value, *c.expected) << c.text;
      EXPECT_EQ(std::signbit(*value), std::signbit(*c.expected)) << c.text;
    }
  }
  const std::string_view arabic[] = {"\xD9\xAB"};
  EXPECT_EQ(ParseNumber("1\xD9\xAB"
                        "5",
                        arabic),
            1.5);
  EXPECT_EQ(ParseNumber(std::string(1'000'000, '1') + "e-999990", point), 1.1111111111111111e9);
}

TEST(NumberText, WrittenValuesReadBackToTheSameText) {
  std::mt19937_64 random(20261210);
  std::uniform_int_distribution<std::uint64_t> bits;
  const std::string_view separators[] = {",", "."};
  for (int i = 0; i < 200000; ++i) {
    double value;
    const std::uint64_t pattern = bits(random);
    std::memcpy(&value, &pattern, sizeof value);
    if (!std::isfinite(value)) {
      continue;
    }
    for (const char* separator : {".", ","}) {
      const std::string text = FormatNumber(value, separator);
      const auto back = ParseNumber(text, separators);
      ASSERT_TRUE(back.has_value()) << text;
      ASSERT_EQ(FormatNumber(*back, separator), text);
    }
  }
}

TEST(ParseInteger, AcceptsDecimalAndHexadecimalThirtyTwoBitValues) {
  struct Case {
    const char* text;
    std::optional<std::int32_t> expected;
  };
  const Case cases[] = {
      {"0", 0},
      {"-5", -5},
      {"+5", 5},
      {"   12", 12},
      {"007", 7},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"99999999999999999999999", std::nullopt},
      {"$1F", 31},
      {"0x1F", 31},
      {"0X1f", 31},
      {"x1F", 31},
      {"X1F", 31},
      {"-$1F", -31},
      {"$7FFFFFFF", 2147483647},
      {"$80000000", INT32_MIN},
      {"0xFFFFFFFF", -1},
      {"$00000000FF", 255},
      {"0x100000000", std::nullopt},
      {"12 ", std::nullopt},
      {"12.5", std::nullopt},
      {"1e3", std::nullopt},
      {"", std::nullopt},
      {"  ", std::nullopt},
      {"-", std::nullopt},
      {"0x", std::nullopt},
      {"$", std::nullopt},
      {"$G", std::nullopt},
      {"\t12", std::nullopt},
      {"- 1", std::nullopt},
      {"00x1F", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseInteger(c.text), c.expected) << c.text;
  }
}

TEST(NumberText, ThrowingConversionsCarryTheText) {
  platform::NumberFormat().decimalSeparator = ".";
  EXPECT_EQ(platform::NumberFromText("2.5"), 2.5);
  EXPECT_EQ(platform::IntegerFromText("$10"), 16);
  try {
    platform::IntegerFromText("12.5");
    FAIL();
  } catch (const EAppError& e) {
    EXPECT_EQ(EnglishText(e), "'12.5' is not a valid integer value");
  }
  try {
    platform::NumberFromText("abc");
    FAIL();
  } catch (const EAppError& e) {
    EXPECT_EQ(EnglishText(e), "'abc' is not a valid floating point value");
  }
}

}  // namespace
