#include "locale/LocaleUtl.h"

#include <gtest/gtest.h>

#include "EnvironmentScope.h"

namespace {

TEST(GetLanguageIdByName, MatchesWholeTableNamesWithoutCase) {
  struct Case {
    const char* name;
    std::uint32_t expected;
  };
  const Case cases[] = {
      {"pl", 0x15}, {"PL", 0x15},  {"Pl", 0x15},    {"  pl\t", 0x15},  {"\x01pl\x1F", 0x15},
      {"en", 0x09}, {"de", 0x07},  {"no", 0x14},    {"zh-Hans", 0x04}, {"ZH-hans", 0x04},
      {"ar", 0x01}, {"quc", 0x93}, {"gd", 0x91},    {"prs", 0x8C},     {"moh", 0x7C},
      {"pl-PL", 0}, {"polish", 0}, {"english", 0},  {"", 0},           {"   ", 0},
      {"p l", 0},   {"zh", 0},     {"\xC5\x82", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetLanguageIdByName(c.name), c.expected) << c.name;
  }
}

TEST(LanguageChoice, FollowsTheConfigurationThenTheSystemLocale) {
  struct Case {
    const char* lcAll;
    const char* lang;
    std::uint8_t configured;
    bool polish;
  };
  const Case cases[] = {
      {nullptr, "pl_PL.UTF-8", 0, true},     {nullptr, "en_US.UTF-8", 0, false},
      {nullptr, "de_DE", 0, false},          {"pl_PL", "en_US.UTF-8", 0, true},
      {"en_GB", "pl_PL", 0, false},          {nullptr, "pl", 0, true},
      {nullptr, "pl@euro", 0, true},         {nullptr, "C", 0, false},
      {nullptr, "POSIX", 0, false},          {nullptr, nullptr, 0, false},
      {nullptr, "en_US.UTF-8", 0x15, true},  {nullptr, "pl_PL.UTF-8", 0x09, false},
      {nullptr, "pl_PL.UTF-8", 0x07, false},
  };
  for (const auto& c : cases) {
    EnvironmentScope env;
    env.ClearLocale();
    env.Set("LC_ALL", c.lcAll);
    env.Set("LANG", c.lang);
    EXPECT_EQ(IsPolishInterface(c.configured), c.polish)
        << (c.lcAll ? c.lcAll : "-") << " " << (c.lang ? c.lang : "-") << " " << int(c.configured);
  }
}

TEST(LanguageChoice, SystemAndUserLanguagesComeFromTheirVariables) {
  EnvironmentScope env;
  env.ClearLocale();
  env.Set("LANG", "de_DE.UTF-8");
  env.Set("LC_MESSAGES", "pl_PL.UTF-8");
  env.Set("LANGUAGE", "en_GB:pl");
  EXPECT_EQ(GetDefaultLanguage(true), 0x07);
  EXPECT_EQ(GetDefaultLanguage(false), 0x09);
  env.Set("LANGUAGE", nullptr);
  EXPECT_EQ(GetUserUILanguage(), 0x15);
  EXPECT_EQ(GetSystemLanguage(), 0x07);
}

}  // namespace
