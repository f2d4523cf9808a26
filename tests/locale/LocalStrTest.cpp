#include "locale/LocalStr.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EnvironmentScope.h"
#include "app/AppConfiguration.h"

namespace {

TEST(LocalStr, PolishTexts) {
  LoadPolishStr();
  EXPECT_EQ(GetLocalStr(4), "Brak warto\u015Bci w polu: ");
  EXPECT_EQ(GetLocalStr(1), "wersja");
  EXPECT_EQ(GetLocalStr(40), "2D");
  EXPECT_EQ(GetLocalStr(6), "Warto\u015B\u0107 musi by\u0107 liczb\u0105.");
  EXPECT_EQ(GetLocalStr(13), "Szeroko\u015B\u0107 podstawy prz\u00F3d");
  EXPECT_EQ(GetLocalStr(14), "Szeroko\u015B\u0107 podstawy ty\u0142");
  EXPECT_EQ(GetLocalStr(15), "Odst\u0119p mi\u0119dzy panelami");
  EXPECT_EQ(GetLocalStr(19), "G\u0142\u0119boko\u015B\u0107");
  EXPECT_EQ(GetLocalStr(21), "Pomi\u0144 ci\u0119cie spodu");
  EXPECT_EQ(GetLocalStr(22), "Rozetnij panele po przek\u0105tnej");
  EXPECT_EQ(GetLocalStr(24), "Otw\u00F3rz projekt");
  EXPECT_EQ(GetLocalStr(28), "D\u0142ugo\u015B\u0107 panelu");
  EXPECT_EQ(GetLocalStr(30), "P\u0142aski - wszystkie naro\u017Cniki takie same");
  EXPECT_EQ(GetLocalStr(37), "Ustawienia indywidualne");
  EXPECT_EQ(GetLocalStr(38), "Podw\u00F3jny spad - w\u0105ski");
  EXPECT_EQ(GetLocalStr(41), "Niezale\u017Cny");
}

TEST(LocalStr, EnglishTexts) {
  LoadEnglishStr();
  EXPECT_EQ(GetLocalStr(25), "Save Project");
  EXPECT_EQ(GetLocalStr(26), "Exit");
  EXPECT_EQ(GetLocalStr(5), "Incorrect value in field: ");
  EXPECT_EQ(GetLocalStr(37), "Custom");
  EXPECT_EQ(GetLocalStr(38), "DoubleSlope - narrow");
}

// A slot in either language, whichever table is loaded: the same texts as the loaded tables.
TEST(LocalStr, EitherLanguageWhateverIsLoaded) {
  for (const bool polish : {false, true}) {
    (polish ? LoadPolishStr : LoadEnglishStr)();
    std::vector<std::string> loaded;
    for (int slot = 0; slot < 256; ++slot) {
      loaded.push_back(GetLocalStr(static_cast<std::uint8_t>(slot)));
    }
    (polish ? LoadEnglishStr : LoadPolishStr)();
    for (int slot = 0; slot < 256; ++slot) {
      EXPECT_EQ(GetLocalStr(static_cast<std::uint8_t>(slot), polish),
                loaded[static_cast<std::size_t>(slot)])
          << slot;
    }
  }
  EXPECT_EQ(GetLocalStr(8, true), "Ilo\u015B\u0107 warstw");
  EXPECT_EQ(GetLocalStr(8, false), "Number of pieces");
}

TEST(LocalStr, SlotsWithoutTextStayEmpty) {
  for (auto load : {LoadPolishStr, LoadEnglishStr}) {
    load();
    for (int slot = 0; slot < 256; ++slot) {
      const bool hasText = slot <= 41 && slot != 29;
      EXPECT_EQ(GetLocalStr(static_cast<std::uint8_t>(slot)).empty(), !hasText) << slot;
    }
  }
}

TEST(LocalStr, InitLocalStrChoosesByTheLanguageRule) {
  EnvironmentScope env;
  env.ClearLocale();
  struct Case {
    std::uint8_t configured;
    const char* lang;
    const char* slot1;
  };
  for (const Case c : {Case{0, "pl_PL.UTF-8", "wersja"}, Case{0, "de_DE", "version"},
                       Case{0x15, "en_US", "wersja"}, Case{0x09, "pl_PL", "version"},
                       Case{0x04, "pl_PL", "version"}, Case{0, nullptr, "version"}}) {
    env.Set("LANG", c.lang);
    AppCfg.Language = c.configured;
    InitLocalStr();
    EXPECT_EQ(GetLocalStr(1), c.slot1) << int(c.configured) << " " << (c.lang ? c.lang : "-");
  }
  AppCfg.Language = 0;
}

}  // namespace
