#include "locale/MessageStr.h"

#include <iterator>
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
    // The system's reasons that follow a file name.
    {"No such file or directory", "Nie ma takiego pliku ani katalogu"},
    {"Permission denied", "Brak dostępu"},
    {"Operation not permitted", "Operacja niedozwolona"},
    {"Is a directory", "To jest katalog"},
    {"File too large", "Plik jest za duży"},
    {"No space left on device", "Brak miejsca na urządzeniu"},
    {"Read-only file system", "System plików tylko do odczytu"},
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

struct TViewText {
  TViewStr id;
  const char* english;
  const char* polish;
};

constexpr TViewText kViewTexts[] = {
    {TViewStr::Menu, "View", "Widok"},
    {TViewStr::PreviewItem, "Cutting program preview", "Podgląd programu cięcia"},
    {TViewStr::PreviewTitle, "Cutting program preview", "Podgląd programu cięcia"},
    {TViewStr::Front, "front", "przód"},
    {TViewStr::Rear, "rear", "tył"},
    {TViewStr::Pen, "pen", "pisak"},
    {TViewStr::Statements, "statements", "instrukcje"},
    {TViewStr::CuttingMoves, "cutting moves", "ruchy tnące"},
    {TViewStr::CutLength, "cut length", "długość cięcia"},
    {TViewStr::Box, "extent", "zasięg"},
    {TViewStr::Start, "start", "start"},
    {TViewStr::WorkArea, "work area", "obszar roboczy"},
    {TViewStr::Travel, "pen up: travel, no cut", "drut uniesiony: przejazd bez cięcia"},
    {TViewStr::StartPoint, "start point of an outline", "punkt startowy konturu"},
    {TViewStr::NoGo, "left of or below zero: no-go", "na lewo od zera lub poniżej: zakaz"},
    {TViewStr::CheckPassed, "CHECK PASSED", "KONTROLA ZALICZONA"},
    {TViewStr::CheckFailed, "CHECK FAILED", "KONTROLA NIEZALICZONA"},
    {TViewStr::Statement, "statement", "instrukcja"},
    {TViewStr::NoOutline, "no outline: the program moves nothing",
     "brak konturu: program nie wykonuje ruchu"},
    {TViewStr::NoPicture, "No preview: the cutting program cannot be made",
     "Brak podglądu: nie można utworzyć programu cięcia"},
    {TViewStr::AxisX, "x [mm] from the machine's zero", "x [mm] od zera maszyny"},
    {TViewStr::AxisY, "y [mm]", "y [mm]"},
};
// GetViewStr finds a text by its place in the table.
constexpr bool ViewTextsInOrder() {
  for (std::size_t i = 0; i < std::size(kViewTexts); ++i) {
    if (static_cast<std::size_t>(kViewTexts[i].id) != i) {
      return false;
    }
  }
  return std::size(kViewTexts) == static_cast<std::size_t>(TViewStr::Count);
}
static_assert(ViewTextsInOrder());

}  // namespace

std::string GetViewStr(TViewStr id) {
  const TViewText& text = kViewTexts[static_cast<std::size_t>(id)];
  return gPolish ? text.polish : text.english;
}

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
      // The reason after a name may itself be a known message ("cannot read the picture X: No
      // such file or directory").
      if (parts.size() >= 2) {
        parts.back() = LocalizeErrorText(parts.back());
      }
      return Fill(message.polish, parts);
    }
  }
  return text;
}
