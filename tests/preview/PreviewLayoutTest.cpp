// The preview layout: on a screen it draws what the pixels can show (dense layers as the few
// lines the eye sees, every line a pixel or more from the others kept), every shape lies on the
// target, and its text is wrapped between words, never inside a quoted statement.
#include "preview/PreviewLayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "TestPrograms.h"
#include "base/Units.h"
#include "hpgl/HpglReader.h"
#include "hpgl/ProgramCheck.h"

namespace {

using preview::TPreviewLayout;
using preview::TShapeKind;

// An outline of `layers` horizontal cuts across 400 mm, `step` plotter units apart, joined at
// the ends as a foam cutter's zigzag.
std::string Zigzag(int layers, int step) {
  std::string text = "IN;SP4;PU 0 0;";
  for (int k = 0; k < layers; ++k) {
    const int y = k * step;
    const int from = k % 2 == 0 ? 0 : 16000, to = k % 2 == 0 ? 16000 : 0;
    text += "PD " + std::to_string(from) + " " + std::to_string(y) + ";PD " + std::to_string(to) +
            " " + std::to_string(y) + ";";
  }
  return text + "PU 0 0;";
}

TPreviewLayout LayOut(const hpgl::Program& program, const preview::TPreviewTarget& target) {
  preview::TPreviewInput input;
  input.language = TTextLanguage::English;
  return preview::LayOutProgram(program, hpgl::CheckProgram(program), input, target);
}

std::size_t PointCount(const TPreviewLayout& layout) {
  std::size_t n = 0;
  for (const auto& outline : layout.outlines) {
    for (const auto* pieces : {&outline.cut, &outline.travel}) {
      for (const auto& piece : *pieces) {
        n += piece.size();
      }
    }
  }
  return n;
}

// The pixel rows in which the layout draws a horizontal cut.
std::set<long> CutRows(const TPreviewLayout& layout) {
  std::set<long> rows;
  for (const auto& outline : layout.outlines) {
    for (const auto& piece : outline.cut) {
      for (std::size_t i = 1; i < piece.size(); ++i) {
        if (piece[i].y == piece[i - 1].y && piece[i].x != piece[i - 1].x) {
          rows.insert(std::lround(std::floor(layout.Y(piece[i].y / kPlotterUnitsPerMm))));
        }
      }
    }
  }
  return rows;
}

TEST(PreviewLayout, AScreenDrawsWhatItsPixelsCanShow) {
  const preview::TPreviewTarget screen = preview::WindowTarget(860, 500);
  // 20 000 layers in 400 mm: many to a pixel row.
  const hpgl::Program dense = hpgl::ReadProgram(Zigzag(20000, 20));
  const TPreviewLayout drawn = LayOut(dense, screen);
  const double rows = drawn.plotBottom - drawn.plotTop;
  EXPECT_LT(PointCount(drawn), 8 * static_cast<std::size_t>(rows));
  // Still from the lowest cut to the highest: the lines the eye sees are all there.
  const std::set<long> seen = CutRows(drawn);
  EXPECT_EQ(*seen.rbegin(), std::lround(std::floor(drawn.Y(0))));
  EXPECT_EQ(*seen.begin(), std::lround(std::floor(drawn.Y(19999 * 20 / kPlotterUnitsPerMm))));
  EXPECT_GT(seen.size(), static_cast<std::size_t>(0.8 * (drawn.Y(0) - drawn.Y(400))));

  // Layers a few pixels apart: every one is drawn.
  const hpgl::Program sparse = hpgl::ReadProgram(Zigzag(40, 1000));
  const TPreviewLayout apart = LayOut(sparse, screen);
  ASSERT_GT(1000 / kPlotterUnitsPerMm * apart.scale, 2.0);
  EXPECT_EQ(CutRows(apart).size(), 40u);

  // The printed page keeps every point of the program.
  const TPreviewLayout page = LayOut(dense, preview::PageTarget());
  std::size_t moves = 0;
  for (const auto& outline : dense.outlines) {
    moves += outline.moves.size();
  }
  EXPECT_GE(PointCount(page), moves);
}

bool Inside(double x, double y, const preview::TPreviewTarget& t) {
  return x >= -1e-9 && y >= -1e-9 && x <= t.width + 1e-9 && y <= t.height + 1e-9;
}

TEST(PreviewLayout, EveryShapeLiesOnTheTarget) {
  std::vector<std::pair<std::string, hpgl::Program>> programs;
  for (const ExampleProgram& e : ExamplePrograms()) {
    programs.emplace_back(e.name, hpgl::ReadProgram(e.text));
  }
  programs.emplace_back("empty", hpgl::ReadProgram(""));
  programs.emplace_back("below and left of zero",
                        hpgl::ReadProgram("IN;SP4;PU 0 0;PD -400 -40;PD 4000 4000;PU 0 0;XX;YY;"));
  for (const auto& [name, program] : programs) {
    for (const preview::TPreviewTarget& target :
         {preview::PageTarget(), preview::WindowTarget(860, 500),
          preview::WindowTarget(480, 320)}) {
      const TPreviewLayout layout = LayOut(program, target);
      for (const auto* shapes : {&layout.below, &layout.above}) {
        for (const preview::TShape& s : *shapes) {
          EXPECT_TRUE(Inside(s.x1, s.y1, target)) << name << " at " << target.width << ": "
                                                  << s.text << " (" << s.x1 << ", " << s.y1 << ")";
          if (s.kind == TShapeKind::Rect || s.kind == TShapeKind::Line) {
            EXPECT_TRUE(Inside(s.x2, s.y2, target)) << name << " at " << target.width;
          }
          if (s.kind == TShapeKind::Text && !s.vertical && s.anchor == preview::TAnchor::Start) {
            EXPECT_LE(s.x1 + preview::TextWidth(s.text, s.size, s.bold), target.width + 1e-9)
                << name << " at " << target.width << ": " << s.text;
          }
        }
      }
      EXPECT_GT(layout.plotBottom - layout.plotTop, 3 * target.em) << name;
    }
  }
}

TEST(PreviewLayout, WrapsBetweenWordsAndKeepsAQuotedStatementWhole) {
  const std::string text =
      "The cutting program would move below the machine's zero in line 36: "
      "PD 40080 -15920;";
  const double size = 10;
  for (const double width : {80.0, 150.0, 300.0, 2000.0}) {
    const std::vector<std::string> lines =
        preview::WrapText(text, width, size, false, "PD 40080 -15920;");
    std::string joined;
    for (const std::string& line : lines) {
      joined += (joined.empty() ? "" : " ") + line;
      // A line holds one word at least; more only where they fit.
      if (line.find(' ') != std::string::npos && line.find("PD 40080") == std::string::npos) {
        EXPECT_LE(preview::TextWidth(line, size, false), width) << line;
      }
    }
    EXPECT_EQ(joined, text) << width;
    const auto statement = std::count_if(lines.begin(), lines.end(), [](const std::string& l) {
      return l.find("PD 40080 -15920;") != std::string::npos;
    });
    EXPECT_EQ(statement, 1) << width;
  }
  EXPECT_EQ(preview::WrapText("", 100, 10, false), std::vector<std::string>{""});
}

}  // namespace
