// Pictures exported by LibreOffice and Inkscape (see data/README.md) read as drawn: each shape of
// the source drawing is found in its colour where the drawing put it. The exports choose their
// own frame and units, so positions are measured against the red rectangle, the first shape.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "metafile/WmfReader.h"

namespace {

std::string Data(const char* name) {
  return std::string(TEST_DATA_DIR) + "/data/" + name;
}

// The box around an item's points, and its fill colour if it fills solidly.
struct Found {
  TWmfRect box;
  std::optional<TWmfColor> fill;
  std::optional<TWmfColor> stroke;
};

Found Describe(const TWmfItem& item) {
  Found f;
  auto around = [&f](const std::vector<TWmfPoint>& pts, bool first) {
    for (const TWmfPoint& p : pts) {
      if (first) {
        f.box = {p.x, p.y, p.x, p.y};
        first = false;
      }
      f.box = {std::min(f.box.left, p.x), std::min(f.box.top, p.y), std::max(f.box.right, p.x),
               std::max(f.box.bottom, p.y)};
    }
  };
  auto brush = [&f](const TWmfBrush& b) {
    if (b.style == TWmfBrushStyle::Solid) {
      f.fill = b.color;
    }
  };
  auto pen = [&f](const TWmfPen& p) {
    if (p.style != TWmfPenStyle::Null) {
      f.stroke = p.color;
    }
  };
  if (auto* line = std::get_if<TWmfPolyline>(&item)) {
    around(line->points, true);
    pen(line->pen);
  } else if (auto* poly = std::get_if<TWmfPolygons>(&item)) {
    bool first = true;
    for (const auto& ring : poly->rings) {
      around(ring, first);
      first = false;
    }
    brush(poly->brush);
    pen(poly->pen);
  } else if (auto* rect = std::get_if<TWmfRectangle>(&item)) {
    f.box = rect->rect;
    brush(rect->brush);
    pen(rect->pen);
  } else if (auto* ellipse = std::get_if<TWmfEllipse>(&item)) {
    f.box = ellipse->rect;
    brush(ellipse->brush);
    pen(ellipse->pen);
  } else if (auto* image = std::get_if<TWmfImage>(&item)) {
    f.box = image->dest;
  }
  return f;
}

// Maps frame units to the source drawing's units, from a box known in both.
struct SourceMap {
  TWmfRect known;   // in frame units
  TWmfRect source;  // the same box in the source
  TWmfPoint Point(TWmfPoint p) const {
    return {source.left + (p.x - known.left) / known.Width() * source.Width(),
            source.top + (p.y - known.top) / known.Height() * source.Height()};
  }
  TWmfRect Rect(const TWmfRect& r) const {
    TWmfPoint a = Point({r.left, r.top}), b = Point({r.right, r.bottom});
    return {a.x, a.y, b.x, b.y};
  }
};

struct Expected {
  const char* what;
  TWmfColor color;
  TWmfRect box;
};

// The source shapes.svg, 400 x 300.
const Expected kShapes[] = {
    {"red rectangle", {255, 0, 0}, {20, 20, 180, 120}},
    {"blue ellipse", {0, 0, 255}, {210, 20, 370, 120}},
    {"green triangle", {0, 192, 0}, {40, 160, 200, 280}},
    {"magenta polyline", {255, 0, 255}, {230, 160, 380, 280}},
};

// The box around every item drawn in the shape's colour: LibreOffice writes a wide line as
// filled pieces of its outline, so either colour and several items may make up one shape.
std::optional<Found> FindShape(const TWmfDrawing& drawing, const Expected& e) {
  std::optional<Found> shape;
  for (const TWmfItem& item : drawing.items) {
    Found f = Describe(item);
    if ((f.fill && *f.fill == e.color) || (f.stroke && *f.stroke == e.color)) {
      if (shape) {
        f.box = {std::min(f.box.left, shape->box.left), std::min(f.box.top, shape->box.top),
                 std::max(f.box.right, shape->box.right),
                 std::max(f.box.bottom, shape->box.bottom)};
      }
      shape = f;
    }
  }
  return shape;
}

// Checks every shape of shapes.svg and returns the map from frame to source units.
SourceMap ExpectShapes(const TWmfDrawing& drawing, const char* file) {
  std::optional<Found> red = FindShape(drawing, kShapes[0]);
  if (!red) {
    ADD_FAILURE() << file << ": no red rectangle";
    return {};
  }
  SourceMap toSource{red->box, kShapes[0].box};
  for (const Expected& e : kShapes) {
    std::optional<Found> f = FindShape(drawing, e);
    if (!f) {
      ADD_FAILURE() << file << ": no " << e.what;
      continue;
    }
    // Within 3 source units: the exports differ by a stroke's width and their rounding.
    TWmfRect box = toSource.Rect(f->box);
    EXPECT_NEAR(box.left, e.box.left, 3) << file << ": " << e.what;
    EXPECT_NEAR(box.top, e.box.top, 3) << file << ": " << e.what;
    EXPECT_NEAR(box.right, e.box.right, 3) << file << ": " << e.what;
    EXPECT_NEAR(box.bottom, e.box.bottom, 3) << file << ": " << e.what;
  }
  return toSource;
}

TEST(WmfForeign, LibreOfficeShapesAndText) {
  TWmfDrawing drawing = LoadWmfFile(Data("libreoffice-shapes.wmf"));
  SourceMap toSource = ExpectShapes(drawing, "libreoffice-shapes.wmf");
  auto text = std::find_if(drawing.items.begin(), drawing.items.end(),
                           [](const TWmfItem& i) { return std::holds_alternative<TWmfText>(i); });
  ASSERT_NE(text, drawing.items.end());
  const TWmfText& t = std::get<TWmfText>(*text);
  EXPECT_EQ(t.text, "AB");
  EXPECT_EQ(t.valign, TWmfVAlign::Baseline);
  TWmfPoint at = toSource.Point(t.origin);
  EXPECT_NEAR(at.x, 240, 3);
  EXPECT_NEAR(at.y, 240, 3);
  EXPECT_NEAR(toSource.Point({0, t.font.height}).y - toSource.Point({0, 0}).y, 32, 2);
}

TEST(WmfForeign, InkscapeShapes) {
  ExpectShapes(LoadWmfFile(Data("inkscape-shapes.wmf")), "inkscape-shapes.wmf");
}

TEST(WmfForeign, BitmapsOfBothProgramsShowTheirFourQuarters) {
  for (const char* name : {"libreoffice-bitmap.wmf", "inkscape-bitmap.wmf"}) {
    TWmfDrawing drawing = LoadWmfFile(Data(name));
    const TWmfImage* image = nullptr;
    for (const TWmfItem& item : drawing.items) {
      if (auto* i = std::get_if<TWmfImage>(&item)) {
        image = i;
      }
    }
    ASSERT_NE(image, nullptr) << name;
    ASSERT_EQ(image->width, 4) << name;
    ASSERT_EQ(image->height, 4) << name;
    EXPECT_EQ(image->pixels[0], 0xFFFF0000u) << name << ": top left red";
    EXPECT_EQ(image->pixels[3], 0xFF00FF00u) << name << ": top right green";
    EXPECT_EQ(image->pixels[12], 0xFF0000FFu) << name << ": bottom left blue";
    EXPECT_EQ(image->pixels[15], 0xFFFFFFFFu) << name << ": bottom right white";
    // Measured against the white square, the box around everything else.
    TWmfRect square = Describe(drawing.items.front()).box;
    for (const TWmfItem& item : drawing.items) {
      if (!std::holds_alternative<TWmfImage>(item)) {
        TWmfRect b = Describe(item).box;
        square = {std::min(square.left, b.left), std::min(square.top, b.top),
                  std::max(square.right, b.right), std::max(square.bottom, b.bottom)};
      }
    }
    TWmfRect box = SourceMap{square, {0, 0, 200, 200}}.Rect(image->dest);
    EXPECT_NEAR(box.left, 50, 3) << name;
    EXPECT_NEAR(box.top, 50, 3) << name;
    EXPECT_NEAR(box.right, 150, 3) << name;
    EXPECT_NEAR(box.bottom, 150, 3) << name;
  }
}

}  // namespace
