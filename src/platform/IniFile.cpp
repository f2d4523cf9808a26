#include "platform/IniFile.h"

#include <algorithm>
#include <cctype>

namespace platform {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view TrimBlanks(std::string_view s) {
  const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && isBlank(s.front())) {
    s.remove_prefix(1);
  }
  while (!s.empty() && isBlank(s.back())) {
    s.remove_suffix(1);
  }
  return s;
}

bool SameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
    return std::tolower(x) == std::tolower(y);
  });
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

std::optional<KeyLine> ParseKeyLine(std::string_view line) {
  const auto eq = line.find('=');
  if (eq == std::string_view::npos) {
    return std::nullopt;
  }
  return KeyLine{TrimBlanks(line.substr(0, eq)), TrimBlanks(line.substr(eq + 1))};
}

bool IsBlankLine(std::string_view line) {
  return TrimBlanks(line).empty();
}

}  // namespace

IniDocument::IniDocument(std::string bytes) {
  std::string_view rest = bytes;
  if (rest.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
    bom_ = kUtf8Bom;
    rest.remove_prefix(kUtf8Bom.size());
  }
  bool newlineKnown = false;
  while (!rest.empty()) {
    const auto lf = rest.find('\n');
    if (lf == std::string_view::npos) {
      lines_.push_back({std::string(rest), ""});
      break;
    }
    const bool crlf = lf > 0 && rest[lf - 1] == '\r';
    const auto textLength = crlf ? lf - 1 : lf;
    lines_.push_back({std::string(rest.substr(0, textLength)), crlf ? "\r\n" : "\n"});
    if (!newlineKnown) {
      newline_ = lines_.back().end;
      newlineKnown = true;
    }
    rest.remove_prefix(lf + 1);
  }
}

std::optional<IniDocument::SectionSpan> IniDocument::FindSection(std::string_view section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const auto name = SectionName(lines_[i].text);
    if (!name || !SameName(*name, section)) {
      continue;
    }
    std::size_t end = i + 1;
    while (end < lines_.size() && !SectionName(lines_[end].text)) {
      ++end;
    }
    return SectionSpan{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> IniDocument::FindKey(const SectionSpan& span,
                                                std::string_view key) const {
  for (std::size_t i = span.header + 1; i < span.end; ++i) {
    const auto line = ParseKeyLine(lines_[i].text);
    if (line && SameName(line->name, key)) {
      return i;
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
  const auto index = FindKey(*span, key);
  if (!index) {
    return std::nullopt;
  }
  std::string_view value = ParseKeyLine(lines_[*index].text)->value;
  if (value.size() >= 2 && value.front() == value.back() &&
      (value.front() == '"' || value.front() == '\'')) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

void IniDocument::EnsureFinalLineEnd() {
  if (!lines_.empty() && lines_.back().end.empty()) {
    lines_.back().end = newline_;
  }
}

void IniDocument::WriteString(std::string_view section, std::string_view key,
                              std::string_view value) {
  const auto span = FindSection(section);
  if (!span) {
    EnsureFinalLineEnd();
    lines_.push_back({"[" + std::string(section) + "]", newline_});
    lines_.push_back({std::string(key) + "=" + std::string(value), newline_});
    return;
  }
  if (const auto index = FindKey(*span, key)) {
    Line& line = lines_[*index];
    line.text = std::string(ParseKeyLine(line.text)->name) + "=" + std::string(value);
    return;
  }
  std::size_t after = span->end - 1;
  while (after > span->header && IsBlankLine(lines_[after].text)) {
    --after;
  }
  if (lines_[after].end.empty()) {
    lines_[after].end = newline_;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(after + 1),
                {std::string(key) + "=" + std::string(value), newline_});
}

std::string IniDocument::Text() const {
  std::string out = bom_;
  for (const auto& line : lines_) {
    out += line.text;
    out += line.end;
  }
  return out;
}

}  // namespace platform
