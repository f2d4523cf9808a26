#include "platform/IniFile.h"

#include <algorithm>
#include <cstdint>

namespace platform {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

// The characters the profile functions skip around names and values; Ctrl-Z is the end-of-file
// mark that old editors and transfers leave behind.
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1A';
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) {
    s.remove_prefix(1);
  }
  while (!s.empty() && IsBlank(s.back())) {
    s.remove_suffix(1);
  }
  return s;
}

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

// The name of a "[name]" line, or nullopt when the line is no section header.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = TrimBlanks(line);
  if (line.empty() || line.front() != '[') {
    return std::nullopt;
  }
  const auto close = line.find(']');
  if (close == std::string_view::npos) {
    return std::nullopt;
  }
  return TrimBlanks(line.substr(1, close - 1));
}

struct KeyLine {
  std::string_view name;
  std::string_view value;
};

// A key line: "name=value", or a line without "=" whose whole text is the name (an empty value).
// nullopt for a blank line.
std::optional<KeyLine> ParseKeyLine(std::string_view line) {
  const auto eq = line.find('=');
  if (eq == std::string_view::npos) {
    const auto name = TrimBlanks(line);
    if (name.empty()) {
      return std::nullopt;
    }
    return KeyLine{name, {}};
  }
  return KeyLine{TrimBlanks(line.substr(0, eq)), TrimBlanks(line.substr(eq + 1))};
}

// ---- UTF-16 ----
// A UTF-16 document is held as UTF-8 so that the parser sees one form. Unpaired surrogates take
// their three-byte form (ED A0 80 to ED BF BF), which no valid UTF-8 has, so that the way back
// gives every code unit as it was.

void AppendUtf8(std::string& out, std::uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool IsHighSurrogate(std::uint32_t u) {
  return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLowSurrogate(std::uint32_t u) {
  return u >= 0xDC00 && u <= 0xDFFF;
}

// Decodes units (without the mark); an odd last byte is left for the caller.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  const auto unit = [&](std::size_t i) -> std::uint32_t {
    const auto b0 = static_cast<unsigned char>(bytes[2 * i]);
    const auto b1 = static_cast<unsigned char>(bytes[2 * i + 1]);
    return bigEndian ? (b0 << 8 | b1) : (b1 << 8 | b0);
  };
  const std::size_t units = bytes.size() / 2;
  std::string out;
  out.reserve(units);
  for (std::size_t i = 0; i < units; ++i) {
    const std::uint32_t u = unit(i);
    if (IsHighSurrogate(u) && i + 1 < units && IsLowSurrogate(unit(i + 1))) {
      AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (unit(i + 1) - 0xDC00));
      ++i;
    } else {
      AppendUtf8(out, u);
    }
  }
  return out;
}

void AppendUnit(std::string& out, std::uint32_t u, bool bigEndian) {
  const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
  out += bigEndian ? hi : lo;
  out += bigEndian ? lo : hi;
}

// The way back. Text that a caller wrote may hold bytes that are no UTF-8: each becomes U+FFFD.
std::string Utf8ToUtf16(std::string_view text, bool bigEndian) {
  std::string out;
  out.reserve(text.size() * 2);
  std::size_t i = 0;
  while (i < text.size()) {
    const auto b = static_cast<unsigned char>(text[i]);
    const std::size_t length = b < 0x80                ? 1
                               : b >= 0xC2 && b < 0xE0 ? 2
                               : b >= 0xE0 && b < 0xF0 ? 3
                               : b >= 0xF0 && b < 0xF5 ? 4
                                                       : 0;
    std::uint32_t c = length == 1 ? b : length == 2 ? b & 0x1F : length == 3 ? b & 0x0F : b & 0x07;
    bool valid = length > 0 && i + length <= text.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      valid = (next & 0xC0) == 0x80;
      c = c << 6 | (next & 0x3F);
    }
    // Overlong forms and values past U+10FFFF are no character.
    valid = valid && !(length == 3 && c < 0x800) && !(length == 4 && (c < 0x10000 || c > 0x10FFFF));
    if (!valid) {
      AppendUnit(out, 0xFFFD, bigEndian);
      ++i;
      continue;
    }
    if (c >= 0x10000) {
      AppendUnit(out, 0xD800 + ((c - 0x10000) >> 10), bigEndian);
      AppendUnit(out, 0xDC00 + ((c - 0x10000) & 0x3FF), bigEndian);
    } else {
      AppendUnit(out, c, bigEndian);
    }
    i += length;
  }
  return out;
}

}  // namespace

IniDocument::IniDocument(std::string bytes) {
  const std::string_view all = bytes;
  if (all.substr(0, kUtf16LeBom.size()) == kUtf16LeBom ||
      all.substr(0, kUtf16BeBom.size()) == kUtf16BeBom) {
    const bool bigEndian = all.substr(0, kUtf16BeBom.size()) == kUtf16BeBom;
    encoding_ = bigEndian ? Encoding::Utf16Be : Encoding::Utf16Le;
    bom_ = all.substr(0, 2);
    const std::string_view units = all.substr(2, (all.size() - 2) & ~std::size_t{1});
    tail_ = all.substr(2 + units.size());
    text_ = Utf16ToUtf8(units, bigEndian);
  } else {
    if (all.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
      bom_ = kUtf8Bom;
      bytes.erase(0, kUtf8Bom.size());
    }
    text_ = std::move(bytes);
  }
  // New lines end as the first line of the file does.
  if (text_.find('\n') != std::string::npos) {
    const LineRef first = LineAt(0);
    newline_ = text_.substr(first.textEnd, first.end - first.textEnd);
  }
}

IniDocument::LineRef IniDocument::LineAt(std::size_t begin) const {
  const auto lf = text_.find('\n', begin);
  const std::size_t end = lf == std::string::npos ? text_.size() : lf + 1;
  std::size_t textEnd = lf == std::string::npos ? text_.size() : lf;
  while (textEnd > begin && text_[textEnd - 1] == '\r') {
    --textEnd;
  }
  return {begin, textEnd, end};
}

std::optional<IniDocument::LineRef> IniDocument::NextLine(std::size_t pos,
                                                          std::size_t limit) const {
  // Blank lines carry nothing, so the scan runs over blanks and line ends alike to the first
  // character that is none, then goes back to the start of its line.
  while (pos < limit && IsBlank(text_[pos])) {
    ++pos;
  }
  if (pos >= limit) {
    return std::nullopt;
  }
  std::size_t begin = pos;
  while (begin > 0 && text_[begin - 1] != '\n') {
    --begin;
  }
  return LineAt(begin);
}

std::optional<IniDocument::SectionSpan> IniDocument::FindSection(std::string_view section) const {
  // The reads of one file ask for the same section again and again; finding its end is a scan
  // over the whole section, so the last answer is kept until the text changes.
  if (cachedSpan_ && SameName(cachedSection_, section)) {
    return *cachedSpan_;
  }
  auto span = ScanForSection(section);
  cachedSection_ = section;
  cachedSpan_ = span;
  return span;
}

std::optional<IniDocument::SectionSpan> IniDocument::ScanForSection(
    std::string_view section) const {
  const std::string_view text = text_;
  for (std::size_t pos = 0; const auto line = NextLine(pos, text.size());) {
    pos = line->end;
    const auto name = SectionName(text.substr(line->begin, line->textEnd - line->begin));
    if (!name || !SameName(*name, section)) {
      continue;
    }
    std::size_t end = text.size();
    for (std::size_t next = pos; const auto other = NextLine(next, text.size());) {
      if (SectionName(text.substr(other->begin, other->textEnd - other->begin))) {
        end = other->begin;
        break;
      }
      next = other->end;
    }
    return SectionSpan{line->begin, line->end, end};
  }
  return std::nullopt;
}

std::optional<IniDocument::LineRef> IniDocument::FindKey(const SectionSpan& span,
                                                         std::string_view key) const {
  const std::string_view text = text_;
  for (std::size_t pos = span.body; const auto found = NextLine(pos, span.end);) {
    const LineRef line = *found;
    pos = line.end;
    const auto parsed = ParseKeyLine(text.substr(line.begin, line.textEnd - line.begin));
    if (parsed && SameName(parsed->name, key)) {
      return line;
    }
  }
  return std::nullopt;
}

std::optional<std::string> IniDocument::ReadString(std::string_view section,
                                                   std::string_view key) const {
  const auto span = FindSection(section);
  if (!span) {
    return std::nullopt;
  }
  const auto line = FindKey(*span, key);
  if (!line) {
    return std::nullopt;
  }
  const std::string_view text = text_;
  std::string_view value =
      ParseKeyLine(text.substr(line->begin, line->textEnd - line->begin))->value;
  if (value.size() >= 2 && value.front() == value.back() &&
      (value.front() == '"' || value.front() == '\'')) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

void IniDocument::EnsureFinalLineEnd() {
  if (!text_.empty() && text_.back() != '\n') {
    // A document that ends in CR has its line end but for the LF.
    text_ += text_.back() == '\r' ? "\n" : newline_;
  }
}

void IniDocument::WriteString(std::string_view section, std::string_view key,
                              std::string_view value) {
  const auto span = FindSection(section);
  cachedSpan_.reset();  // every write below moves the text after it
  if (!span) {
    EnsureFinalLineEnd();
    text_.append("[").append(section).append("]").append(newline_);
    text_.append(key).append("=").append(value).append(newline_);
    return;
  }
  if (const auto line = FindKey(*span, key)) {
    const std::string_view text = text_;
    std::string replacement(
        ParseKeyLine(text.substr(line->begin, line->textEnd - line->begin))->name);
    replacement.append("=").append(value);
    text_.replace(line->begin, line->textEnd - line->begin, replacement);
    return;
  }
  // After the last non-blank line of the section (the header when the section is empty).
  std::size_t after = span->body;
  for (std::size_t pos = span->body; const auto line = NextLine(pos, span->end);) {
    pos = line->end;
    after = line->end;
  }
  std::string inserted;
  if (after == text_.size() && !text_.empty() && text_.back() != '\n') {
    inserted = text_.back() == '\r' ? "\n" : newline_;
  }
  inserted.append(key).append("=").append(value).append(newline_);
  text_.insert(after, inserted);
}

std::string IniDocument::Text() const {
  switch (encoding_) {
    case Encoding::Bytes:
      return bom_ + text_;
    case Encoding::Utf16Le:
    case Encoding::Utf16Be:
      return bom_ + Utf8ToUtf16(text_, encoding_ == Encoding::Utf16Be) + tail_;
  }
  return {};
}

}  // namespace platform
