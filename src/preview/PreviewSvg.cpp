#include "preview/PreviewSvg.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "locale/ViewStr.h"
#include "preview/FindingText.h"
#include "preview/RefusalAdvice.h"

namespace hpgl {

namespace {

// The page, in millimetres from its top left corner.
constexpr double kPageWidth = 297;
constexpr double kPageHeight = 210;
// Two layouts: a tall drawing gets the plot box left and the legend in a column right of it; a
// wide one gets the page's width and the legend in columns under it. Either way the plot box is
// as high as the drawing needs, at least kPlotLeast, and what follows moves up.
constexpr double kPlotLeft = 24, kPlotTop = 24;
constexpr double kTallRight = 196, kTallBottomMost = 160;
constexpr double kWideRight = 285, kWideBottomMost = 124;
constexpr double kPlotLeast = 70;
constexpr double kLegendLeft = 204;  // tall layout
constexpr double kColumnWidth = 70;  // wide layout, from x 12
constexpr int kFindingsShown = 6;

const char* const kInk = "#1d2329";
const char* const kFailRed = "#c0152f";
const char* const kWarnAmber = "#a05a00";
const char* const kPassGreen = "#1c7c3a";

struct PenStyle {
  const char* colour;
  double dashOn = 0;  // page millimetres; 0 for a solid line
  double dashOff = 0;
};

PenStyle StyleOf(int pen) {
  if (pen == 4) {
    return {"#0b5cad"};
  }
  if (pen == 3) {
    return {"#d9480f", 2.4, 1.2};
  }
  static const PenStyle kOthers[] = {{"#2b8a3e"}, {"#862e9c", 1.2, 1.2}, {"#5c6770"}};
  return kOthers[static_cast<unsigned>(pen) % 3];
}

// Page and program lengths in the SVG: three decimals at most, a point whatever the locale.
std::string Num(double value) {
  return Millimetres(value);
}

// The frame's numbers, where three decimals would shift the outlines against the axes.
std::string Precise(double value) {
  char buffer[48];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 10);
  return std::string(buffer, result.ptr);
}

std::string DashArray(double on, double off) {
  return " stroke-dasharray=\"" + Precise(on) + " " + Precise(off) + "\"";
}

// The length of the well-formed UTF-8 character at the start of text, or 0 when it does not
// start with one; then skip is the length of its maximal subpart (the bytes that began a
// character before it went wrong, at least 1). Overlong forms, surrogates and values above
// U+10FFFF are not well-formed: their second byte is already out of range.
std::size_t Utf8Length(std::string_view text, std::size_t& skip) {
  const auto byte = static_cast<unsigned char>(text[0]);
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (byte >= 0xC2 && byte <= 0xDF) {
    length = 2;
  } else if (byte >= 0xE0 && byte <= 0xEF) {
    length = 3;
    low = byte == 0xE0 ? 0xA0 : 0x80;
    high = byte == 0xED ? 0x9F : 0xBF;
  } else if (byte >= 0xF0 && byte <= 0xF4) {
    length = 4;
    low = byte == 0xF0 ? 0x90 : 0x80;
    high = byte == 0xF4 ? 0x8F : 0xBF;
  }
  skip = 1;
  if (length == 0) {
    return 0;
  }
  for (std::size_t n = 1; n < length; ++n) {
    if (n >= text.size()) {
      return 0;
    }
    const auto next = static_cast<unsigned char>(text[n]);
    if (next < (n == 1 ? low : 0x80) || next > (n == 1 ? high : 0xBF)) {
      return 0;
    }
    skip = n + 1;
  }
  return length;
}

// Text for the SVG: XML's special characters escaped, control characters shown as '?', and each
// piece of the text that is not well-formed UTF-8 (a file name may hold any bytes) replaced by
// U+FFFD, so the document stays valid XML.
std::string Escaped(const std::string& text) {
  constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x80) {
      std::size_t skip = 1;
      if (const std::size_t length = Utf8Length(std::string_view(text).substr(i), skip)) {
        out.append(text, i, length);
        i += length;
      } else {
        out += kReplacement;
        i += skip;
      }
      continue;
    }
    switch (text[i]) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += byte < 0x20 || byte == 0x7F ? '?' : text[i];
    }
    ++i;
  }
  return out;
}

// Maps program millimetres (y up) onto the page (y down), the same scale on both axes.
struct Frame {
  bool wide = false;
  double plotRight = kTallRight;        // page x of the plot box's right side
  double plotBottom = kTallBottomMost;  // page y of the plot box's lower side
  double scale = 1;
  double offsetX = 0;  // page x of program x 0
  double offsetY = 0;  // page y of program y 0
  double PageX(double x) const { return offsetX + x * scale; }
  double PageY(double y) const { return offsetY - y * scale; }
};

class SvgWriter {
 public:
  void Line(double x1, double y1, double x2, double y2, const char* colour, double width,
            const char* extra = "") {
    out_ += "<line x1=\"" + Num(x1) + "\" y1=\"" + Num(y1) + "\" x2=\"" + Num(x2) + "\" y2=\"" +
            Num(y2) + "\" stroke=\"" + colour + "\" stroke-width=\"" + Num(width) + "\"" + extra +
            "/>\n";
  }
  void Text(double x, double y, double size, const std::string& text, const char* colour = kInk,
            const char* anchor = "start", const char* weight = "normal") {
    out_ += "<text x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" font-size=\"" + Num(size) +
            "\" fill=\"" + colour + "\" text-anchor=\"" + anchor + "\" font-weight=\"" + weight +
            "\">" + Escaped(text) + "</text>\n";
  }
  void Raw(const std::string& text) { out_ += text; }
  std::string Take() { return std::move(out_); }

 private:
  std::string out_;
};

// The area the picture must show, in program millimetres: the zero, every point, the work area.
struct Extent {
  double minX = 0, minY = 0, maxX = 0, maxY = 0;
  void Add(double x, double y) {
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
  }
};

// The extent fills the plot box at one scale for both axes, held at the box's lower left corner
// with a small margin, where the machine's zero sits for a sound program.
Frame FitFrame(const Extent& e, std::size_t outlines) {
  const double spanX = std::max(e.maxX - e.minX, 1.0) * 1.08;
  const double spanY = std::max(e.maxY - e.minY, 1.0) * 1.08;
  const auto scaleIn = [&](double right, double bottom) {
    return std::min((right - kPlotLeft) / spanX, (bottom - kPlotTop) / spanY);
  };
  Frame f;
  f.wide = outlines <= 2 &&
           scaleIn(kWideRight, kWideBottomMost) > 1.1 * scaleIn(kTallRight, kTallBottomMost);
  f.plotRight = f.wide ? kWideRight : kTallRight;
  const double bottomMost = f.wide ? kWideBottomMost : kTallBottomMost;
  f.scale = scaleIn(f.plotRight, bottomMost);
  f.plotBottom = kPlotTop + std::clamp(spanY * f.scale, kPlotLeast, bottomMost - kPlotTop);
  f.offsetX = kPlotLeft + (spanX / 1.08) * 0.04 * f.scale - e.minX * f.scale;
  f.offsetY = f.plotBottom - (spanY / 1.08) * 0.04 * f.scale + e.minY * f.scale;
  return f;
}

// Shades the plot box left of and below the machine's zero, where the wire must never go.
void DrawForbidden(SvgWriter& svg, const Frame& f) {
  const double zeroX = std::clamp(f.PageX(0), kPlotLeft, f.plotRight);
  const double zeroY = std::clamp(f.PageY(0), kPlotTop, f.plotBottom);
  const auto rect = [&](double x, double y, double w, double h) {
    if (w > 0 && h > 0) {
      svg.Raw("<rect x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" width=\"" + Num(w) + "\" height=\"" +
              Num(h) + "\" fill=\"#fbe4e6\"/>\n");
    }
  };
  rect(kPlotLeft, kPlotTop, zeroX - kPlotLeft, f.plotBottom - kPlotTop);
  rect(zeroX, zeroY, f.plotRight - zeroX, f.plotBottom - zeroY);
}

void DrawAxes(SvgWriter& svg, const Frame& f) {
  // Program millimetres visible in the plot box.
  const double x0 = (kPlotLeft - f.offsetX) / f.scale;
  const double x1 = (f.plotRight - f.offsetX) / f.scale;
  const double y0 = (f.offsetY - f.plotBottom) / f.scale;
  const double y1 = (f.offsetY - kPlotTop) / f.scale;
  const double step = NiceStep(std::max(x1 - x0, y1 - y0), 10);
  svg.Raw("<rect x=\"" + Num(kPlotLeft) + "\" y=\"" + Num(kPlotTop) + "\" width=\"" +
          Num(f.plotRight - kPlotLeft) + "\" height=\"" + Num(f.plotBottom - kPlotTop) +
          "\" fill=\"none\" stroke=\"#9aa5b1\" stroke-width=\"0.25\"/>\n");
  for (double v = std::ceil(x0 / step) * step; v <= x1 + 1e-9; v += step) {
    const double px = f.PageX(v);
    svg.Line(px, kPlotTop, px, f.plotBottom, "#dde3e9", 0.15);
    svg.Line(px, f.plotBottom, px, f.plotBottom + 1.5, kInk, 0.25);
    svg.Text(px, f.plotBottom + 4.5, 2.6, Num(v), kInk, "middle");
  }
  for (double v = std::ceil(y0 / step) * step; v <= y1 + 1e-9; v += step) {
    const double py = f.PageY(v);
    svg.Line(kPlotLeft, py, f.plotRight, py, "#dde3e9", 0.15);
    svg.Line(kPlotLeft - 1.5, py, kPlotLeft, py, kInk, 0.25);
    svg.Text(kPlotLeft - 2.2, py + 0.9, 2.6, Num(v), kInk, "end");
  }
  svg.Text((kPlotLeft + f.plotRight) / 2, f.plotBottom + 9.5, 3,
           "x [mm] across the block, from "
           "the machine's zero",
           kInk, "middle");
  svg.Raw("<text transform=\"translate(" + Num(kPlotLeft - 13) + " " +
          Num((kPlotTop + f.plotBottom) / 2) + ") rotate(-90)\" font-size=\"3\" fill=\"" + kInk +
          "\" text-anchor=\"middle\">y [mm] upward</text>\n");
  // The machine's zero.
  if (x0 <= 0 && 0 <= x1 && y0 <= 0 && 0 <= y1) {
    svg.Line(f.PageX(0) - 3, f.PageY(0), f.PageX(0) + 3, f.PageY(0), kInk, 0.35);
    svg.Line(f.PageX(0), f.PageY(0) - 3, f.PageX(0), f.PageY(0) + 3, kInk, 0.35);
  }
}

// The pen-down or the pen-up moves of one outline as path data in program millimetres, cut
// into pieces of at most kSegmentsPerPath lines: XML readers refuse attributes of 10 MB and
// more, which a single path of a program of a million moves would reach.
constexpr std::size_t kSegmentsPerPath = 2000;

std::vector<std::string> PathPieces(const Outline& outline, bool penDown) {
  std::vector<std::string> pieces;
  std::string d;
  std::size_t segments = 0;
  bool at = false;  // the path's pen already stands at (x, y)
  std::int64_t x = outline.entryX, y = outline.entryY;
  const auto point = [](std::int64_t px, std::int64_t py) {
    return Millimetres(px / kPlotterUnitsPerMm) + " " + Millimetres(py / kPlotterUnitsPerMm);
  };
  for (const Move& move : outline.moves) {
    if (!move.hasPoint) {
      continue;
    }
    if (move.penDown == penDown) {
      if (segments == kSegmentsPerPath) {
        pieces.push_back(std::move(d));
        d.clear();
        segments = 0;
        at = false;
      }
      if (!at) {
        d += "M " + point(x, y) + " ";
      }
      d += "L " + point(move.x, move.y) + " ";
      ++segments;
      at = true;
    } else {
      at = false;
    }
    x = move.x;
    y = move.y;
  }
  if (!d.empty()) {
    pieces.push_back(std::move(d));
  }
  return pieces;
}

// One outline as the group <g id="outline-K" data-pen="P"> of its pen-up paths (class
// "travel") and its pen-down paths (class "cut"), in program millimetres.
void DrawOutline(SvgWriter& svg, const Outline& outline, int index, const Frame& f) {
  const PenStyle style = StyleOf(outline.pen);
  const std::string dash =
      style.dashOn > 0 ? DashArray(style.dashOn / f.scale, style.dashOff / f.scale) : "";
  svg.Raw("<g id=\"outline-" + std::to_string(index) + "\" data-pen=\"" +
          std::to_string(outline.pen) + "\" fill=\"none\" stroke-linejoin=\"round\">\n");
  for (const std::string& d : PathPieces(outline, false)) {
    svg.Raw("<path class=\"travel\" d=\"" + d + "\" stroke=\"#7a8591\" stroke-width=\"" +
            Precise(0.25 / f.scale) + "\"" + DashArray(0.8 / f.scale, 0.8 / f.scale) + "/>\n");
  }
  for (const std::string& d : PathPieces(outline, true)) {
    svg.Raw("<path class=\"cut\" d=\"" + d + "\" stroke=\"" + style.colour + "\" stroke-width=\"" +
            Precise(0.45 / f.scale) + "\"" + dash + "/>\n");
  }
  svg.Raw("</g>\n");
}

// Rings the point of each failure and warning on the plot and names its statement, so a fault
// too small to see at the page's scale is still found.
void DrawFindingMarks(SvgWriter& svg, const Program& program, const CheckReport& report,
                      const Frame& f) {
  int marked = 0;
  for (const Finding& finding : report.findings) {
    if (finding.severity == Severity::Note || finding.statement == 0 || marked == kFindingsShown) {
      continue;
    }
    const Move* at = nullptr;
    for (const Outline& outline : program.outlines) {
      if (finding.statement < outline.firstStatement || finding.statement > outline.lastStatement) {
        continue;
      }
      for (const Move& move : outline.moves) {
        if (move.statement == finding.statement) {
          at = &move;
          break;
        }
      }
    }
    if (at == nullptr) {
      continue;
    }
    ++marked;
    const char* colour = finding.severity == Severity::Failure ? kFailRed : kWarnAmber;
    const double x = f.PageX(at->x / kPlotterUnitsPerMm);
    const double y = f.PageY(at->y / kPlotterUnitsPerMm);
    svg.Raw("<circle cx=\"" + Num(x) + "\" cy=\"" + Num(y) +
            "\" r=\"2.6\" fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"0.6\"/>\n");
    svg.Text(x + 3.4, y - 2.4, 2.8, "statement " + std::to_string(finding.statement), colour,
             "start", "bold");
  }
}

// One outline's figures from (x, y); returns the page y below them.
double DrawOutlineFigures(SvgWriter& svg, const OutlineFigures& o, double x, double y) {
  const PenStyle style = StyleOf(o.pen);
  const std::string dash = style.dashOn > 0 ? DashArray(style.dashOn, style.dashOff) : "";
  svg.Line(x, y - 1, x + 8, y - 1, style.colour, 0.8, dash.c_str());
  svg.Text(x + 10, y, 3.4, preview::OutlineTitle(o.pen), kInk, "start", "bold");
  y += 4.6;
  const std::string lines[] = {
      "statements " + std::to_string(o.firstStatement) + " to " +
          std::to_string(o.firstStatement + o.statements - 1) + ", " +
          std::to_string(o.moveStatements) + " of them moves",
      "cutting moves " + std::to_string(o.cuttingMoves) + ", cut " +
          Millimetres(std::round(o.cutLength * 10) / 10) + " mm",
      o.hasPoints ? "x " + Millimetres(o.minX) + " to " + Millimetres(o.maxX) + ", y " +
                        Millimetres(o.minY) + " to " + Millimetres(o.maxY) + " mm"
                  : "no points",
      o.hasPoints ? "start (" + Millimetres(o.startX) + ", " + Millimetres(o.startY) + "), end (" +
                        Millimetres(o.endX) + ", " + Millimetres(o.endY) + ")"
                  : "",
  };
  for (const std::string& line : lines) {
    svg.Text(x + 2, y, 2.7, line);
    y += 3.8;
  }
  return y + 3;
}

// The key to the drawing from (x, y); returns the page y below it.
double DrawKey(SvgWriter& svg, const PreviewOptions& options, double x, double y) {
  svg.Raw("<rect x=\"" + Num(x) + "\" y=\"" + Num(y - 2.6) +
          "\" width=\"8\" height=\"3.2\" fill=\"#eef1f4\" stroke=\"#5c6770\" "
          "stroke-width=\"0.25\"/>\n");
  svg.Text(x + 10, y, 3,
           options.workArea ? "work area " + Millimetres(options.workArea->width) + " x " +
                                  Millimetres(options.workArea->height) + " mm"
                            : "work area: no project given");
  y += 5;
  svg.Line(x + 1, y - 1, x + 7, y - 1, "#7a8591", 0.3, DashArray(0.8, 0.8).c_str());
  svg.Text(x + 10, y, 3, "pen up: travel, no cut");
  y += 5;
  svg.Raw("<rect x=\"" + Num(x) + "\" y=\"" + Num(y - 2.6) +
          "\" width=\"8\" height=\"3.2\" fill=\"#fbe4e6\"/>\n");
  svg.Text(x + 10, y, 3, "left of or below zero: no-go");
  y += 5;
  svg.Raw("<circle cx=\"" + Num(x + 4) + "\" cy=\"" + Num(y - 1) +
          "\" r=\"1.3\" fill=\"white\" stroke=\"" + kInk + "\" stroke-width=\"0.4\"/>\n");
  svg.Text(x + 10, y, 3, "start point of an outline");
  return y + 5;
}

// The checks as a list from (x, y), each ticked, crossed or marked; returns the page y below.
double DrawChecks(SvgWriter& svg, const CheckReport& report, const PreviewOptions& options,
                  double x, double y) {
  svg.Text(x, y, 3.4, "Checks", kInk, "start", "bold");
  y += 5;
  const struct {
    Check check;
    const char* text;
  } checks[] = {
      {Check::OutlineCount, "one outline, or a front and a rear"},
      {Check::InStep, "front and rear move in step"},
      {Check::StartAtZero, "each outline starts pen up at zero"},
      {Check::BelowZero, "nothing left of or below zero"},
      {Check::WorkArea, "within the work area"},
  };
  for (const auto& c : checks) {
    const bool passed = report.Passed(c.check);
    const bool known = c.check != Check::WorkArea || options.workArea;
    const bool warning = c.check == Check::WorkArea;
    svg.Text(x + 1, y, 3.2,
             !known    ? "-"
             : passed  ? "\u2713"
             : warning ? "!"
                       : "\u2717",
             !known || passed ? kPassGreen
             : warning        ? kWarnAmber
                              : kFailRed,
             "start", "bold");
    svg.Text(x + 6, y, 3, known ? c.text : "work area not checked: no project",
             known ? kInk : "#5c6770");
    y += 4.4;
  }
  return y;
}

// The legend: a column right of a tall plot, or columns under a wide one (each outline's
// figures, the key, the checks). Returns the page y below it.
double DrawLegend(SvgWriter& svg, const CheckReport& report, const PreviewOptions& options,
                  const Frame& f) {
  if (f.wide) {
    const double top = f.plotBottom + 18;
    double bottom = top;
    double x = 12;
    for (const OutlineFigures& o : report.outlines) {
      bottom = std::max(bottom, DrawOutlineFigures(svg, o, x, top));
      x += kColumnWidth;
    }
    x = 12 + 2 * kColumnWidth;
    bottom = std::max(bottom, DrawKey(svg, options, x, top));
    bottom = std::max(bottom, DrawChecks(svg, report, options, x + kColumnWidth, top));
    return bottom;
  }
  double y = kPlotTop + 2;
  for (const OutlineFigures& o : report.outlines) {
    y = DrawOutlineFigures(svg, o, kLegendLeft, y);
    if (y > kTallBottomMost - 60) {
      break;
    }
  }
  if (report.outlines.empty()) {
    svg.Text(kLegendLeft, y, 3.4, "no outline: the program moves nothing", kFailRed);
    y += 7;
  }
  y = DrawKey(svg, options, kLegendLeft, y);
  return DrawChecks(svg, report, options, kLegendLeft, y + 3);
}

// The findings in the table's words, from page y top down.
void DrawFindings(SvgWriter& svg, const CheckReport& report, double top,
                  const std::vector<std::string>& advice) {
  svg.Line(12, top - 4, kPageWidth - 12, top - 4, "#9aa5b1", 0.25);
  double y = top;
  // The advice of a refused program first; its lines take the room of findings, one at least.
  int findingsShown = kFindingsShown;
  for (const std::string& sentence : advice) {
    for (const std::string& line : preview::WrappedText(sentence, 150)) {
      svg.Text(14, y, 2.8, line, kFailRed, "start", "bold");
      y += 4.2;
      findingsShown = std::max(1, findingsShown - 1);
    }
  }
  int shown = 0;
  for (const Finding& f : report.findings) {
    if (shown == findingsShown) {
      svg.Text(
          14, y, 2.8,
          "... " +
              std::to_string(report.findings.size() - static_cast<std::size_t>(findingsShown)) +
              " more: run tectoplan-view for the whole list");
      return;
    }
    const char* colour = f.severity == Severity::Failure   ? kFailRed
                         : f.severity == Severity::Warning ? kWarnAmber
                                                           : "#5c6770";
    svg.Text(14, y, 2.8, preview::SeverityLabel(f.severity), colour, "start", "bold");
    std::string text = (f.statement > 0 ? GetViewStr(TViewStr::Statement) + " " +
                                              std::to_string(f.statement) + ": "
                                        : "") +
                       preview::FindingText(f);
    if (text.size() > 150) {
      text = text.substr(0, 147) + "...";
    }
    svg.Text(26, y, 2.8, text, colour);
    y += 4.2;
    ++shown;
  }
  if (shown == 0) {
    svg.Text(14, y, 2.8,
             "Every check passed: the outlines start at the machine's zero with the "
             "pen up, stay above and right of it, and move in step.",
             kPassGreen);
  }
}

}  // namespace

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

std::string DrawPreviewSvg(const Program& program, const CheckReport& report,
                           const PreviewOptions& options) {
  Extent extent;
  for (const OutlineFigures& o : report.outlines) {
    if (o.hasPoints) {
      extent.Add(o.minX, o.minY);
      extent.Add(o.maxX, o.maxY);
    }
  }
  if (options.workArea) {
    extent.Add(options.workArea->width, options.workArea->height);
  }
  const Frame frame = FitFrame(extent, report.outlines.size());

  SvgWriter svg;
  svg.Raw(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"297mm\" height=\"210mm\" "
      "viewBox=\"0 0 297 210\" font-family=\"DejaVu Sans, Arial, sans-serif\">\n");
  svg.Raw("<rect width=\"" + Num(kPageWidth) + "\" height=\"" + Num(kPageHeight) +
          "\" fill=\"white\"/>\n");
  std::string title = options.title.empty() ? "Cutting program" : options.title;
  if (title.size() > 60) {  // the verdict stands right of it
    std::size_t cut = title.size() - 57;
    while (cut < title.size() && (static_cast<unsigned char>(title[cut]) & 0xC0) == 0x80) {
      ++cut;  // not inside a UTF-8 character
    }
    title = "..." + title.substr(cut);
  }
  svg.Text(12, 13, 5, title, kInk, "start", "bold");
  const bool failed = report.Failed();
  svg.Raw(std::string("<rect x=\"228\" y=\"7\" width=\"57\" height=\"8.5\" rx=\"1.5\" fill=\"") +
          (failed ? kFailRed : kPassGreen) + "\"/>\n");
  svg.Text(256.5, 13, 4.2, failed ? "CHECK FAILED" : "CHECK PASSED", "white", "middle", "bold");
  svg.Text(12, 19, 2.8,
           std::to_string(program.statementCount) + " statements, " +
               std::to_string(report.outlines.size()) +
               " outline(s); 40 plotter units = 1 mm; "
               "scale 1 : " +
               Num(std::round(1 / frame.scale * 10) / 10) + " on A4",
           "#5c6770");

  DrawForbidden(svg, frame);
  if (options.workArea) {
    const double w = options.workArea->width, h = options.workArea->height;
    svg.Raw("<rect x=\"" + Num(frame.PageX(std::min(0.0, w))) + "\" y=\"" +
            Num(frame.PageY(std::max(0.0, h))) + "\" width=\"" + Num(std::abs(w) * frame.scale) +
            "\" height=\"" + Num(std::abs(h) * frame.scale) +
            "\" fill=\"#eef1f4\" stroke=\"#5c6770\" stroke-width=\"0.3\"/>\n");
  }
  DrawAxes(svg, frame);
  svg.Raw("<g transform=\"translate(" + Precise(frame.offsetX) + " " + Precise(frame.offsetY) +
          ") scale(" + Precise(frame.scale) + " " + Precise(-frame.scale) + ")\">\n");
  int index = 0;
  for (const Outline& outline : program.outlines) {
    DrawOutline(svg, outline, ++index, frame);
  }
  svg.Raw("</g>\n");
  for (const OutlineFigures& o : report.outlines) {
    if (o.hasPoints) {
      svg.Raw("<circle cx=\"" + Num(frame.PageX(o.startX)) + "\" cy=\"" +
              Num(frame.PageY(o.startY)) + "\" r=\"1.3\" fill=\"white\" stroke=\"" + kInk +
              "\" stroke-width=\"0.4\"/>\n");
    }
  }
  DrawFindingMarks(svg, program, report, frame);
  const double legendBottom = DrawLegend(svg, report, options, frame);
  DrawFindings(svg, report, std::max(frame.plotBottom + 18, legendBottom + 6), options.advice);
  svg.Raw("</svg>\n");
  return svg.Take();
}

}  // namespace hpgl
