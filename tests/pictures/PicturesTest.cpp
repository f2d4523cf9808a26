// The ten pictures: the build writes them all, each reads back as drawn, and a third-party
// renderer (libwmf's wmf2svg) draws the same shapes at the same places.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "Pictures.h"
#include "locale/LocalStr.h"
#include "locale/PanelInfo.h"
#include "metafile/WmfReader.h"

namespace {

const std::string kImages = std::string(TECTOPLAN_BINARY_DIR) + "/images/";

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Pictures, TheBuildWritesTheTenCatalogueFilesBesideTheProgram) {
  // Every picture the catalogue names, and no other.
  LoadEnglishStr();
  InitPanelInfos();
  std::set<std::string> catalogue;
  for (const TRoofPanelInfo& row : PanelInfos) {
    if (!row.PanelImage.empty()) {
      catalogue.insert(row.PanelImage);
      catalogue.insert(row.BlockLayoutImage);
    }
  }
  ASSERT_EQ(catalogue.size(), 10u);
  std::set<std::string> drawn;
  for (const TPicture& p : DrawPictures()) {
    drawn.insert(p.fileName);
    EXPECT_EQ(p.shownSize, p.fileName.rfind("Panel_", 0) == 0 ? 360 : 160) << p.fileName;
    EXPECT_EQ(ReadBytes(kImages + p.fileName), p.bytes) << p.fileName << " in " << kImages;
  }
  EXPECT_EQ(drawn, catalogue);
}

TEST(Pictures, EachReadsBackAsDrawn) {
  for (const TPicture& p : DrawPictures()) {
    TWmfDrawing read = ReadWmf(p.bytes);
    EXPECT_EQ(read.frame, (TWmfRect{0, 0, p.shownSize * 10.0, p.shownSize * 10.0})) << p.fileName;
    ASSERT_EQ(read.items.size(), p.drawn.items.size()) << p.fileName;
    for (std::size_t i = 0; i < read.items.size(); ++i) {
      EXPECT_EQ(read.items[i], p.drawn.items[i]) << p.fileName << " item " << i;
    }
    // A picture for a workshop wall, not a blank: panels have faces and four corner letters.
    std::size_t letters = std::count_if(read.items.begin(), read.items.end(), [](auto& item) {
      auto* t = std::get_if<TWmfText>(&item);
      return t && t->text.size() == 1 && t->text[0] >= 'A' && t->text[0] <= 'D';
    });
    EXPECT_EQ(letters, p.fileName == "Panel_Empty.wmf" ? 0u : 4u) << p.fileName;
  }
}

// ---- wmf2svg ----

struct SvgElement {
  std::string tag;
  std::map<std::string, std::string> attributes;
  std::string text;
  std::vector<TWmfPoint> points;
};

std::vector<SvgElement> ParseSvg(const std::string& svg) {
  std::vector<SvgElement> elements;
  static const std::regex element(R"(<(polygon|polyline|ellipse|rect|text)\b([^>]*)>)");
  static const std::regex attribute(R"re(([\w-]+)="([^"]*)")re");
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), element);
       it != std::sregex_iterator(); ++it) {
    SvgElement e;
    e.tag = (*it)[1];
    std::string attrs = (*it)[2];
    for (auto a = std::sregex_iterator(attrs.begin(), attrs.end(), attribute);
         a != std::sregex_iterator(); ++a) {
      e.attributes[(*a)[1]] = (*a)[2];
    }
    if (e.tag == "text") {
      std::size_t start = static_cast<std::size_t>(it->position() + it->length());
      e.text = svg.substr(start, svg.find("</text>", start) - start);
      e.text.erase(std::remove_if(e.text.begin(), e.text.end(), ::isspace), e.text.end());
    }
    std::istringstream points(e.attributes["points"]);
    double x, y;
    char comma;
    while (points >> x >> comma >> y) {
      e.points.push_back({x, y});
    }
    elements.push_back(std::move(e));
  }
  return elements;
}

double Number(const SvgElement& e, const char* name) {
  return std::stod(e.attributes.at(name));
}

// A number from the element's style, e.g. "font-size".
double StyleNumber(const SvgElement& e, const std::string& name) {
  const std::string& style = e.attributes.at("style");
  std::size_t at = style.find(name + ":");
  if (at == std::string::npos) {
    ADD_FAILURE() << "no " << name << " in " << style;
    return 0;
  }
  return std::stod(style.substr(at + name.size() + 1));
}

bool Stroked(const SvgElement& e) {
  return e.attributes.at("style").find("stroke:none") == std::string::npos;
}

// One axis of the renderer's mapping, fitted by least squares: svg = scale * frame + offset.
struct Axis {
  double sum = 0, sumSq = 0, sumSvg = 0, sumProd = 0, n = 0;
  void Add(double frame, double svg) {
    sum += frame;
    sumSq += frame * frame;
    sumSvg += svg;
    sumProd += frame * svg;
    n += 1;
  }
  double scale = 1, offset = 0;
  void Fit() {
    scale = (n * sumProd - sum * sumSvg) / (n * sumSq - sum * sum);
    offset = (sumSvg - scale * sum) / n;
  }
  double operator()(double frame) const { return scale * frame + offset; }
};

std::string RunWmf2Svg(const std::string& wmf) {
  std::string svg = ::testing::TempDir() + "picture.svg";
  std::string command = "wmf2svg -o '" + svg + "' '" + wmf + "' 2>&1";
  int status = std::system(command.c_str());
  if (status != 0) {
    ADD_FAILURE() << command << " exited with " << status
                  << " (wmf2svg comes with Debian's libwmf-bin)";
    return "";
  }
  std::ifstream in(svg);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The outline points of a polygon, a polyline or a rectangle (its two corners), in frame units
// as drawn and in SVG units as rendered.
std::vector<TWmfPoint> Outline(const TWmfItem& item) {
  if (auto* poly = std::get_if<TWmfPolygons>(&item)) {
    return poly->rings.at(0);
  }
  if (auto* line = std::get_if<TWmfPolyline>(&item)) {
    return line->points;
  }
  if (auto* rect = std::get_if<TWmfRectangle>(&item)) {
    return {{rect->rect.left, rect->rect.top}, {rect->rect.right, rect->rect.bottom}};
  }
  return {};
}

std::vector<TWmfPoint> Outline(const SvgElement& e) {
  if (e.tag == "rect") {
    double x = Number(e, "x"), y = Number(e, "y");
    return {{x, y}, {x + Number(e, "width"), y + Number(e, "height")}};
  }
  return e.points;
}

const char* SvgTag(const TWmfItem& item) {
  constexpr const char* tags[] = {"polyline", "polygon", "rect", "ellipse", "arc", "text", "image"};
  return tags[item.index()];
}

// wmf2svg scales the picture's drawn extent onto a page of its own, so the mapping from frame
// to SVG units is fitted from the outlines' points; then every shape must lie where it was
// drawn, to within half an SVG pixel.
TEST(Pictures, Wmf2SvgDrawsTheSameShapesWhereTheyWereDrawn) {
  const double tolerance = 0.5;
  for (const TPicture& p : DrawPictures()) {
    SCOPED_TRACE(p.fileName);
    std::vector<SvgElement> svg = ParseSvg(RunWmf2Svg(kImages + p.fileName));
    const auto& items = p.drawn.items;
    ASSERT_EQ(svg.size(), items.size());
    Axis ax, ay;
    for (std::size_t i = 0; i < items.size(); ++i) {
      ASSERT_EQ(svg[i].tag, SvgTag(items[i])) << "item " << i;
      std::vector<TWmfPoint> drawn = Outline(items[i]), shown = Outline(svg[i]);
      ASSERT_EQ(shown.size(), drawn.size()) << "item " << i;
      for (std::size_t k = 0; k < drawn.size(); ++k) {
        ax.Add(drawn[k].x, shown[k].x);
        ay.Add(drawn[k].y, shown[k].y);
      }
    }
    ax.Fit();
    ay.Fit();
    ASSERT_GT(ax.scale, 0);
    ASSERT_GT(ay.scale, 0);
    for (std::size_t i = 0; i < items.size(); ++i) {
      const SvgElement& e = svg[i];
      std::vector<TWmfPoint> drawn = Outline(items[i]), shown = Outline(e);
      for (std::size_t k = 0; k < drawn.size(); ++k) {
        EXPECT_NEAR(shown[k].x, ax(drawn[k].x), tolerance) << "item " << i << " point " << k;
        EXPECT_NEAR(shown[k].y, ay(drawn[k].y), tolerance) << "item " << i << " point " << k;
      }
      if (auto* poly = std::get_if<TWmfPolygons>(&items[i])) {
        EXPECT_EQ(Stroked(e), poly->pen.style != TWmfPenStyle::Null) << "item " << i;
      } else if (auto* ellipse = std::get_if<TWmfEllipse>(&items[i])) {
        const TWmfRect& r = ellipse->rect;
        EXPECT_NEAR(Number(e, "cx"), ax((r.left + r.right) / 2), tolerance) << "item " << i;
        EXPECT_NEAR(Number(e, "cy"), ay((r.top + r.bottom) / 2), tolerance) << "item " << i;
        EXPECT_NEAR(Number(e, "rx"), ax.scale * r.Width() / 2, tolerance) << "item " << i;
        EXPECT_NEAR(Number(e, "ry"), ay.scale * r.Height() / 2, tolerance) << "item " << i;
        EXPECT_EQ(Stroked(e), ellipse->pen.style != TWmfPenStyle::Null) << "item " << i;
      } else if (auto* text = std::get_if<TWmfText>(&items[i])) {
        EXPECT_EQ(e.text, text->text) << "item " << i;
        // The baseline lies where it was drawn; a centred letter starts left of its centre by
        // about half its width, which depends on the renderer's font.
        static const std::regex translate(R"(matrix\([^)]*\s([-\d.]+)\s+([-\d.]+)\))");
        std::smatch m;
        const std::string& transform = e.attributes.at("transform");
        ASSERT_TRUE(std::regex_search(transform, m, translate)) << transform;
        double x = std::stod(m[1]), y = std::stod(m[2]);
        double fontSize = StyleNumber(e, "font-size");
        EXPECT_NEAR(y, ay(text->origin.y), tolerance) << "item " << i;
        EXPECT_LT(x, ax(text->origin.x)) << "item " << i;
        EXPECT_GT(x, ax(text->origin.x) - fontSize) << "item " << i;
        EXPECT_NEAR(fontSize, ay.scale * text->font.height, 0.5 * fontSize) << "item " << i;
      }
    }
  }
}

}  // namespace
