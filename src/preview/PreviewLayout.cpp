#include "preview/PreviewLayout.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cmath>
#include <iterator>
#include <utility>
#include <vector>

#include "base/Units.h"
#include "locale/ViewStr.h"
#include "preview/FindingText.h"

namespace preview {

namespace {

// The colours of the drawing.
constexpr TColour kWhite{0xff, 0xff, 0xff};
constexpr TColour kInk{0x1d, 0x23, 0x29};
constexpr TColour kQuiet{0x5c, 0x67, 0x70};  // secondary text, the work area's edge
constexpr TColour kFrame{0x9a, 0xa5, 0xb1};
constexpr TColour kGrid{0xdd, 0xe3, 0xe9};
constexpr TColour kNoGo{0xfb, 0xe4, 0xe6};
constexpr TColour kWorkFill{0xee, 0xf1, 0xf4};
constexpr TColour kTravel{0x7a, 0x85, 0x91};
constexpr TColour kFailRed{0xc0, 0x15, 0x2f};
constexpr TColour kWarnAmber{0xa0, 0x5a, 0x00};
constexpr TColour kPassGreen{0x1c, 0x7c, 0x3a};

// Each pen's colour and whether it is dashed: the front solid blue, the rear dashed orange.
struct TPenLook {
  int pen;
  TColour colour;
  bool dashed;
};
constexpr TPenLook kPenLooks[] = {
    {4, {0x0b, 0x5c, 0xad}, false},
    {3, {0xd9, 0x48, 0x0f}, true},
};
constexpr TPenLook kOtherPens[] = {
    {0, {0x2b, 0x8a, 0x3e}, false},
    {0, {0x86, 0x2e, 0x9c}, true},
    {0, {0x5c, 0x67, 0x70}, false},
};

// Every length of the drawing in ems of the target's body text.
constexpr double kTitleSize = 1.8, kBadgeSize = 1.5, kHeadSize = 1.2, kBodySize = 1.0,
                 kSmallSize = 0.93;
constexpr double kBadgeWidth = 20, kBadgeHeight = 3;
constexpr double kPlotTopBelowMargin = 5.2;  // the title and the line under it
constexpr double kPlotLeftOfMargin = 4.8;    // the y ticks' numbers and the axis' name
constexpr double kBelowPlot = 3.8;           // the x ticks' numbers and the axis' name
constexpr double kPlotLeast = 14;
constexpr double kLegendWidth = 26;  // the tall layout's column
constexpr double kLegendGap = 2;
constexpr double kColumnMost = 27;  // the wide layout's columns
constexpr double kLineStep = 1.4;   // from one line of body text to the next
constexpr double kFindingIndent = 5.2;
constexpr std::size_t kFindingsShown = 6;
constexpr std::size_t kLinesPerFinding = 2;
constexpr double kCutWidth = 0.16, kTravelWidth = 0.09, kThin = 0.05, kRule = 0.09;
constexpr double kDashOn = 0.6, kDashOff = 0.3, kTravelDash = 0.3;

// The texts of the drawing that only it uses. %1 to %9 are filled with FillArguments.
enum class TLayoutStr {
  Title,          // the title when the program has no name
  Summary,        // %1 statements, %2 outlines
  PrintScale,     // %1 the scale's denominator
  OutlineRange,   // %1 first statement, %2 last, %3 move statements
  OutlineCut,     // %1 cutting moves, %2 millimetres
  OutlineBox,     // %1 to %4: x from, x to, y from, y to
  OutlineEnds,    // %1 to %4: start x, y, end x, y
  NoPoints,       // an outline without points
  WorkAreaSize,   // %1 width, %2 height
  NoWorkArea,     // the key when no project is known
  Checks,         // the heading of the checks
  CheckCount,     // the five checks
  CheckStep,      //
  CheckStart,     //
  CheckZero,      //
  CheckWorkArea,  //
  NotChecked,     // the work-area check without a project
  EveryCheck,     // the findings' place when there is none
  MoreFindings,   // %1 findings not listed
  Count
};

struct TLayoutText {
  TLayoutStr id;
  const char* english;
  const char* polish;
};

constexpr TLayoutText kLayoutTexts[] = {
    {TLayoutStr::Title, "Cutting program", "Program cięcia"},
    {TLayoutStr::Summary, "%1 statements, %2 outline(s); 40 plotter units = 1 mm",
     "instrukcje: %1, kontury: %2; 40 jednostek plotera = 1 mm"},
    {TLayoutStr::PrintScale, "scale 1 : %1 on A4", "skala 1 : %1 na A4"},
    {TLayoutStr::OutlineRange, "statements %1 to %2, %3 of them moves",
     "instrukcje od %1 do %2, w tym ruchy: %3"},
    {TLayoutStr::OutlineCut, "cutting moves %1, cut %2 mm", "ruchy tnące: %1, cięcie %2 mm"},
    {TLayoutStr::OutlineBox, "x %1 to %2, y %3 to %4 mm", "x od %1 do %2, y od %3 do %4 mm"},
    {TLayoutStr::OutlineEnds, "start (%1, %2), end (%3, %4)", "start (%1, %2), koniec (%3, %4)"},
    {TLayoutStr::NoPoints, "no points", "brak punktów"},
    {TLayoutStr::WorkAreaSize, "work area %1 x %2 mm", "obszar roboczy %1 x %2 mm"},
    {TLayoutStr::NoWorkArea, "work area: no project given", "obszar roboczy: brak projektu"},
    {TLayoutStr::Checks, "Checks", "Kontrole"},
    {TLayoutStr::CheckCount, "one outline, or a front and a rear", "jeden kontur albo przód i tył"},
    {TLayoutStr::CheckStep, "front and rear move in step", "przód i tył poruszają się w kroku"},
    {TLayoutStr::CheckStart, "each outline starts pen up at zero",
     "każdy kontur zaczyna się w zerze z pisakiem podniesionym"},
    {TLayoutStr::CheckZero, "nothing left of or below zero", "nic na lewo od zera ani poniżej"},
    {TLayoutStr::CheckWorkArea, "within the work area", "w obszarze roboczym"},
    {TLayoutStr::NotChecked, "work area not checked: no project",
     "obszar roboczy niesprawdzony: brak projektu"},
    {TLayoutStr::EveryCheck,
     "Every check passed: the outlines start at the machine's zero with the pen up, stay above "
     "and right of it, and move in step.",
     "Wszystkie kontrole zaliczone: kontury zaczynają się w zerze maszyny z pisakiem "
     "podniesionym, pozostają nad nim i na prawo od niego i poruszają się w kroku."},
    {TLayoutStr::MoreFindings, "... %1 more: run tectoplan-view for the whole list",
     "... i %1 więcej: pełna lista w tectoplan-view"},
};

constexpr bool LayoutTextsInOrder() {
  for (std::size_t i = 0; i < std::size(kLayoutTexts); ++i) {
    if (static_cast<std::size_t>(kLayoutTexts[i].id) != i) {
      return false;
    }
  }
  return std::size(kLayoutTexts) == static_cast<std::size_t>(TLayoutStr::Count);
}
static_assert(LayoutTextsInOrder());

// The widths of characters in ems of DejaVu Sans, rounded up: narrow, wide, and the rest.
double CharWidth(unsigned char c, bool bold) {
  double w = 0.64;
  if (c == ' ' || c == '.' || c == ',' || c == ':' || c == ';' || c == 'i' || c == 'l' ||
      c == 'j' || c == '\'' || c == '!' || c == '|' || c == '(' || c == ')' || c == '[' ||
      c == ']' || c == 'I' || c == 'f' || c == 't' || c == 'r') {
    w = 0.4;
  } else if (c == 'm' || c == 'w' || c == 'M' || c == 'W') {
    w = 0.92;
  } else if (c >= 'A' && c <= 'Z') {
    w = 0.74;
  }
  return bold ? w * 1.1 : w;
}

struct TBuilder {
  const TPreviewTarget& t;
  TTextLanguage language;
  std::vector<TShape>* out = nullptr;

  double Em(double ems) const { return ems * t.em; }
  std::string Str(TLayoutStr id) const {
    const TLayoutText& text = kLayoutTexts[static_cast<std::size_t>(id)];
    return language == TTextLanguage::Polish ? text.polish : text.english;
  }
  std::string View(TViewStr id) const { return GetViewStr(id, language == TTextLanguage::Polish); }

  void Rect(double x1, double y1, double x2, double y2, std::optional<TColour> fill,
            TStroke stroke = {}) {
    TShape s;
    s.kind = TShapeKind::Rect;
    s.x1 = x1, s.y1 = y1, s.x2 = x2, s.y2 = y2;
    s.fill = fill;
    s.stroke = stroke;
    out->push_back(std::move(s));
  }
  void Line(double x1, double y1, double x2, double y2, TStroke stroke) {
    TShape s;
    s.kind = TShapeKind::Line;
    s.x1 = x1, s.y1 = y1, s.x2 = x2, s.y2 = y2;
    s.stroke = stroke;
    out->push_back(std::move(s));
  }
  void Circle(double x, double y, double r, std::optional<TColour> fill, TStroke stroke) {
    TShape s;
    s.kind = TShapeKind::Circle;
    s.x1 = x, s.y1 = y, s.x2 = r;
    s.fill = fill;
    s.stroke = stroke;
    out->push_back(std::move(s));
  }
  void Text(double x, double y, double ems, const std::string& text, TColour colour = kInk,
            TAnchor anchor = TAnchor::Start, bool bold = false, bool vertical = false) {
    if (text.empty()) {
      return;
    }
    TShape s;
    s.kind = TShapeKind::Text;
    s.x1 = x, s.y1 = y;
    s.fill = colour;
    s.text = text;
    s.size = Em(ems);
    s.bold = bold;
    s.vertical = vertical;
    s.anchor = anchor;
    out->push_back(std::move(s));
  }
  // Wrapped text from (x, y) downward in a column of width; returns the y of the next line.
  double Paragraph(double x, double y, double width, double ems, const std::string& text,
                   TColour colour = kInk, bool bold = false, std::size_t mostLines = 0,
                   const std::string& noBreak = {}, TAnchor anchor = TAnchor::Start) {
    std::vector<std::string> lines = WrapText(text, width, Em(ems), bold, noBreak);
    if (mostLines > 0 && lines.size() > mostLines) {
      lines.resize(mostLines);
      lines.back() += " ...";
    }
    for (const std::string& line : lines) {
      Text(x, y, ems, line, colour, anchor, bold);
      y += Em(kLineStep * ems);
    }
    return y;
  }
};

TStroke Stroke(TColour colour, double width, double on = 0, double off = 0) {
  return {colour, width, on, off};
}

TPenLook LookOf(int pen) {
  for (const TPenLook& look : kPenLooks) {
    if (look.pen == pen) {
      return look;
    }
  }
  return kOtherPens[static_cast<unsigned>(pen) % std::size(kOtherPens)];
}

TStroke CutStroke(int pen, double em) {
  const TPenLook look = LookOf(pen);
  return look.dashed ? Stroke(look.colour, kCutWidth * em, kDashOn * em, kDashOff * em)
                     : Stroke(look.colour, kCutWidth * em);
}

TStroke TravelStroke(double em) {
  return Stroke(kTravel, kTravelWidth * em, kTravelDash * em, kTravelDash * em);
}

std::string Mm(double value) {
  return hpgl::Millimetres(value);
}

std::string Count(std::int64_t value) {
  return std::to_string(value);
}

// Where a point of an outline falls on a screen target: its pixel, both coordinates held to
// 16 bits (a screen is smaller, and every point lies inside the frame).
struct TPixelGrid {
  double scale = 0, offsetX = 0, offsetY = 0;  // program millimetres to pixels
  // The pixel column or row of a target coordinate: its floor, held to 16 bits. Held first and
  // then cut toward zero, one step down for a negative fraction: the same as the floor held,
  // without the library's floor in the layout's innermost loop.
  static std::uint32_t Held(double v) {
    v = std::clamp(v, -32768.0, 32767.0);
    std::int32_t i = static_cast<std::int32_t>(v);
    i -= static_cast<double>(i) > v ? 1 : 0;
    return static_cast<std::uint16_t>(i);
  }
  std::uint32_t Column(std::int32_t x) const {
    return Held(offsetX + x / kPlotterUnitsPerMm * scale);
  }
  std::uint32_t Row(std::int32_t y) const { return Held(offsetY - y / kPlotterUnitsPerMm * scale); }
};

// The pixels of an outline's points in program order. Consecutive moves mostly share an x or
// a y (a layer's cut keeps its height, the steps between layers their side), so the last column
// and row are kept.
class TPixelWalk {
 public:
  explicit TPixelWalk(const TPixelGrid& grid) : grid_(grid) {}
  std::uint32_t Pixel(TUnitPoint p) {
    if (!known_ || p.x != x_) {
      x_ = p.x;
      column_ = grid_.Column(p.x);
    }
    if (!known_ || p.y != y_) {
      y_ = p.y;
      row_ = grid_.Row(p.y);
    }
    known_ = true;
    return column_ << 16 | row_;
  }

 private:
  const TPixelGrid& grid_;
  bool known_ = false;
  std::int32_t x_ = 0, y_ = 0;
  std::uint32_t column_ = 0, row_ = 0;
};

// The pixel pairs a drawing has drawn a line between: an open-addressing table of 64-bit keys,
// since a hundred thousand layers ask it about a million times per outline and a node per key
// (std::unordered_set) took most of the layout's time.
class TPixelPairSet {
 public:
  // True when key was not in the set; it is then.
  bool Insert(std::uint64_t key) {
    if (key == kEmpty) {
      return !std::exchange(hasEmptyKey_, true);
    }
    if (2 * (count_ + 1) > slots_.size()) {
      Grow();
    }
    for (std::size_t at = Home(key);; at = (at + 1) & mask_) {
      if (slots_[at] == key) {
        return false;
      }
      if (slots_[at] == kEmpty) {
        slots_[at] = key;
        ++count_;
        return true;
      }
    }
  }

 private:
  static constexpr std::uint64_t kEmpty = 0;
  std::size_t Home(std::uint64_t key) const {
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> shift_);
  }
  void Grow() {
    std::vector<std::uint64_t> old = std::move(slots_);
    const std::size_t size = old.empty() ? 1024 : 2 * old.size();
    slots_.assign(size, kEmpty);
    mask_ = size - 1;
    shift_ = 64 - std::countr_zero(size);
    for (const std::uint64_t key : old) {
      if (key != kEmpty) {
        std::size_t at = Home(key);
        while (slots_[at] != kEmpty) {
          at = (at + 1) & mask_;
        }
        slots_[at] = key;
      }
    }
  }
  std::vector<std::uint64_t> slots_;
  std::size_t count_ = 0, mask_ = 0;
  int shift_ = 64;
  bool hasEmptyKey_ = false;
};

// The polylines of one pen state (down: the cuts, up: the travel) as the walk over an outline
// builds them. With a pixel grid (a screen) only what its pixels can show: a move that stays in
// its pixel is joined to the next, and a move between two pixels that the outline already drew
// between is left out, so a hundred thousand layers closer than a pixel draw as the few lines
// the eye sees, while every line a pixel or more from the others stays.
class TPieceBuilder {
 public:
  TPieceBuilder(TUnitPoint entry, std::uint32_t entryPixel) : at_(entry), atPixel_(entryPixel) {}

  // A move of the other pen state: the polyline ends, the pen stands at to.
  void Leave(TUnitPoint to, std::uint32_t toPixel) {
    piece_ = nullptr;
    at_ = to;
    atPixel_ = toPixel;
  }

  void Move(TUnitPoint to, std::uint32_t toPixel, bool onGrid) {
    if (onGrid) {
      if (toPixel == atPixel_ && piece_ != nullptr) {
        return;  // within the pixel: the polyline goes on from where it stands
      }
      const std::uint64_t pair = toPixel < atPixel_ ? std::uint64_t{toPixel} << 32 | atPixel_
                                                    : std::uint64_t{atPixel_} << 32 | toPixel;
      if (!drawn_.Insert(pair)) {
        Leave(to, toPixel);  // drawn already
        return;
      }
      atPixel_ = toPixel;
    }
    if (piece_ != nullptr && piece_->size() > kSegmentsPerPath) {
      piece_ = nullptr;
    }
    if (piece_ == nullptr) {
      piece_ = &pieces_.emplace_back();
      piece_->push_back(at_);
    }
    piece_->push_back(to);
    at_ = to;
  }

  std::vector<std::vector<TUnitPoint>> Take() { return std::move(pieces_); }

 private:
  std::vector<std::vector<TUnitPoint>> pieces_;
  std::vector<TUnitPoint>* piece_ = nullptr;  // the open polyline, standing at the pen
  TUnitPoint at_;
  std::uint32_t atPixel_;
  TPixelPairSet drawn_;  // pixel pairs, the lower one first
};

// The pen-up and the pen-down moves of one outline as polylines, in one walk over its moves.
void AddPieces(const hpgl::Outline& outline, const TPixelGrid* grid, TOutlineDrawing& d) {
  const TUnitPoint entry{static_cast<std::int32_t>(outline.entryX),
                         static_cast<std::int32_t>(outline.entryY)};
  std::optional<TPixelWalk> pixels;
  if (grid != nullptr) {
    pixels.emplace(*grid);
  }
  const std::uint32_t entryPixel = pixels ? pixels->Pixel(entry) : 0;
  TPieceBuilder travel(entry, entryPixel), cut(entry, entryPixel);
  for (const hpgl::Move& move : outline.moves) {
    if (!move.hasPoint) {
      continue;
    }
    const TUnitPoint to{static_cast<std::int32_t>(move.x), static_cast<std::int32_t>(move.y)};
    const std::uint32_t toPixel = pixels ? pixels->Pixel(to) : 0;
    TPieceBuilder& drawing = move.penDown ? cut : travel;
    TPieceBuilder& other = move.penDown ? travel : cut;
    other.Leave(to, toPixel);
    drawing.Move(to, toPixel, grid != nullptr);
  }
  d.travel = travel.Take();
  d.cut = cut.Take();
}

// The area the drawing must show, in program millimetres: the zero, every point, the work area.
struct TExtent {
  double minX = 0, minY = 0, maxX = 0, maxY = 0;
  void Add(double x, double y) {
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
  }
};

// The legend's columns: each outline's figures, the key, the checks. Each writes itself from
// (x, y) in a column of width and returns the y below it.
class TLegend {
 public:
  TLegend(TBuilder& b, const hpgl::CheckReport& report, const TPreviewInput& input)
      : b_(b), report_(report), input_(input) {}

  double Outline(const hpgl::OutlineFigures& o, double x, double y, double width) {
    const double e = b_.t.em;
    b_.Line(x, y - 0.35 * e, x + 2.9 * e, y - 0.35 * e, CutStroke(o.pen, e));
    b_.Text(x + 3.6 * e, y, kHeadSize, OutlineTitle(o.pen, b_.language), kInk, TAnchor::Start,
            true);
    y += kHeadSize * kLineStep * e;
    const std::string lines[] = {
        FillArguments(b_.Str(TLayoutStr::OutlineRange),
                      {Count(o.firstStatement), Count(o.firstStatement + o.statements - 1),
                       Count(o.moveStatements)}),
        FillArguments(b_.Str(TLayoutStr::OutlineCut),
                      {Count(o.cuttingMoves), Mm(std::round(o.cutLength * 10) / 10)}),
        o.hasPoints ? FillArguments(b_.Str(TLayoutStr::OutlineBox),
                                    {Mm(o.minX), Mm(o.maxX), Mm(o.minY), Mm(o.maxY)})
                    : b_.Str(TLayoutStr::NoPoints),
        o.hasPoints ? FillArguments(b_.Str(TLayoutStr::OutlineEnds),
                                    {Mm(o.startX), Mm(o.startY), Mm(o.endX), Mm(o.endY)})
                    : std::string(),
    };
    for (const std::string& line : lines) {
      if (!line.empty()) {
        y = b_.Paragraph(x + 0.7 * e, y, width - 0.7 * e, kSmallSize, line);
      }
    }
    return y + 0.8 * e;
  }

  double Key(double x, double y, double width) {
    const double e = b_.t.em;
    const double textX = x + 3.6 * e, textWidth = width - 3.6 * e;
    const auto box = [&](std::optional<TColour> fill, TStroke edge) {
      b_.Rect(x, y - 0.9 * e, x + 2.9 * e, y + 0.2 * e, fill, edge);
    };
    box(kWorkFill, Stroke(kQuiet, kRule * e));
    y = b_.Paragraph(textX, y, textWidth, kBodySize,
                     input_.workArea
                         ? FillArguments(b_.Str(TLayoutStr::WorkAreaSize),
                                         {Mm(input_.workArea->width), Mm(input_.workArea->height)})
                         : b_.Str(TLayoutStr::NoWorkArea)) +
        0.3 * e;
    b_.Line(x + 0.3 * e, y - 0.35 * e, x + 2.6 * e, y - 0.35 * e, TravelStroke(e));
    y = b_.Paragraph(textX, y, textWidth, kBodySize, b_.View(TViewStr::Travel)) + 0.3 * e;
    box(kNoGo, {});
    y = b_.Paragraph(textX, y, textWidth, kBodySize, b_.View(TViewStr::NoGo)) + 0.3 * e;
    b_.Circle(x + 1.45 * e, y - 0.35 * e, 0.46 * e, kWhite, Stroke(kInk, 0.14 * e));
    y = b_.Paragraph(textX, y, textWidth, kBodySize, b_.View(TViewStr::StartPoint));
    return y + 0.8 * e;
  }

  double Checks(double x, double y, double width) {
    const double e = b_.t.em;
    b_.Text(x, y, kHeadSize, b_.Str(TLayoutStr::Checks), kInk, TAnchor::Start, true);
    y += kHeadSize * kLineStep * e;
    constexpr struct {
      hpgl::Check check;
      TLayoutStr text;
    } kChecks[] = {
        {hpgl::Check::OutlineCount, TLayoutStr::CheckCount},
        {hpgl::Check::InStep, TLayoutStr::CheckStep},
        {hpgl::Check::StartAtZero, TLayoutStr::CheckStart},
        {hpgl::Check::BelowZero, TLayoutStr::CheckZero},
        {hpgl::Check::WorkArea, TLayoutStr::CheckWorkArea},
    };
    for (const auto& c : kChecks) {
      const bool passed = report_.Passed(c.check);
      const bool known = c.check != hpgl::Check::WorkArea || input_.workArea.has_value();
      const bool warning = c.check == hpgl::Check::WorkArea;
      b_.Text(x + 0.3 * e, y, kBodySize,
              !known    ? "-"
              : passed  ? "\u2713"
              : warning ? "!"
                        : "\u2717",
              !known || passed ? kPassGreen
              : warning        ? kWarnAmber
                               : kFailRed,
              TAnchor::Start, true);
      y = b_.Paragraph(x + 2 * e, y, width - 2 * e, kBodySize,
                       known ? b_.Str(c.text) : b_.Str(TLayoutStr::NotChecked),
                       known ? kInk : kQuiet);
    }
    return y + 0.8 * e;
  }

  // The height of each column when drawn at width, found by drawing it aside.
  double Height(int column, double width) {
    std::vector<TShape> aside;
    std::vector<TShape>* kept = b_.out;
    b_.out = &aside;
    const double bottom = Draw(column, 0, 0, width);
    b_.out = kept;
    return bottom;
  }

  int Columns() const { return static_cast<int>(report_.outlines.size()) + 2; }

  double Draw(int column, double x, double y, double width) {
    const int outlines = static_cast<int>(report_.outlines.size());
    if (column < outlines) {
      return Outline(report_.outlines[static_cast<std::size_t>(column)], x, y, width);
    }
    return column == outlines ? Key(x, y, width) : Checks(x, y, width);
  }

 private:
  TBuilder& b_;
  const hpgl::CheckReport& report_;
  const TPreviewInput& input_;
};

// The lines under the plot: what to change, then the findings (at most kFindingsShown, each
// on at most two lines), or the sentence that every check passed.
struct TFindingLine {
  std::string label;
  std::string text;
  TColour colour;
  bool bold = false;
};

std::vector<TFindingLine> FindingLines(const TBuilder& b, const hpgl::CheckReport& report,
                                       const TPreviewInput& input) {
  std::vector<TFindingLine> lines;
  for (const std::string& advice : input.advice) {
    lines.push_back({"", advice, kFailRed, true});
  }
  // The advice takes the room of findings, leaving one at least.
  const std::size_t most =
      kFindingsShown > input.advice.size() ? kFindingsShown - input.advice.size() : 1;
  std::size_t shown = 0;
  for (const hpgl::Finding& f : report.findings) {
    if (shown == most) {
      lines.push_back(
          {"",
           FillArguments(b.Str(TLayoutStr::MoreFindings),
                         {Count(static_cast<std::int64_t>(report.findings.size() - most))}),
           kInk});
      break;
    }
    const TColour colour = f.severity == hpgl::Severity::Failure   ? kFailRed
                           : f.severity == hpgl::Severity::Warning ? kWarnAmber
                                                                   : kQuiet;
    const std::string where =
        f.statement > 0 ? b.View(TViewStr::Statement) + " " + Count(f.statement) + ": " : "";
    lines.push_back(
        {SeverityLabel(f.severity, b.language), where + FindingText(f, b.language), colour});
    ++shown;
  }
  if (shown == 0 && input.advice.empty()) {
    lines.push_back({"", b.Str(TLayoutStr::EveryCheck), kPassGreen});
  }
  return lines;
}

// The statement a text quotes, kept on one line: from a two-letter mnemonic in upper case
// followed by a blank to the ";" that ends it ("PD 40080 -15920;").
std::string QuotedStatement(const std::string& text) {
  for (std::size_t end = text.find(';'); end != std::string::npos; end = text.find(';', end + 1)) {
    std::size_t start = end;
    while (start > 0 && text[start - 1] != ':' && text[start - 1] != '(' &&
           text[start - 1] != '"' && end - start < 40) {
      --start;
    }
    while (start < end && text[start] == ' ') {
      ++start;
    }
    if (end - start >= 3 && std::isupper(static_cast<unsigned char>(text[start])) &&
        std::isupper(static_cast<unsigned char>(text[start + 1])) && text[start + 2] == ' ') {
      return text.substr(start, end - start + 1);
    }
  }
  return {};
}

// Where a failure or warning is marked: its point, or the point of its statement's move.
std::optional<TUnitPoint> MarkPoint(const hpgl::Program& program, const hpgl::Finding& finding) {
  if (finding.hasPoint) {
    return TUnitPoint{static_cast<std::int32_t>(finding.x), static_cast<std::int32_t>(finding.y)};
  }
  for (const hpgl::Outline& outline : program.outlines) {
    if (finding.statement < outline.firstStatement || finding.statement > outline.lastStatement) {
      continue;
    }
    for (const hpgl::Move& move : outline.moves) {
      if (move.statement == finding.statement && move.hasPoint) {
        return TUnitPoint{static_cast<std::int32_t>(move.x), static_cast<std::int32_t>(move.y)};
      }
    }
  }
  return std::nullopt;
}

void AddHeader(TBuilder& b, TPreviewLayout& l, std::string title, bool failed,
               const std::string& summary) {
  const TPreviewTarget& t = b.t;
  const double e = t.em;
  const std::string verdict = b.View(failed ? TViewStr::CheckFailed : TViewStr::CheckPassed);
  const double badgeWidth =
      std::max(kBadgeWidth * e, TextWidth(verdict, b.Em(kBadgeSize), true) + 2 * e);
  const double badgeLeft = t.width - t.margin - badgeWidth;
  const double titleRoom = badgeLeft - t.margin - e;
  if (TextWidth(title, b.Em(kTitleSize), true) > titleRoom) {
    // Cut from the left: the end of a file name says most.
    std::size_t cut = 0;
    while (cut < title.size() &&
           TextWidth("..." + title.substr(cut), b.Em(kTitleSize), true) > titleRoom) {
      ++cut;
      while (cut < title.size() && (static_cast<unsigned char>(title[cut]) & 0xC0) == 0x80) {
        ++cut;  // not inside a UTF-8 character
      }
    }
    title = "..." + title.substr(cut);
  }
  b.Text(t.margin, t.margin + 1.7 * e, kTitleSize, title, kInk, TAnchor::Start, true);
  l.verdictLeft = badgeLeft, l.verdictTop = t.margin;
  l.verdictRight = t.width - t.margin, l.verdictBottom = t.margin + kBadgeHeight * e;
  b.Rect(l.verdictLeft, l.verdictTop, l.verdictRight, l.verdictBottom,
         failed ? kFailRed : kPassGreen);
  b.Text(t.width - t.margin - badgeWidth / 2, t.margin + 2.05 * e, kBadgeSize, verdict, kWhite,
         TAnchor::Middle, true);
  b.Text(t.margin, t.margin + 3.6 * e, kBodySize, summary, kQuiet);
}

void AddAxes(TBuilder& b, const TPreviewLayout& l) {
  const double e = b.t.em;
  const double x0 = (l.plotLeft - l.offsetX) / l.scale, x1 = (l.plotRight - l.offsetX) / l.scale;
  const double y0 = (l.offsetY - l.plotBottom) / l.scale, y1 = (l.offsetY - l.plotTop) / l.scale;
  const double step = NiceStep(std::max(x1 - x0, y1 - y0), 10);
  // Left of and below the machine's zero the wire must never go.
  const double zeroX = std::clamp(l.X(0), l.plotLeft, l.plotRight);
  const double zeroY = std::clamp(l.Y(0), l.plotTop, l.plotBottom);
  if (zeroX > l.plotLeft) {
    b.Rect(l.plotLeft, l.plotTop, zeroX, l.plotBottom, kNoGo);
  }
  if (zeroX < l.plotRight && zeroY < l.plotBottom) {
    b.Rect(zeroX, zeroY, l.plotRight, l.plotBottom, kNoGo);
  }
  const auto ticks = [&](double from, double to, auto&& each) {
    const double first = std::ceil(from / step - 1e-9), last = std::floor(to / step + 1e-9);
    for (double i = first; i <= last && i - first < 100; ++i) {
      const double v = i * step;
      each(v, Mm(std::abs(v) < step / 2 ? 0 : v));
    }
  };
  ticks(x0, x1, [&](double v, const std::string& label) {
    const double x = l.X(v);
    b.Line(x, l.plotTop, x, l.plotBottom, Stroke(kGrid, kThin * e));
    b.Line(x, l.plotBottom, x, l.plotBottom + 0.55 * e, Stroke(kInk, kRule * e));
    b.Text(x, l.plotBottom + 1.6 * e, kSmallSize, label, kInk, TAnchor::Middle);
  });
  ticks(y0, y1, [&](double v, const std::string& label) {
    const double y = l.Y(v);
    b.Line(l.plotLeft, y, l.plotRight, y, Stroke(kGrid, kThin * e));
    b.Line(l.plotLeft - 0.55 * e, y, l.plotLeft, y, Stroke(kInk, kRule * e));
    b.Text(l.plotLeft - 0.8 * e, y + 0.33 * e, kSmallSize, label, kInk, TAnchor::End);
  });
  b.Rect(l.plotLeft, l.plotTop, l.plotRight, l.plotBottom, std::nullopt, Stroke(kFrame, kRule * e));
  b.Text((l.plotLeft + l.plotRight) / 2, l.plotBottom + 3.2 * e, kBodySize, b.View(TViewStr::AxisX),
         kInk, TAnchor::Middle);
  b.Text(l.plotLeft - 3.9 * e, (l.plotTop + l.plotBottom) / 2, kBodySize, b.View(TViewStr::AxisY),
         kInk, TAnchor::Middle, false, true);
  // The machine's zero.
  if (x0 <= 0 && 0 <= x1 && y0 <= 0 && 0 <= y1) {
    b.Line(l.X(0) - 1.1 * e, l.Y(0), l.X(0) + 1.1 * e, l.Y(0), Stroke(kInk, 0.13 * e));
    b.Line(l.X(0), l.Y(0) - 1.1 * e, l.X(0), l.Y(0) + 1.1 * e, Stroke(kInk, 0.13 * e));
  }
}

// The lines under the plot from top, in a column of width from the margin; returns the y
// below them.
double AddFindingLines(TBuilder& b, const std::vector<TFindingLine>& lines, double top,
                       double width) {
  const TPreviewTarget& t = b.t;
  const double e = t.em;
  b.Line(t.margin, top - 1.3 * e, t.margin + width, top - 1.3 * e, Stroke(kFrame, kRule * e));
  double y = top;
  for (const TFindingLine& line : lines) {
    const double indent = line.label.empty() ? 0 : kFindingIndent * e;
    b.Text(t.margin, y, kBodySize, line.label, line.colour, TAnchor::Start, true);
    y = b.Paragraph(t.margin + indent, y, width - indent, kBodySize, line.text, line.colour,
                    line.bold, kLinesPerFinding, QuotedStatement(line.text));
  }
  return y;
}

// The height the lines take in a column of width.
double FindingLinesHeight(TBuilder& b, const std::vector<TFindingLine>& lines, double width) {
  std::vector<TShape> aside;
  std::vector<TShape>* kept = b.out;
  b.out = &aside;
  const double bottom = AddFindingLines(b, lines, 0, width);
  b.out = kept;
  return bottom;
}

}  // namespace

TPreviewLayout LayOutProgram(const hpgl::Program& program, const hpgl::CheckReport& report,
                             const TPreviewInput& input, const TPreviewTarget& target) {
  TPreviewLayout l;
  l.target = target;
  l.hasPlot = true;
  TBuilder b{target, input.language, &l.above};
  const double e = target.em, m = target.margin;

  TExtent extent;
  for (const hpgl::OutlineFigures& o : report.outlines) {
    if (o.hasPoints) {
      extent.Add(o.minX, o.minY);
      extent.Add(o.maxX, o.maxY);
    }
  }
  if (input.workArea) {
    extent.Add(input.workArea->width, input.workArea->height);
  }
  const double spanX = std::max(extent.maxX - extent.minX, 1.0) * 1.08;
  const double spanY = std::max(extent.maxY - extent.minY, 1.0) * 1.08;

  TLegend legend(b, report, input);
  const std::vector<TFindingLine> findingLines = FindingLines(b, report, input);

  // Two layouts: a tall drawing gets the plot box left and the legend in a column right of it;
  // a wide one gets the whole width and the legend in columns under it. Either way the plot box
  // is as high as the drawing needs, at least kPlotLeast ems, and what follows moves up.
  l.plotLeft = m + kPlotLeftOfMargin * e;
  l.plotTop = m + kPlotTopBelowMargin * e;
  const double tallRight = target.width - m - (kLegendWidth + kLegendGap) * e;
  const double wideRight = target.width - m;
  const int columns = legend.Columns();
  const double columnWidth = std::min((target.width - 2 * m) / columns, kColumnMost * e);
  double wideLegendHeight = 0;
  for (int c = 0; c < columns; ++c) {
    wideLegendHeight = std::max(wideLegendHeight, legend.Height(c, columnWidth - e));
  }
  // The findings stand under the plot: across the whole width under a wide one, in the plot's
  // column beside the legend under a tall one.
  const double wideFindingsWidth = target.width - 2 * m, tallFindingsWidth = tallRight - m;
  const double tallBottomMost = target.height - m - kBelowPlot * e - 1.3 * e -
                                FindingLinesHeight(b, findingLines, tallFindingsWidth);
  const double wideBottomMost = target.height - m - kBelowPlot * e - 1.3 * e -
                                FindingLinesHeight(b, findingLines, wideFindingsWidth) -
                                wideLegendHeight - e;
  const auto scaleIn = [&](double right, double bottom) {
    return std::max(std::min((right - l.plotLeft) / spanX, (bottom - l.plotTop) / spanY), 1e-9);
  };
  const bool wide = report.outlines.size() <= 2 &&
                    scaleIn(wideRight, wideBottomMost) > 1.1 * scaleIn(tallRight, tallBottomMost);
  l.plotRight = wide ? wideRight : tallRight;
  const double bottomMost = wide ? wideBottomMost : tallBottomMost;
  l.scale = scaleIn(l.plotRight, bottomMost);
  const double highest = std::max(bottomMost - l.plotTop, 4 * e);
  l.plotBottom =
      l.plotTop + std::clamp(spanY * l.scale, std::min(kPlotLeast * e, highest), highest);
  // The extent held at the box's lower left corner with a small margin, where the machine's
  // zero sits for a sound program.
  l.offsetX = l.plotLeft + (spanX / 1.08) * 0.04 * l.scale - extent.minX * l.scale;
  l.offsetY = l.plotBottom - (spanY / 1.08) * 0.04 * l.scale + extent.minY * l.scale;

  b.out = &l.below;
  b.Rect(0, 0, target.width, target.height, kWhite);
  if (input.workArea) {
    const double w = input.workArea->width, h = input.workArea->height;
    b.Rect(l.X(std::min(0.0, w)), l.Y(std::max(0.0, h)), l.X(std::max(0.0, w)),
           l.Y(std::min(0.0, h)), kWorkFill, Stroke(kQuiet, 0.1 * e));
  }
  AddAxes(b, l);

  const TPixelGrid grid{l.scale, l.offsetX, l.offsetY};
  int index = 0;
  for (const hpgl::Outline& outline : program.outlines) {
    TOutlineDrawing& d = l.outlines.emplace_back();
    d.index = ++index;
    d.pen = outline.pen;
    d.travelStroke = TravelStroke(e);
    d.cutStroke = CutStroke(outline.pen, e);
    AddPieces(outline, target.print ? nullptr : &grid, d);
  }

  b.out = &l.above;
  for (const hpgl::OutlineFigures& o : report.outlines) {
    if (o.hasPoints) {
      b.Circle(l.X(o.startX), l.Y(o.startY), 0.46 * e, kWhite, Stroke(kInk, 0.14 * e));
    }
  }
  // Each failure and warning ringed and its statement named, so a fault too small to see at
  // the drawing's scale is still found.
  std::size_t marked = 0;
  for (const hpgl::Finding& f : report.findings) {
    if (f.severity == hpgl::Severity::Note || f.statement == 0 || marked == kFindingsShown) {
      continue;
    }
    const std::optional<TUnitPoint> at = MarkPoint(program, f);
    if (!at) {
      continue;
    }
    ++marked;
    const TColour colour = f.severity == hpgl::Severity::Failure ? kFailRed : kWarnAmber;
    const double x = l.X(at->x / kPlotterUnitsPerMm), y = l.Y(at->y / kPlotterUnitsPerMm);
    b.Circle(x, y, 0.93 * e, std::nullopt, Stroke(colour, 0.21 * e));
    // The label beside the ring, turned to the ring's left and below it near the plot's right
    // and top sides, so it stays inside the plot.
    const std::string label = b.View(TViewStr::Statement) + " " + Count(f.statement);
    const bool left = x + 1.2 * e + TextWidth(label, e, true) > l.plotRight;
    const double labelY = y - 0.86 * e - e < l.plotTop ? y + 1.9 * e : y - 0.86 * e;
    b.Text(left ? x - 1.2 * e : x + 1.2 * e, labelY, kBodySize, label, colour,
           left ? TAnchor::End : TAnchor::Start, true);
  }

  std::string summary = FillArguments(
      b.Str(TLayoutStr::Summary),
      {Count(program.statementCount), Count(static_cast<std::int64_t>(report.outlines.size()))});
  if (target.print) {
    summary += "; " + FillArguments(b.Str(TLayoutStr::PrintScale),
                                    {Mm(std::round(1 / l.scale * 10) / 10)});
  }
  AddHeader(b, l, input.title.empty() ? b.Str(TLayoutStr::Title) : input.title, report.Failed(),
            summary);

  double legendBottom = 0;
  if (wide) {
    const double top = l.plotBottom + kBelowPlot * e + 1.6 * e;
    for (int c = 0; c < columns; ++c) {
      legendBottom =
          std::max(legendBottom, legend.Draw(c, m + c * columnWidth, top, columnWidth - e));
    }
  } else {
    double y = l.plotTop + 1.2 * e;
    const double x = l.plotRight + kLegendGap * e;
    for (int c = 0; c < columns; ++c) {
      y = legend.Draw(c, x, y, target.width - m - x);
    }
    if (report.outlines.empty()) {
      y = b.Paragraph(x, y, target.width - m - x, kBodySize, b.View(TViewStr::NoOutline), kFailRed);
    }
    legendBottom = y;
  }
  if (wide) {
    AddFindingLines(b, findingLines,
                    std::max(l.plotBottom + kBelowPlot * e, legendBottom) + 2.2 * e,
                    wideFindingsWidth);
  } else {
    AddFindingLines(b, findingLines, l.plotBottom + kBelowPlot * e + 2.2 * e, tallFindingsWidth);
  }
  return l;
}

TPreviewLayout LayOutMessage(const std::string& headline, const std::vector<std::string>& lines,
                             const std::string& noBreak, const TPreviewTarget& target,
                             TTextLanguage language) {
  TPreviewLayout l;
  l.target = target;
  TBuilder b{target, language, &l.below};
  const double e = target.em;
  b.Rect(0, 0, target.width, target.height, kWhite);
  b.out = &l.above;
  l.verdictRight = target.width - target.margin, l.verdictTop = target.margin;
  l.verdictLeft = l.verdictRight - kBadgeWidth * e,
  l.verdictBottom = l.verdictTop + kBadgeHeight * e;
  const double width = target.width - 2 * target.margin - 8 * e;
  double y = b.Paragraph(target.width / 2, target.height * 0.3, width, 1.45, headline, kFailRed,
                         true, 0, {}, TAnchor::Middle);
  y += e;
  for (const std::string& line : lines) {
    y = b.Paragraph(target.width / 2, y, width, 1.2, line, kInk, false, 0,
                    noBreak.empty() ? QuotedStatement(line) : noBreak, TAnchor::Middle) +
        0.5 * e;
  }
  return l;
}

TPreviewTarget PageTarget() {
  return {297, 210, 2.8, 12, true};
}

TPreviewTarget WindowTarget(double width, double height) {
  // The body text is 11 px in a window of 860 x 500 and larger ones; a smaller window draws
  // everything smaller, down to 7 px.
  const double em = std::clamp(std::min(width / 78.0, height / 45.5), 7.0, 11.0);
  return {width, height, em, em * 1.1, false};
}

double NiceStep(double span, double parts) {
  const double raw = std::max(span / parts, 1e-3);
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (const double m : {1.0, 2.0, 5.0}) {
    if (m * power >= raw) {
      return m * power;
    }
  }
  return 10 * power;
}

double TextWidth(const std::string& text, double size, bool bold) {
  double width = 0;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte & 0xC0) != 0x80) {  // one per UTF-8 character
      width += CharWidth(byte, bold);
    }
  }
  return width * size;
}

std::vector<std::string> WrapText(const std::string& text, double width, double size, bool bold,
                                  const std::string& noBreak) {
  // The breaks a line may take: blanks outside noBreak.
  std::vector<bool> glued(text.size(), false);
  if (!noBreak.empty()) {
    for (std::size_t at = text.find(noBreak); at != std::string::npos;
         at = text.find(noBreak, at + noBreak.size())) {
      std::fill(glued.begin() + static_cast<std::ptrdiff_t>(at),
                glued.begin() + static_cast<std::ptrdiff_t>(at + noBreak.size()), true);
    }
  }
  std::vector<std::string> lines;
  std::string line;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t end = i;
    // A blank before a unit does not break: an amount stays with it ("+398 mm").
    while (end < text.size() &&
           (text[end] != ' ' || glued[end] || text.compare(end + 1, 2, "mm") == 0)) {
      ++end;
    }
    const std::string word = text.substr(i, end - i);
    const std::string joined = line.empty() ? word : line + " " + word;
    if (!line.empty() && TextWidth(joined, size, bold) > width) {
      lines.push_back(std::move(line));
      line = word;
    } else {
      line = joined;
    }
    i = end + 1;
  }
  if (!line.empty() || lines.empty()) {
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace preview
