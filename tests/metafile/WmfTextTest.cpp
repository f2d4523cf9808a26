// Metafile text to UTF-8 in the code page of the font's character set.
#include <gtest/gtest.h>

#include "metafile/WmfFormat.h"
#include "metafile/WmfText.h"

namespace {

struct TTextCase {
  const char* name;
  std::uint8_t charset;
  std::vector<std::uint8_t> bytes;
  std::string utf8;
};

TEST(WmfText, DecodesInTheCodePageOfTheCharacterSet) {
  constexpr std::uint8_t kCyrillic = 204;
  const TTextCase cases[] = {
      {"ASCII", wmf::kAnsiCharset, {'A', 'b', '1', ' '}, "Ab1 "},
      {"NUL bytes left out", wmf::kAnsiCharset, {0, 'A', 0, 'B', 0}, "AB"},
      {"Western two-byte character", wmf::kAnsiCharset, {0xE9, 0xDF}, "\xC3\xA9\xC3\x9F"},
      {"Western three-byte character", wmf::kAnsiCharset, {0x80, 0x99}, "\xE2\x82\xAC\xE2\x84\xA2"},
      {"Western unassigned byte", wmf::kAnsiCharset, {0x81}, "\xEF\xBF\xBD"},
      {"Central European letters",
       wmf::kEastEuropeCharset,
       {0xA5, 0x8C, 0xB3, 0xF3, 0xBF},
       "\xC4\x84\xC5\x9A\xC5\x82\xC3\xB3\xC5\xBC"},  // ĄŚłóż
      {"Central European unassigned byte", wmf::kEastEuropeCharset, {0x83}, "\xEF\xBF\xBD"},
      {"another character set reads as Western", kCyrillic, {0xB3, 0xE9}, "\xC2\xB3\xC3\xA9"},
  };
  for (const TTextCase& c : cases) {
    EXPECT_EQ(wmf::DecodeText(c.bytes, c.charset), c.utf8) << c.name;
  }
}

}  // namespace
