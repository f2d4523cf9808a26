#include "preview/RefusalAdvice.h"

#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>
#include <map>
#include <string_view>

#include "base/Units.h"
#include "generator/ProgramGate.h"
#include "generator/ProjectGenerator.h"
#include "hpgl/ProgramCheck.h"
#include "locale/LocalStr.h"
#include "locale/ViewStr.h"
#include "platform/NumberText.h"
#include "preview/FindingText.h"
#include "project/FieldRules.h"

namespace preview {

namespace {

// ---------------------------------------------------------------------------------------------
// The moves of a program as the generator writes it: one statement per line, each outline from
// its pen selection ("SP4;"), each move with a point "PU x y;" or "PD x y;".

struct TPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// Calls f(line number, line without its line end, the line's offset in text) for each line until
// f returns false. Lines are counted as the gate counts them: from 1, one more after each LF.
template <class F>
void ForEachLine(std::string_view text, F f) {
  std::int64_t number = 1;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      end = text.size();
    }
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    if (!f(number, line, start)) {
      return;
    }
    ++number;
    start = end + 1;
  }
}

bool IsPenSelection(std::string_view line) {
  return line.size() >= 2 && line[0] == 'S' && line[1] == 'P';
}

std::optional<TPoint> MovePoint(std::string_view line) {
  if (line.size() < 3 || line[0] != 'P' || (line[1] != 'U' && line[1] != 'D') || line[2] != ' ') {
    return std::nullopt;
  }
  TPoint point;
  const char* p = line.data() + 3;
  const char* const end = line.data() + line.size();
  auto [afterX, ex] = std::from_chars(p, end, point.x);
  if (ex != std::errc() || afterX == end || *afterX != ' ') {
    return std::nullopt;
  }
  auto [afterY, ey] = std::from_chars(afterX + 1, end, point.y);
  if (ey != std::errc()) {
    return std::nullopt;
  }
  return point;
}

// Where a move stands in the program.
struct TPlace {
  int outline = -1;
  std::int64_t index = 0;  // among its outline's moves with a point, from 0
  std::int64_t count = 0;  // of those moves
  int outlines = 0;
  int pen = 0;
  TPoint point;
};

std::optional<TPlace> PlaceOfLine(std::string_view text, std::int64_t lineNumber) {
  TPlace place;
  std::vector<std::int64_t> counts;  // of each outline's moves with a point
  std::vector<int> pens;
  bool found = false;
  ForEachLine(text, [&](std::int64_t number, std::string_view line, std::size_t) {
    if (IsPenSelection(line)) {
      int pen = 0;
      std::from_chars(line.data() + 2, line.data() + line.size(), pen);
      counts.push_back(0);
      pens.push_back(pen);
      return true;
    }
    const auto point = MovePoint(line);
    if (!point) {
      return true;
    }
    if (counts.empty()) {  // moves before any pen selection: an outline of pen 0
      counts.push_back(0);
      pens.push_back(0);
    }
    if (number == lineNumber) {
      found = true;
      place.outline = static_cast<int>(counts.size()) - 1;
      place.index = counts.back();
      place.point = *point;
    }
    ++counts.back();
    return true;
  });
  if (!found) {
    return std::nullopt;
  }
  place.count = counts[static_cast<std::size_t>(place.outline)];
  place.outlines = static_cast<int>(counts.size());
  place.pen = pens[static_cast<std::size_t>(place.outline)];
  return place;
}

// The moves of every outline: two to start (PU 0 0, and up to the highest layer), the layers'
// moves from the top down, then the move down to zero and, for gutters and ridges cut through
// the middle, four more.
std::int64_t TailMoves(const TPanelsProject& project) {
  switch (project.PanelType()) {
    case ptGutter:
    case ptGutter3E:
    case ptRidge:
    case ptRidge3E:
      return project.CutDiagonally() ? 5 : 1;
    default:
      return 1;
  }
}
constexpr std::int64_t kHeadMoves = 2;

// A move found again in a regenerated program by its place in its outline: in the frame before
// or after the layers, counted from that end; in the layers, counted back from the bottom layer.
// The stack stands on its bottom layer, and a changed layer count adds or removes layers at the
// top, so a move of the frame or of a layer that stays keeps its place.
struct TMoveId {
  enum TPart { Head, Layers, Tail };
  int outline = 0;
  TPart part = Head;
  std::int64_t offset = 0;
  std::int64_t tail = 1;
};

TMoveId IdOf(const TPlace& place, std::int64_t tail) {
  TMoveId id{place.outline, TMoveId::Head, place.index, tail};
  const std::int64_t layerMoves = place.count - kHeadMoves - tail;
  if (place.index < kHeadMoves || layerMoves < 0) {
    return id;
  }
  const std::int64_t inLayers = place.index - kHeadMoves;
  if (inLayers >= layerMoves) {
    id.part = TMoveId::Tail;
    id.offset = place.count - 1 - place.index;
  } else {
    id.part = TMoveId::Layers;
    id.offset = layerMoves - 1 - inLayers;
  }
  return id;
}

std::optional<TPoint> PointOf(std::string_view text, const TMoveId& id) {
  // First the outline's moves are counted and its first line found, then the move is read.
  int outline = -1;
  std::int64_t count = 0;
  std::size_t outlineStart = 0;
  ForEachLine(text, [&](std::int64_t, std::string_view line, std::size_t start) {
    if (IsPenSelection(line)) {
      ++outline;
      if (outline == id.outline) {
        outlineStart = start;
      }
      return outline <= id.outline;
    }
    if (MovePoint(line)) {
      outline = std::max(outline, 0);  // moves before any pen selection: an outline of pen 0
      count += outline == id.outline;
    }
    return true;
  });
  const std::int64_t layerMoves = count - kHeadMoves - id.tail;
  std::int64_t index = -1;
  switch (id.part) {
    case TMoveId::Head:
      index = id.offset < count ? id.offset : -1;
      break;
    case TMoveId::Layers:
      index = id.offset < layerMoves ? kHeadMoves + layerMoves - 1 - id.offset : -1;
      break;
    case TMoveId::Tail:
      index = layerMoves >= 0 && id.offset < id.tail ? count - 1 - id.offset : -1;
      break;
  }
  if (index < 0 || outline < id.outline) {
    return std::nullopt;
  }
  std::optional<TPoint> result;
  std::int64_t n = 0;
  ForEachLine(text.substr(outlineStart), [&](std::int64_t, std::string_view line, std::size_t) {
    if (const auto point = MovePoint(line)) {
      if (n == index) {
        result = point;
        return false;
      }
      ++n;
    }
    return true;
  });
  return result;
}

// ---------------------------------------------------------------------------------------------
// The inputs, and their change as the window makes it.

double ValueOf(const TPanelsProject& p, TAdviceInput input) {
  switch (input) {
    case TAdviceInput::LayerCount:
      return p.LayerCount();
    case TAdviceInput::DimA:
      return p.RoofPanel().DimA();
    case TAdviceInput::DimB:
      return p.RoofPanel().DimB();
    case TAdviceInput::DimC:
      return p.RoofPanel().DimC();
    case TAdviceInput::DimD:
      return p.RoofPanel().DimD();
    case TAdviceInput::FrontBaseWidth:
      return p.FrontBaseWidth();
    case TAdviceInput::RearBaseWidth:
      return p.RearBaseWidth();
    case TAdviceInput::PanelLength:
      return p.PanelLength();
    case TAdviceInput::TopSpace:
      return p.TopSpace();
    case TAdviceInput::Elevation:
      return p.Elevation();
    case TAdviceInput::LeftSpace:
    case TAdviceInput::Count:
      break;
  }
  return p.LeftSpace();
}

void SetValue(TPanelsProject& p, TAdviceInput input, double value) {
  switch (input) {
    case TAdviceInput::LayerCount:
      p.SetLayerCount(static_cast<std::int32_t>(value));
      return;
    case TAdviceInput::DimA:
      p.RoofPanel().SetDimA(value);
      return;
    case TAdviceInput::DimB:
      p.RoofPanel().SetDimB(value);
      return;
    case TAdviceInput::DimC:
      p.RoofPanel().SetDimC(value);
      return;
    case TAdviceInput::DimD:
      p.RoofPanel().SetDimD(value);
      return;
    case TAdviceInput::FrontBaseWidth:
      p.SetFrontBaseWidth(value);
      return;
    case TAdviceInput::RearBaseWidth:
      p.SetRearBaseWidth(value);
      return;
    case TAdviceInput::PanelLength:
      p.SetPanelLength(value);
      return;
    case TAdviceInput::TopSpace:
      p.SetTopSpace(value);
      return;
    case TAdviceInput::Elevation:
      p.SetElevation(value);
      return;
    case TAdviceInput::LeftSpace:
    case TAdviceInput::Count:
      break;
  }
  p.SetLeftSpace(value);
}

void CopyInputs(const TPanelsProject& from, TPanelsProject& to) {
  to.SetPanelType(from.PanelType());
  for (int i = 0; i < static_cast<int>(TAdviceInput::Count); ++i) {
    SetValue(to, static_cast<TAdviceInput>(i), ValueOf(from, static_cast<TAdviceInput>(i)));
  }
  to.SetSkipBottom(from.SkipBottom());
  to.SetCutDiagonally(from.CutDiagonally());
}

// Sets input to value as the window does when the operator types it: the fields that follow it
// by the copy rules take the same value, and the layer rule applies to a new layer count.
void ChangeAsWindow(TPanelsProject& p, TAdviceInput input, double value) {
  SetValue(p, input, value);
  if (input == TAdviceInput::LayerCount) {
    if (value <= 1) {
      p.SetTopSpace(0);
    } else {
      p.SetSkipBottom(false);
    }
  }
  const TCopyRow* row = CopyRowOf(p.PanelType());
  const TCopySource source = input == TAdviceInput::DimA          ? csA
                             : input == TAdviceInput::DimB        ? csB
                             : input == TAdviceInput::DimD        ? csD
                             : input == TAdviceInput::PanelLength ? csLength
                                                                  : csKeep;
  if (row == nullptr || source == csKeep) {
    return;
  }
  const std::pair<TCopySource, TAdviceInput> members[] = {
      {row->a, TAdviceInput::DimA},
      {row->b, TAdviceInput::DimB},
      {row->c, TAdviceInput::DimC},
      {row->d, TAdviceInput::DimD},
      {row->frontBase, TAdviceInput::FrontBaseWidth},
      {row->rearBase, TAdviceInput::RearBaseWidth},
  };
  for (const auto& [from, member] : members) {
    if (from == source && member != input) {
      SetValue(p, member, value);
    }
  }
}

// An input the advice may name, and how: as a field of the window or as a key of the project
// file.
struct TNamed {
  TAdviceInput input;
  bool fileKey;
};

// The window's fields the panel type lets the operator edit, then the project-file keys the
// window does not edit; the space between panels is a field only above one layer.
std::vector<TNamed> NamedInputs(const TPanelsProject& p) {
  std::vector<TNamed> named;
  const TLockRow* lock = LockRowOf(p.PanelType());
  if (lock == nullptr) {
    return named;
  }
  const bool spaceField = p.LayerCount() > 1;
  const std::pair<bool, TAdviceInput> fields[] = {
      {true, TAdviceInput::LayerCount},
      {lock->a, TAdviceInput::DimA},
      {lock->b, TAdviceInput::DimB},
      {lock->c, TAdviceInput::DimC},
      {lock->d, TAdviceInput::DimD},
      {lock->frontBase, TAdviceInput::FrontBaseWidth},
      {lock->rearBase, TAdviceInput::RearBaseWidth},
      {true, TAdviceInput::PanelLength},
      {spaceField, TAdviceInput::TopSpace},
  };
  for (const auto& [editable, input] : fields) {
    if (editable) {
      named.push_back({input, false});
    }
  }
  // In the project file's order of keys.
  named.push_back({TAdviceInput::Elevation, true});
  if (!spaceField) {
    named.push_back({TAdviceInput::TopSpace, true});
  }
  named.push_back({TAdviceInput::LeftSpace, true});
  return named;
}

// ---------------------------------------------------------------------------------------------
// Regenerating with one input changed.

enum class TStatus { Passes, BelowZero, NoText };

struct TProbeResult {
  TStatus status = TStatus::NoText;
  std::optional<TPoint> point;  // the offending move's point, when it is found
};

class TProber {
 public:
  TProber(const TPanelsProject& original, std::optional<TMoveId> id)
      : FOriginal(original), FId(id) {}

  TProbeResult Probe(TAdviceInput input, double value) {
    CopyInputs(FOriginal, FWork);
    ChangeAsWindow(FWork, input, value);
    FWork.ComputeFaces();
    TPrjGenerator generator(FWork);
    TProbeResult result;
    result.status = TStatus::Passes;
    try {
      GenerateCheckedProgram(generator);
    } catch (const EAppError& e) {
      if (e.Id() != TErrorId::BelowZero) {
        return {};
      }
      result.status = TStatus::BelowZero;
    }
    if (FId) {
      result.point = PointOf(generator.FileData(), *FId);
    }
    return result;
  }

 private:
  const TPanelsProject& FOriginal;
  std::optional<TMoveId> FId;
  TPanelsProject FWork;
};

constexpr std::int64_t kMaxSteps = std::int64_t(1) << 31;
// How much each step of a search grows over the last while the point has not moved: an input
// that acts only beyond a threshold (the highest corner, the lower face) is found within eight
// steps up to kMaxSteps, and the search then narrows down to the exact step.
constexpr std::int64_t kGrowth = 16;

// The search of one input for the smallest change that brings the offending move to zero.
class TInputSearch {
 public:
  TInputSearch(TProber& prober, const TNamed& named, double base, TPoint point)
      : FProber(prober), FNamed(named), FBase(base), FPoint(point) {}

  std::optional<TInputChange> Run() {
    const TWalk up = Walk(1);
    const TWalk down = Walk(-1);
    if (!up.moved && !down.moved) {
      return std::nullopt;
    }
    TInputChange change;
    change.input = FNamed.input;
    change.fileKey = FNamed.fileKey;
    change.outcome = TChangeOutcome::NoReach;
    // The smaller of the two directions' changes, preferring one whose program passes.
    std::optional<std::int64_t> best;
    bool bestPasses = false;
    for (const TWalk* walk : {&up, &down}) {
      if (!walk->steps) {
        continue;
      }
      const std::int64_t steps = *walk->steps;
      const bool passes = At(steps).status == TStatus::Passes;
      if (!best || (passes && !bestPasses) ||
          (passes == bestPasses && std::llabs(steps) < std::llabs(*best))) {
        best = steps;
        bestPasses = passes;
      }
    }
    if (!best) {
      return change;
    }
    change.outcome = TChangeOutcome::LeavesRefused;
    change.change = Change(*best);
    change.value = ValueAt(*best);
    if (bestPasses) {
      // The value as the sentence writes it, typed back, must give the passing program too.
      const std::string written = platform::FormatNumber(change.value, ".");
      const std::string_view point[] = {"."};
      const std::optional<double> typed = platform::ParseNumber(written, point);
      if (typed) {
        const TProbeResult r = FProber.Probe(FNamed.input, *typed);
        if (r.status == TStatus::Passes && r.point && Reached(*r.point)) {
          change.outcome = TChangeOutcome::Clears;
        }
      }
    }
    return change;
  }

 private:
  struct TWalk {
    bool moved = false;
    std::optional<std::int64_t> steps;  // signed
  };

  // A step is a whole millimetre or layer in a field, a plotter unit in a key.
  double Change(std::int64_t steps) const {
    return FNamed.fileKey ? static_cast<double>(steps) / kPlotterUnitsPerMm
                          : static_cast<double>(steps);
  }
  double ValueAt(std::int64_t steps) const { return FBase + Change(steps); }

  bool InRange(std::int64_t steps) const {
    const double value = ValueAt(steps);
    // No program of more layers than a search may regenerate is made for one.
    if (FNamed.input == TAdviceInput::LayerCount && value > kMaxSearchedLayers) {
      return false;
    }
    // The window's fields hold 32-bit whole numbers; the keys' coordinates fail far below 1E9.
    const double limit = FNamed.fileKey ? 1e9 : std::numeric_limits<std::int32_t>::max();
    return std::fabs(value) <= limit;
  }

  const TProbeResult& At(std::int64_t steps) {
    const auto found = FCache.find(steps);
    if (found != FCache.end()) {
      return found->second;
    }
    return FCache.emplace(steps, FProber.Probe(FNamed.input, ValueAt(steps))).first->second;
  }

  // The offending coordinates are those below 0 in the refused program.
  bool Moved(TPoint p) const {
    return (FPoint.x < 0 && p.x != FPoint.x) || (FPoint.y < 0 && p.y != FPoint.y);
  }
  bool Reached(TPoint p) const {
    return (FPoint.x >= 0 || p.x >= 0) && (FPoint.y >= 0 || p.y >= 0);
  }

  // The steps at which the offending coordinates reach 0 if they go on as between 0 and steps.
  std::optional<std::int64_t> Estimate(TPoint p, std::int64_t steps) const {
    double need = 0;
    const std::pair<std::int32_t, std::int32_t> coordinates[] = {{FPoint.x, p.x}, {FPoint.y, p.y}};
    for (const auto& [before, after] : coordinates) {
      if (before >= 0) {
        continue;
      }
      if (after <= before) {
        return std::nullopt;
      }
      need = std::max(need, std::ceil(-static_cast<double>(before) * static_cast<double>(steps) /
                                      (static_cast<double>(after) - before)));
    }
    if (!(need <= static_cast<double>(kMaxSteps))) {
      return std::nullopt;
    }
    return static_cast<std::int64_t>(need);
  }

  // Steps of one direction: 1, then the linear estimate from the first step that moves the
  // point, else growing by kGrowth, until the point reaches zero, a program cannot be made or the
  // value leaves its range; then the smallest step between the last that did not reach and the
  // first that did. The layer count is linear in its effect, so one layer that moves nothing ends
  // it.
  TWalk Walk(int direction) {
    TWalk walk;
    std::int64_t below = 0;  // the largest step known not to reach
    std::optional<std::int64_t> reached;
    bool estimated = false;
    std::int64_t s = 1;
    for (;;) {
      if (!InRange(direction * s)) {
        break;
      }
      const TProbeResult& r = At(direction * s);
      if (!r.point) {
        break;
      }
      walk.moved = walk.moved || Moved(*r.point);
      if (Reached(*r.point)) {
        reached = s;
        break;
      }
      below = s;
      std::int64_t next = kGrowth * s;
      if (walk.moved && !estimated) {
        estimated = true;
        if (const auto e = Estimate(*r.point, s); e && *e > s) {
          next = *e;
        }
      } else if (!walk.moved && FNamed.input == TAdviceInput::LayerCount) {
        break;
      }
      if (next > kMaxSteps) {
        break;
      }
      s = next;
    }
    if (!reached) {
      return walk;
    }
    const auto reaches = [&](std::int64_t steps) {
      const TProbeResult& r = At(direction * steps);
      return r.point && Reached(*r.point);
    };
    // The step below an estimate first: where the coordinate is linear, that settles it.
    if (*reached - 1 > below) {
      if (reaches(*reached - 1)) {
        reached = *reached - 1;
      } else {
        below = *reached - 1;
      }
    }
    while (*reached - below > 1) {
      const std::int64_t middle = below + (*reached - below) / 2;
      if (reaches(middle)) {
        reached = middle;
      } else {
        below = middle;
      }
    }
    walk.steps = direction * *reached;
    return walk;
  }

  TProber& FProber;
  TNamed FNamed;
  double FBase;
  TPoint FPoint;
  std::map<std::int64_t, TProbeResult> FCache;
};

void ExplainBelowZero(const TPanelsProject& project, const std::string& program,
                      TRefusalAdvice& advice) {
  const std::vector<std::string>& args = advice.error->Args();
  if (args.size() != 2) {
    return;
  }
  std::int64_t line = 0;
  std::from_chars(args[0].data(), args[0].data() + args[0].size(), line);
  advice.line = line;
  advice.statement = args[1];
  const std::optional<TPlace> place = PlaceOfLine(program, line);
  if (!place) {
    return;
  }
  advice.outline = place->outline;
  advice.pen = place->pen;
  advice.outlineCount = place->outlines;
  advice.x = place->point.x;
  advice.y = place->point.y;
  if (project.LayerCount() > kMaxSearchedLayers) {
    return;
  }
  advice.searched = true;
  const TMoveId id = IdOf(*place, TailMoves(project));
  // A layer keeps its moves when layers are added or removed, but for two cases: the layers of a
  // flat panel alternate two cuts from the top, and a second layer turns Skip bottom off. There
  // the layer count is not tried for a move in the layers.
  const bool layersKeepTheirMoves =
      id.part != TMoveId::Layers || (project.PanelType() != ptFlat && !project.SkipBottom());
  TProber prober(project, id);
  for (const TNamed& named : NamedInputs(project)) {
    if (named.input == TAdviceInput::LayerCount && !layersKeepTheirMoves) {
      continue;
    }
    TInputSearch search(prober, named, ValueOf(project, named.input), place->point);
    if (const std::optional<TInputChange> change = search.Run()) {
      advice.inputs.push_back(*change);
    }
  }
}

void ExplainOutOfRange(const TPanelsProject& project, TRefusalAdvice& advice) {
  if (project.LayerCount() > kMaxSearchedLayers) {
    return;
  }
  advice.searched = true;
  TProber prober(project, std::nullopt);
  for (const TNamed& named : NamedInputs(project)) {
    // The value that adds nothing: no millimetres, and the fewest layers that cut a panel.
    const double neutral = named.input == TAdviceInput::LayerCount ? 1 : 0;
    const double value = ValueOf(project, named.input);
    if (value != neutral && prober.Probe(named.input, neutral).status != TStatus::NoText) {
      advice.causes.push_back({named.input, named.fileKey, value});
    }
  }
}

// ---------------------------------------------------------------------------------------------
// The sentences.

enum class TAdviceStr {
  FrontOutline,
  RearOutline,
  OnlyOutline,
  Where,         // %1 outline, %2 how far, %3 line, %4 statement
  Below,         // %1 millimetres
  LeftOf,        // %1 millimetres
  LeftAndBelow,  // %1, %2 millimetres
  Change,        // %1 the changes
  AtLeast,       // %1 input, %2 change, %3 value
  Exactly,       // %1 input, %2 change, %3 value
  LeavesRefusedOne,
  LeavesRefusedMany,
  NoReachOne,
  NoReachMany,
  NothingMoves,
  NotSearched,  // %1 layers
  OutOfRange,   // %1 millimetres, %2 the largest coordinate in millimetres
  CauseOne,     // %1 input and value
  CauseMany,    // %1 inputs and values
  CauseNone,
  ValueOf,     // %1 input, %2 value
  LayerLimit,  // %1 limit, %2 the field, %3 the layer count
  NoProgram,   // %1 panel type
  FileKey,     // %1 key
  LastOr,      // before the last of several alternatives
  LastAnd,     // before the last of several inputs
  Count
};

struct TAdviceText {
  TAdviceStr id;
  const char* english;
  const char* polish;
};

constexpr TAdviceText kAdviceTexts[] = {
    {TAdviceStr::FrontOutline, "the front outline", "przedni kontur"},
    {TAdviceStr::RearOutline, "the rear outline", "tylny kontur"},
    {TAdviceStr::OnlyOutline, "the outline", "kontur"},
    {TAdviceStr::Where, "%1 goes %2 in line %3 (%4).", "%1 sięga %2 w wierszu %3 (%4)."},
    {TAdviceStr::Below, "%1 mm below the machine's zero", "%1 mm poniżej zera maszyny"},
    {TAdviceStr::LeftOf, "%1 mm left of the machine's zero", "%1 mm na lewo od zera maszyny"},
    {TAdviceStr::LeftAndBelow, "%1 mm left of and %2 mm below the machine's zero",
     "%1 mm na lewo od zera maszyny i %2 mm poniżej niego"},
    {TAdviceStr::Change, "Change %1.", "Zmień %1."},
    {TAdviceStr::AtLeast, "%1 by at least %2 (to %3)", "%1 o co najmniej %2 (na %3)"},
    {TAdviceStr::Exactly, "%1 by %2 (to %3)", "%1 o %2 (na %3)"},
    {TAdviceStr::LeavesRefusedOne,
     "Changing only %1 brings this point back to zero, but another move then goes beyond zero.",
     "Gdy zmienisz tylko %1, ten punkt nie wyjdzie poza zero, ale wyjdzie inny ruch."},
    {TAdviceStr::LeavesRefusedMany,
     "Changing only one of %1 brings this point back to zero, but another move then goes beyond "
     "zero.",
     "Gdy zmienisz tylko jedno: %1, ten punkt nie wyjdzie poza zero, ale wyjdzie inny ruch."},
    {TAdviceStr::NoReachOne,
     "%1 also moves this point, but changing it alone does not bring the point back to zero.",
     "%1 też przesuwa ten punkt, ale zmiana tylko tej wartości nie sprowadzi go do zera."},
    {TAdviceStr::NoReachMany,
     "%1 also move this point, but changing one of them alone does not bring the point back to "
     "zero.",
     "%1 też przesuwają ten punkt, ale zmiana tylko jednej z tych wartości nie sprowadzi go do "
     "zera."},
    {TAdviceStr::NothingMoves,
     "No field of the window and no key of the project file moves this point.",
     "Żadne pole okna ani żaden klucz pliku projektu nie przesuwa tego punktu."},
    {TAdviceStr::NotSearched, "Above %1 layers the advice does not search which values to change.",
     "Powyżej %1 warstw porada nie szuka wartości do zmiany."},
    {TAdviceStr::OutOfRange,
     "No cutting program can be made: a coordinate of %1 mm lies beyond the machine's range of "
     "±%2 mm.",
     "Nie można utworzyć programu cięcia: współrzędna %1 mm leży poza zakresem maszyny ±%2 mm."},
    {TAdviceStr::CauseOne, "The value that takes it out of range: %1.",
     "Wartość, która wyprowadza ją poza zakres: %1."},
    {TAdviceStr::CauseMany, "The values that take it out of range, each of them alone: %1.",
     "Wartości, które wyprowadzają ją poza zakres, każda z osobna: %1."},
    {TAdviceStr::CauseNone, "No single value takes it out of range: several values do so together.",
     "Żadna pojedyncza wartość nie wyprowadza jej poza zakres: robi to kilka wartości razem."},
    {TAdviceStr::ValueOf, "%1 = %2", "%1 = %2"},
    {TAdviceStr::LayerLimit, "No cutting program is made for more than %1 layers; %2 is %3.",
     "Program cięcia nie powstaje dla więcej niż %1 warstw; %2 wynosi %3."},
    {TAdviceStr::NoProgram, "Panel type %1 has no cutting program: there is nothing to draw.",
     "Typ panelu %1 nie ma programu cięcia: nie ma czego rysować."},
    {TAdviceStr::FileKey, "%1 in the project file", "klucz %1 w pliku projektu"},
    {TAdviceStr::LastOr, ", or ", " albo "},
    {TAdviceStr::LastAnd, " and ", " i "},
};

constexpr bool AdviceTextsInOrder() {
  for (std::size_t i = 0; i < std::size(kAdviceTexts); ++i) {
    if (static_cast<std::size_t>(kAdviceTexts[i].id) != i) {
      return false;
    }
  }
  return std::size(kAdviceTexts) == static_cast<std::size_t>(TAdviceStr::Count);
}
static_assert(AdviceTextsInOrder());

std::string Str(TAdviceStr id, TTextLanguage language) {
  const TAdviceText& row = kAdviceTexts[static_cast<std::size_t>(id)];
  return language == TTextLanguage::Polish ? row.polish : row.english;
}

std::string Fill(TAdviceStr id, TTextLanguage language, const std::vector<std::string>& args) {
  return FillArguments(Str(id, language), args);
}

// "a, b and c" or "a, b, or c" (English), "a, b i c" or "a, b albo c" (Polish).
std::string Joined(const std::vector<std::string>& items, TAdviceStr last, TTextLanguage language) {
  std::string text;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) {
      text += i + 1 == items.size() ? Str(last, language) : ", ";
    }
    text += items[i];
  }
  return text;
}

std::string Number(double value) {
  return platform::FormatNumber(value, ".");
}

bool InMillimetres(TAdviceInput input) {
  return input != TAdviceInput::LayerCount;
}

std::string ChangeText(const TInputChange& c, TAdviceStr form, TTextLanguage language) {
  std::string change = c.change > 0 ? "+" : "";
  change += Number(c.change);
  if (InMillimetres(c.input)) {
    change += " mm";
  }
  return Fill(form, language, {InputName(c.input, c.fileKey, language), change, Number(c.value)});
}

std::string Distance(std::int32_t units) {
  return hpgl::Millimetres(-static_cast<double>(units) / kPlotterUnitsPerMm);
}

std::vector<std::string> BelowZeroLines(const TRefusalAdvice& a, TTextLanguage language) {
  std::vector<std::string> lines;
  const TAdviceStr outline = a.outlineCount == 1 ? TAdviceStr::OnlyOutline
                             : a.pen == 3        ? TAdviceStr::RearOutline
                                                 : TAdviceStr::FrontOutline;
  const std::string howFar =
      a.x < 0 && a.y < 0 ? Fill(TAdviceStr::LeftAndBelow, language, {Distance(a.x), Distance(a.y)})
      : a.x < 0          ? Fill(TAdviceStr::LeftOf, language, {Distance(a.x)})
                         : Fill(TAdviceStr::Below, language, {Distance(a.y)});
  lines.push_back(
      Capitalised(Fill(TAdviceStr::Where, language,
                       {Str(outline, language), howFar, std::to_string(a.line), a.statement})));
  if (!a.searched) {
    lines.push_back(Fill(TAdviceStr::NotSearched, language, {std::to_string(kMaxSearchedLayers)}));
    return lines;
  }
  std::vector<std::string> clears, refused, noReach;
  for (const TInputChange& c : a.inputs) {
    switch (c.outcome) {
      case TChangeOutcome::Clears:
        clears.push_back(ChangeText(c, TAdviceStr::AtLeast, language));
        break;
      case TChangeOutcome::LeavesRefused:
        refused.push_back(ChangeText(c, TAdviceStr::Exactly, language));
        break;
      case TChangeOutcome::NoReach:
        noReach.push_back(InputName(c.input, c.fileKey, language));
        break;
    }
  }
  if (!clears.empty()) {
    lines.push_back(
        Fill(TAdviceStr::Change, language, {Joined(clears, TAdviceStr::LastOr, language)}));
  }
  if (!refused.empty()) {
    lines.push_back(
        Fill(refused.size() == 1 ? TAdviceStr::LeavesRefusedOne : TAdviceStr::LeavesRefusedMany,
             language, {Joined(refused, TAdviceStr::LastOr, language)}));
  }
  if (!noReach.empty()) {
    lines.push_back(
        Capitalised(Fill(noReach.size() == 1 ? TAdviceStr::NoReachOne : TAdviceStr::NoReachMany,
                         language, {Joined(noReach, TAdviceStr::LastAnd, language)})));
  }
  if (a.inputs.empty()) {
    lines.push_back(Str(TAdviceStr::NothingMoves, language));
  }
  return lines;
}

std::vector<std::string> OutOfRangeLines(const TRefusalAdvice& a, TTextLanguage language) {
  const std::string millimetres =
      a.error && !a.error->Args().empty() ? a.error->Args()[0] : std::string("?");
  std::vector<std::string> lines = {
      Fill(TAdviceStr::OutOfRange, language,
           {millimetres,
            hpgl::Millimetres(static_cast<double>(std::numeric_limits<std::int32_t>::max()) /
                              kPlotterUnitsPerMm)})};
  if (!a.searched) {
    lines.push_back(Fill(TAdviceStr::NotSearched, language, {std::to_string(kMaxSearchedLayers)}));
    return lines;
  }
  std::vector<std::string> causes;
  for (const TInputValue& c : a.causes) {
    causes.push_back(Fill(TAdviceStr::ValueOf, language,
                          {InputName(c.input, c.fileKey, language),
                           Number(c.value) + (InMillimetres(c.input) ? " mm" : "")}));
  }
  if (causes.empty()) {
    lines.push_back(Str(TAdviceStr::CauseNone, language));
  } else {
    lines.push_back(Fill(causes.size() == 1 ? TAdviceStr::CauseOne : TAdviceStr::CauseMany,
                         language, {Joined(causes, TAdviceStr::LastAnd, language)}));
  }
  return lines;
}

}  // namespace

std::string InputName(TAdviceInput input, bool fileKey, TTextLanguage language) {
  if (fileKey) {
    const char* key = input == TAdviceInput::Elevation  ? "Elevation"
                      : input == TAdviceInput::TopSpace ? "Top space"
                                                        : "Left space";
    return Fill(TAdviceStr::FileKey, language, {key});
  }
  // The captions of the window's fields in the text table.
  std::uint8_t slot = 8;
  switch (input) {
    case TAdviceInput::LayerCount:
      slot = 8;
      break;
    case TAdviceInput::DimA:
      slot = 9;
      break;
    case TAdviceInput::DimB:
      slot = 10;
      break;
    case TAdviceInput::DimC:
      slot = 11;
      break;
    case TAdviceInput::DimD:
      slot = 12;
      break;
    case TAdviceInput::FrontBaseWidth:
      slot = 13;
      break;
    case TAdviceInput::RearBaseWidth:
      slot = 14;
      break;
    case TAdviceInput::PanelLength:
      slot = 28;
      break;
    case TAdviceInput::TopSpace:
      slot = 15;
      break;
    case TAdviceInput::Elevation:
    case TAdviceInput::LeftSpace:
    case TAdviceInput::Count:
      return InputName(input, true, language);
  }
  return GetLocalStr(slot, language == TTextLanguage::Polish);
}

std::vector<std::string> WrappedText(const std::string& text, std::size_t columns) {
  // The pieces between blanks outside parentheses, joined into lines; columns are counted in
  // characters, not bytes.
  std::vector<std::string> lines;
  std::string line;
  std::size_t lineColumns = 0;
  std::string piece;
  std::size_t pieceColumns = 0;
  int depth = 0;
  const auto endPiece = [&] {
    if (!line.empty() && lineColumns + 1 + pieceColumns > columns) {
      lines.push_back(std::move(line));
      line.clear();
      lineColumns = 0;
    }
    if (!line.empty()) {
      line += ' ';
      ++lineColumns;
    }
    line += piece;
    lineColumns += pieceColumns;
    piece.clear();
    pieceColumns = 0;
  };
  // A parenthesis and a unit stay with the word before them: "-128 mm (to -118)".
  const auto staysWithLast = [&](std::size_t blank) {
    const std::string_view rest = std::string_view(text).substr(blank + 1);
    return rest.starts_with('(') ||
           (rest.starts_with("mm") &&
            (rest.size() == 2 || std::string_view(" ,.)").find(rest[2]) != std::string_view::npos));
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    depth += c == '(' ? 1 : c == ')' && depth > 0 ? -1 : 0;
    if (c == ' ' && depth == 0 && !staysWithLast(i)) {
      endPiece();
      continue;
    }
    piece += c;
    pieceColumns += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }
  endPiece();
  lines.push_back(std::move(line));
  return lines;
}

std::optional<TRefusalAdvice> ExplainRefusal(const TPanelsProject& project) {
  TRefusalAdvice advice;
  TPrjGenerator generator(project);
  try {
    GenerateCheckedProgram(generator);
  } catch (const EAppError& e) {
    advice.error = e;
    switch (e.Id()) {
      case TErrorId::LayerLimit:
        advice.refusal = TRefusal::LayerLimit;
        advice.layerCount = project.LayerCount();
        return advice;
      case TErrorId::CoordinateOutOfRange:
        advice.refusal = TRefusal::OutOfRange;
        ExplainOutOfRange(project, advice);
        return advice;
      case TErrorId::BelowZero:
        advice.refusal = TRefusal::BelowZero;
        ExplainBelowZero(project, generator.FileData(), advice);
        return advice;
      default:
        throw;
    }
  }
  if (!TPrjGenerator::HasProgram(project.PanelType())) {
    advice.refusal = TRefusal::NoProgram;
    advice.panelType = project.PanelType();
    return advice;
  }
  return std::nullopt;
}

std::vector<std::string> AdviceLines(const TRefusalAdvice& advice, TTextLanguage language) {
  switch (advice.refusal) {
    case TRefusal::BelowZero:
      return BelowZeroLines(advice, language);
    case TRefusal::OutOfRange:
      return OutOfRangeLines(advice, language);
    case TRefusal::LayerLimit:
      return {Fill(TAdviceStr::LayerLimit, language,
                   {platform::FormatInteger(kMaxLayerCount),
                    InputName(TAdviceInput::LayerCount, false, language),
                    platform::FormatInteger(advice.layerCount)})};
    case TRefusal::NoProgram:
      break;
  }
  return {Fill(TAdviceStr::NoProgram, language, {std::to_string(advice.panelType)})};
}

}  // namespace preview
