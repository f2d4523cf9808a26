// The drawing a Windows metafile holds, as device-independent primitives, and the canvas that a
// metafile is played onto. Coordinates are in the picture's frame units: x grows to the right,
// y grows downward, and the frame rectangle is what a viewer stretches onto its box.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

struct TWmfPoint {
  double x = 0;
  double y = 0;
  bool operator==(const TWmfPoint&) const = default;
};

// left <= right and top <= bottom.
struct TWmfRect {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
  double Width() const { return right - left; }
  double Height() const { return bottom - top; }
  bool operator==(const TWmfRect&) const = default;
};

struct TWmfColor {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  bool operator==(const TWmfColor&) const = default;
};

enum class TWmfPenStyle : std::uint8_t { Solid, Dash, Dot, DashDot, DashDotDot, Null, InsideFrame };

// width 0 is a hairline: one device pixel whatever the scale.
struct TWmfPen {
  TWmfPenStyle style = TWmfPenStyle::Solid;
  double width = 0;
  TWmfColor color;
  bool operator==(const TWmfPen&) const = default;
};

enum class TWmfBrushStyle : std::uint8_t { Solid, Null, Hatched };
enum class TWmfHatch : std::uint8_t {
  Horizontal,
  Vertical,
  FDiagonal,
  BDiagonal,
  Cross,
  DiagCross
};

// A hatched brush fills the gaps between its lines with background when opaque is set.
struct TWmfBrush {
  TWmfBrushStyle style = TWmfBrushStyle::Solid;
  TWmfColor color{255, 255, 255};
  TWmfHatch hatch = TWmfHatch::Horizontal;
  bool opaque = false;
  TWmfColor background{255, 255, 255};
  bool operator==(const TWmfBrush&) const = default;
};

struct TWmfPolyline {
  std::vector<TWmfPoint> points;
  TWmfPen pen;
  bool operator==(const TWmfPolyline&) const = default;
};

// One or more closed rings filled together; winding false is the even-odd (alternate) rule.
struct TWmfPolygons {
  std::vector<std::vector<TWmfPoint>> rings;
  TWmfPen pen;
  TWmfBrush brush;
  bool winding = false;
  bool operator==(const TWmfPolygons&) const = default;
};

// A rectangle; with rx and ry above 0 its corners are quarter ellipses of those radii.
struct TWmfRectangle {
  TWmfRect rect;
  double rx = 0;
  double ry = 0;
  TWmfPen pen;
  TWmfBrush brush;
  bool operator==(const TWmfRectangle&) const = default;
};

struct TWmfEllipse {
  TWmfRect rect;
  TWmfPen pen;
  TWmfBrush brush;
  bool operator==(const TWmfEllipse&) const = default;
};

enum class TWmfArcKind : std::uint8_t { Arc, Pie, Chord };

// A part of the ellipse inscribed in rect. Angles are in degrees of the ellipse's parameter t,
// the point (cx + rx cos t, cy - ry sin t): 0 at three o'clock, positive counter-clockwise as
// seen. The sweep is in (0, 360]. An arc is only stroked; a pie and a chord are also filled.
struct TWmfArc {
  TWmfArcKind kind = TWmfArcKind::Arc;
  TWmfRect rect;
  double startDeg = 0;
  double sweepDeg = 0;
  TWmfPen pen;
  TWmfBrush brush;
  bool operator==(const TWmfArc&) const = default;
};

enum class TWmfHAlign : std::uint8_t { Left, Center, Right };
enum class TWmfVAlign : std::uint8_t { Top, Baseline, Bottom };

// height is the em height in frame units; escapement is the baseline's angle in degrees,
// counter-clockwise as seen.
struct TWmfFont {
  double height = 12;
  int weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
  double escapement = 0;
  std::string face;
  bool operator==(const TWmfFont&) const = default;
};

// Text at origin, aligned on it as halign and valign say. advances, when not empty, gives the
// distance from each character's start to the next one's, one per character of text.
struct TWmfText {
  TWmfPoint origin;
  std::string text;  // UTF-8
  TWmfFont font;
  TWmfColor color;
  TWmfHAlign halign = TWmfHAlign::Left;
  TWmfVAlign valign = TWmfVAlign::Top;
  bool opaque = false;
  TWmfColor background{255, 255, 255};
  std::vector<double> advances;
  bool operator==(const TWmfText&) const = default;
};

// A bitmap stretched onto dest; pixels are 0xAARRGGBB, rows from the top.
struct TWmfImage {
  TWmfRect dest;
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  bool operator==(const TWmfImage&) const = default;
};

// What a metafile is played onto. Begin comes first with the frame; each primitive follows in
// drawing order.
class TWmfCanvas {
 public:
  virtual ~TWmfCanvas() = default;
  virtual void Begin(const TWmfRect& frame) = 0;
  virtual void Draw(const TWmfPolyline& item) = 0;
  virtual void Draw(const TWmfPolygons& item) = 0;
  virtual void Draw(const TWmfRectangle& item) = 0;
  virtual void Draw(const TWmfEllipse& item) = 0;
  virtual void Draw(const TWmfArc& item) = 0;
  virtual void Draw(const TWmfText& item) = 0;
  virtual void Draw(const TWmfImage& item) = 0;
};

using TWmfItem = std::variant<TWmfPolyline, TWmfPolygons, TWmfRectangle, TWmfEllipse, TWmfArc,
                              TWmfText, TWmfImage>;

// A played metafile kept in memory: its frame and its primitives in drawing order.
struct TWmfDrawing {
  TWmfRect frame;
  std::vector<TWmfItem> items;
  bool operator==(const TWmfDrawing&) const = default;
};

// A canvas that keeps what is played onto it.
class TWmfRecorder : public TWmfCanvas {
 public:
  void Begin(const TWmfRect& frame) override { drawing_.frame = frame; }
  void Draw(const TWmfPolyline& item) override { drawing_.items.emplace_back(item); }
  void Draw(const TWmfPolygons& item) override { drawing_.items.emplace_back(item); }
  void Draw(const TWmfRectangle& item) override { drawing_.items.emplace_back(item); }
  void Draw(const TWmfEllipse& item) override { drawing_.items.emplace_back(item); }
  void Draw(const TWmfArc& item) override { drawing_.items.emplace_back(item); }
  void Draw(const TWmfText& item) override { drawing_.items.emplace_back(item); }
  void Draw(const TWmfImage& item) override { drawing_.items.emplace_back(item); }
  const TWmfDrawing& Drawing() const { return drawing_; }
  TWmfDrawing Take() { return std::move(drawing_); }

 private:
  TWmfDrawing drawing_;
};

// Plays a kept drawing onto a canvas: Begin with its frame, then every item in order.
void PlayDrawing(const TWmfDrawing& drawing, TWmfCanvas& canvas);
