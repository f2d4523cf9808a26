// An INI text document with the behaviour of the classic profile-file functions: every key is
// read and written on its own, by section and key name, and everything else stays byte for byte.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class IniDocument {
 public:
  // Takes the file's bytes as they are. Anything parses: lines that are neither a section header
  // nor a key=value line are kept and ignored.
  explicit IniDocument(std::string bytes = {});

  // The value of key in section: names match without regard to ASCII case, the first matching
  // section and key win, blanks around the value are dropped and one pair of enclosing quotes
  // (double or single) is removed. nullopt when the section or the key does not exist.
  std::optional<std::string> ReadString(std::string_view section, std::string_view key) const;

  // Sets key in section to value: an existing key line is replaced where it stands (its name
  // spelt as in the file), a missing key goes after the last non-blank line of its section, a
  // missing section is appended at the end of the document.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);

  // The document's bytes: line ends as the document had them (CR LF for a new document), a
  // UTF-8 byte-order mark kept.
  std::string Text() const;

 private:
  struct Line {
    std::string text;  // without its line end
    std::string end;   // "\r\n", "\n" or "" for a last line without a line end
  };
  struct SectionSpan {
    std::size_t header;  // index of the [name] line
    std::size_t end;     // one past the section's last line
  };

  std::optional<SectionSpan> FindSection(std::string_view section) const;
  std::optional<std::size_t> FindKey(const SectionSpan& span, std::string_view key) const;
  void EnsureFinalLineEnd();

  std::string bom_;
  std::string newline_ = "\r\n";
  std::vector<Line> lines_;
};

}  // namespace platform
