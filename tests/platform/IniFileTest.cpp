#include "platform/IniFile.h"

#include <gtest/gtest.h>

namespace {

using platform::IniDocument;

TEST(IniDocument, ReadsLikeTheProfileFunctions) {
  const IniDocument doc(
      "\xEF\xBB\xBF[Config]\r\n"
      "Locales=pl\r\n"
      "[  project  ]\r\n"
      "  Panel Type \t=\t 7  \r\n"
      "Panel type=8\r\n"
      "Quoted=\"  12,5 \"\r\n"
      "Single='x'\r\n"
      "Half=\"x\r\n"
      "Note=3 ; comment\r\n"
      "Empty=\r\n"
      "no equals sign\r\n"
      "[Project]\r\n"
      "Layer count=9\r\n");
  struct Case {
    const char* section;
    const char* key;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"config", "LOCALES", "pl"},
      {"Project", "panel type", "7"},    // the first matching key wins
      {"Project", "Quoted", "  12,5 "},  // one pair of quotes removed, blanks inside kept
      {"Project", "Single", "x"},
      {"Project", "Half", "\"x"},
      {"Project", "Note", "3 ; comment"},  // no inline comments
      {"Project", "Empty", ""},
      {"Project", "Layer count", std::nullopt},  // only the first [Project] section is read
      {"Project", "no equals sign", std::nullopt},
      {"Missing", "Locales", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(doc.ReadString(c.section, c.key), c.expected) << c.section << "/" << c.key;
  }
}

TEST(IniDocument, WritesKeyByKeyAndKeepsTheRest) {
  struct Case {
    const char* name;
    const char* before;
    const char* after;
  };
  const Case cases[] = {
      {"new document", "", "[Project]\r\nPanel type=1\r\n"},
      {"replaced in place, name as spelt", "[project]\n  panel TYPE = 4 \nX=1\n",
       "[project]\npanel TYPE=1\nX=1\n"},
      {"added after the last non-blank line of its section", "[Project]\nX=1\n\n\n[Other]\nY=2\n",
       "[Project]\nX=1\nPanel type=1\n\n\n[Other]\nY=2\n"},
      {"section appended without a blank line", "[Other]\r\nY=2\r\n",
       "[Other]\r\nY=2\r\n[Project]\r\nPanel type=1\r\n"},
      {"final line end added before appending", "[Other]\nY=2",
       "[Other]\nY=2\n[Project]\nPanel type=1\n"},
      {"key added to a last section without final line end", "[Project]\nX=1",
       "[Project]\nX=1\nPanel type=1\n"},
      {"line ends of the file kept", "[Project]\nX=1\r\n", "[Project]\nX=1\r\nPanel type=1\n"},
      {"byte-order mark kept", "\xEF\xBB\xBF[Project]\r\n",
       "\xEF\xBB\xBF[Project]\r\nPanel type=1\r\n"},
      {"garbage kept byte for byte", "\x01\x02 junk\xff\n[Project]\n",
       "\x01\x02 junk\xff\n[Project]\nPanel type=1\n"},
  };
  for (const auto& c : cases) {
    IniDocument doc(c.before);
    doc.WriteString("Project", "Panel type", "1");
    EXPECT_EQ(doc.Text(), c.after) << c.name;
    EXPECT_EQ(doc.ReadString("Project", "Panel type"), "1") << c.name;
  }
}

TEST(IniDocument, HugeLinesAndNulBytesAreJustText) {
  std::string bytes = "[Project]\nPanel type=" + std::string(3'000'000, '9') + "\n";
  bytes += std::string("A=\0b\n", 5);
  const IniDocument doc(bytes);
  EXPECT_EQ(doc.ReadString("Project", "Panel type")->size(), 3'000'000u);
  EXPECT_EQ(doc.ReadString("Project", "A"), std::string("\0b", 2));
  EXPECT_EQ(doc.Text(), bytes);
}

}  // namespace
