#include "platform/IniFile.h"

#include <gtest/gtest.h>

namespace {

using platform::IniDocument;

// The text as UTF-16 code units in the given byte order, after the byte-order mark. Each char of
// ascii is one unit; extra units follow as they are (unpaired surrogates included).
std::string Utf16(bool bigEndian, std::string_view ascii,
                  std::initializer_list<char16_t> extra = {}, std::string_view more = {}) {
  std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  const auto unit = [&](char16_t u) {
    const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
    out += bigEndian ? hi : lo;
    out += bigEndian ? lo : hi;
  };
  for (char c : ascii) {
    unit(static_cast<unsigned char>(c));
  }
  for (char16_t u : extra) {
    unit(u);
  }
  for (char c : more) {
    unit(static_cast<unsigned char>(c));
  }
  return out;
}

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
      {"Project", "no equals sign", ""},         // a line without "=" is its key with no value
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

// Files that went through other editors and transfers than the one that wrote them.
TEST(IniDocument, ReadsFilesWrittenElsewhere) {
  struct Case {
    const char* name;
    std::string bytes;
    const char* key;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"CR CR LF line ends", "[Project]\r\r\nLayer count=3\r\r\nX=1\r\r\n", "Layer count", "3"},
      {"a lone CR at the end", "[Project]\r\nLayer count=3\r", "Layer count", "3"},
      {"CR CR LF after a section name", "[Project]\r\r\nX=1\r\r\n", "X", "1"},
      {"VT, FF and Ctrl-Z around names and values",
       "\f[\vProject\x1A]\x1A\n\v Layer count\f=\x1A 3\v\f\x1A\n", "layer count", "3"},
      {"blanks inside a value kept", "[Project]\nX= a\vb \r\r\n", "X", "a\vb"},
      {"a key line without \"=\" before the key's own line",
       "[Project]\nLayer count\nLayer count=3\n", "Layer count", ""},
      {"a line without \"=\" names no other key", "[Project]\nLayer\nLayer count=3\n",
       "Layer count", "3"},
      {"UTF-16 LE with its mark", Utf16(false, "[Project]\r\nLayer count=3\r\n"), "Layer count",
       "3"},
      {"UTF-16 BE with its mark", Utf16(true, "[Project]\r\nLayer count=3\r\n"), "Layer count",
       "3"},
      {"UTF-16 text comes back as UTF-8",
       Utf16(false, "[Project]\r\nName=", {u'\u0141', u'\u00F3', 0xD83D, 0xDE00}, "\r\n"), "Name",
       "\xC5\x81\xC3\xB3\xF0\x9F\x98\x80"},
      {"UTF-16 mark, odd last byte", Utf16(false, "[Project]\r\nX=1") + "\x41", "X", "1"},
      {"UTF-16 bytes without a mark are single bytes",
       Utf16(false, "[Project]\r\nX=1\r\n").substr(2), "X", std::nullopt},
  };
  for (const auto& c : cases) {
    const IniDocument doc(c.bytes);
    EXPECT_EQ(doc.ReadString("Project", c.key), c.expected) << c.name;
    EXPECT_EQ(doc.Text(), c.bytes) << c.name << ": read alone, nothing changes";
  }
}

TEST(IniDocument, WritesBackFilesWrittenElsewhere) {
  struct Case {
    const char* name;
    std::string before;
    std::string after;
  };
  const Case cases[] = {
      {"CR CR LF: the line end of a replaced line kept, new lines as the first line",
       "[Project]\r\r\nLayer count=3\r\r\n[Other]\r\r\n",
       "[Project]\r\r\nLayer count=5\r\r\nX=1\r\r\n[Other]\r\r\n"},
      {"a lone CR at the end gets its LF", "[Project]\nLayer count=3\r",
       "[Project]\nLayer count=5\r\nX=1\n"},
      {"a key line without \"=\" is the line replaced", "[Project]\nLayer count\nLayer count=3\n",
       "[Project]\nLayer count=5\nLayer count=3\nX=1\n"},
      {"UTF-16 LE, other lines kept, an unpaired surrogate included",
       Utf16(false, "[Project]\r\nNote=", {0xD800, u'x', 0xDC01}, "\r\nLayer count=3\r\n"),
       Utf16(false, "[Project]\r\nNote=", {0xD800, u'x', 0xDC01}, "\r\nLayer count=5\r\nX=1\r\n")},
      {"UTF-16 BE", Utf16(true, "[Project]\r\nLayer count=3\r\n"),
       Utf16(true, "[Project]\r\nLayer count=5\r\nX=1\r\n")},
      {"UTF-16 with an odd last byte keeps it at the end", Utf16(false, "[Other]\r\n") + "\x41",
       Utf16(false, "[Other]\r\n[Project]\r\nLayer count=5\r\nX=1\r\n") + "\x41"},
      {"UTF-16 mark alone", Utf16(false, ""),
       Utf16(false, "[Project]\r\nLayer count=5\r\nX=1\r\n")},
  };
  for (const auto& c : cases) {
    IniDocument doc(c.before);
    doc.WriteString("Project", "Layer count", "5");
    doc.WriteString("Project", "X", "1");
    EXPECT_EQ(doc.Text(), c.after) << c.name;
    const IniDocument again(doc.Text());
    EXPECT_EQ(again.ReadString("Project", "Layer count"), "5") << c.name;
  }
}

TEST(IniDocument, WrittenTextThatIsNoUtf8BecomesReplacementCharactersInUtf16) {
  IniDocument doc(Utf16(false, ""));
  doc.WriteString("P", "K", "a\xFF\xC0\xAF\xF4\x90\x80\x80");
  EXPECT_EQ(doc.Text(), Utf16(false, "[P]\r\nK=a",
                              {0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD}, "\r\n"));
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
