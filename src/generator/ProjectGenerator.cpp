#include "generator/ProjectGenerator.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <utility>

#include "base/AppError.h"
#include "base/Units.h"
#include "platform/FileSystem.h"
#include "platform/Memory.h"
#include "platform/NumberText.h"

namespace {

// "PD -2147483648 -2147483648;\r\n"
constexpr std::size_t kMaxStatementLength = 29;
// The room a move statement is written into before the text is cut to its end (see
// AppendMoveStatement).
constexpr std::size_t kMoveRoom = 32;
static_assert(kMoveRoom >= kMaxStatementLength);
// From this reservation on the program text asks for large pages: at 100 000 layers a program
// of 30 MB then takes 15 page faults instead of 7 500, which on the development machine took
// longer than composing the statements.
constexpr std::size_t kLargeText = std::size_t(4) << 20;

[[noreturn]] void ThrowOutOfRange(double units) {
  throw EAppError(TErrorId::CoordinateOutOfRange, {platform::FormatNumber(units, ".")});
}

// "00" to "99", for writing two digits at a time.
constexpr auto kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (int i = 0; i < 100; ++i) {
    pairs[2 * i] = static_cast<char>('0' + i / 10);
    pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}();

// Writes the digit pair of v (below 100) at p, two characters.
char* WritePair(char* p, std::uint32_t v) {
  std::memcpy(p, &kDigitPairs[2 * v], 2);
  return p + 2;
}

// Writes v (below 100) at p without a leading zero: one or two characters.
char* WriteLeading(char* p, std::uint32_t v) {
  if (v < 10) {
    *p = static_cast<char>('0' + v);
    return p + 1;
  }
  return WritePair(p, v);
}

// Writes value in plain decimal at p (a minus sign when negative, no leading zeros) and returns
// the end. At most 11 characters. The digits go out front to back, two at a time, one branch per
// magnitude with divisions by constants: no digit count to find first and no loop.
[[gnu::always_inline]] inline char* WriteInteger(char* p, std::int32_t value) {
  std::uint32_t u = static_cast<std::uint32_t>(value);
  if (value < 0) {
    *p++ = '-';
    u = 0u - u;
  }
  if (u < 100) {
    return WriteLeading(p, u);
  }
  if (u < 10000) {
    p = WriteLeading(p, u / 100);
    return WritePair(p, u % 100);
  }
  if (u < 1000000) {
    p = WriteLeading(p, u / 10000);
    u %= 10000;
    p = WritePair(p, u / 100);
    return WritePair(p, u % 100);
  }
  if (u < 100000000) {
    p = WriteLeading(p, u / 1000000);
    u %= 1000000;
  } else {
    p = WriteLeading(p, u / 100000000);
    u %= 100000000;
    p = WritePair(p, u / 1000000);
    u %= 1000000;
  }
  p = WritePair(p, u / 10000);
  u %= 10000;
  p = WritePair(p, u / 100);
  return WritePair(p, u % 100);
}

// Appends one move statement with the plotter units px and py to out. out is lengthened by
// kMoveRoom bytes, the statement written into them where it stands and out cut back to the
// statement's end: the statement is never copied. (Composed on the stack and appended, its copy
// was a call of memcpy per statement, a quarter of the generation's time at 100 000 layers.) The
// program text is reserved with kMoveRoom bytes beyond its longest possible program
// (ReserveText), so neither step reallocates it.
[[gnu::always_inline]] inline void AppendMoveStatement(std::string& out, std::string_view s,
                                                       std::int32_t px, std::int32_t py) {
  if (s.size() > 2) {
    out.append(s);  // GenMoveLine accepts any statement name
    s = {};
  }
  const std::size_t start = out.size();
  out.resize(start + kMoveRoom);
  char* const begin = out.data() + start;
  char* p = begin;
  for (const char c : s) {
    *p++ = c;
  }
  *p++ = ' ';
  p = WriteInteger(p, px);
  *p++ = ' ';
  p = WriteInteger(p, py);
  *p++ = ';';
  *p++ = '\r';
  *p++ = '\n';
  out.resize(start + static_cast<std::size_t>(p - begin));
}

void AppendPlainStatement(std::string& out, std::string_view s) {
  out.append(s);
  out.append(";\r\n");
}

}  // namespace

TPrjGenerator::TPrjGenerator(const TPanelsProject& pb) : FPrjData(pb) {}

bool TPrjGenerator::HasProgram(TRoofPanelType panelType) {
  return panelType >= ptFlat && panelType <= ptDoubleSlopeNarrow;
}

void TPrjGenerator::GenerateProject() {
  // The ordinal is taken as it is: a project file may carry 129 to 136, for which the face
  // computation computes nothing, so they must select no program either.
  const TRoofPanelType type = FPrjData.PanelType();
  if (!HasProgram(type)) {
    return;
  }
  ReserveText(type);
  switch (type) {
    case ptFlat:
      GenerateFlatFacePath();
      break;
    case ptSlope:
      GenerateSlopeFacePath();
      break;
    case ptDoubleSlope:
    case ptDoubleSlopeNarrow:
      GenerateDoubleSlopeProject();
      break;
    default:  // the gutters and ridges
      GenerateIndepProject();
      break;
  }
}

void TPrjGenerator::ReserveText(TRoofPanelType type) {
  // Room for the most statements the program can have, each at the longest a statement can be,
  // and the room of one more move (AppendMoveStatement). Pages of the reserve that are never
  // written are never touched, so the memory used stays that of the program (with large pages,
  // rounded up to the page the text ends in), and the text is never copied as it grows.
  const std::int64_t n = std::max<std::int64_t>(FPrjData.LayerCount(), 0);
  std::int64_t statements = 0;
  switch (type) {
    case ptFlat:
      statements = 8 + 3 * n;
      break;
    case ptSlope:
      statements = 7 + 5 * n;
      break;
    case ptDoubleSlope:
    case ptDoubleSlopeNarrow:
      statements = 18 + 2 * (6 + 6 * n);
      break;
    default:
      statements = 18 + 2 * (10 + 8 * n);
      break;
  }
  constexpr std::int64_t kMostReserved = std::int64_t(1) << 30;
  if (FWritesText && statements * std::int64_t(kMaxStatementLength) <= kMostReserved) {
    FFileData.reserve(FFileData.size() +
                      static_cast<std::size_t>(statements) * kMaxStatementLength + kMoveRoom);
    if (FFileData.capacity() >= kLargeText) {
      platform::PreferLargePages(FFileData.data(), FFileData.capacity());
    }
  }
  if (FSink != nullptr) {
    FSink->Expect(statements);
  }
}

void TPrjGenerator::Save(const std::string& outFile) const {
  // The text and the closing line end go out one after the other, never joined: a joined copy
  // would double the memory of a large program and cost about as long as writing it.
  if (!FWritesText) {
    throw std::logic_error("TPrjGenerator::Save: the generator wrote no text");
  }
  const std::string_view parts[] = {FFileData, "\r\n"};
  if (outFile.empty()) {
    if (const auto ec = platform::WriteStandardOutput(parts)) {
      throw EAppError(TErrorId::StandardOutputWrite, {}, ec);
    }
    return;
  }
  if (const auto result = platform::ReplaceFileContents(outFile, parts)) {
    throw platform::WriteError(TErrorId::ProgramWrite, outFile, result);
  }
}

std::string TPrjGenerator::GenLine(std::string_view s) {
  std::string line;
  AppendPlainStatement(line, s);
  return line;
}

std::string TPrjGenerator::GenMoveLine(std::string_view s, double x, double y) {
  const std::int32_t px = mm2plt(x);
  const std::int32_t py = mm2plt(y);
  std::string line;
  AppendMoveStatement(line, s, px, py);
  return line;
}

std::int32_t TPrjGenerator::mm2plt(double units) {
  // The first test refuses NaN, the infinities and everything far beyond 32 bits, so that the
  // arithmetic below stays exact.
  if (!(std::fabs(units) <= 1e9)) {
    ThrowOutOfRange(units);
  }
  // The product rounded to double, s, rounds to the same integer as the exact product unless s
  // is itself a half: a half between the two would be a double nearer the exact product than s.
  const double s = units * kPlotterUnitsPerMm;
  // Nearest integer, ties to even, by the classic shift through 1.5 × 2^52 (|s| < 2^51 here).
  constexpr double kShift = 6755399441055744.0;
  double r = (s + kShift) - kShift;
  const double fraction = s - r;
  if (fraction == 0.5 || fraction == -0.5) [[unlikely]] {
    // A half as a double: the exact product lies off it by the rounding error e of s.
    // units × 40 = units × 32 + units × 8, both products exact (powers of two), and e is
    // recovered exactly from their sum (Fast2Sum, as |units × 32| >= |units × 8|).
    static_assert(kPlotterUnitsPerMm == 32 + 8);
    const double a = units * 32;
    const double b = units * 8;
    const double e = b - (s - a);
    if (fraction == 0.5 && e > 0) {
      r += 1;
    } else if (fraction == -0.5 && e < 0) {
      r -= 1;
    }
  }
  if (r < std::numeric_limits<std::int32_t>::min() ||
      r > std::numeric_limits<std::int32_t>::max()) {
    ThrowOutOfRange(units);
  }
  return static_cast<std::int32_t>(r);
}

double TPrjGenerator::plt2mm(double units) {
  return units / kPlotterUnitsPerMm;
}

void TPrjGenerator::AppendLine(std::string_view s) {
  if (FWritesText) {
    AppendPlainStatement(FFileData, s);
  }
  ++FStatementCount;
  if (FSink != nullptr) {
    FSink->Plain(s);
  }
}

void TPrjGenerator::AppendMove(std::string_view s, double x, double y) {
  // Both coordinates are converted before anything is appended, so an out-of-range coordinate
  // leaves the text as it was.
  const std::int32_t px = mm2plt(x);
  const std::int32_t py = mm2plt(y);
  if (FWritesText) {
    AppendMoveStatement(FFileData, s, px, py);
  }
  ++FStatementCount;
  if (FSink != nullptr) {
    FSink->Move(s == "PD", px, py);
  }
  // The rounded units are what the machine is sent: a value that rounds to 0 is written "0" and
  // is at the zero, not below it.
  if ((px | py) < 0 && !FFirstBelowZero) [[unlikely]] {
    constexpr std::size_t kTerminator = 3;  // ";", CR, LF
    // Composed again for this one move, as the text has it (or would, when none is written).
    std::string statement;
    AppendMoveStatement(statement, s, px, py);
    statement.resize(statement.size() - kTerminator);
    FFirstBelowZero = TBelowZeroMove{FStatementCount, std::move(statement)};
  }
}

void TPrjGenerator::GenPltHeder() {
  static constexpr std::string_view kHeader[] = {
      "IN",        "VS32,1",    "VS32,2",    "VS32,3",    "VS32,4",    "VS32,5",
      "VS32,6",    "VS32,7",    "VS32,8",    "WU0",       "PW0.350,1", "PW0.350,2",
      "PW0.350,3", "PW0.350,4", "PW0.350,5", "PW0.350,6", "PW0.350,7", "PW0.350,8",
  };
  for (const std::string_view statement : kHeader) {
    AppendLine(statement);
  }
}

// The frame every outline opens with: solid line, the pen, the wire up to the machine's zero,
// then cutting straight up along x = 0 to the starting height y0 (millimetres).
void TPrjGenerator::BeginOutline(std::string_view pen, double y0) {
  AppendLine("LT");
  AppendLine(pen);
  AppendMove("PU", 0, 0);
  AppendMove("PD", 0, y0);
}

// The outlines below keep the current point (x, y) in millimetres as doubles and evaluate each
// step's formula in the order it is written; only the integers in a statement are rounded, so
// rounding never accumulates. Layers are counted in 64 bits so that no layer count overflows.

void TPrjGenerator::GenerateFlatFacePath() {
  // Horizontal cuts one layer thickness M apart, zigzagging down from the top of the stack.
  const double W = FPrjData.FrontFace().Width();
  const double M = FPrjData.FrontFace().MiddleHeight();
  const double LH = FPrjData.LayerHeight();
  const std::int32_t N = FPrjData.LayerCount();
  const double E = FPrjData.Elevation();
  const double L = FPrjData.LeftSpace();

  double x = 0;
  double y = LH * N + E;
  BeginOutline("SP4", y);
  for (std::int64_t i = 1; i <= N; ++i) {
    if (i % 2 != 0) {
      x = L;
      AppendMove("PD", x, y);
      x = L + W;
      AppendMove("PD", x, y);
      y = y - M;
      AppendMove("PD", x, y);
      x = L;
      AppendMove("PD", x, y);
    } else {
      y = y - M;
      AppendMove("PD", x, y);
    }
  }
  y = y - E;
  AppendMove("PD", x, y);
  AppendLine("PU");
}

void TPrjGenerator::GenerateSlopeFacePath() {
  // Each layer: a horizontal cut at its top and one slanted cut through it, MF thick at the far
  // side and MR at the near side; one bottom cut under the last layer unless SkipBottom.
  const double W = FPrjData.RearFace().Width();
  const double MF = FPrjData.FrontFace().MiddleHeight();
  const double MR = FPrjData.RearFace().MiddleHeight();
  const double LH = FPrjData.LayerHeight();
  const std::int32_t N = FPrjData.LayerCount();
  const double E = FPrjData.Elevation();
  const double L = FPrjData.LeftSpace();
  const bool SB = FPrjData.SkipBottom();

  double x = 0;
  double y = LH * N + E;
  BeginOutline("SP4", y);
  for (std::int64_t i = 1; i <= N; ++i) {
    x = L;
    AppendMove("PD", x, y);
    x = L + W;
    AppendMove("PD", x, y);
    y = y - MF;
    AppendMove("PD", x, y);
    x = L;
    y = (MF - MR) + y;
    AppendMove("PD", x, y);
    y = y - MF;
    AppendMove("PD", x, y);
    if (!SB && i == N) {
      x = L + W;
      AppendMove("PD", x, y);
    }
  }
  y = y - E;
  AppendMove("PD", x, y);
  AppendLine("PU");
}

void TPrjGenerator::GenerateIndepProject() {
  GenPltHeder();
  GenerateIndepFacePath(1);
  GenerateIndepFacePath(2);
}

void TPrjGenerator::GenerateIndepFacePath(int FaceType) {
  // Around the five-sided cross-section of each layer, top layer first, centred in the layer
  // width; optionally one vertical cut through the middle of the whole stack.
  const bool front = FaceType == 1;
  const TPanelFace& F = front ? FPrjData.FrontFace() : FPrjData.RearFace();
  const double H = F.Height();
  const double W = F.Width();
  const double M = F.MiddleHeight();
  const double C = (FPrjData.LayerWidth() - W) / 2;
  const double B = FPrjData.Elevation() + FPrjData.UnderBottom();
  const double LH = FPrjData.LayerHeight();
  const std::int32_t N = FPrjData.LayerCount();
  const double L = FPrjData.LeftSpace();
  const bool SB = FPrjData.SkipBottom();
  const bool CD = FPrjData.CutDiagonally();
  const double PH = FPrjData.ProjectSize().Height();

  double x = 0;
  double y = LH * (double(N) - 1) + B;
  BeginOutline(front ? "SP4" : "SP3", y);
  for (std::int64_t i = 1; i <= N; ++i) {
    x = L + C;
    AppendMove("PD", x, y);
    y = y + H;
    AppendMove("PD", x, y);
    x = W / 2 + L + C;
    y = y - (H - M);
    AppendMove("PD", x, y);
    x = L + W + C;
    y = (H - M) + y;
    AppendMove("PD", x, y);
    y = y - H;
    AppendMove("PD", x, y);
    if (!SB) {
      x = W / 2 + L + C;
      AppendMove("PD", x, y);
      x = 0;
      AppendMove("PD", x, y);
    }
    if (i < N) {
      y = y - LH;
      AppendMove("PD", x, y);
    }
  }
  y = y - B;
  AppendMove("PD", x, y);
  if (CD) {
    y = PH;
    AppendMove("PD", x, y);
    x = W / 2 + L;
    AppendMove("PD", x, y);
    y = y - PH;
    AppendMove("PD", x, y);
    x = 0;
    AppendMove("PD", x, y);
  }
  AppendLine("PU");
}

void TPrjGenerator::GenerateDoubleSlopeProject() {
  GenPltHeder();
  GenerateDoubleSlopeFacePath(1);
  GenerateDoubleSlopeFacePath(2);
}

void TPrjGenerator::GenerateDoubleSlopeFacePath(int FaceType) {
  // Around the four-sided cross-section of each layer, top layer first: near side P high, far
  // side Q high, the two joined by the sloping top. Both faces start at x = L.
  const bool front = FaceType == 1;
  const TRoofPanel& panel = FPrjData.RoofPanel();
  const double W = front ? FPrjData.FrontFace().Width() : FPrjData.RearFace().Width();
  const double P = front ? panel.DimC() : panel.DimD();
  const double Q = front ? panel.DimB() : panel.DimA();
  const double LH = FPrjData.LayerHeight();
  const std::int32_t N = FPrjData.LayerCount();
  const double E = FPrjData.Elevation();
  const double L = FPrjData.LeftSpace();
  const bool SB = FPrjData.SkipBottom();

  double x = 0;
  double y = LH * (double(N) - 1) + E;
  BeginOutline(front ? "SP4" : "SP3", y);
  for (std::int64_t i = 1; i <= N; ++i) {
    x = L;
    AppendMove("PD", x, y);
    y = y + P;
    AppendMove("PD", x, y);
    x = L + W;
    y = y - (P - Q);
    AppendMove("PD", x, y);
    y = y - Q;
    AppendMove("PD", x, y);
    if (!SB) {
      x = L;
      AppendMove("PD", x, y);
    }
    if (i < N) {
      y = y - LH;
      AppendMove("PD", x, y);
    }
  }
  y = y - E;
  AppendMove("PD", x, y);
  AppendLine("PU");
}
