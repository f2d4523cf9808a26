#include "preview/FindingText.h"

#include <iterator>

#include "locale/ViewStr.h"

namespace preview {

namespace {

// The sentences and the words they are made of. %1 to %9 are filled by FindingText.
enum class TFindingStr {
  ThirdOutline,      // %1 outlines
  StepCount,         // %1 first outline, %2 its move statements, %3 second, %4 its, %5 unpaired
  StepPen,           // %1 outline, %2 pen state, %3 other outline, %4 its pen state, %5 statement
  StartOffZero,      // %1 outline, %2 point, %3 pen state
  LeftOfZero,        // %1 outline, %2 point
  BelowZero,         // %1 outline, %2 point
  LeftOfAndBelow,    // %1 outline, %2 point
  BeyondWorkArea,    // %1 outline, %2 width, %3 height, %4 the amounts
  AboveTop,          // %1 millimetres
  PastRight,         // %1 millimetres
  UnknownStatement,  // %1 statement text
  MoreUnknown,       // %1 count
  PenDown,           // the pen state in StepPen and StartOffZero
  PenUp,
  Count
};

struct TFindingText {
  TFindingStr id;
  const char* english;
  const char* polish;
};

constexpr TFindingText kFindingTexts[] = {
    {TFindingStr::ThirdOutline,
     "A third outline: the machine cuts one outline, or two (front and rear); this program has %1",
     "Trzeci kontur: maszyna tnie jeden kontur albo dwa (przód i tył); ten program ma ich %1"},
    {TFindingStr::StepCount,
     "The towers leave step: %1 has %2 move statements, %3 %4; here %5 moves on without a "
     "partner",
     "Wieże tracą krok: %1 ma %2 instrukcji ruchu, %3 %4; tutaj %5 rusza dalej bez pary"},
    {TFindingStr::StepPen,
     "The towers leave step: %1 moves with the pen %2 here, %3 with the pen %4 at its statement %5",
     "Wieże tracą krok: %1 rusza tu z pisakiem %2, %3 z pisakiem %4 w swojej instrukcji %5"},
    {TFindingStr::StartOffZero,
     "%1 begins at %2 with the pen %3; it must begin with the pen up at the machine's zero",
     "%1 zaczyna się w %2 z pisakiem %3; musi zaczynać się z pisakiem podniesionym w zerze "
     "maszyny"},
    {TFindingStr::LeftOfZero, "%1 goes to %2, left of the machine's zero",
     "%1 dochodzi do %2, na lewo od zera maszyny"},
    {TFindingStr::BelowZero, "%1 goes to %2, below the machine's zero",
     "%1 dochodzi do %2, poniżej zera maszyny"},
    {TFindingStr::LeftOfAndBelow, "%1 goes to %2, left of and below the machine's zero",
     "%1 dochodzi do %2, na lewo od zera maszyny i poniżej niego"},
    {TFindingStr::BeyondWorkArea, "%1 reaches beyond the work area (%2 x %3 mm): %4",
     "%1 wychodzi poza obszar roboczy (%2 x %3 mm): %4"},
    {TFindingStr::AboveTop, "%1 mm above its top", "%1 mm ponad jego górną krawędź"},
    {TFindingStr::PastRight, "%1 mm past its right side", "%1 mm za jego prawą krawędź"},
    {TFindingStr::UnknownStatement, "'%1' is not a statement this reader knows: kept, not drawn",
     "'%1' to instrukcja nieznana czytnikowi: zachowana, nie rysowana"},
    {TFindingStr::MoreUnknown, "%1 more unknown statements", "Więcej nieznanych instrukcji: %1"},
    {TFindingStr::PenDown, "down", "opuszczonym"},
    {TFindingStr::PenUp, "up", "podniesionym"},
};

constexpr bool FindingTextsInOrder() {
  for (std::size_t i = 0; i < std::size(kFindingTexts); ++i) {
    if (static_cast<std::size_t>(kFindingTexts[i].id) != i) {
      return false;
    }
  }
  return std::size(kFindingTexts) == static_cast<std::size_t>(TFindingStr::Count);
}
static_assert(FindingTextsInOrder());

const char* Str(TFindingStr id, TTextLanguage language) {
  const TFindingText& row = kFindingTexts[static_cast<std::size_t>(id)];
  return language == TTextLanguage::Polish ? row.polish : row.english;
}

std::string PenState(bool down, TTextLanguage language) {
  return Str(down ? TFindingStr::PenDown : TFindingStr::PenUp, language);
}

}  // namespace

std::string OutlineTitle(int pen, TTextLanguage language) {
  const bool polish = language == TTextLanguage::Polish;
  const std::string number = GetViewStr(TViewStr::Pen, polish) + " " + std::to_string(pen);
  if (pen == 4) {
    return GetViewStr(TViewStr::Front, polish) + " (" + number + ")";
  }
  if (pen == 3) {
    return GetViewStr(TViewStr::Rear, polish) + " (" + number + ")";
  }
  return number;
}

std::string PointText(std::int64_t x, std::int64_t y) {
  std::string text = "(";
  text += hpgl::Millimetres(x / kPlotterUnitsPerMm);
  text += ", ";
  text += hpgl::Millimetres(y / kPlotterUnitsPerMm);
  text += ") mm";
  return text;
}

std::string Capitalised(std::string text) {
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') {
    text[0] = static_cast<char>(text[0] - 'a' + 'A');
  }
  return text;
}

std::string SeverityLabel(hpgl::Severity severity, TTextLanguage language) {
  const bool polish = language == TTextLanguage::Polish;
  switch (severity) {
    case hpgl::Severity::Failure:
      return GetViewStr(TViewStr::LabelFail, polish);
    case hpgl::Severity::Warning:
      return GetViewStr(TViewStr::LabelWarn, polish);
    case hpgl::Severity::Note:
      break;
  }
  return GetViewStr(TViewStr::LabelNote, polish);
}

std::string FindingText(const hpgl::Finding& f, TTextLanguage language) {
  using hpgl::FindingKind;
  const auto fill = [&](TFindingStr id, const std::vector<std::string>& args) {
    return Capitalised(FillArguments(Str(id, language), args));
  };
  const std::string name = OutlineTitle(f.pen, language);
  const std::string other = OutlineTitle(f.otherPen, language);
  switch (f.kind) {
    case FindingKind::ThirdOutline:
      return fill(TFindingStr::ThirdOutline, {std::to_string(f.count)});
    case FindingKind::StepCount: {
      const bool first = f.outline == 0;
      return fill(TFindingStr::StepCount,
                  {first ? name : other, std::to_string(f.count), first ? other : name,
                   std::to_string(f.otherCount), name});
    }
    case FindingKind::StepPen:
      return fill(TFindingStr::StepPen,
                  {name, PenState(f.penDown, language), other, PenState(f.otherPenDown, language),
                   std::to_string(f.otherStatement)});
    case FindingKind::StartOffZero:
      return fill(TFindingStr::StartOffZero,
                  {name, PointText(f.x, f.y), PenState(f.penDown, language)});
    case FindingKind::OffZero:
      return fill(f.x < 0 && f.y < 0 ? TFindingStr::LeftOfAndBelow
                  : f.x < 0          ? TFindingStr::LeftOfZero
                                     : TFindingStr::BelowZero,
                  {name, PointText(f.x, f.y)});
    case FindingKind::BeyondWorkArea: {
      std::string amounts;
      if (f.overTop > 0) {
        amounts =
            FillArguments(Str(TFindingStr::AboveTop, language), {hpgl::Millimetres(f.overTop)});
      }
      if (f.overRight > 0) {
        amounts +=
            (amounts.empty() ? "" : ", ") +
            FillArguments(Str(TFindingStr::PastRight, language), {hpgl::Millimetres(f.overRight)});
      }
      return fill(TFindingStr::BeyondWorkArea, {name, hpgl::Millimetres(f.area.width),
                                                hpgl::Millimetres(f.area.height), amounts});
    }
    case FindingKind::UnknownStatement:
      return fill(TFindingStr::UnknownStatement, {f.text});
    case FindingKind::MoreUnknown:
    case FindingKind::Count:
      break;
  }
  return fill(TFindingStr::MoreUnknown, {std::to_string(f.count)});
}

}  // namespace preview
