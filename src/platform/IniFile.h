// An INI text document with the behaviour of the classic profile-file functions: every key is
// read and written on its own, by section and key name, and everything else stays byte for byte.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

class IniDocument {
 public:
  // Takes the file's bytes as they are. Anything parses: lines that are neither a section header
  // nor a key line are kept and ignored. A file that opens with a UTF-16 byte-order mark (little
  // or big endian) is read as UTF-16; any other is read as single bytes (a UTF-8 mark is kept).
  // The document holds the text once, in one string, and no per-line structure: its memory is
  // the size of the file, whatever the file holds.
  explicit IniDocument(std::string bytes = {});

  // The value of key in section: names match without regard to ASCII case, the first matching
  // section and key win, blanks (space, TAB, CR, LF, VT, FF and Ctrl-Z) around names and values
  // are dropped and one pair of enclosing quotes (double or single) is removed. A line without
  // "=" whose text is the key's name is that key with an empty value. nullopt when the section or
  // the key does not exist. The text of a UTF-16 document comes back as UTF-8 (an unpaired
  // surrogate as its three-byte form).
  std::optional<std::string> ReadString(std::string_view section, std::string_view key) const;

  // Sets key in section to value: an existing key line is replaced where it stands (its name
  // spelt as in the file, its line end kept), a missing key goes after the last non-blank line of
  // its section, a missing section is appended at the end of the document.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);

  // The document's bytes: line ends as the document had them (CR LF for a new document), a
  // byte-order mark kept, a UTF-16 document in UTF-16 of the same byte order with every line
  // that was not written byte for byte as it was.
  std::string Text() const;

 private:
  enum class Encoding { Bytes, Utf16Le, Utf16Be };

  // One line of text_: [begin, textEnd) is its text, [textEnd, end) its line end (the CRs before
  // the LF and the LF, or the CRs that end the document).
  struct LineRef {
    std::size_t begin;
    std::size_t textEnd;
    std::size_t end;
  };
  struct SectionSpan {
    std::size_t header;  // offset of the [name] line
    std::size_t body;    // offset of the line after it
    std::size_t end;     // offset one past the section's last line
  };

  LineRef LineAt(std::size_t begin) const;
  // The first line at or after pos, before limit, that is not blank.
  std::optional<LineRef> NextLine(std::size_t pos, std::size_t limit) const;
  std::optional<SectionSpan> FindSection(std::string_view section) const;
  std::optional<SectionSpan> ScanForSection(std::string_view section) const;
  std::optional<LineRef> FindKey(const SectionSpan& span, std::string_view key) const;
  void EnsureFinalLineEnd();

  Encoding encoding_ = Encoding::Bytes;
  std::string bom_;
  std::string text_;  // the lines; a UTF-16 document's as UTF-8
  std::string tail_;  // an odd last byte of a UTF-16 document, kept as it was
  std::string newline_ = "\r\n";
  // The last section found and where it lies (nullopt inside when it does not exist); valid
  // while cachedSpan_ holds a value.
  mutable std::string cachedSection_;
  mutable std::optional<std::optional<SectionSpan>> cachedSpan_;
};

}  // namespace platform
