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
    {"freed slots are taken lowest first, and a slot deleted twice is freed once",
     [](TWmfWriter& w) {
       const int a = w.CreatePen(TWmfPenStyle::Solid, 1, kRed);
       const int b = w.CreatePen(TWmfPenStyle::Solid, 2, kRed);
       const int c = w.CreatePen(TWmfPenStyle::Solid, 3, kRed);
       w.DeleteObject(c);
       w.DeleteObject(a);
       w.DeleteObject(a);
       if (w.CreatePen(TWmfPenStyle::Solid, 4, kBlue) != a ||
           w.CreatePen(TWmfPenStyle::Solid, 5, kBlue) != c) {
         throw std::logic_error("slots not reused lowest first");
       }
       for (const int pen : {a, b, c}) {
         w.SelectObject(pen);
         w.Polyline(Pts{{0, 0}, {1, 1}});
       }
     },
     {TWmfPolyline{{{0, 0}, {1, 1}}, {TWmfPenStyle::Solid, 4, kBlue}},
      TWmfPolyline{{{0, 0}, {1, 1}}, {TWmfPenStyle::Solid, 2, kRed}},
      TWmfPolyline{{{0, 0}, {1, 1}}, {TWmfPenStyle::Solid, 5, kBlue}}}},
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

namespace {

// A device-independent bitmap: info header, colour table (0xRRGGBB), then rows as given
// (bottom row first unless height < 0), each padded to 4 bytes.
TBytes Dib(int width, int height, int bits, const std::vector<std::uint32_t>& palette,
           const std::vector<std::vector<std::uint8_t>>& rows) {
  TBytes out;
  auto put32 = [&out](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
      out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
  };
  put32(40);
  put32(static_cast<std::uint32_t>(width));
  put32(static_cast<std::uint32_t>(height));
  out.insert(out.end(), {1, 0, static_cast<std::uint8_t>(bits), 0});
  for (int i = 0; i < 4; ++i) {
    put32(0);
  }
  put32(static_cast<std::uint32_t>(palette.size()));
  put32(0);
  for (std::uint32_t c : palette) {
    out.insert(out.end(), {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
                           static_cast<std::uint8_t>(c >> 16), 0});
  }
  for (const auto& row : rows) {
    out.insert(out.end(), row.begin(), row.end());
    out.resize((out.size() + 3) / 4 * 4, 0);
  }
  return out;
}

// A bitmap record: the parameter words, then the bitmap.
TBytes BitmapRecord(std::uint16_t function, std::initializer_list<int> words, const TBytes& dib) {
  TBytes rec = Rec(function, words);
  rec.insert(rec.end(), dib.begin(), dib.end());
  std::uint32_t size = static_cast<std::uint32_t>(rec.size() / 2);
  for (int i = 0; i < 4; ++i) {
    rec[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(size >> (8 * i));
  }
  return rec;
}

// STRETCHDIB of the whole bitmap onto (0, 0)-(100, 50).
TBytes StretchDib(int width, int height, const TBytes& dib) {
  return BitmapRecord(wmf::kStretchDib,
                      {0x0020, 0x00CC, 0, std::abs(height), width, 0, 0, 50, 100, 0, 0}, dib);
}

struct BitmapCase {
  const char* name;
  TBytes record;
  int width, height;
  std::vector<std::uint32_t> pixels;  // rows from the top
};

TEST(WmfRoundTrip, BitmapsOfEveryDepthDecode) {
  const std::uint32_t k = 0xFF000000;
  const BitmapCase cases[] = {
      {"1 bit, bottom-up, 9 pixels wide",
       StretchDib(9, 2,
                  Dib(9, 2, 1, {0x000000, 0xFFFFFF},
                      {{0b10000000, 0b10000000}, {0b01111111, 0b00000000}})),
       9,
       2,
       {k, k | 0xFFFFFF, k | 0xFFFFFF, k | 0xFFFFFF, k | 0xFFFFFF, k | 0xFFFFFF, k | 0xFFFFFF,
        k | 0xFFFFFF, k, k | 0xFFFFFF, k, k, k, k, k, k, k, k | 0xFFFFFF}},
      {"4 bits with a colour table of 3",
       StretchDib(3, 1, Dib(3, 1, 4, {0xFF0000, 0x00FF00, 0x0000FF}, {{0x21, 0x00}})),
       3,
       1,
       {k | 0x0000FF, k | 0x00FF00, k | 0xFF0000}},
      {"8 bits, an index past the table is black",
       StretchDib(2, 1, Dib(2, 1, 8, {0x123456}, {{0, 7}})),
       2,
       1,
       {k | 0x123456, k}},
      {"32 bits, top-down",
       StretchDib(2, -2,
                  Dib(2, -2, 32, {}, {{1, 2, 3, 0, 4, 5, 6, 0}, {7, 8, 9, 0, 10, 11, 12, 0}})),
       2,
       2,
       {k | 0x030201, k | 0x060504, k | 0x090807, k | 0x0C0B0A}},
      {"DIBSTRETCHBLT of the top right pixel only (rows counted from the bottom)",
       BitmapRecord(wmf::kDibStretchBlt, {0x0020, 0x00CC, 1, 1, 1, 1, 50, 100, 0, 0},
                    Dib(2, 2, 24, {}, {{1, 1, 1, 2, 2, 2}, {3, 3, 3, 4, 4, 4}})),
       1,
       1,
       {k | 0x040404}},
  };
  for (const BitmapCase& c : cases) {
    TWmfDrawing drawing = ReadWmf(Join({Placeable(), Header(0), c.record, Eof()}));
    ASSERT_EQ(drawing.items.size(), 1u) << c.name;
    EXPECT_EQ(std::get<TWmfImage>(drawing.items[0]),
              (TWmfImage{{0, 0, 100, 50}, c.width, c.height, c.pixels}))
        << c.name;
  }
}

TEST(WmfRoundTrip, BlitsWithoutBitmapAndPatternBrushesFill) {
  TBytes pattern = BitmapRecord(wmf::kDibCreatePatternBrush, {5, 0},
                                Dib(2, 1, 24, {}, {{0, 0, 200, 0, 0, 100}}));
  TBytes file =
      Join({Placeable(), Header(1), pattern, Rec(wmf::kSelectObject, {0}),
            // PATCOPY with the selected brush, then WHITENESS, then a raster
            // operation that draws nothing on its own
            Rec(wmf::kDibStretchBlt, {0x0021, 0x00F0, 0, 0, 0, 0, 0, 10, 20, 5, 6}),
            Rec(wmf::kDibStretchBlt, {0x0062, 0x00FF, 0, 0, 0, 0, 0, 10, 20, 5, 6}),
            Rec(wmf::kDibStretchBlt, {0x0046, 0x0055, 0, 0, 0, 0, 0, 10, 20, 5, 6}), Eof()});
  TWmfDrawing drawing = ReadWmf(file);
  const TWmfPen none{TWmfPenStyle::Null, 0, kBlack};
  ASSERT_EQ(drawing.items.size(), 2u);
  EXPECT_EQ(
      drawing.items[0],
      TWmfItem(TWmfRectangle{{6, 5, 26, 15}, 0, 0, none, {TWmfBrushStyle::Solid, {150, 0, 0}}}));
  EXPECT_EQ(drawing.items[1],
            TWmfItem(TWmfRectangle{{6, 5, 26, 15}, 0, 0, none, {TWmfBrushStyle::Solid, kWhite}}));
}

}  // namespace
