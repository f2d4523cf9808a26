#include "WmfTestFiles.h"

#include "metafile/WmfFormat.h"
#include "metafile/WmfWriter.h"

namespace {

void Put16(TBytes& out, int v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(TBytes& out, std::uint32_t v) {
  Put16(out, static_cast<int>(v & 0xFFFF));
  Put16(out, static_cast<int>(v >> 16));
}

}  // namespace

TBytes RecWithSize(std::uint32_t sizeWords, std::uint16_t function,
                   std::initializer_list<int> words) {
  TBytes out;
  Put32(out, sizeWords);
  Put16(out, function);
  for (int w : words) {
    Put16(out, w);
  }
  return out;
}

TBytes Rec(std::uint16_t function, std::initializer_list<int> words) {
  return RecWithSize(static_cast<std::uint32_t>(words.size()) + 3, function, words);
}

TBytes Placeable(int left, int top, int right, int bottom, int inch) {
  TBytes out;
  Put32(out, wmf::kPlaceableKey);
  for (int w : {0, left, top, right, bottom, inch, 0, 0, 0x1234}) {
    Put16(out, w);  // the checksum is wrong on purpose: readers must tolerate it
  }
  return out;
}

TBytes Header(int objects, int type, int headerWords) {
  TBytes out;
  Put16(out, type);
  Put16(out, headerWords);
  Put16(out, 0x0300);
  Put32(out, 0);
  Put16(out, objects);
  Put32(out, 0);
  Put16(out, 0);
  return out;
}

TBytes Eof() {
  return Rec(wmf::kEof, {});
}

TBytes Join(std::initializer_list<TBytes> parts) {
  TBytes out;
  for (const TBytes& part : parts) {
    out.insert(out.end(), part.begin(), part.end());
  }
  return out;
}

TBytes WithRecords(std::initializer_list<TBytes> records, int objects) {
  TBytes file = Join({Placeable(), Header(objects)});
  for (const TBytes& r : records) {
    file.insert(file.end(), r.begin(), r.end());
  }
  TBytes eof = Eof();
  file.insert(file.end(), eof.begin(), eof.end());
  return file;
}

TBytes Dib(int headerSize, int width, int height, int bits, int colorsUsed, int pixelWords) {
  TBytes out =
      Join({Rec(0, {headerSize, 0, width, width >> 16, height, height >> 16, 1, bits, 0, 0, 0,
                    0,          0, 0,     0,           0,      colorsUsed,   0, 0,    0})});
  out.erase(out.begin(), out.begin() + 6);
  out.resize(out.size() + static_cast<std::size_t>(pixelWords) * 2, 0x7F);
  return out;
}

TBytes StretchDibWith(const TBytes& dib) {
  TBytes rec = Rec(wmf::kStretchDib, {0x0020, 0x00CC, 0, 1, 2, 0, 0, 100, 200, 0, 0});
  rec.insert(rec.end(), dib.begin(), dib.end());
  std::uint32_t words = static_cast<std::uint32_t>(rec.size() / 2);
  rec[0] = static_cast<std::uint8_t>(words);
  rec[1] = static_cast<std::uint8_t>(words >> 8);
  rec[2] = static_cast<std::uint8_t>(words >> 16);
  return rec;
}

TBytes RichSample(std::vector<std::size_t>* recordOffsets) {
  TWmfWriter w(0, 0, 1000, 800, 1440);
  int pen = w.CreatePen(TWmfPenStyle::Dash, 10, {200, 0, 0});
  int brush = w.CreateBrush(TWmfBrushStyle::Hatched, {0, 0, 200}, TWmfHatch::Cross);
  int font = w.CreateFont(-120, 700, true, "Sans", 450, wmf::kEastEuropeCharset);
  w.SelectObject(pen);
  w.SelectObject(brush);
  w.SelectObject(font);
  w.SaveDC();
  w.SetMapMode(wmf::kMmIsotropic);
  w.SetViewportOrg(10, 10);
  w.SetViewportExt(900, 700);
  w.SetBkMode(false);
  w.SetBkColor({255, 255, 0});
  w.SetTextColor({0, 100, 0});
  w.SetTextAlign(wmf::kTaCenter | wmf::kTaBaseline);
  w.SetPolyFillMode(true);
  w.MoveTo(10, 10);
  w.LineTo(100, 100);
  w.Polyline(std::vector<TWmfPoint16>{{1, 2}, {30, 40}, {50, 6}});
  w.Polygon(std::vector<TWmfPoint16>{{100, 100}, {200, 100}, {150, 180}});
  w.PolyPolygon({{{0, 0}, {100, 0}, {100, 100}}, {{10, 10}, {20, 10}, {20, 20}, {10, 20}}});
  w.RestoreDC(-1);
  w.Rectangle(300, 300, 400, 350);
  w.RoundRect(300, 400, 400, 450, 20, 10);
  w.Ellipse(500, 500, 600, 560);
  w.Arc(0, 0, 200, 100, {200, 50}, {100, 0});
  w.Pie(0, 0, 200, 100, {100, 0}, {200, 50});
  w.Chord(0, 0, 200, 100, {0, 50}, {200, 50});
  w.TextOut(500, 400, "AB");
  std::vector<int> advances{60, 70, 80};
  TWmfPoint16 tl{10, 10}, br{200, 60};
  w.ExtTextOut(20, 50, "\xB3\xF3\xBF", advances, &tl, &br);
  w.StretchDib(600, 100, 200, 100, 3, 2, std::vector<std::uint32_t>(6, 0x336699));
  w.DeleteObject(pen);
  w.DeleteObject(brush);
  w.DeleteObject(font);
  TBytes file = w.Finish();
  if (recordOffsets) {
    recordOffsets->clear();
    for (std::size_t pos = wmf::kPlaceableSize + wmf::kHeaderSize; pos + 6 <= file.size();) {
      recordOffsets->push_back(pos);
      std::uint32_t words = file[pos] | file[pos + 1] << 8 | file[pos + 2] << 16 |
                            static_cast<std::uint32_t>(file[pos + 3]) << 24;
      pos += std::size_t{words} * 2;
    }
  }
  return file;
}
