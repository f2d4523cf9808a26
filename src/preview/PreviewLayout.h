// The preview of a cutting program as one drawing, computed once for a target (the A4 page of the
// printed picture or the preview window) and drawn unchanged by both back ends: the frame, the
// ticks, the outlines and their styles, the marks of the findings, the legend and its texts.
// Target units: page millimetres or window pixels, x to the right and y downward from the top
// left corner. Outlines stay in plotter units and are placed by the layout's frame.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "hpgl/HpglReader.h"
#include "hpgl/ProgramCheck.h"
#include "locale/ErrorStr.h"

namespace preview {

struct TColour {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const TColour&, const TColour&) = default;
};

// A line's look; width 0 draws no line. dashOn and dashOff are lengths of the target; 0 draws
// a solid line.
struct TStroke {
  TColour colour;
  double width = 0;
  double dashOn = 0, dashOff = 0;
};

enum class TShapeKind : std::uint8_t { Rect, Line, Circle, Text };
enum class TAnchor : std::uint8_t { Start, Middle, End };

// One element of the drawing, in target units.
// Rect: from (x1, y1) to (x2, y2), filled and/or outlined. Line: from (x1, y1) to (x2, y2).
// Circle: centre (x1, y1), radius x2. Text: one line; (x1, y1) is the anchor on its baseline;
// vertical text is turned a quarter to the left about that point and reads upward.
struct TShape {
  TShapeKind kind = TShapeKind::Rect;
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  std::optional<TColour> fill;
  TStroke stroke;
  std::string text;
  double size = 0;  // the text's height (the font's em)
  bool bold = false;
  bool vertical = false;
  TAnchor anchor = TAnchor::Start;
};

// A point of an outline in plotter units.
struct TUnitPoint {
  std::int32_t x = 0, y = 0;
  friend bool operator==(const TUnitPoint&, const TUnitPoint&) = default;
};

// The moves of one outline as polylines in plotter units: its pen-up moves (travel) and its
// pen-down moves (cut), each in program order and cut into pieces of at most kSegmentsPerPath
// lines (a printed picture's reader refuses attributes of 10 MB and more).
struct TOutlineDrawing {
  int index = 0;  // from 1, in program order
  int pen = 0;
  TStroke travelStroke, cutStroke;  // target units
  std::vector<std::vector<TUnitPoint>> travel, cut;
};

inline constexpr std::size_t kSegmentsPerPath = 2000;

// The target of a drawing. A print target keeps every point of the program; a screen target
// draws what its pixels can show.
struct TPreviewTarget {
  double width = 0, height = 0;  // target units
  double em = 0;                 // the size of the body text
  double margin = 0;             // around the whole drawing
  bool print = false;            // true: the scale is printed and every point is kept
};

// The A4 landscape page in millimetres, and the preview window of the given size in pixels.
TPreviewTarget PageTarget();
TPreviewTarget WindowTarget(double width, double height);

// What a preview shows besides the program: its title, the work area when the project is
// known, and the lines that say why the program is refused and what to change.
struct TPreviewInput {
  std::string title;  // the program's file name; empty: a generic title
  std::optional<hpgl::WorkArea> workArea;
  std::vector<std::string> advice;
  TTextLanguage language = InterfaceTextLanguage();
};

struct TPreviewLayout {
  TPreviewTarget target;
  bool hasPlot = false;
  // Program millimetres to target units: x' = offsetX + x * scale, y' = offsetY - y * scale.
  double scale = 1, offsetX = 0, offsetY = 0;
  double plotLeft = 0, plotTop = 0, plotRight = 0, plotBottom = 0;
  // The verdict's badge, where the window says that what it shows is older than the fields.
  double verdictLeft = 0, verdictTop = 0, verdictRight = 0, verdictBottom = 0;
  std::vector<TShape> below;  // drawn before the outlines: page, no-go zone, work area, axes
  std::vector<TOutlineDrawing> outlines;
  std::vector<TShape> above;  // drawn after them: start points, marks, legend, findings

  double X(double mm) const { return offsetX + mm * scale; }
  double Y(double mm) const { return offsetY - mm * scale; }
};

// The drawing of program with report.
TPreviewLayout LayOutProgram(const hpgl::Program& program, const hpgl::CheckReport& report,
                             const TPreviewInput& input, const TPreviewTarget& target);

// The drawing when there is no program to draw: a headline and the lines under it (an error
// already in the interface language, what to change). noBreak, a statement the lines quote, is
// never broken across lines.
TPreviewLayout LayOutMessage(const std::string& headline, const std::vector<std::string>& lines,
                             const std::string& noBreak, const TPreviewTarget& target,
                             TTextLanguage language = InterfaceTextLanguage());

// The step between the ticks of a millimetre axis: 1, 2 or 5 times a power of ten (0.001 at
// least) that cuts span into about `parts` pieces.
double NiceStep(double span, double parts);

// text broken into lines of at most width target units at text size size, between words; a
// word longer than a line stands on a line of its own. Blanks inside noBreak are not breaks.
std::vector<std::string> WrapText(const std::string& text, double width, double size, bool bold,
                                  const std::string& noBreak = {});

// The width a line of text takes at size, estimated from its characters (the drawing's fonts
// are DejaVu Sans or alike; the estimate errs wide).
double TextWidth(const std::string& text, double size, bool bold);

}  // namespace preview
