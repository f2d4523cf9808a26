#include "Pictures.h"

#include <array>
#include <cmath>
#include <functional>
#include <string_view>

#include "metafile/WmfFormat.h"
#include "metafile/WmfWriter.h"

namespace {

// Frame units a pixel of the shown size: thin strokes and small gaps stay whole numbers.
constexpr int kUnitsPerPixel = 10;
// 960 units an inch make the natural size of each picture its shown size at 96 dots an inch.
constexpr int kUnitsPerInch = 960;

struct P {
  double x = 0;
  double y = 0;
};

P operator+(P a, P b) {
  return {a.x + b.x, a.y + b.y};
}
P operator-(P a, P b) {
  return {a.x - b.x, a.y - b.y};
}
P operator*(P a, double k) {
  return {a.x * k, a.y * k};
}
P Mid(P a, P b) {
  return (a + b) * 0.5;
}
double Length(P a) {
  return std::hypot(a.x, a.y);
}
P Unit(P a) {
  return a * (1 / Length(a));
}
P Normal(P a) {
  return {-a.y, a.x};
}

// The palette: dark slate lines, light blue-grey faces (the lit top lightest), a warm accent for
// the machine's front.
const TWmfColor kInk{43, 58, 74};
const TWmfColor kDim{110, 122, 136};
const TWmfColor kTop{226, 236, 246};
const TWmfColor kTopShade{204, 220, 236};
const TWmfColor kSide{176, 198, 222};
const TWmfColor kSideDark{150, 176, 206};
const TWmfColor kBlock{244, 240, 228};
const TWmfColor kBlockEdge{170, 160, 135};
const TWmfColor kFront{200, 90, 40};
const TWmfColor kWhite{255, 255, 255};
const TWmfColor kFrameGrey{200, 205, 212};

// Draws through TWmfWriter and keeps, beside it, the primitives the drawing is meant to give:
// integer frame units, the window mapped one to one onto the frame.
class TSketch {
 public:
  explicit TSketch(int pixels)
      : size_(pixels * kUnitsPerPixel), writer_(0, 0, size_, size_, kUnitsPerInch) {
    expected_.Begin({0, 0, static_cast<double>(size_), static_cast<double>(size_)});
    writer_.SetBkMode(false);
    writer_.SetPolyFillMode(true);
    writer_.SetTextAlign(wmf::kTaCenter | wmf::kTaBaseline);
  }

  double Size() const { return size_; }
  static double Px(double pixels) { return pixels * kUnitsPerPixel; }

  void Pen(TWmfPenStyle style, double widthPx, TWmfColor color) {
    TWmfPen pen{style, static_cast<double>(Round(Px(widthPx))), color};
    if (pen == pen_) {
      return;
    }
    Replace(pen_, penObject_, pen, writer_.CreatePen(style, Round(Px(widthPx)), color));
  }
  void NoPen() { Pen(TWmfPenStyle::Null, 0, kInk); }
  void Brush(TWmfColor color) { SetBrush({TWmfBrushStyle::Solid, color}); }
  void NoBrush() { SetBrush({TWmfBrushStyle::Null, kWhite}); }

  void Polygon(const std::vector<P>& points) {
    std::vector<TWmfPoint16> pts = Points(points);
    writer_.Polygon(pts);
    expected_.Draw(TWmfPolygons{{Expected(pts)}, pen_, brush_, true});
  }
  void Polyline(const std::vector<P>& points) {
    std::vector<TWmfPoint16> pts = Points(points);
    writer_.Polyline(pts);
    expected_.Draw(TWmfPolyline{Expected(pts), pen_});
  }
  void Line(P a, P b) { Polyline({a, b}); }
  void Ellipse(P centre, double rx, double ry) {
    int l = Round(centre.x - rx), t = Round(centre.y - ry), r = Round(centre.x + rx),
        b = Round(centre.y + ry);
    writer_.Ellipse(l, t, r, b);
    expected_.Draw(TWmfEllipse{{static_cast<double>(l), static_cast<double>(t),
                                static_cast<double>(r), static_cast<double>(b)},
                               pen_,
                               brush_});
  }
  void RoundRect(double left, double top, double right, double bottom, double radius) {
    int l = Round(left), t = Round(top), r = Round(right), b = Round(bottom);
    int corner = Round(2 * radius);
    writer_.RoundRect(l, t, r, b, corner, corner);
    expected_.Draw(TWmfRectangle{{static_cast<double>(l), static_cast<double>(t),
                                  static_cast<double>(r), static_cast<double>(b)},
                                 corner / 2.0,
                                 corner / 2.0,
                                 pen_,
                                 brush_});
  }

  // Centred text with its baseline at y; heightPx is the em height.
  void Text(P at, std::string_view text, double heightPx, TWmfColor color) {
    int height = Round(Px(heightPx));
    if (height != fontHeight_) {
      Replace(fontHeight_, fontObject_, height, writer_.CreateFont(-height, 700, false, "Arial"));
    }
    if (!(color == textColor_)) {
      writer_.SetTextColor(color);
      textColor_ = color;
    }
    int x = Round(at.x), y = Round(at.y);
    writer_.TextOut(x, y, text);
    TWmfText expected;
    expected.origin = {static_cast<double>(x), static_cast<double>(y)};
    expected.text = std::string(text);
    expected.font.height = height;
    expected.font.weight = 700;
    expected.font.face = "Arial";
    expected.color = color;
    expected.halign = TWmfHAlign::Center;
    expected.valign = TWmfVAlign::Baseline;
    expected.opaque = false;
    expected_.Draw(expected);
  }

  TPicture Finish(std::string fileName, int shownSize) {
    return {std::move(fileName), shownSize, writer_.Finish(), expected_.Take()};
  }

 private:
  static int Round(double v) { return static_cast<int>(std::lround(v)); }

  std::vector<TWmfPoint16> Points(const std::vector<P>& points) const {
    std::vector<TWmfPoint16> pts;
    for (P p : points) {
      pts.push_back({Round(p.x), Round(p.y)});
    }
    return pts;
  }
  static std::vector<TWmfPoint> Expected(const std::vector<TWmfPoint16>& pts) {
    std::vector<TWmfPoint> out;
    for (TWmfPoint16 p : pts) {
      out.push_back({static_cast<double>(p.x), static_cast<double>(p.y)});
    }
    return out;
  }

  template <typename T>
  void Replace(T& current, int& object, const T& wanted, int created) {
    writer_.SelectObject(created);
    if (object >= 0) {
      writer_.DeleteObject(object);
    }
    object = created;
    current = wanted;
  }
  void SetBrush(const TWmfBrush& brush) {
    if (brush == brush_ && brushObject_ >= 0) {
      return;
    }
    Replace(brush_, brushObject_, brush, writer_.CreateBrush(brush.style, brush.color));
  }

  int size_;
  TWmfWriter writer_;
  TWmfRecorder expected_;
  TWmfPen pen_{TWmfPenStyle::Solid, 0, {0, 0, 0}};
  TWmfBrush brush_{TWmfBrushStyle::Solid, {255, 255, 255}};
  int penObject_ = -1;
  int brushObject_ = -1;
  int fontHeight_ = 0;
  int fontObject_ = -1;
  TWmfColor textColor_{0, 0, 0};
};

// ---- common marks ----

// A corner letter in a small white disc with a dark rim.
void Badge(TSketch& s, P at, std::string_view letter, double radiusPx) {
  s.Pen(TWmfPenStyle::Solid, 1.2, kInk);
  s.Brush(kWhite);
  s.Ellipse(at, TSketch::Px(radiusPx), TSketch::Px(radiusPx));
  s.Text({at.x, at.y + TSketch::Px(radiusPx * 0.5)}, letter, radiusPx * 1.45, kInk);
}

// A solid arrowhead with its tip at tip, pointing along dir.
void Arrowhead(TSketch& s, P tip, P dir, double lengthPx, TWmfColor color) {
  P u = Unit(dir), n = Normal(u);
  double len = TSketch::Px(lengthPx);
  s.NoPen();
  s.Brush(color);
  s.Polygon({tip, tip - u * len + n * (len * 0.38), tip - u * len - n * (len * 0.38)});
}

// A dimension line between a and b, set off by offsetPx on the side away from awayFrom, with
// extension lines, arrows and, when given, a letter in the middle on a white ground.
void Dimension(TSketch& s, P a, P b, P awayFrom, double offsetPx, std::string_view letter,
               double textPx) {
  P u = Unit(b - a), n = Normal(u);
  P mid = Mid(a, b);
  if ((mid.x - awayFrom.x) * n.x + (mid.y - awayFrom.y) * n.y < 0) {
    n = n * -1;
  }
  P a2 = a + n * TSketch::Px(offsetPx), b2 = b + n * TSketch::Px(offsetPx);
  s.Pen(TWmfPenStyle::Solid, 0.8, kDim);
  s.Line(a + n * TSketch::Px(3), a2 + n * TSketch::Px(4));
  s.Line(b + n * TSketch::Px(3), b2 + n * TSketch::Px(4));
  s.Line(a2, b2);
  Arrowhead(s, a2, a2 - b2, 7, kDim);
  Arrowhead(s, b2, b2 - a2, 7, kDim);
  if (!letter.empty()) {
    P m = Mid(a2, b2);
    s.NoPen();
    s.Brush(kWhite);
    s.Ellipse(m, TSketch::Px(textPx * 0.62), TSketch::Px(textPx * 0.62));
    s.Text({m.x, m.y + TSketch::Px(textPx * 0.36)}, letter, textPx, kDim);
  }
}

// ---- panel sketches (360 x 360) ----

// Model units: x across the machine toward its far side, z from the front to the rear, h up.
// The view looks from the front, a little from the far side and from above (an axonometric
// view turned by the azimuth and tilted by the elevation), fitted into the picture.
class TView {
 public:
  TView(double azimuthDeg, double elevationDeg)
      : cosA_(std::cos(azimuthDeg * M_PI / 180)),
        sinA_(std::sin(azimuthDeg * M_PI / 180)),
        cosE_(std::cos(elevationDeg * M_PI / 180)),
        sinE_(std::sin(elevationDeg * M_PI / 180)) {}

  // Scales and centres the given model points into a square of sizePx pixels with the margin.
  void Fit(const std::vector<std::array<double, 3>>& points, double sizePx, double marginPx) {
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
    for (const auto& p : points) {
      P r = Raw(p[0], p[1], p[2]);
      minX = std::min(minX, r.x);
      maxX = std::max(maxX, r.x);
      minY = std::min(minY, r.y);
      maxY = std::max(maxY, r.y);
    }
    double room = TSketch::Px(sizePx - 2 * marginPx);
    scale_ = std::min(room / (maxX - minX), room / (maxY - minY));
    double size = TSketch::Px(sizePx);
    origin_ = P{size / 2, size / 2} - P{(minX + maxX) / 2, (minY + maxY) / 2} * scale_;
  }

  P Project(double x, double z, double h) const { return origin_ + Raw(x, z, h) * scale_; }

 private:
  P Raw(double x, double z, double h) const {
    double xr = x * cosA_ + z * sinA_;
    double zr = -x * sinA_ + z * cosA_;
    return {xr, -h * cosE_ - zr * sinE_};
  }

  double cosA_, sinA_, cosE_, sinE_;
  P origin_;
  double scale_ = 1;
};

// A corner's letter on the top face, just inside its corner.
void CornerBadge(TSketch& s, P corner, P inside, std::string_view letter) {
  Badge(s, corner + Unit(inside - corner) * TSketch::Px(25), letter, 11);
}

P Centroid(const std::vector<P>& points) {
  P sum;
  for (P p : points) {
    sum = sum + p;
  }
  return sum * (1.0 / static_cast<double>(points.size()));
}

// Flat, single slope and the two double slopes: a panel whose faces lie across the machine.
// heights: front near (C), front far (B), rear far (A), rear near (D). rearWidth < width gives
// the narrow double slope, its far side drawn in toward the near side at the rear.
TPicture ParallelPanel(const char* fileName, double width, double rearWidth, double length,
                       const std::array<double, 4>& heights) {
  TSketch s(360);
  TView v(28, 32);
  const std::array<std::array<double, 2>, 4> base{
      {{0, 0}, {width, 0}, {rearWidth, length}, {0, length}}};
  const std::array<std::string_view, 4> letters{"C", "B", "A", "D"};
  std::vector<std::array<double, 3>> all;
  for (int i = 0; i < 4; ++i) {
    all.push_back({base[i][0], base[i][1], heights[i]});
    all.push_back({base[i][0], base[i][1], 0});
  }
  v.Fit(all, 360, 34);
  auto top = [&](int i) { return v.Project(base[i][0], base[i][1], heights[i]); };
  auto bottom = [&](int i) { return v.Project(base[i][0], base[i][1], 0); };

  s.Pen(TWmfPenStyle::Solid, 1.6, kInk);
  // The faces seen: the front, the far side, the top.
  s.Brush(kSide);
  s.Polygon({bottom(0), bottom(1), top(1), top(0)});
  s.Brush(kSideDark);
  s.Polygon({bottom(1), bottom(2), top(2), top(1)});
  s.Brush(kTop);
  s.Polygon({top(0), top(1), top(2), top(3)});
  // A twisted top shows its straight rulings from front to rear.
  bool twisted = std::abs((heights[0] - heights[1]) - (heights[3] - heights[2])) > 1e-9;
  if (twisted) {
    s.Pen(TWmfPenStyle::Solid, 0.7, kDim);
    for (double t : {0.25, 0.5, 0.75}) {
      s.Line(top(0) + (top(1) - top(0)) * t, top(3) + (top(2) - top(3)) * t);
    }
  }
  // The length along the far side's foot; where the far side runs in toward the rear, along
  // the near side's top, which keeps the panel's length.
  if (rearWidth == width) {
    Dimension(s, bottom(1), bottom(2), Centroid({bottom(0), bottom(3)}), 14, "L", 15);
  } else {
    Dimension(s, top(0), top(3), Centroid({top(1), top(2)}), 14, "L", 15);
  }
  P inside = Centroid({top(0), top(1), top(2), top(3)});
  for (int i = 0; i < 4; ++i) {
    CornerBadge(s, top(i), inside, letters[i]);
  }
  return s.Finish(fileName, 360);
}

// Gutter and ridge: the square panel lies diagonally, A in the middle of the front, C in the
// middle of the rear, B and D at the sides; its top folds along the line from A to C.
TPicture DiagonalPanel(const char* fileName, double hA, double hB, double hC) {
  TSketch s(360);
  TView v(22, 34);
  const double r = 100;  // half the diagonal
  struct K {
    double x, z, h;
    std::string_view letter;
  };
  const K a{0, -r, hA, "A"}, b{-r, 0, hB, "B"}, c{0, r, hC, "C"}, d{r, 0, hB, "D"};
  std::vector<std::array<double, 3>> all;
  for (const K& k : {a, b, c, d}) {
    all.push_back({k.x, k.z, k.h});
    all.push_back({k.x, k.z, 0});
  }
  v.Fit(all, 360, 34);
  auto top = [&](const K& k) { return v.Project(k.x, k.z, k.h); };
  auto bottom = [&](const K& k) { return v.Project(k.x, k.z, 0); };

  s.Pen(TWmfPenStyle::Solid, 1.6, kInk);
  s.Brush(kSide);
  s.Polygon({bottom(b), bottom(a), top(a), top(b)});
  s.Brush(kSideDark);
  s.Polygon({bottom(a), bottom(d), top(d), top(a)});
  // The two halves of the top, the one toward the far side a little darker.
  s.Brush(kTop);
  s.Polygon({top(a), top(b), top(c)});
  s.Brush(kTopShade);
  s.Polygon({top(a), top(c), top(d)});
  // The fold: a valley for the gutter, a ridge for the ridge.
  s.Pen(TWmfPenStyle::Solid, 2.2, kInk);
  s.Line(top(a), top(c));
  Dimension(s, bottom(a), bottom(d), Centroid({bottom(b), bottom(c)}), 14, "L", 15);
  CornerBadge(s, top(a), Centroid({top(a), top(b), top(c)}), a.letter);
  CornerBadge(s, top(c), Centroid({top(a), top(c), top(d)}), c.letter);
  CornerBadge(s, top(b), Centroid({top(a), top(b), top(c)}), b.letter);
  CornerBadge(s, top(d), Centroid({top(a), top(c), top(d)}), d.letter);
  return s.Finish(fileName, 360);
}

TPicture EmptyPanel() {
  TSketch s(360);
  s.Pen(TWmfPenStyle::Solid, 1.5, kFrameGrey);
  s.NoBrush();
  double m = TSketch::Px(24);
  s.RoundRect(m, m, s.Size() - m, s.Size() - m, TSketch::Px(12));
  return s.Finish("Panel_Empty.wmf", 360);
}

// ---- block layouts (160 x 160): the block seen from above, the machine's front at the bottom --

struct TLayout {
  TSketch s{160};
  double left = TSketch::Px(24), top = TSketch::Px(10), right = TSketch::Px(136),
         bottom = TSketch::Px(122);
};

// The machine's front: a bar along the bottom of the picture with a notch pointing at the block.
void MachineFront(TLayout& l) {
  TSketch& s = l.s;
  double y = TSketch::Px(146);
  double cx = (l.left + l.right) / 2;
  s.NoPen();
  s.Brush(kFront);
  s.Polygon({{l.left - TSketch::Px(8), y},
             {l.right + TSketch::Px(8), y},
             {l.right + TSketch::Px(8), y + TSketch::Px(4)},
             {l.left - TSketch::Px(8), y + TSketch::Px(4)}});
  Arrowhead(s, {cx, y - TSketch::Px(9)}, {0, -1}, 9, kFront);
}

void Block(TLayout& l, double right) {
  l.s.Pen(TWmfPenStyle::Dash, 1, kBlockEdge);
  l.s.Brush(kBlock);
  l.s.Polygon({{l.left, l.top}, {right, l.top}, {right, l.bottom}, {l.left, l.bottom}});
}

void LayoutBadges(TSketch& s, const std::vector<P>& corners, P centre,
                  const std::vector<std::string_view>& letters) {
  for (std::size_t i = 0; i < corners.size(); ++i) {
    P away = Unit(corners[i] - centre);
    P at = corners[i] - away * TSketch::Px(15);
    s.NoPen();
    s.Brush(kWhite);
    s.Ellipse(at, TSketch::Px(8), TSketch::Px(8));
    s.Text({at.x, at.y + TSketch::Px(4.6)}, letters[i], 12.5, kInk);
  }
}

TPicture DiagonalLayout() {
  TLayout l;
  Block(l, l.right);
  P c{(l.left + l.right) / 2, (l.top + l.bottom) / 2};
  P a{c.x, l.bottom}, b{l.left, c.y}, cc{c.x, l.top}, d{l.right, c.y};
  l.s.Pen(TWmfPenStyle::Solid, 1.4, kInk);
  l.s.Brush(kTop);
  l.s.Polygon({a, b, cc, d});
  l.s.Pen(TWmfPenStyle::Solid, 0.8, kDim);
  l.s.Line(a, cc);
  LayoutBadges(l.s, {a, b, cc, d}, c, {"A", "B", "C", "D"});
  MachineFront(l);
  return l.s.Finish("FoamBlockLayout_1.wmf", 160);
}

TPicture ParallelLayout() {
  TLayout l;
  Block(l, l.right);
  P c{(l.left + l.right) / 2, (l.top + l.bottom) / 2};
  double in = TSketch::Px(3);
  std::vector<P> corners{{l.left + in, l.bottom - in},
                         {l.right - in, l.bottom - in},
                         {l.right - in, l.top + in},
                         {l.left + in, l.top + in}};
  l.s.Pen(TWmfPenStyle::Solid, 1.4, kInk);
  l.s.Brush(kTop);
  l.s.Polygon(corners);
  LayoutBadges(l.s, corners, c, {"C", "B", "A", "D"});
  MachineFront(l);
  return l.s.Finish("FoamBlockLayout_2.wmf", 160);
}

TPicture NarrowLayout() {
  TLayout l;
  l.top = TSketch::Px(22);
  l.bottom = TSketch::Px(114);
  Block(l, l.right);
  double rearRight = l.left + (l.right - l.left) * 0.62;
  std::vector<P> corners{
      {l.left, l.bottom}, {l.right, l.bottom}, {rearRight, l.top}, {l.left, l.top}};
  l.s.Pen(TWmfPenStyle::Solid, 1.4, kInk);
  l.s.Brush(kTop);
  l.s.Polygon(corners);
  P c{(l.left + rearRight) / 2, (l.top + l.bottom) / 2};
  LayoutBadges(l.s, corners, c, {"C", "B", "A", "D"});
  // The two base widths: the rear one above the block, the front one below it.
  Dimension(l.s, {l.left, l.top}, {rearRight, l.top}, c, 9, "", 0);
  Dimension(l.s, {l.left, l.bottom}, {l.right, l.bottom}, c, 10, "", 0);
  MachineFront(l);
  return l.s.Finish("FoamBlockLayout_3.wmf", 160);
}

}  // namespace

std::vector<TPicture> DrawPictures() {
  std::vector<TPicture> pictures;
  pictures.push_back(EmptyPanel());
  pictures.push_back(ParallelPanel("Panel_Flat.wmf", 100, 100, 100, {24, 24, 24, 24}));
  pictures.push_back(DiagonalPanel("Panel_Gutter.wmf", 16, 46, 28));
  pictures.push_back(DiagonalPanel("Panel_Ridge.wmf", 44, 16, 52));
  pictures.push_back(ParallelPanel("Panel_Slope.wmf", 100, 100, 100, {38, 12, 12, 38}));
  pictures.push_back(ParallelPanel("Panel_DoubleSlope.wmf", 100, 100, 100, {44, 22, 10, 18}));
  pictures.push_back(
      ParallelPanel("Panel_DoubleSlopeUnregular.wmf", 100, 62, 100, {44, 22, 10, 18}));
  pictures.push_back(DiagonalLayout());
  pictures.push_back(ParallelLayout());
  pictures.push_back(NarrowLayout());
  return pictures;
}
