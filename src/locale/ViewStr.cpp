#include "locale/ViewStr.h"

#include <iterator>

#include "locale/LocalStr.h"

namespace {

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
    {TViewStr::TableTitle, "%1: %2 statements, %3 outline(s)", "%1: instrukcje %2, kontury %3"},
    {TViewStr::HeadOutline, "outline", "kontur"},
    {TViewStr::HeadFrom, "from", "od"},
    {TViewStr::HeadStatements, "statements", "instrukcje"},
    {TViewStr::HeadMoves, "moves", "ruchy"},
    {TViewStr::HeadCutting, "cutting", "tnące"},
    {TViewStr::HeadCutMm, "cut mm", "cięcie mm"},
    {TViewStr::HeadXMm, "x mm", "x mm"},
    {TViewStr::HeadYMm, "y mm", "y mm"},
    {TViewStr::HeadStart, "start", "start"},
    {TViewStr::HeadEnd, "end", "koniec"},
    {TViewStr::LabelFail, "FAIL", "BŁĄD"},
    {TViewStr::LabelWarn, "WARN", "UWAGA"},
    {TViewStr::LabelNote, "NOTE", "INFO"},
    {TViewStr::VerdictFailed, "check FAILED: %1 failure(s), %2 warning(s)",
     "kontrola NIEZALICZONA: błędy %1, ostrzeżenia %2"},
    {TViewStr::VerdictPassed, "check passed", "kontrola zaliczona"},
    {TViewStr::VerdictPassedWarnings, "check passed, %1 warning(s)",
     "kontrola zaliczona, ostrzeżenia %1"},
    {TViewStr::InvalidField,
     "The field \"%1\" is blank or not a whole number: no program until it is corrected",
     "Pole „%1” jest puste lub nie zawiera liczby całkowitej: brak programu do czasu poprawy"},
    {TViewStr::Updating, "UPDATING…", "AKTUALIZACJA…"},
    {TViewStr::NoPictureWritten, "no picture written to %1: there is no program to draw",
     "nie zapisano obrazu %1: nie ma programu do narysowania"},
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
  return GetViewStr(id, IsPolishStr());
}

std::string GetViewStr(TViewStr id, bool polish) {
  const TViewText& text = kViewTexts[static_cast<std::size_t>(id)];
  return polish ? text.polish : text.english;
}

std::string FillArguments(std::string_view pattern, const std::vector<std::string>& args) {
  std::string text;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' &&
        pattern[i + 1] <= '9') {
      const auto index = static_cast<std::size_t>(pattern[i + 1] - '1');
      if (index < args.size()) {
        text += args[index];
      }
      ++i;
    } else {
      text += pattern[i];
    }
  }
  return text;
}
