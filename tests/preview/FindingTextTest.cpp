// The sentences of the check's findings: every kind, in English and Polish, from a program that
// makes it.
#include "preview/FindingText.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using hpgl::FindingKind;

struct Case {
  FindingKind kind;
  const char* program;
  std::optional<hpgl::WorkArea> area;
  const char* english;
  const char* polish;
};

const Case kCases[] = {
    {FindingKind::ThirdOutline,
     "SP4;PU0,0;SP3;PU0,0;SP2;PU0,0;",
     {},
     "A third outline: the machine cuts one outline, or two (front and rear); this program has 3",
     "Trzeci kontur: maszyna tnie jeden kontur albo dwa (przód i tył); ten program ma ich 3"},
    {FindingKind::StepCount,
     "SP4;PU0,0;PD0,1;SP3;PU0,0;PD0,1;PD0,2;",
     {},
     "The towers leave step: front (pen 4) has 2 move statements, rear (pen 3) 3; here rear "
     "(pen 3) moves on without a partner",
     "Wieże tracą krok: przód (pisak 4) ma 2 instrukcji ruchu, tył (pisak 3) 3; tutaj tył "
     "(pisak 3) rusza dalej bez pary"},
    {FindingKind::StepPen,
     "SP4;PU0,0;PD0,40;SP3;PU0,0;PU0,40;",
     {},
     "The towers leave step: rear (pen 3) moves with the pen up here, front (pen 4) with the pen "
     "down at its statement 3",
     "Wieże tracą krok: tył (pisak 3) rusza tu z pisakiem podniesionym, przód (pisak 4) z "
     "pisakiem opuszczonym w swojej instrukcji 3"},
    {FindingKind::StartOffZero,
     "SP4;PD80,0;",
     {},
     "Front (pen 4) begins at (2, 0) mm with the pen down; it must begin with the pen up at the "
     "machine's zero",
     "Przód (pisak 4) zaczyna się w (2, 0) mm z pisakiem opuszczonym; musi zaczynać się z "
     "pisakiem podniesionym w zerze maszyny"},
    {FindingKind::OffZero,
     "SP3;PU0,0;PD80,-40;",
     {},
     "Rear (pen 3) goes to (2, -1) mm, below the machine's zero",
     "Tył (pisak 3) dochodzi do (2, -1) mm, poniżej zera maszyny"},
    {FindingKind::OffZero,
     "SP4;PU0,0;PD-40,40;",
     {},
     "Front (pen 4) goes to (-1, 1) mm, left of the machine's zero",
     "Przód (pisak 4) dochodzi do (-1, 1) mm, na lewo od zera maszyny"},
    {FindingKind::OffZero,
     "SP1;PU0,0;PD-40,-40;",
     {},
     "Pen 1 goes to (-1, -1) mm, left of and below the machine's zero",
     "Pisak 1 dochodzi do (-1, -1) mm, na lewo od zera maszyny i poniżej niego"},
    {FindingKind::BeyondWorkArea, "SP4;PU0,0;PD0,80,120,80;", hpgl::WorkArea{1, 1},
     "Front (pen 4) reaches beyond the work area (1 x 1 mm): 1 mm above its top, 2 mm past its "
     "right side",
     "Przód (pisak 4) wychodzi poza obszar roboczy (1 x 1 mm): 1 mm ponad jego górną krawędź, "
     "2 mm za jego prawą krawędź"},
    {FindingKind::UnknownStatement,
     "SP4;PU0,0;CI50;",
     {},
     "'CI50' is not a statement this reader knows: kept, not drawn",
     "'CI50' to instrukcja nieznana czytnikowi: zachowana, nie rysowana"},
    {FindingKind::MoreUnknown,
     "CI;CI;CI;CI;CI;CI;CI;CI;CI;CI;CI;CI;",
     {},
     "2 more unknown statements",
     "Więcej nieznanych instrukcji: 2"},
};

TEST(FindingText, EveryKindInBothLanguages) {
  std::set<FindingKind> seen;
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.program);
    const hpgl::CheckReport report = hpgl::CheckProgram(hpgl::ReadProgram(c.program), c.area);
    const hpgl::Finding* found = nullptr;
    for (const hpgl::Finding& f : report.findings) {
      if (f.kind == c.kind) {
        found = &f;
      }
    }
    ASSERT_NE(found, nullptr);
    seen.insert(c.kind);
    EXPECT_EQ(preview::FindingText(*found, TTextLanguage::English), c.english);
    EXPECT_EQ(preview::FindingText(*found, TTextLanguage::Polish), c.polish);
  }
  EXPECT_EQ(seen.size(), static_cast<std::size_t>(FindingKind::Count));
}

}  // namespace
