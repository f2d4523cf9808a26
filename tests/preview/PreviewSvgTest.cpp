#include "preview/PreviewSvg.h"

#include <gtest/gtest.h>

#include <clocale>
#include <regex>
#include <sstream>

#include "TestPrograms.h"

namespace {

using hpgl::CheckProgram;
using hpgl::DrawPreviewSvg;
using hpgl::Program;
using hpgl::ReadProgram;
using hpgl::ReadProgramFile;

std::string Draw(const Program& p, std::optional<hpgl::WorkArea> area = {},
                 const std::string& title = "job.plt") {
  return DrawPreviewSvg(p, CheckProgram(p, area), {title, area, {}});
}

// The text of the group <g id="id" ...> ... </g>, empty when there is none.
std::string Group(const std::string& svg, const std::string& id) {
  const std::size_t at = svg.find("<g id=\"" + id + "\"");
  return at == std::string::npos ? "" : svg.substr(at, svg.find("</g>", at) - at);
}

// A path's segments as (from, to) points: the lines the picture draws.
using Segment = std::pair<std::pair<double, double>, std::pair<double, double>>;
std::vector<Segment> Segments(const std::string& d) {
  std::vector<Segment> segments;
  std::istringstream in(d);
  std::string op;
  std::pair<double, double> at;
  while (in >> op) {
    std::pair<double, double> p;
    in >> p.first >> p.second;
    if (op == "L") {
      segments.push_back({at, p});
    }
    at = p;
  }
  return segments;
}

// The segments of every path of the class in group, in order.
std::vector<Segment> PathSegments(const std::string& group, const std::string& cls) {
  // Found by hand: a regular expression's match of a path of thousands of points recurses once
  // per character, past the stack of a sanitizer build.
  std::vector<Segment> segments;
  const std::string start = "<path class=\"" + cls + "\" d=\"";
  for (std::size_t at = group.find(start); at != std::string::npos; at = group.find(start, at)) {
    at += start.size();
    const std::size_t end = group.find('"', at);
    const std::vector<Segment> more = Segments(group.substr(at, end - at));
    segments.insert(segments.end(), more.begin(), more.end());
  }
  return segments;
}

// The segments the program moves along with the pen down (or up), in millimetres.
std::vector<Segment> ProgramSegments(const hpgl::Outline& o, bool penDown) {
  std::vector<Segment> segments;
  std::pair<double, double> at{o.entryX / 40.0, o.entryY / 40.0};
  for (const hpgl::Move& m : o.moves) {
    if (!m.hasPoint) {
      continue;
    }
    const std::pair<double, double> p{m.x / 40.0, m.y / 40.0};
    if (m.penDown == penDown) {
      segments.push_back({at, p});
    }
    at = p;
  }
  return segments;
}

// The picture draws exactly the program's moves, pen-down and pen-up apart, per outline.
TEST(PreviewSvg, DrawsTheProgramsOwnCoordinates) {
  const auto expectSameGeometry = [](const Program& p, const std::string& svg) {
    for (std::size_t k = 0; k < p.outlines.size(); ++k) {
      const std::string group = Group(svg, "outline-" + std::to_string(k + 1));
      EXPECT_NE(group.find("data-pen=\"" + std::to_string(p.outlines[k].pen) + "\""),
                std::string::npos);
      EXPECT_EQ(PathSegments(group, "cut"), ProgramSegments(p.outlines[k], true));
      EXPECT_EQ(PathSegments(group, "travel"), ProgramSegments(p.outlines[k], false));
    }
    EXPECT_EQ(Group(svg, "outline-" + std::to_string(p.outlines.size() + 1)), "");
  };
  for (const char* file : {"style-relative.plt", "damaged-left-of-zero.plt"}) {
    SCOPED_TRACE(file);
    const Program p = ReadProgramFile(Fixture(file));
    expectSameGeometry(p, Draw(p));
  }
  // Long outlines go into several paths, and the pieces still join up: 2500 cutting moves, a
  // pen-up move, 1600 cutting moves give paths of 2000, 2000 (across the pen-up move) and 100
  // lines.
  std::string zigzag = "SP4;PU0,0;PD0,40";
  for (int i = 1; i < 2500; ++i) {
    zigzag += "," + std::to_string(i) + "," + std::to_string(i % 2 * 40);
  }
  zigzag += ";PU3000,0;PD3000,40";
  for (int i = 1; i < 1600; ++i) {
    zigzag += "," + std::to_string(3000 + i) + "," + std::to_string(i % 2 * 40);
  }
  {
    SCOPED_TRACE("zigzag");
    const Program p = ReadProgram(zigzag);
    const std::string svg = Draw(p);
    expectSameGeometry(p, svg);
    const std::string group = Group(svg, "outline-1");
    const std::regex cutPath("<path class=\"cut\"");
    EXPECT_EQ(std::distance(std::sregex_iterator(group.begin(), group.end(), cutPath),
                            std::sregex_iterator()),
              3);
  }
  for (const ExampleProgram& e : ExamplePrograms()) {
    SCOPED_TRACE(e.name);
    const Program p = ReadProgram(e.text);
    expectSameGeometry(p, Draw(p, e.workArea));
  }
}

// The group that holds the outlines maps program millimetres (y up) onto the page (y down) at
// one scale, and the work area is drawn at that same scale from the machine's zero.
TEST(PreviewSvg, OutlinesAndWorkAreaShareOneFrame) {
  const Program p = ReadProgramFile(Fixture("flat-top-space.plt"));
  const std::string svg = Draw(p, hpgl::WorkArea{1002, 207});
  std::smatch m;
  ASSERT_TRUE(std::regex_search(svg, m,
                                std::regex("<g transform=\"translate\\(([-0-9.e]+) ([-0-9.e]+)\\) "
                                           "scale\\(([-0-9.e]+) ([-0-9.e]+)\\)\">")));
  const double tx = std::stod(m[1]), ty = std::stod(m[2]);
  const double sx = std::stod(m[3]), sy = std::stod(m[4]);
  EXPECT_EQ(sx, -sy);
  EXPECT_GT(sx, 0);
  ASSERT_TRUE(
      std::regex_search(svg, m,
                        std::regex("<rect x=\"([-0-9.]+)\" y=\"([-0-9.]+)\" width=\"([-0-9.]+)\" "
                                   "height=\"([-0-9.]+)\" fill=\"#eef1f4\"")));
  EXPECT_NEAR(std::stod(m[1]), tx, 0.001);             // left side at x = 0
  EXPECT_NEAR(std::stod(m[2]), ty - 207 * sx, 0.001);  // top at y = 207
  EXPECT_NEAR(std::stod(m[3]), 1002 * sx, 0.001);
  EXPECT_NEAR(std::stod(m[4]), 207 * sx, 0.001);
  // Everything drawn lies in the plot box: the page's width less the margins for this wide
  // drawing (24..285 x 24..124 mm).
  for (const auto& [x, y] : {std::pair{0.0, 0.0}, std::pair{1002.0, 212.0}}) {
    EXPECT_GE(tx + x * sx, 24);
    EXPECT_LE(tx + x * sx, 285);
    EXPECT_GE(ty - y * sx, 24);
    EXPECT_LE(ty - y * sx, 124);
  }
  EXPECT_GT(1002 * sx, 0.9 * (285 - 24));  // and fills its width
}

TEST(PreviewSvg, ShowsTheVerdictTheFindingsAndTheFigures) {
  const std::string passed =
      Draw(ReadProgramFile(Fixture("gutter-two-layers.plt")), hpgl::WorkArea{709.107, 252});
  EXPECT_NE(passed.find(">CHECK PASSED<"), std::string::npos);
  EXPECT_NE(passed.find(">front (pen 4)<"), std::string::npos);
  EXPECT_NE(passed.find(">rear (pen 3)<"), std::string::npos);
  EXPECT_NE(passed.find(">statements 41 to 60, 19 of them moves<"), std::string::npos);
  EXPECT_NE(passed.find(">work area 709.107 x 252 mm<"), std::string::npos);

  const std::string failed = Draw(ReadProgramFile(Fixture("damaged-below-zero.plt")));
  EXPECT_NE(failed.find(">CHECK FAILED<"), std::string::npos);
  EXPECT_NE(failed.find(">statement 14: Front (pen 4) goes to (2, -1) mm, below the machine's "
                        "zero<"),
            std::string::npos);
  EXPECT_NE(failed.find(">work area: no project given<"), std::string::npos);
  EXPECT_NE(failed.find("font-weight=\"bold\">statement 14<"), std::string::npos);  // the ring
}

TEST(PreviewSvg, EscapesTextFromTheProgramAndTheTitle) {
  const std::string svg = Draw(ReadProgram("SP4;PU0,0;XX<&\"1\">;"), {}, "a&b <c>.plt");
  EXPECT_NE(svg.find(">a&amp;b &lt;c&gt;.plt<"), std::string::npos);
  EXPECT_NE(svg.find("'XX&lt;&amp;&quot;1&quot;&gt;' is not a statement"), std::string::npos);
  EXPECT_EQ(svg.find("<&"), std::string::npos);
  EXPECT_EQ(svg.find("<c>"), std::string::npos);

  // A file name may hold any bytes; the document keeps to well-formed UTF-8 without controls:
  // a control shows as '?', each piece that is no UTF-8 character as one U+FFFD.
  const auto fffd = [](std::size_t n) {
    std::string out;
    while (n-- > 0) {
      out += "\xEF\xBF\xBD";
    }
    return out;
  };
  const struct {
    const char* name;
    std::string title;
    std::string shown;
  } kOddNames[] = {
      {"letters kept", "rynna-\xC5\x9B\xF0\x9F\x98\x80", "rynna-\xC5\x9B\xF0\x9F\x98\x80"},
      {"a control", "a\x01", "a?"},
      {"a lead byte without its rest", "a\xC5-", "a" + fffd(1) + "-"},
      {"a byte that never leads", "a\xFF\x80", "a" + fffd(2)},
      {"a cut-off character, one piece", "a\xE2\x82.", "a" + fffd(1) + "."},
      // Each of these goes wrong at its second byte at the latest, so every byte is a piece.
      {"overlong forms", "\xC0\xAF\xE0\x80\xAF\xF0\x80\x80\xAF", fffd(9)},
      {"a surrogate", "\xED\xA0\x80", fffd(3)},
      {"above U+10FFFF", "\xF4\x90\x80\x80\xF5\x80", fffd(6)},
  };
  for (const auto& c : kOddNames) {
    const std::string odd = Draw(ReadProgram(""), {}, c.title + ".plt");
    EXPECT_NE(odd.find(">" + c.shown + ".plt<"), std::string::npos) << c.name;
  }
  // A long title loses its start, never half a character: wherever the cut falls near the
  // two bytes of the letter, the letter goes or stays as a whole.
  for (std::size_t before = 20; before < 90; ++before) {
    const std::string name = std::string(before, 'a') + "\xC5\x9B" + std::string(40, 'b') + ".plt";
    const std::string svg = Draw(ReadProgram(""), {}, name);
    std::smatch title;
    ASSERT_TRUE(std::regex_search(svg, title, std::regex(">(\\.\\.\\.[^<]*)<")));
    const std::string shown = title[1];
    EXPECT_LT(shown.size(), name.size()) << before;
    EXPECT_EQ(shown.substr(shown.size() - 44), std::string(40, 'b') + ".plt") << before;
    const std::size_t letter = shown.find('\xC5');
    EXPECT_TRUE(letter == std::string::npos || shown.compare(letter, 2, "\xC5\x9B") == 0) << before;
    EXPECT_EQ(shown.find('\x9B'), letter == std::string::npos ? std::string::npos : letter + 1)
        << before;
  }
}

TEST(PreviewSvg, EmptyAndDegenerateProgramsStillDraw) {
  for (const char* text : {"", "IN;", "SP4;PU0,0;", "SP4;PD-2147483648,2147483647;"}) {
    const std::string svg = Draw(ReadProgram(text));
    EXPECT_EQ(svg.rfind("</svg>\n"), svg.size() - 7) << text;
    EXPECT_EQ(svg.find("nan"), std::string::npos) << text;
    EXPECT_EQ(svg.find("inf"), std::string::npos) << text;
  }
}

// The window sets the process's locale from the environment; the picture must not change.
TEST(PreviewSvg, SameBytesInACommaLocale) {
  const Program p = ReadProgramFile(Fixture("gutter-two-layers.plt"));
  const std::string before = Draw(p, hpgl::WorkArea{709.107, 252});
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  // The Polish locale by its Linux name (make deps generates it) or its Windows name: the C
  // run-time of Windows knows no UTF-8 locale names.
  const bool polish = std::setlocale(LC_ALL, "pl_PL.UTF-8") != nullptr ||
                      std::setlocale(LC_ALL, "Polish_Poland.1250") != nullptr;
  ASSERT_TRUE(polish) << "make deps generates pl_PL.UTF-8";
  const std::string point = std::localeconv()->decimal_point;
  const std::string after = Draw(p, hpgl::WorkArea{709.107, 252});
  std::setlocale(LC_ALL, saved.c_str());
  EXPECT_EQ(point, ",");
  EXPECT_EQ(after, before);
}

}  // namespace
