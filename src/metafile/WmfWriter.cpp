#include "metafile/WmfWriter.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "metafile/WmfFormat.h"

namespace {

std::uint16_t Word(int value) {
  if (value < -32768 || value > 65535) {
    throw std::out_of_range("metafile value " + std::to_string(value) + " out of 16 bits");
  }
  return static_cast<std::uint16_t>(value);
}

// A 16-bit coordinate or count.
std::uint16_t Short(int value) {
  if (value < -32768 || value > 32767) {
    throw std::out_of_range("metafile coordinate " + std::to_string(value) + " out of 16 bits");
  }
  return static_cast<std::uint16_t>(value);
}

void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, static_cast<std::uint16_t>(v));
  Put16(out, static_cast<std::uint16_t>(v >> 16));
}

// Packs bytes into little-endian words, the last one padded with 0.
void PutBytes(std::vector<std::uint16_t>& words, std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    std::uint16_t low = static_cast<std::uint8_t>(bytes[i]);
    std::uint16_t high = i + 1 < bytes.size() ? static_cast<std::uint8_t>(bytes[i + 1]) : 0;
    words.push_back(static_cast<std::uint16_t>(low | high << 8));
  }
}

void PutColor(std::vector<std::uint16_t>& words, TWmfColor c) {
  words.push_back(static_cast<std::uint16_t>(c.r | c.g << 8));
  words.push_back(c.b);
}

void PutPoints(std::vector<std::uint16_t>& words, std::span<const TWmfPoint16> points) {
  for (TWmfPoint16 p : points) {
    words.push_back(Short(p.x));
    words.push_back(Short(p.y));
  }
}

}  // namespace

TWmfWriter::TWmfWriter(int left, int top, int right, int bottom, int unitsPerInch)
    : left_(left), top_(top), right_(right), bottom_(bottom), unitsPerInch_(unitsPerInch) {
  if (right <= left || bottom <= top || unitsPerInch <= 0) {
    throw std::invalid_argument("metafile frame is empty");
  }
  SetMapMode(wmf::kMmAnisotropic);
  SetWindowOrg(left, top);
  SetWindowExt(right - left, bottom - top);
}

void TWmfWriter::Record(std::uint16_t function, std::span<const std::uint16_t> params) {
  std::uint32_t words = static_cast<std::uint32_t>(params.size()) + wmf::kRecordHeaderWords;
  maxRecordWords_ = std::max(maxRecordWords_, words);
  Put32(records_, words);
  Put16(records_, function);
  for (std::uint16_t w : params) {
    Put16(records_, w);
  }
}

void TWmfWriter::Record(std::uint16_t function, std::initializer_list<int> params) {
  std::vector<std::uint16_t> words;
  for (int p : params) {
    words.push_back(Short(p));
  }
  Record(function, words);
}

int TWmfWriter::AddObject() {
  auto free = std::find(slots_.begin(), slots_.end(), false);
  if (free == slots_.end()) {
    slots_.push_back(true);
    return static_cast<int>(slots_.size()) - 1;
  }
  *free = true;
  return static_cast<int>(free - slots_.begin());
}

int TWmfWriter::CreatePen(TWmfPenStyle style, int width, TWmfColor color) {
  std::vector<std::uint16_t> w{static_cast<std::uint16_t>(style), Short(width), 0};
  PutColor(w, color);
  Record(wmf::kCreatePenIndirect, w);
  return AddObject();
}

int TWmfWriter::CreateBrush(TWmfBrushStyle style, TWmfColor color, TWmfHatch hatch) {
  std::uint16_t gdiStyle = style == TWmfBrushStyle::Solid  ? wmf::kBsSolid
                           : style == TWmfBrushStyle::Null ? wmf::kBsNull
                                                           : wmf::kBsHatched;
  std::vector<std::uint16_t> w{gdiStyle};
  PutColor(w, color);
  w.push_back(static_cast<std::uint16_t>(hatch));
  Record(wmf::kCreateBrushIndirect, w);
  return AddObject();
}

int TWmfWriter::CreateFont(int height, int weight, bool italic, std::string_view face,
                           int escapement, std::uint8_t charset) {
  if (face.size() > 31) {
    throw std::invalid_argument("font face name longer than 31 bytes");
  }
  std::vector<std::uint16_t> w{Short(height), 0, Short(escapement), Short(escapement),
                               Short(weight)};
  w.push_back(italic ? 1 : 0);                            // italic, underline
  w.push_back(static_cast<std::uint16_t>(charset << 8));  // strike-out, charset
  w.push_back(0);                                         // precisions
  w.push_back(0);                                         // quality, pitch and family
  std::string name(face);
  name.push_back('\0');
  PutBytes(w, name);
  Record(wmf::kCreateFontIndirect, w);
  return AddObject();
}

void TWmfWriter::SelectObject(int index) {
  Record(wmf::kSelectObject, {index});
}

void TWmfWriter::DeleteObject(int index) {
  Record(wmf::kDeleteObject, {index});
  if (index >= 0 && static_cast<std::size_t>(index) < slots_.size()) {
    slots_[static_cast<std::size_t>(index)] = false;
  }
}

void TWmfWriter::SetMapMode(std::uint16_t mode) {
  Record(wmf::kSetMapMode, {mode});
}
void TWmfWriter::SetWindowOrg(int x, int y) {
  Record(wmf::kSetWindowOrg, {y, x});
}
void TWmfWriter::SetWindowExt(int width, int height) {
  Record(wmf::kSetWindowExt, {height, width});
}
void TWmfWriter::SetViewportOrg(int x, int y) {
  Record(wmf::kSetViewportOrg, {y, x});
}
void TWmfWriter::SetViewportExt(int width, int height) {
  Record(wmf::kSetViewportExt, {height, width});
}
void TWmfWriter::SetBkMode(bool opaque) {
  Record(wmf::kSetBkMode, {opaque ? wmf::kOpaque : wmf::kTransparent});
}
void TWmfWriter::SetBkColor(TWmfColor color) {
  std::vector<std::uint16_t> w;
  PutColor(w, color);
  Record(wmf::kSetBkColor, w);
}
void TWmfWriter::SetTextColor(TWmfColor color) {
  std::vector<std::uint16_t> w;
  PutColor(w, color);
  Record(wmf::kSetTextColor, w);
}
void TWmfWriter::SetTextAlign(std::uint16_t align) {
  Record(wmf::kSetTextAlign, std::vector<std::uint16_t>{align, 0});
}
void TWmfWriter::SetPolyFillMode(bool winding) {
  Record(wmf::kSetPolyFillMode, {winding ? wmf::kWinding : wmf::kAlternate});
}
void TWmfWriter::SaveDC() {
  Record(wmf::kSaveDC, std::span<const std::uint16_t>{});
}
void TWmfWriter::RestoreDC(int n) {
  Record(wmf::kRestoreDC, {n});
}

void TWmfWriter::MoveTo(int x, int y) {
  Record(wmf::kMoveTo, {y, x});
}
void TWmfWriter::LineTo(int x, int y) {
  Record(wmf::kLineTo, {y, x});
}

void TWmfWriter::Polyline(std::span<const TWmfPoint16> points) {
  std::vector<std::uint16_t> w{Short(static_cast<int>(points.size()))};
  PutPoints(w, points);
  Record(wmf::kPolyline, w);
}

void TWmfWriter::Polygon(std::span<const TWmfPoint16> points) {
  std::vector<std::uint16_t> w{Short(static_cast<int>(points.size()))};
  PutPoints(w, points);
  Record(wmf::kPolygon, w);
}

void TWmfWriter::PolyPolygon(const std::vector<std::vector<TWmfPoint16>>& rings) {
  std::vector<std::uint16_t> w{Short(static_cast<int>(rings.size()))};
  for (const auto& ring : rings) {
    w.push_back(Short(static_cast<int>(ring.size())));
  }
  for (const auto& ring : rings) {
    PutPoints(w, ring);
  }
  Record(wmf::kPolyPolygon, w);
}

void TWmfWriter::Rectangle(int left, int top, int right, int bottom) {
  Record(wmf::kRectangle, {bottom, right, top, left});
}

void TWmfWriter::RoundRect(int left, int top, int right, int bottom, int cornerWidth,
                           int cornerHeight) {
  Record(wmf::kRoundRect, {cornerHeight, cornerWidth, bottom, right, top, left});
}

void TWmfWriter::Ellipse(int left, int top, int right, int bottom) {
  Record(wmf::kEllipse, {bottom, right, top, left});
}

void TWmfWriter::ArcRecord(std::uint16_t function, int left, int top, int right, int bottom,
                           TWmfPoint16 start, TWmfPoint16 end) {
  Record(function, {end.y, end.x, start.y, start.x, bottom, right, top, left});
}

void TWmfWriter::Arc(int left, int top, int right, int bottom, TWmfPoint16 start, TWmfPoint16 end) {
  ArcRecord(wmf::kArc, left, top, right, bottom, start, end);
}
void TWmfWriter::Pie(int left, int top, int right, int bottom, TWmfPoint16 start, TWmfPoint16 end) {
  ArcRecord(wmf::kPie, left, top, right, bottom, start, end);
}
void TWmfWriter::Chord(int left, int top, int right, int bottom, TWmfPoint16 start,
                       TWmfPoint16 end) {
  ArcRecord(wmf::kChord, left, top, right, bottom, start, end);
}

void TWmfWriter::TextOut(int x, int y, std::string_view text) {
  std::vector<std::uint16_t> w{Short(static_cast<int>(text.size()))};
  PutBytes(w, text);
  w.push_back(Short(y));
  w.push_back(Short(x));
  Record(wmf::kTextOut, w);
}

void TWmfWriter::ExtTextOut(int x, int y, std::string_view text, std::span<const int> advances,
                            const TWmfPoint16* opaqueBoxTopLeft,
                            const TWmfPoint16* opaqueBoxBottomRight) {
  if (!advances.empty() && advances.size() != text.size()) {
    throw std::invalid_argument("one advance a character");
  }
  bool box = opaqueBoxTopLeft && opaqueBoxBottomRight;
  std::vector<std::uint16_t> w{Short(y), Short(x), Short(static_cast<int>(text.size())),
                               static_cast<std::uint16_t>(box ? wmf::kEtoOpaque : 0)};
  if (box) {
    PutPoints(w, std::span(opaqueBoxTopLeft, 1));
    PutPoints(w, std::span(opaqueBoxBottomRight, 1));
  }
  PutBytes(w, text);
  for (int advance : advances) {
    w.push_back(Short(advance));
  }
  Record(wmf::kExtTextOut, w);
}

void TWmfWriter::StretchDib(int x, int y, int width, int height, int bitmapWidth, int bitmapHeight,
                            std::span<const std::uint32_t> pixels) {
  if (bitmapWidth <= 0 || bitmapHeight <= 0 ||
      pixels.size() != static_cast<std::size_t>(bitmapWidth) * bitmapHeight) {
    throw std::invalid_argument("bitmap size does not match its pixels");
  }
  std::vector<std::uint8_t> dib;
  Put32(dib, wmf::kBitmapInfoHeaderSize);
  Put32(dib, static_cast<std::uint32_t>(bitmapWidth));
  Put32(dib, static_cast<std::uint32_t>(bitmapHeight));  // rows from the bottom
  Put16(dib, 1);
  Put16(dib, 24);
  Put32(dib, wmf::kBiRgb);
  std::size_t stride = (static_cast<std::size_t>(bitmapWidth) * 24 + 31) / 32 * 4;
  Put32(dib, static_cast<std::uint32_t>(stride * bitmapHeight));
  for (int i = 0; i < 4; ++i) {
    Put32(dib, 0);  // resolution and colour counts
  }
  for (int row = bitmapHeight - 1; row >= 0; --row) {
    std::size_t start = dib.size();
    for (int col = 0; col < bitmapWidth; ++col) {
      std::uint32_t p = pixels[static_cast<std::size_t>(row) * bitmapWidth + col];
      dib.push_back(static_cast<std::uint8_t>(p));
      dib.push_back(static_cast<std::uint8_t>(p >> 8));
      dib.push_back(static_cast<std::uint8_t>(p >> 16));
    }
    dib.resize(start + stride, 0);
  }
  std::vector<std::uint16_t> w{static_cast<std::uint16_t>(wmf::kRopSrcCopy),
                               static_cast<std::uint16_t>(wmf::kRopSrcCopy >> 16),
                               wmf::kDibRgbColors,
                               Short(bitmapHeight),
                               Short(bitmapWidth),
                               0,
                               0,
                               Short(height),
                               Short(width),
                               Short(y),
                               Short(x)};
  PutBytes(w, std::string_view(reinterpret_cast<const char*>(dib.data()), dib.size()));
  Record(wmf::kStretchDib, w);
}

std::vector<std::uint8_t> TWmfWriter::Finish() const {
  std::vector<std::uint8_t> out;
  // Placeable header; its checksum is the XOR of its first ten words.
  std::vector<std::uint16_t> placeable{static_cast<std::uint16_t>(wmf::kPlaceableKey),
                                       static_cast<std::uint16_t>(wmf::kPlaceableKey >> 16),
                                       0,
                                       Short(left_),
                                       Short(top_),
                                       Short(right_),
                                       Short(bottom_),
                                       Word(unitsPerInch_),
                                       0,
                                       0};
  std::uint16_t checksum = 0;
  for (std::uint16_t w : placeable) {
    Put16(out, w);
    checksum ^= w;
  }
  Put16(out, checksum);
  std::uint32_t totalWords = wmf::kHeaderSize / 2 +
                             static_cast<std::uint32_t>(records_.size() / 2) +
                             wmf::kRecordHeaderWords;
  Put16(out, 1);  // in memory
  Put16(out, wmf::kHeaderSize / 2);
  Put16(out, 0x0300);
  Put32(out, totalWords);
  Put16(out, Word(static_cast<int>(slots_.size())));
  Put32(out, maxRecordWords_);
  Put16(out, 0);
  out.insert(out.end(), records_.begin(), records_.end());
  Put32(out, wmf::kRecordHeaderWords);
  Put16(out, wmf::kEof);
  return out;
}
