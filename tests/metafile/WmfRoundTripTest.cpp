// What TWmfWriter writes, ReadWmf gives back as the same primitives, with the graphics state the
// records set up applied.
#include <gtest/gtest.h>

#include <functional>

#include "WmfTestFiles.h"
#include "metafile/WmfFormat.h"
#include "metafile/WmfReader.h"
#include "metafile/WmfWriter.h"

namespace {

const TWmfColor kBlack{0, 0, 0}, kWhite{255, 255, 255}, kRed{255, 0, 0}, kBlue{0, 0, 255};
const TWmfPen kDefaultPen{TWmfPenStyle::Solid, 0, kBlack};
const TWmfBrush kDefaultBrush{TWmfBrushStyle::Solid, kWhite};

using Pts = std::vector<TWmfPoint16>;

struct RoundTripCase {
  const char* name;
  std::function<void(TWmfWriter&)> draw;
  std::vector<TWmfItem> expected;
};

TWmfFont DefaultFont() {
  TWmfFont font;
  font.height = 1440 * 12 / 72.0;  // 12 points at the frame's 1440 units an inch
  return font;
}

TWmfText Text(TWmfPoint origin, std::string text) {
  TWmfText t;
  t.origin = origin;
  t.text = std::move(text);
  t.font = DefaultFont();
  t.opaque = true;
  return t;
}

const RoundTripCase kCases[] = {
    {"polyline with a dashed red pen",
     [](TWmfWriter& w) {
       w.SelectObject(w.CreatePen(TWmfPenStyle::Dash, 10, kRed));
       w.Polyline(Pts{{10, 20}, {30, 40}, {50, 20}});
     },
     {TWmfPolyline{{{10, 20}, {30, 40}, {50, 20}}, {TWmfPenStyle::Dash, 10, kRed}}}},
    {"moves and lines draw from the current position",
     [](TWmfWriter& w) {
       w.MoveTo(5, 5);
       w.LineTo(50, 5);
       w.LineTo(50, 60);
     },
     {TWmfPolyline{{{5, 5}, {50, 5}}, kDefaultPen},
      TWmfPolyline{{{50, 5}, {50, 60}}, kDefaultPen}}},
    {"polygon, winding rule, hatched brush on a transparent background",
     [](TWmfWriter& w) {
       w.SelectObject(w.CreateBrush(TWmfBrushStyle::Hatched, kBlue, TWmfHatch::DiagCross));
       w.SetBkMode(false);
       w.SetPolyFillMode(true);
       w.Polygon(Pts{{100, 100}, {200, 100}, {150, 180}});
     },
     {TWmfPolygons{{{{100, 100}, {200, 100}, {150, 180}}},
                   kDefaultPen,
                   {TWmfBrushStyle::Hatched, kBlue, TWmfHatch::DiagCross, false, kWhite},
                   true}}},
    {"poly-polygon with a hole, alternate rule, null pen",
     [](TWmfWriter& w) {
       w.SelectObject(w.CreatePen(TWmfPenStyle::Null, 0, kBlack));
       w.PolyPolygon({{{0, 0}, {100, 0}, {100, 100}, {0, 100}}, {{10, 10}, {20, 10}, {20, 20}}});
     },
     {TWmfPolygons{{{{0, 0}, {100, 0}, {100, 100}, {0, 100}}, {{10, 10}, {20, 10}, {20, 20}}},
                   {TWmfPenStyle::Null, 0, kBlack},
                   kDefaultBrush,
                   false}}},
    {"rectangle, rounded rectangle and ellipse with a null brush",
     [](TWmfWriter& w) {
       w.SelectObject(w.CreateBrush(TWmfBrushStyle::Null, kBlack));
       w.Rectangle(100, 200, 300, 400);
       w.RoundRect(100, 200, 300, 400, 40, 20);
       w.Ellipse(300, 400, 100, 200);  // corners in either order
     },
     {TWmfRectangle{{100, 200, 300, 400}, 0, 0, kDefaultPen, {TWmfBrushStyle::Null, kBlack}},
      TWmfRectangle{{100, 200, 300, 400}, 20, 10, kDefaultPen, {TWmfBrushStyle::Null, kBlack}},
      TWmfEllipse{{100, 200, 300, 400}, kDefaultPen, {TWmfBrushStyle::Null, kBlack}}}},
    {"arcs run counter-clockwise between the rays through their two points",
     [](TWmfWriter& w) {
       w.Arc(0, 0, 200, 100, {200, 50}, {100, 0});   // three o'clock to twelve
       w.Pie(0, 0, 200, 100, {100, 0}, {200, 50});   // twelve round to three
       w.Chord(0, 0, 200, 100, {200, 0}, {200, 0});  // equal rays: the whole ellipse
       w.Arc(0, 0, 200, 100, {0, 100}, {200, 100});  // rays at 45 degrees of the parameter
     },
     {TWmfArc{TWmfArcKind::Arc, {0, 0, 200, 100}, 0, 90, kDefaultPen, kDefaultBrush},
      TWmfArc{TWmfArcKind::Pie, {0, 0, 200, 100}, 90, 270, kDefaultPen, kDefaultBrush},
      TWmfArc{TWmfArcKind::Chord, {0, 0, 200, 100}, 45, 360, kDefaultPen, kDefaultBrush},
      TWmfArc{TWmfArcKind::Arc, {0, 0, 200, 100}, 225, 90, kDefaultPen, kDefaultBrush}}},
    {"text with font, colour, alignment and background mode",
     [](TWmfWriter& w) {
       w.SelectObject(w.CreateFont(-120, 700, true, "Arial", 900));
       w.SetTextColor(kRed);
       w.SetTextAlign(wmf::kTaCenter | wmf::kTaBaseline);
       w.SetBkMode(false);
       w.TextOut(500, 400, "AB");
     },
     {TWmfText{{500, 400},
               "AB",
               {120, 700, true, false, false, 90, "Arial"},
               kRed,
               TWmfHAlign::Center,
               TWmfVAlign::Baseline,
               false,
               kWhite,
               {}}}},
    {"a positive font height is the cell, of which the em is four fifths",
     [](TWmfWriter& w) {
       w.SelectObject(w.CreateFont(100, 400, false, "Serif"));
       w.SetTextAlign(wmf::kTaRight | wmf::kTaBottom);
       w.TextOut(10, 20, "x");
     },
     {TWmfText{{10, 20},
               "x",
               {80, 400, false, false, false, 0, "Serif"},
               kBlack,
               TWmfHAlign::Right,
               TWmfVAlign::Bottom,
               true,
               kWhite,
               {}}}},
    {"text at the current position with the update flag",
     [](TWmfWriter& w) {
       w.MoveTo(70, 80);
       w.SetTextAlign(wmf::kTaUpdateCp);
       w.TextOut(0, 0, "A");
     },
     {Text({70, 80}, "A")}},
    {"extended text: opaque box, advances, Central European characters",
     [](TWmfWriter& w) {
       w.SelectObject(w.CreateFont(0, 400, false, "", 0, wmf::kEastEuropeCharset));
       w.SetBkColor({255, 255, 0});
       TWmfPoint16 tl{10, 10}, br{200, 60};
       w.ExtTextOut(20, 50, "\xB3\xF3\xBF", std::vector<int>{60, 70, 80}, &tl, &br);
     },
     {TWmfRectangle{{10, 10, 200, 60},
                    0,
                    0,
                    {TWmfPenStyle::Null, 0, kBlack},
                    {TWmfBrushStyle::Solid, {255, 255, 0}, TWmfHatch::Horizontal, false, kWhite}},
      [] {
        TWmfText t = Text({20, 50}, "\xC5\x82\xC3\xB3\xC5\xBC");  // łóż
        t.background = {255, 255, 0};
        t.advances = {60, 70, 80};
        return t;
      }()}},
    {"bitmap stretched onto its rectangle",
     [](TWmfWriter& w) {
       w.StretchDib(100, 100, 200, 100, 2, 2,
                    std::vector<std::uint32_t>{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF});
     },
     {TWmfImage{{100, 100, 300, 200}, 2, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF}}}},
    {"restoring a saved state brings back its pen",
     [](TWmfWriter& w) {
       w.SelectObject(w.CreatePen(TWmfPenStyle::Solid, 4, kRed));
       w.SaveDC();
       w.SelectObject(w.CreatePen(TWmfPenStyle::Solid, 8, kBlue));
       w.RestoreDC(-1);
       w.Polyline(Pts{{0, 0}, {1, 1}});
       w.SaveDC();
       w.SaveDC();
       w.SelectObject(w.CreatePen(TWmfPenStyle::Dot, 1, kBlue));
       w.RestoreDC(1);  // by number, from the first saved state
       w.Polyline(Pts{{0, 0}, {2, 2}});
     },
     {TWmfPolyline{{{0, 0}, {1, 1}}, {TWmfPenStyle::Solid, 4, kRed}},
      TWmfPolyline{{{0, 0}, {2, 2}}, {TWmfPenStyle::Solid, 4, kRed}}}},
    {"a deleted object cannot be selected and its slot is used again",
     [](TWmfWriter& w) {
       int red = w.CreatePen(TWmfPenStyle::Solid, 4, kRed);
       w.DeleteObject(red);
       w.SelectObject(red);
       w.Polyline(Pts{{0, 0}, {1, 1}});
       if (w.CreatePen(TWmfPenStyle::Solid, 6, kBlue) != red) {
         throw std::logic_error("slot not reused");
       }
       w.SelectObject(red);
       w.Polyline(Pts{{0, 0}, {1, 1}});
     },
     {TWmfPolyline{{{0, 0}, {1, 1}}, kDefaultPen},
      TWmfPolyline{{{0, 0}, {1, 1}}, {TWmfPenStyle::Solid, 6, kBlue}}}},
    {"a window half the frame's size doubles coordinates and pen widths",
     [](TWmfWriter& w) {
       w.SetWindowOrg(100, 100);
       w.SetWindowExt(500, 400);
       w.SelectObject(w.CreatePen(TWmfPenStyle::Solid, 10, kBlack));
       w.Polyline(Pts{{100, 100}, {600, 500}});
     },
     {TWmfPolyline{{{0, 0}, {1000, 800}}, {TWmfPenStyle::Solid, 20, kBlack}}}},
    {"a viewport maps the window onto part of the frame",
     [](TWmfWriter& w) {
       w.SetViewportOrg(100, 0);
       w.SetViewportExt(500, 400);
       w.Polyline(Pts{{0, 0}, {1000, 800}});
     },
     {TWmfPolyline{{{100, 0}, {600, 400}}, kDefaultPen}}},
    {"isotropic mapping keeps the smaller scale on both axes",
     [](TWmfWriter& w) {
       w.SetMapMode(wmf::kMmIsotropic);
       w.SetWindowExt(1000, 400);
       w.Polyline(Pts{{0, 0}, {1000, 400}});
     },
     {TWmfPolyline{{{0, 0}, {1000, 400}}, kDefaultPen}}},
    {"tenths of a millimetre with y upward",
     [](TWmfWriter& w) {
       w.SetMapMode(wmf::kMmLoMetric);
       w.SetViewportOrg(0, 800);
       w.Polyline(Pts{{0, 0}, {127, 127}});
     },
     {TWmfPolyline{{{0, 800}, {720, 80}}, kDefaultPen}}},
};

TEST(WmfRoundTrip, ReaderGivesBackWhatTheWriterDrew) {
  for (const RoundTripCase& c : kCases) {
    TWmfWriter writer(0, 0, 1000, 800, 1440);
    c.draw(writer);
    TWmfDrawing drawing = ReadWmf(writer.Finish());
    EXPECT_EQ(drawing.frame, (TWmfRect{0, 0, 1000, 800})) << c.name;
    ASSERT_EQ(drawing.items.size(), c.expected.size()) << c.name;
    for (std::size_t i = 0; i < c.expected.size(); ++i) {
      if (auto* arc = std::get_if<TWmfArc>(&drawing.items[i])) {
        // Angles come out of atan2; compare them to within a millionth of a degree.
        const auto& want = std::get<TWmfArc>(c.expected[i]);
        EXPECT_NEAR(arc->startDeg, want.startDeg, 1e-6) << c.name << " item " << i;
        EXPECT_NEAR(arc->sweepDeg, want.sweepDeg, 1e-6) << c.name << " item " << i;
        TWmfArc rounded = *arc;
        rounded.startDeg = want.startDeg;
        rounded.sweepDeg = want.sweepDeg;
        EXPECT_EQ(TWmfItem(rounded), c.expected[i]) << c.name << " item " << i;
        continue;
      }
      EXPECT_EQ(drawing.items[i], c.expected[i]) << c.name << " item " << i;
    }
  }
}

TEST(WmfRoundTrip, PlayingAKeptDrawingRepeatsItOnAnotherCanvas) {
  TWmfDrawing read = ReadWmf(RichSample());
  TWmfRecorder again;
  PlayDrawing(read, again);
  EXPECT_EQ(again.Drawing(), read);
  TWmfRecorder direct;
  PlayWmf(RichSample(), direct);
  EXPECT_EQ(direct.Drawing(), read);
  EXPECT_GE(read.items.size(), 12u);
}

TEST(WmfRoundTrip, WithoutPlaceableHeaderTheFrameIsTheFilesWindow) {
  TWmfWriter writer(0, 0, 1000, 800, 1440);
  writer.Polyline(Pts{{0, 0}, {500, 400}, {1000, 800}});
  TBytes file = writer.Finish();
  file.erase(file.begin(), file.begin() + wmf::kPlaceableSize);
  TWmfDrawing drawing = ReadWmf(file);
  // The window (0,0)-(1000,800) is the frame: the middle point lies in the frame's middle.
  const auto& line = std::get<TWmfPolyline>(drawing.items.at(0));
  const TWmfRect& f = drawing.frame;
  EXPECT_DOUBLE_EQ((line.points[1].x - f.left) / f.Width(), 0.5);
  EXPECT_DOUBLE_EQ((line.points[1].y - f.top) / f.Height(), 0.5);
  EXPECT_DOUBLE_EQ((line.points[2].x - f.left) / f.Width(), 1.0);
}

TEST(WmfRoundTrip, WithoutPlaceableHeaderOrWindowTheFrameIsTheDrawingsBounds) {
  TBytes file = Join({Header(0), Rec(wmf::kSetMapMode, {wmf::kMmText}),
                      Rec(wmf::kPolyline, {2, 10, 20, 110, 70}),
                      Rec(wmf::kRectangle, {90, 60, 40, 30}), Eof()});
  TWmfDrawing drawing = ReadWmf(file);
  EXPECT_EQ(drawing.frame, (TWmfRect{10, 20, 110, 90}));
  EXPECT_EQ(std::get<TWmfPolyline>(drawing.items.at(0)).points,
            (std::vector<TWmfPoint>{{10, 20}, {110, 70}}));
}

TEST(WmfRoundTrip, RecordsTheReaderDoesNotDrawAreSkippedBySize) {
  TBytes file = Join({Placeable(), Header(0), Rec(0x0626, {15, 4, 1, 2, 3, 4}),  // escape
                      Rec(0x0416, {800, 1000, 0, 0}),                            // clip
                      Rec(wmf::kPolyline, {2, 1, 2, 3, 4}), Eof()});
  TWmfDrawing drawing = ReadWmf(file);
  ASSERT_EQ(drawing.items.size(), 1u);
  EXPECT_EQ(std::get<TWmfPolyline>(drawing.items[0]).points,
            (std::vector<TWmfPoint>{{1, 2}, {3, 4}}));
}

}  // namespace
