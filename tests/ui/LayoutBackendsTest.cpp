// The two back ends of the preview layout draw the same drawing: what the painter is asked to
// draw (recorded by a paint device of its own) and the elements of the SVG document, for the
// same layout, are the same shapes in the same order, at the same places, in the same colours.
#include <gtest/gtest.h>

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QTextItem>
#include <cmath>
#include <map>
#include <regex>
#include <sstream>

#include "hpgl/HpglReader.h"
#include "hpgl/ProgramCheck.h"
#include "preview/PreviewLayout.h"
#include "preview/PreviewSvg.h"
#include "ui/LayoutPainter.h"

namespace {

// One drawn element in target units, as either back end describes it.
struct TRecord {
  std::string kind;             // rect, line, circle, text, polyline
  std::vector<QPointF> points;  // rect: two corners; circle: centre, (r, r); text: start, end
  std::string stroke = "none";
  double strokeWidth = 0;
  std::vector<double> dashes;  // on, off: target units
  std::string fill = "none";
  std::string text;
  double size = 0;
  bool bold = false;
  std::string anchor;  // SVG only: start, middle, end
};

std::string Hex(const QColor& c) {
  return c.name().toStdString();
}

// Records each call the painter makes, mapped to the device through the painter's transform.
class TRecordingEngine : public QPaintEngine {
 public:
  TRecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
  std::vector<TRecord> records;

  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  void updateState(const QPaintEngineState&) override {}
  Type type() const override { return QPaintEngine::User; }

  void drawRects(const QRectF* rects, int count) override {
    for (int i = 0; i < count; ++i) {
      TRecord r = Styled("rect");
      r.points = {Map(rects[i].topLeft()), Map(rects[i].bottomRight())};
      records.push_back(r);
    }
  }
  void drawLines(const QLineF* lines, int count) override {
    for (int i = 0; i < count; ++i) {
      TRecord r = Styled("line");
      r.fill = "none";
      r.points = {Map(lines[i].p1()), Map(lines[i].p2())};
      records.push_back(r);
    }
  }
  void drawEllipse(const QRectF& rect) override {
    TRecord r = Styled("circle");
    r.points = {Map(rect.center()), QPointF(rect.width() / 2, rect.height() / 2) * Scale()};
    records.push_back(r);
  }
  void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
    TRecord r = Styled(mode == PolylineMode ? "polyline" : "polygon");
    r.fill = "none";
    for (int i = 0; i < count; ++i) {
      r.points.push_back(Map(points[i]));
    }
    records.push_back(r);
  }
  void drawTextItem(const QPointF& at, const QTextItem& item) override {
    TRecord r;
    r.kind = "text";
    r.text = item.text().toStdString();
    r.points = {Map(at), Map(at + QPointF(item.width(), 0))};
    r.fill = Hex(painter()->pen().color());
    r.size = item.font().pointSizeF() * Scale();  // the device has 72 dots an inch
    r.bold = item.font().bold();
    records.push_back(r);
  }
  // Neither is in a layout: recorded so that the comparison fails on them.
  void drawPath(const QPainterPath&) override { records.push_back(Styled("path")); }
  void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {
    records.push_back(Styled("pixmap"));
  }

 private:
  QPointF Map(QPointF p) const { return painter()->transform().map(p); }
  double Scale() const { return std::sqrt(std::abs(painter()->transform().determinant())); }
  TRecord Styled(const char* kind) const {
    TRecord r;
    r.kind = kind;
    const QPen pen = painter()->pen();
    if (pen.style() != Qt::NoPen) {
      r.stroke = Hex(pen.color());
      r.strokeWidth = pen.widthF() * Scale();
      if (pen.style() == Qt::CustomDashLine) {
        for (const double d : pen.dashPattern()) {
          r.dashes.push_back(d * pen.widthF() * Scale());
        }
      }
    }
    const QBrush brush = painter()->brush();
    if (brush.style() != Qt::NoBrush) {
      r.fill = Hex(brush.color());
    }
    return r;
  }
};

class TRecordingDevice : public QPaintDevice {
 public:
  TRecordingDevice(int width, int height) : width_(width), height_(height) {}
  QPaintEngine* paintEngine() const override { return &engine_; }
  const std::vector<TRecord>& Records() const { return engine_.records; }

 protected:
  int metric(PaintDeviceMetric m) const override {
    switch (m) {
      case PdmWidth:
        return width_;
      case PdmHeight:
        return height_;
      case PdmDpiX:
      case PdmDpiY:
      case PdmPhysicalDpiX:
      case PdmPhysicalDpiY:
        return 72;
      case PdmDepth:
        return 32;
      case PdmNumColors:
        return 1 << 24;
      case PdmDevicePixelRatio:
        return 1;
      case PdmDevicePixelRatioScaled:
        return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
      default:
        return 0;
    }
  }

 private:
  int width_, height_;
  mutable TRecordingEngine engine_;
};

std::vector<TRecord> Painted(const preview::TPreviewLayout& layout) {
  TRecordingDevice device(static_cast<int>(layout.target.width),
                          static_cast<int>(layout.target.height));
  QPainter p(&device);
  PaintLayout(p, layout);
  p.end();
  return device.Records();
}

std::map<std::string, std::string> Attributes(const std::string& element) {
  std::map<std::string, std::string> out;
  static const std::regex attribute(R"re(([a-z0-9-]+)="([^"]*)")re");
  for (auto it = std::sregex_iterator(element.begin(), element.end(), attribute);
       it != std::sregex_iterator(); ++it) {
    out[(*it)[1]] = (*it)[2];
  }
  return out;
}

std::vector<double> Numbers(const std::string& text) {
  std::vector<double> out;
  std::istringstream in(text);
  std::string word;
  while (in >> word) {
    if (word != "M" && word != "L") {
      out.push_back(std::stod(word));
    }
  }
  return out;
}

// The SVG's elements, one a line, as records: the outlines' paths placed by their group's
// transform.
std::vector<TRecord> Written(const std::string& svg) {
  std::vector<TRecord> records;
  std::istringstream lines(svg);
  std::string line;
  double tx = 0, ty = 0, s = 1;
  static const std::regex group(R"(<g transform="translate\(([^ ]+) ([^)]+)\) scale\(([^ ]+) )");
  while (std::getline(lines, line)) {
    std::smatch m;
    if (std::regex_search(line, m, group)) {
      tx = std::stod(m[1]), ty = std::stod(m[2]), s = std::stod(m[3]);
      continue;
    }
    const std::size_t open = line.find('<');
    const std::size_t nameEnd = line.find_first_of(" >", open);
    const std::string name = line.substr(open + 1, nameEnd - open - 1);
    if (name != "rect" && name != "line" && name != "circle" && name != "text" && name != "path") {
      continue;
    }
    const std::string tag = line.substr(0, line.find('>') + 1);
    std::map<std::string, std::string> a = Attributes(tag);
    TRecord r;
    r.kind = name == "path" ? "polyline" : name;
    const double unit = name == "path" ? s : 1;
    if (a.count("stroke") != 0 && a["stroke"] != "none") {
      r.stroke = a["stroke"];
      r.strokeWidth = std::stod(a["stroke-width"]) * unit;
      for (const double d : Numbers(a["stroke-dasharray"])) {
        r.dashes.push_back(d * unit);
      }
    }
    r.fill = a.count("fill") != 0 ? a["fill"] : "none";
    const auto d = [&](const char* key) { return std::stod(a[key]); };
    if (name == "rect") {
      r.points = {{d("x"), d("y")}, {d("x") + d("width"), d("y") + d("height")}};
    } else if (name == "line") {
      r.points = {{d("x1"), d("y1")}, {d("x2"), d("y2")}};
    } else if (name == "circle") {
      r.points = {{d("cx"), d("cy")}, {d("r"), d("r")}};
    } else if (name == "path") {
      r.fill = "none";
      const std::vector<double> xy = Numbers(a["d"]);
      for (std::size_t i = 0; i + 1 < xy.size(); i += 2) {
        r.points.emplace_back(tx + xy[i] * s, ty - xy[i + 1] * s);
      }
    } else {
      const std::size_t textStart = line.find('>') + 1;
      r.text = line.substr(textStart, line.rfind("</text>") - textStart);
      for (const auto& [entity, character] : std::vector<std::pair<std::string, std::string>>{
               {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}}) {
        for (std::size_t at = r.text.find(entity); at != std::string::npos;
             at = r.text.find(entity, at + 1)) {
          r.text.replace(at, entity.size(), character);
        }
      }
      r.size = d("font-size");
      r.bold = a["font-weight"] == "bold";
      r.anchor = a["text-anchor"];
      if (a.count("transform") != 0) {
        const std::vector<double> at =
            Numbers(std::regex_replace(a["transform"], std::regex(R"([a-z()-]+\(|\))"), " "));
        r.points = {{at[0], at[1]}, {0, -1}};  // the anchor, then upward
      } else {
        r.points = {{d("x"), d("y")}, {1, 0}};
      }
    }
    records.push_back(r);
  }
  return records;
}

bool Near(QPointF a, QPointF b, double tolerance) {
  return std::abs(a.x() - b.x()) <= tolerance && std::abs(a.y() - b.y()) <= tolerance;
}

// Compares the painter's record with the SVG's record of the same shape; empty when alike.
std::string Difference(const TRecord& painted, const TRecord& written, double tolerance) {
  std::ostringstream why;
  if (painted.kind != written.kind) {
    return "painted a " + painted.kind + ", written a " + written.kind;
  }
  if (painted.stroke != written.stroke ||
      std::abs(painted.strokeWidth - written.strokeWidth) > tolerance) {
    why << "stroke " << painted.stroke << " " << painted.strokeWidth << " against "
        << written.stroke << " " << written.strokeWidth << "; ";
  }
  if (painted.dashes.size() != written.dashes.size()) {
    why << "dashes differ; ";
  } else {
    for (std::size_t i = 0; i < painted.dashes.size(); ++i) {
      if (std::abs(painted.dashes[i] - written.dashes[i]) > tolerance) {
        why << "dash " << i << " " << painted.dashes[i] << " against " << written.dashes[i] << "; ";
      }
    }
  }
  if (painted.fill != written.fill) {
    why << "fill " << painted.fill << " against " << written.fill << "; ";
  }
  if (painted.kind == "text") {
    if (painted.text != written.text || painted.bold != written.bold ||
        std::abs(painted.size - written.size) > tolerance) {
      why << "text '" << painted.text << "' against '" << written.text << "'; ";
    }
    // The painter is given the start of the text; the SVG its anchor and direction.
    const QPointF start = painted.points[0], end = painted.points[1];
    const double k = written.anchor == "middle" ? 0.5 : written.anchor == "end" ? 1 : 0;
    const QPointF anchor = start + k * (end - start);
    const QPointF direction = (end - start) / std::max(1e-9, QLineF(start, end).length());
    // The painter measures the text with the device's font metrics, which round a little
    // differently from the width the engine is handed.
    if (!Near(anchor, written.points[0], std::max(tolerance, 0.02 * written.size)) ||
        !Near(direction, written.points[1], 1e-6)) {
      why << "placed at (" << anchor.x() << ", " << anchor.y() << ") against ("
          << written.points[0].x() << ", " << written.points[0].y() << "); ";
    }
    return why.str();
  }
  if (painted.points.size() != written.points.size()) {
    why << painted.points.size() << " points against " << written.points.size();
    return why.str();
  }
  for (std::size_t i = 0; i < painted.points.size(); ++i) {
    if (!Near(painted.points[i], written.points[i], tolerance)) {
      why << "point " << i << " (" << painted.points[i].x() << ", " << painted.points[i].y()
          << ") against (" << written.points[i].x() << ", " << written.points[i].y() << "); ";
      break;
    }
  }
  return why.str();
}

void ExpectSameDrawing(const preview::TPreviewLayout& layout) {
  const std::vector<TRecord> painted = Painted(layout);
  const std::vector<TRecord> written = Written(preview::WriteSvg(layout));
  ASSERT_GT(written.size(), 0u);
  EXPECT_EQ(painted.size(), written.size());
  // Three decimals in the SVG; the outlines' group scales its own rounding.
  const double tolerance = 2e-3 * std::max(1.0, layout.scale);
  for (std::size_t i = 0; i < std::min(painted.size(), written.size()); ++i) {
    const std::string why = Difference(painted[i], written[i], tolerance);
    ASSERT_TRUE(why.empty()) << "shape " << i << " (" << written[i].kind << " '" << written[i].text
                             << "'): " << why;
  }
}

// A two-outline program with a failure (left of zero), warnings (beyond a small work area) and
// a note (an unknown statement), so that every kind of shape is drawn.
constexpr const char* kProgram =
    "IN;SP4;PU 0 0;PD 400 0;PD 400 400;PD -40 400;PU 0 0;"
    "SP3;PU 0 0;PD 400 0;PD 400 400;PD 0 400;PU 0 0;XX;";

TEST(LayoutBackends, PainterAndSvgDrawTheSameShapes) {
  const hpgl::Program program = hpgl::ReadProgram(kProgram);
  const hpgl::WorkArea area{5, 5};
  const hpgl::CheckReport report = hpgl::CheckProgram(program, area);
  ASSERT_TRUE(report.Failed());
  const struct {
    const char* name;
    preview::TPreviewTarget target;
    TTextLanguage language;
  } cases[] = {
      {"the page", preview::PageTarget(), TTextLanguage::English},
      {"the window", preview::WindowTarget(860, 500), TTextLanguage::Polish},
      {"a small window", preview::WindowTarget(480, 320), TTextLanguage::English},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    preview::TPreviewInput input;
    input.title = "a<b>&\"c\".plt";
    input.workArea = area;
    input.advice = {"The cutting program would move left of zero: change Size A by +1 mm."};
    input.language = c.language;
    ExpectSameDrawing(preview::LayOutProgram(program, report, input, c.target));
    ExpectSameDrawing(preview::LayOutMessage(
        "No preview", {"The layer count is above the limit: PD 0 -40; stays whole"}, "PD 0 -40;",
        c.target, c.language));
  }
}

// The comparison itself finds a shape one back end leaves out.
TEST(LayoutBackends, ADroppedShapeIsFound) {
  const hpgl::Program program = hpgl::ReadProgram(kProgram);
  const hpgl::CheckReport report = hpgl::CheckProgram(program, {});
  const preview::TPreviewLayout layout =
      preview::LayOutProgram(program, report, {}, preview::PageTarget());
  preview::TPreviewLayout fewer = layout;
  fewer.above.erase(fewer.above.begin());
  EXPECT_NE(Painted(fewer).size(), Written(preview::WriteSvg(layout)).size());
  const std::vector<TRecord> painted = Painted(fewer), written = Written(preview::WriteSvg(layout));
  bool differs = false;
  for (std::size_t i = 0; i < std::min(painted.size(), written.size()); ++i) {
    differs = differs || !Difference(painted[i], written[i], 2e-3).empty();
  }
  EXPECT_TRUE(differs);
}

}  // namespace
