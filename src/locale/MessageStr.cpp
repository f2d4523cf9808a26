#include "locale/MessageStr.h"

#include <string_view>
#include <vector>

namespace {

bool gPolish = false;

struct TMessage {
  const char* english;  // as raised; %1 and %2 stand for the variable parts
  const char* polish;
};

// %1 and %2 match the shortest text up to the literal that follows them; a part at the end of
// the pattern takes the rest of the text.
constexpr TMessage kMessages[] = {
    {"Unable to write to %1: %2", "Nie można zapisać pliku %1: %2"},
    {"Unable to write to %1", "Nie można zapisać pliku %1"},
    {"'%1' is not a valid floating point value", "'%1' nie jest prawidłową liczbą"},
    {"'%1' is not a valid integer value", "'%1' nie jest prawidłową liczbą całkowitą"},
    {"the cutting program would move below the machine's zero in line %1: %2",
     "Program cięcia wyprowadziłby drut poniżej zera maszyny w wierszu %1: %2"},
    {"layer count %1 is above the limit of %2 layers",
     "Liczba warstw %1 przekracza dopuszczalne %2 warstw"},
    {"coordinate out of range: %1 mm", "Współrzędna poza zakresem: %1 mm"},
    {"cannot read the picture %1: %2", "Nie można wczytać obrazu %1: %2"},
    {"not a valid metafile: %1", "Plik nie jest prawidłowym metaplikiem: %1"},
    {"no such file", "plik nie istnieje"},
};

// Splits a pattern into literals and placeholder numbers: literal, part, literal, part, ...
bool Match(std::string_view pattern, std::string_view text, std::vector<std::string>& parts) {
  parts.clear();
  while (!pattern.empty()) {
    const std::size_t mark = pattern.find('%');
    const std::string_view literal = pattern.substr(0, mark);
    if (text.substr(0, literal.size()) != literal) {
      return false;
    }
    text.remove_prefix(literal.size());
    if (mark == std::string_view::npos) {
      return text.empty();
    }
    pattern.remove_prefix(mark + 2);  // "%1" or "%2"
    const std::string_view next = pattern.substr(0, pattern.find('%'));
    const std::size_t end = next.empty() ? text.size() : text.find(next);
    if (end == std::string_view::npos || end == 0) {
      return false;
    }
    parts.emplace_back(text.substr(0, end));
    text.remove_prefix(end);
  }
  return text.empty();
}

std::string Fill(std::string_view pattern, const std::vector<std::string>& parts) {
  std::string result;
  std::size_t part = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && part < parts.size()) {
      result += parts[part++];
      ++i;
    } else {
      result += pattern[i];
    }
  }
  return result;
}

}  // namespace

void InitMessageStr(bool polish) {
  gPolish = polish;
}

std::string LocalizeErrorText(const std::string& text) {
  if (!gPolish) {
    return text;
  }
  std::vector<std::string> parts;
  for (const TMessage& message : kMessages) {
    if (Match(message.english, text, parts)) {
      // The reason after a name may itself be a known message ("cannot read the picture X: no such
      // file").
      if (parts.size() >= 2) {
        parts.back() = LocalizeErrorText(parts.back());
      }
      return Fill(message.polish, parts);
    }
  }
  return text;
}
