// The explanation of a refused cutting program: for each kind of refusal a project that makes
// it, its sentences in English and Polish, and the amounts checked against the gate itself.
#include "preview/RefusalAdvice.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "generator/ProgramGate.h"
#include "generator/ProjectGenerator.h"
#include "locale/LocalStr.h"

namespace {

using preview::TAdviceInput;
using preview::TChangeOutcome;
using preview::TRefusal;

// An example project of examples/, changed by change, then computed.
std::unique_ptr<TPanelsProject> Example(const std::string& name,
                                        const std::function<void(TPanelsProject&)>& change) {
  std::ifstream in(std::string(EXAMPLES_DIR) + "/" + name + ".tcj", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  auto project = std::make_unique<TPanelsProject>();
  project->OpenFromText(text.str());
  change(*project);
  project->ComputeFaces();
  return project;
}

// The double slope of the example (A 40, B 80, C 100, D 60, base 1000, space 5, elevation and
// left space 2) with one layer and A = -400: the rear outline's move to y = Elevation + A.
void DoubleSlopeMinus400(TPanelsProject& p) {
  p.SetLayerCount(1);
  p.RoofPanel().SetDimA(-400);
}

struct Case {
  const char* name;
  const char* example;
  std::function<void(TPanelsProject&)> change;
  std::vector<std::string> english;
  std::vector<std::string> polish;
};

const Case kCases[] = {
    // y = 2 + A; nothing else moves it: B to D cancel out in the rear outline, one layer has no
    // layer height in it, and the space between panels is no field at one layer.
    {"double slope, 1 layer, A = -400",
     "double-slope",
     DoubleSlopeMinus400,
     {"The rear outline goes 398 mm below the machine's zero in line 36 (PD 40080 -15920;).",
      "Change Size A by at least +398 mm (to -2), or Elevation in the project file by at least "
      "+398 mm (to 400)."},
     {"Tylny kontur sięga 398 mm poniżej zera maszyny w wierszu 36 (PD 40080 -15920;).",
      "Zmień Wymiar A o co najmniej +398 mm (na -2) albo klucz Elevation w pliku projektu o co "
      "najmniej +398 mm (na 400)."}},
    // Twenty layers: the first move below zero is three layers above the bottom one, at
    // y = 2 + 3 x layer height + A = -83 with the layer height max(A..D) + 5 = 105. A change of
    // B, D or the space acts only where it lifts the layer height past C = 100: B, C, D to 128,
    // the space to 33 (3 x 133 = 399). Each clears this move and leaves the one below.
    {"double slope, 20 layers, A = -400",
     "double-slope",
     [](TPanelsProject& p) {
       p.SetLayerCount(20);
       p.RoofPanel().SetDimA(-400);
     },
     {"The rear outline goes 83 mm below the machine's zero in line 246 (PD 40080 -3320;).",
      "Changing only one of Size A by +83 mm (to -317), Size B by +48 mm (to 128), Size C by +28 "
      "mm (to 128), Size D by +68 mm (to 128), Space between panels by +28 mm (to 33), or "
      "Elevation in the project file by +83 mm (to 85) brings this point back to zero, but "
      "another move then goes beyond zero."},
     {"Tylny kontur sięga 83 mm poniżej zera maszyny w wierszu 246 (PD 40080 -3320;).",
      "Gdy zmienisz tylko jedno: Wymiar A o +83 mm (na -317), Wymiar B o +48 mm (na 128), "
      "Wymiar C o +28 mm (na 128), Wymiar D o +68 mm (na 128), Odstęp między panelami o +28 mm "
      "(na 33) albo klucz Elevation w pliku projektu o +83 mm (na 85), ten punkt nie wyjdzie "
      "poza zero, ale wyjdzie inny ruch."}},
    // No layers: the first move, up to y = layer height x (0 - 1) + 2 = -128 (layer height
    // 120 + space 10). One layer lifts it to 2 and passes (the window sets the space to 0). B
    // to -78 lifts the stack by the lower face (88 mm) over a layer height of 90, the elevation
    // to 130 and the space to -118 cancel the layer height: each leaves the move down to zero
    // below it. A and C move the faces, never so far.
    {"gutter, 0 layers",
     "gutter",
     [](TPanelsProject& p) { p.SetLayerCount(0); },
     {"The front outline goes 128 mm below the machine's zero in line 22 (PD 0 -5120;).",
      "Change Number of pieces by at least +1 (to 1).",
      "Changing only one of Size B by -188 mm (to -78), Elevation in the project file by +128 mm "
      "(to 130), or Top space in the project file by -128 mm (to -118) brings this point back to "
      "zero, but another move then goes beyond zero.",
      "Size A and Size C also move this point, but changing one of them alone does not bring the "
      "point back to zero."},
     {"Przedni kontur sięga 128 mm poniżej zera maszyny w wierszu 22 (PD 0 -5120;).",
      "Zmień Ilość warstw o co najmniej +1 (na 1).",
      "Gdy zmienisz tylko jedno: Wymiar B o -188 mm (na -78), klucz Elevation w pliku projektu o "
      "+128 mm (na 130) albo klucz Top space w pliku projektu o -128 mm (na -118), ten punkt nie "
      "wyjdzie poza zero, ale wyjdzie inny ruch.",
      "Wymiar A i Wymiar C też przesuwają ten punkt, ale zmiana tylko jednej z tych wartości nie "
      "sprowadzi go do zera."}},
    // The base widths of a double slope are locked and follow the panel length: the length is
    // named for them, the base widths are not.
    {"double slope, base widths -1500 by the panel length",
     "double-slope",
     [](TPanelsProject& p) {
       p.SetLayerCount(1);
       p.SetTopSpace(0);
       p.SetPanelLength(-1500);
       p.SetFrontBaseWidth(-1500);
       p.SetRearBaseWidth(-1500);
     },
     {"The front outline goes 1498 mm left of the machine's zero in line 25 (PD -59920 3280;).",
      "Change Panel length by at least +1498 mm (to -2), or Left space in the project file by at "
      "least +1498 mm (to 1500)."},
     {"Przedni kontur sięga 1498 mm na lewo od zera maszyny w wierszu 25 (PD -59920 3280;).",
      "Zmień Długość panelu o co najmniej +1498 mm (na -2) albo klucz Left space w pliku "
      "projektu o co najmniej +1498 mm (na 1500)."}},
    // x = Left space where the top layer's cut begins: no field of the window moves it.
    {"flat, left space -5",
     "flat",
     [](TPanelsProject& p) { p.SetLeftSpace(-5); },
     {"The outline goes 5 mm left of the machine's zero in line 5 (PD -200 12080;).",
      "Change Left space in the project file by at least +5 mm (to 0)."},
     {"Kontur sięga 5 mm na lewo od zera maszyny w wierszu 5 (PD -200 12080;).",
      "Zmień klucz Left space w pliku projektu o co najmniej +5 mm (na 0)."}},
    // (Left space + front base, Elevation + B): every input moves one of the two, none both.
    {"narrow double slope, left of and below zero",
     "double-slope-narrow",
     [](TPanelsProject& p) {
       p.SetLayerCount(1);
       p.SetFrontBaseWidth(-1500);
       p.RoofPanel().SetDimB(-400);
     },
     {"The front outline goes 1498 mm left of and 398 mm below the machine's zero in line 25 (PD "
      "-59920 -15920;).",
      "Size B, Front base width, Elevation in the project file and Left space in the project "
      "file also move this point, but changing one of them alone does not bring the point back "
      "to zero."},
     {"Przedni kontur sięga 1498 mm na lewo od zera maszyny i 398 mm poniżej niego w wierszu 25 "
      "(PD -59920 -15920;).",
      "Wymiar B, Szerokość podstawy przód, klucz Elevation w pliku projektu i klucz Left space w "
      "pliku projektu też przesuwają ten punkt, ale zmiana tylko jednej z tych wartości nie "
      "sprowadzi go do zera."}},
    {"above the searched layer count",
     "gutter",
     [](TPanelsProject& p) {
       p.SetLayerCount(preview::kMaxSearchedLayers + 1);
       p.SetLeftSpace(-5);
     },
     {"The front outline goes 5 mm left of the machine's zero in line 23 (PD -200 5200080;).",
      "Above 1000 layers the advice does not search which values to change."},
     {"Przedni kontur sięga 5 mm na lewo od zera maszyny w wierszu 23 (PD -200 5200080;).",
      "Powyżej 1000 warstw porada nie szuka wartości do zmiany."}},
    // A flat panel's top at 3 x A + 2: A (with B to D following it) brings it back; one layer
    // does not (A + 2 is out of range as well).
    {"coordinate out of range",
     "flat",
     [](TPanelsProject& p) {
       p.RoofPanel().SetDimA(2147483647);
       p.RoofPanel().SetDimD(2147483647);
     },
     {"No cutting program can be made: a coordinate of 6442450943 mm lies beyond the machine's "
      "range of ±53687091.175 mm.",
      "The value that takes it out of range: Size A = 2147483647 mm."},
     {"Nie można utworzyć programu cięcia: współrzędna 6442450943 mm leży poza zakresem maszyny "
      "±53687091.175 mm.",
      "Wartość, która wyprowadza ją poza zakres: Wymiar A = 2147483647 mm."}},
    // 1000 layers of 60 m: one layer or a panel of no thickness each bring it within range.
    {"coordinate out of range by the layer count",
     "flat",
     [](TPanelsProject& p) {
       p.SetLayerCount(1000);
       p.RoofPanel().SetDimA(60000);
       p.RoofPanel().SetDimD(60000);
     },
     {"No cutting program can be made: a coordinate of 60000002 mm lies beyond the machine's "
      "range of ±53687091.175 mm.",
      "The values that take it out of range, each of them alone: Number of pieces = 1000 and "
      "Size A = 60000 mm."},
     {"Nie można utworzyć programu cięcia: współrzędna 60000002 mm leży poza zakresem maszyny "
      "±53687091.175 mm.",
      "Wartości, które wyprowadzają ją poza zakres, każda z osobna: Ilość warstw = 1000 i Wymiar "
      "A = 60000 mm."}},
    {"coordinate out of range above the searched layer count",
     "flat",
     [](TPanelsProject& p) {
       p.SetLayerCount(100000);
       p.RoofPanel().SetDimA(600);
       p.RoofPanel().SetDimD(600);
     },
     {"No cutting program can be made: a coordinate of 60000002 mm lies beyond the machine's "
      "range of ±53687091.175 mm.",
      "Above 1000 layers the advice does not search which values to change."},
     {"Nie można utworzyć programu cięcia: współrzędna 60000002 mm leży poza zakresem maszyny "
      "±53687091.175 mm.",
      "Powyżej 1000 warstw porada nie szuka wartości do zmiany."}},
    {"coordinate out of range by two values",
     "flat",
     [](TPanelsProject& p) {
       p.SetElevation(1e20);
       p.SetLeftSpace(-1e20);
     },
     {"No cutting program can be made: a coordinate of 1E20 mm lies beyond the machine's range "
      "of ±53687091.175 mm.",
      "No single value takes it out of range: several values do so together."},
     {"Nie można utworzyć programu cięcia: współrzędna 1E20 mm leży poza zakresem maszyny "
      "±53687091.175 mm.",
      "Żadna pojedyncza wartość nie wyprowadza jej poza zakres: robi to kilka wartości razem."}},
    {"layer limit",
     "gutter",
     [](TPanelsProject& p) { p.SetLayerCount(kMaxLayerCount + 1); },
     {"No cutting program is made for more than 100000 layers; Number of pieces is 100001."},
     {"Program cięcia nie powstaje dla więcej niż 100000 warstw; Ilość warstw wynosi 100001."}},
    {"a panel type without a program",
     "gutter",
     [](TPanelsProject& p) { p.SetPanelType(ptCustom); },
     {"Panel type 9 has no cutting program: there is nothing to draw."},
     {"Typ panelu 9 nie ma programu cięcia: nie ma czego rysować."}},
};

TEST(RefusalAdvice, SentencesOfEachRefusal) {
  for (const Case& c : kCases) {
    const auto project = Example(c.example, c.change);
    const std::optional<preview::TRefusalAdvice> advice = preview::ExplainRefusal(*project);
    ASSERT_TRUE(advice) << c.name;
    EXPECT_EQ(preview::AdviceLines(*advice, TTextLanguage::English), c.english) << c.name;
    EXPECT_EQ(preview::AdviceLines(*advice, TTextLanguage::Polish), c.polish) << c.name;
  }
}

// The interface language is the default, whichever language the text table was loaded in.
TEST(RefusalAdvice, FollowsTheInterfaceLanguage) {
  const auto project = Example("double-slope", DoubleSlopeMinus400);
  const auto advice = preview::ExplainRefusal(*project);
  ASSERT_TRUE(advice);
  LoadPolishStr();
  const std::vector<std::string> polish = preview::AdviceLines(*advice);
  LoadEnglishStr();
  EXPECT_EQ(polish, preview::AdviceLines(*advice, TTextLanguage::Polish));
  EXPECT_EQ(preview::AdviceLines(*advice), preview::AdviceLines(*advice, TTextLanguage::English));
}

TEST(RefusalAdvice, NoneForAProgramThatPasses) {
  for (const char* example : {"flat", "gutter", "double-slope", "double-slope-narrow"}) {
    EXPECT_FALSE(preview::ExplainRefusal(*Example(example, [](TPanelsProject&) {}))) << example;
  }
}

// Each offered change, applied to the project as the window applies it, makes the gate pass, and
// one step less is refused at the same move: the amounts are the smallest, checked by the gate
// itself and not by the search.
TEST(RefusalAdvice, OfferedChangesAreTheSmallestThatPass) {
  struct Offer {
    const char* example;
    std::function<void(TPanelsProject&)> refused;
    std::function<void(TPanelsProject&, double)> change;  // sets the input and what follows it
    double passes, oneStepLess;
  };
  const auto layers = [](TPanelsProject& p, double v) {
    p.SetLayerCount(static_cast<int>(v));
    p.SetTopSpace(0);  // the window's rule for one layer
  };
  const auto length = [](TPanelsProject& p, double v) {
    p.SetPanelLength(v);
    p.SetFrontBaseWidth(v);
    p.SetRearBaseWidth(v);
  };
  const Offer offers[] = {
      {"double-slope", DoubleSlopeMinus400,
       [](TPanelsProject& p, double v) { p.RoofPanel().SetDimA(v); }, -2, -3},
      {"double-slope", DoubleSlopeMinus400, [](TPanelsProject& p, double v) { p.SetElevation(v); },
       400, 399.975},
      {"gutter", [](TPanelsProject& p) { p.SetLayerCount(0); }, layers, 1, 0},
      {"double-slope",
       [length](TPanelsProject& p) {
         p.SetLayerCount(1);
         p.SetTopSpace(0);
         length(p, -1500);
       },
       length, -2, -3},
  };
  for (const Offer& o : offers) {
    const auto gate = [&](double value) -> std::string {
      const auto project = Example(o.example, [&](TPanelsProject& p) {
        o.refused(p);
        o.change(p, value);
      });
      TPrjGenerator generator(*project);
      try {
        GenerateCheckedProgram(generator);
      } catch (const EAppError& e) {
        return e.Args().empty() ? "refused" : "line " + e.Args()[0];
      }
      return "passes";
    };
    const std::string refusedAt = gate(o.oneStepLess);
    EXPECT_EQ(gate(o.passes), "passes") << o.example << " " << o.passes;
    const auto original = Example(o.example, o.refused);
    const auto advice = preview::ExplainRefusal(*original);
    ASSERT_TRUE(advice);
    EXPECT_EQ(refusedAt, "line " + std::to_string(advice->line)) << o.example << " " << o.passes;
    bool offered = false;
    for (const preview::TInputChange& c : advice->inputs) {
      offered = offered || (c.outcome == TChangeOutcome::Clears && c.value == o.passes);
    }
    EXPECT_TRUE(offered) << o.example << " " << o.passes;
  }
}

// The advice is data: the offending move and the inputs, named as the window names them.
TEST(RefusalAdvice, TheExplanationAsData) {
  const auto advice = preview::ExplainRefusal(*Example("double-slope", DoubleSlopeMinus400));
  ASSERT_TRUE(advice);
  EXPECT_EQ(advice->refusal, TRefusal::BelowZero);
  ASSERT_TRUE(advice->error);
  EXPECT_EQ(advice->error->Id(), TErrorId::BelowZero);
  EXPECT_EQ(advice->line, 36);
  EXPECT_EQ(advice->statement, "PD 40080 -15920;");
  EXPECT_EQ(advice->outline, 1);
  EXPECT_EQ(advice->pen, 3);
  EXPECT_EQ(advice->outlineCount, 2);
  EXPECT_EQ(advice->x, 40080);
  EXPECT_EQ(advice->y, -15920);
  EXPECT_TRUE(advice->searched);
  ASSERT_EQ(advice->inputs.size(), 2u);
  EXPECT_EQ(advice->inputs[0].input, TAdviceInput::DimA);
  EXPECT_FALSE(advice->inputs[0].fileKey);
  EXPECT_EQ(advice->inputs[0].change, 398);
  EXPECT_EQ(advice->inputs[1].input, TAdviceInput::Elevation);
  EXPECT_TRUE(advice->inputs[1].fileKey);
  EXPECT_EQ(advice->inputs[1].value, 400);
}

// The field captions come from the text table in either language; the keys keep their names.
TEST(RefusalAdvice, InputNames) {
  struct Name {
    TAdviceInput input;
    bool fileKey;
    const char* english;
    const char* polish;
  };
  const Name names[] = {
      {TAdviceInput::LayerCount, false, "Number of pieces", "Ilość warstw"},
      {TAdviceInput::FrontBaseWidth, false, "Front base width", "Szerokość podstawy przód"},
      {TAdviceInput::PanelLength, false, "Panel length", "Długość panelu"},
      {TAdviceInput::TopSpace, false, "Space between panels", "Odstęp między panelami"},
      {TAdviceInput::TopSpace, true, "Top space in the project file",
       "klucz Top space w pliku projektu"},
      {TAdviceInput::Elevation, true, "Elevation in the project file",
       "klucz Elevation w pliku projektu"},
      {TAdviceInput::LeftSpace, true, "Left space in the project file",
       "klucz Left space w pliku projektu"},
  };
  LoadPolishStr();  // the loaded table does not decide the language asked for
  for (const Name& n : names) {
    EXPECT_EQ(preview::InputName(n.input, n.fileKey, TTextLanguage::English), n.english);
    EXPECT_EQ(preview::InputName(n.input, n.fileKey, TTextLanguage::Polish), n.polish);
  }
  LoadEnglishStr();
}

TEST(RefusalAdvice, WrappedTextKeepsAStatementWhole) {
  const std::string sentence =
      "The rear outline goes 398 mm below the machine's zero in line 36 (PD 40080 -15920;).";
  EXPECT_EQ(preview::WrappedText(sentence, 60),
            (std::vector<std::string>{"The rear outline goes 398 mm below the machine's zero in",
                                      "line 36 (PD 40080 -15920;)."}));
  EXPECT_EQ(preview::WrappedText("Zmień Wymiar A o co najmniej +398 mm (na -2)", 36),
            (std::vector<std::string>{"Zmień Wymiar A o co najmniej", "+398 mm (na -2)"}));
  EXPECT_EQ(preview::WrappedText(sentence, 200), std::vector<std::string>{sentence});
}

}  // namespace
