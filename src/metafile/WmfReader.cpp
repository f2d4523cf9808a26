#include "metafile/WmfReader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

#include "base/AppError.h"
#include "metafile/WmfFormat.h"
#include "platform/FileSystem.h"

namespace {

using Bytes = std::span<const std::uint8_t>;

// Beyond these a file is refused: no real picture comes near them, and they bound the memory a
// hostile file can make the reader take.
constexpr std::size_t kMaxSavedStates = 4096;
constexpr std::uint64_t kMaxBitmapPixels = std::uint64_t{1} << 24;
constexpr double kMaxFrameUnits = 1e9;

[[noreturn]] void Fail(const std::string& reason) {
  throw EAppError(TErrorId::WmfInvalid, {reason});
}

std::string RecordName(std::uint16_t function) {
  switch (function) {
    case wmf::kEof:
      return "EOF";
    case wmf::kSaveDC:
      return "SAVEDC";
    case wmf::kCreatePalette:
      return "CREATEPALETTE";
    case wmf::kSetBkMode:
      return "SETBKMODE";
    case wmf::kSetMapMode:
      return "SETMAPMODE";
    case wmf::kSetRop2:
      return "SETROP2";
    case wmf::kSetPolyFillMode:
      return "SETPOLYFILLMODE";
    case wmf::kSetStretchBltMode:
      return "SETSTRETCHBLTMODE";
    case wmf::kRestoreDC:
      return "RESTOREDC";
    case wmf::kSelectObject:
      return "SELECTOBJECT";
    case wmf::kSetTextAlign:
      return "SETTEXTALIGN";
    case wmf::kDibCreatePatternBrush:
      return "DIBCREATEPATTERNBRUSH";
    case wmf::kDeleteObject:
      return "DELETEOBJECT";
    case wmf::kCreatePatternBrush:
      return "CREATEPATTERNBRUSH";
    case wmf::kSetBkColor:
      return "SETBKCOLOR";
    case wmf::kSetTextColor:
      return "SETTEXTCOLOR";
    case wmf::kSetWindowOrg:
      return "SETWINDOWORG";
    case wmf::kSetWindowExt:
      return "SETWINDOWEXT";
    case wmf::kSetViewportOrg:
      return "SETVIEWPORTORG";
    case wmf::kSetViewportExt:
      return "SETVIEWPORTEXT";
    case wmf::kOffsetWindowOrg:
      return "OFFSETWINDOWORG";
    case wmf::kOffsetViewportOrg:
      return "OFFSETVIEWPORTORG";
    case wmf::kLineTo:
      return "LINETO";
    case wmf::kMoveTo:
      return "MOVETO";
    case wmf::kCreatePenIndirect:
      return "CREATEPENINDIRECT";
    case wmf::kCreateFontIndirect:
      return "CREATEFONTINDIRECT";
    case wmf::kCreateBrushIndirect:
      return "CREATEBRUSHINDIRECT";
    case wmf::kPolygon:
      return "POLYGON";
    case wmf::kPolyline:
      return "POLYLINE";
    case wmf::kScaleWindowExt:
      return "SCALEWINDOWEXT";
    case wmf::kScaleViewportExt:
      return "SCALEVIEWPORTEXT";
    case wmf::kEllipse:
      return "ELLIPSE";
    case wmf::kRectangle:
      return "RECTANGLE";
    case wmf::kTextOut:
      return "TEXTOUT";
    case wmf::kPolyPolygon:
      return "POLYPOLYGON";
    case wmf::kRoundRect:
      return "ROUNDRECT";
    case wmf::kCreateRegion:
      return "CREATEREGION";
    case wmf::kArc:
      return "ARC";
    case wmf::kPie:
      return "PIE";
    case wmf::kChord:
      return "CHORD";
    case wmf::kExtTextOut:
      return "EXTTEXTOUT";
    case wmf::kDibStretchBlt:
      return "DIBSTRETCHBLT";
    case wmf::kStretchDib:
      return "STRETCHDIB";
    default: {
      char name[8];
      std::snprintf(name, sizeof name, "0x%04X", function);
      return name;
    }
  }
}

// Reads little-endian values from a span; running past its end is a malformed record.
class TCursor {
 public:
  TCursor(Bytes data, std::string what) : data_(data), what_(std::move(what)) {}

  std::size_t Left() const { return data_.size() - pos_; }
  std::uint8_t U8() { return Take(1)[0]; }
  std::uint16_t U16() {
    Bytes b = Take(2);
    return static_cast<std::uint16_t>(b[0] | b[1] << 8);
  }
  std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
  std::uint32_t U32() {
    std::uint32_t low = U16();
    return low | std::uint32_t{U16()} << 16;
  }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  Bytes Take(std::size_t n) {
    if (n > Left()) {
      Fail(what_ + " is too short for its contents");
    }
    Bytes part = data_.subspan(pos_, n);
    pos_ += n;
    return part;
  }
  Bytes Rest() { return Take(Left()); }
  [[noreturn]] void Reject(const std::string& reason) const { Fail(what_ + " " + reason); }
  const std::string& What() const { return what_; }

 private:
  Bytes data_;
  std::size_t pos_ = 0;
  std::string what_;
};

// ---- text ----

constexpr char16_t kCp1252High[128] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039,
    0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178, 0x00A0, 0x00A1, 0x00A2, 0x00A3,
    0x00A4, 0x00A5, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x00B9, 0x00BA, 0x00BB,
    0x00BC, 0x00BD, 0x00BE, 0x00BF, 0x00C0, 0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7,
    0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF, 0x00D0, 0x00D1, 0x00D2, 0x00D3,
    0x00D4, 0x00D5, 0x00D6, 0x00D7, 0x00D8, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF,
    0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7, 0x00E8, 0x00E9, 0x00EA, 0x00EB,
    0x00EC, 0x00ED, 0x00EE, 0x00EF, 0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7,
    0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF,
};

constexpr char16_t kCp1250High[128] = {
    0x20AC, 0xFFFD, 0x201A, 0xFFFD, 0x201E, 0x2026, 0x2020, 0x2021, 0xFFFD, 0x2030, 0x0160, 0x2039,
    0x015A, 0x0164, 0x017D, 0x0179, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0xFFFD, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141,
    0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB,
    0x013D, 0x02DD, 0x013E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3,
    0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB,
    0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

// Text in the metafile is one byte a character in the code page of the font's character set:
// Central European for that set, Western for every other.
std::string DecodeText(Bytes text, std::uint8_t charset) {
  const char16_t* high = charset == wmf::kEastEuropeCharset ? kCp1250High : kCp1252High;
  std::string utf8;
  for (std::uint8_t byte : text) {
    if (byte == 0) {
      continue;
    }
    char16_t c = byte < 0x80 ? byte : high[byte - 0x80];
    if (c < 0x80) {
      utf8 += static_cast<char>(c);
    } else if (c < 0x800) {
      utf8 += static_cast<char>(0xC0 | c >> 6);
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      utf8 += static_cast<char>(0xE0 | c >> 12);
      utf8 += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return utf8;
}

// ---- bitmaps ----

struct TDib {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // rows from the top
};

TWmfColor ColorRef(TCursor& in) {
  TWmfColor c;
  c.r = in.U8();
  c.g = in.U8();
  c.b = in.U8();
  in.U8();
  return c;
}

// Decodes a device-independent bitmap (info or core header, uncompressed, 1, 4, 8, 24 or 32 bits
// a pixel). Returns nothing for a kind it does not draw; throws for a damaged one.
std::optional<TDib> DecodeDib(Bytes data, const std::string& what) {
  TCursor in(data, what);
  std::uint32_t headerSize = in.U32();
  std::int64_t width, height;
  unsigned bits;
  std::uint32_t compression = wmf::kBiRgb, colorsUsed = 0;
  std::size_t paletteEntrySize = 4;
  if (headerSize == 12) {
    width = in.U16();
    height = in.U16();
    in.U16();
    bits = in.U16();
    paletteEntrySize = 3;
  } else if (headerSize >= wmf::kBitmapInfoHeaderSize) {
    width = in.I32();
    height = in.I32();
    in.U16();
    bits = in.U16();
    compression = in.U32();
    in.Take(12);
    colorsUsed = in.U32();
    in.Take(headerSize - 36);
  } else {
    in.Reject("has a bitmap header of unknown size");
  }
  bool topDown = height < 0;
  height = std::abs(height);
  if (width <= 0 || height == 0) {
    in.Reject("has a bitmap without pixels");
  }
  if (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > kMaxBitmapPixels) {
    in.Reject("has a bitmap of more than 16777216 pixels");
  }
  if (compression != wmf::kBiRgb ||
      (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)) {
    return std::nullopt;
  }
  std::size_t paletteSize = colorsUsed;
  if (bits <= 8 && colorsUsed == 0) {
    paletteSize = std::size_t{1} << bits;
  }
  if (paletteSize > in.Left() / paletteEntrySize) {
    in.Reject("has a colour table longer than the record");
  }
  std::vector<std::uint32_t> palette(paletteSize);
  for (std::uint32_t& entry : palette) {
    Bytes e = in.Take(paletteEntrySize);
    entry = 0xFF000000u | std::uint32_t{e[2]} << 16 | std::uint32_t{e[1]} << 8 | e[0];
  }
  std::uint64_t stride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
  if (stride * static_cast<std::uint64_t>(height) > in.Left()) {
    in.Reject("has a bitmap whose pixels run past the record");
  }
  TDib dib;
  dib.width = static_cast<int>(width);
  dib.height = static_cast<int>(height);
  dib.pixels.resize(static_cast<std::size_t>(width * height));
  for (int row = 0; row < dib.height; ++row) {
    Bytes line = in.Take(stride);
    int target = topDown ? row : dib.height - 1 - row;
    std::uint32_t* out = &dib.pixels[static_cast<std::size_t>(target) * dib.width];
    for (int x = 0; x < dib.width; ++x) {
      if (bits >= 24) {
        const std::uint8_t* p = &line[static_cast<std::size_t>(x) * (bits / 8)];
        out[x] = 0xFF000000u | std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
        continue;
      }
      std::size_t bit = static_cast<std::size_t>(x) * bits;
      unsigned index = line[bit / 8] >> (8 - bits - bit % 8) & ((1u << bits) - 1);
      out[x] = index < palette.size() ? palette[index] : 0xFF000000u;
    }
  }
  return dib;
}

// ---- graphics state ----

struct TLogFont {
  std::int16_t height = 0;
  std::int16_t escapement = 0;
  std::int16_t weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
  std::uint8_t charset = wmf::kAnsiCharset;
  std::string face;
};

struct TLogPen {
  TWmfPenStyle style = TWmfPenStyle::Solid;
  int width = 0;
  TWmfColor color;
};

struct TLogBrush {
  TWmfBrushStyle style = TWmfBrushStyle::Solid;
  TWmfColor color{255, 255, 255};
  TWmfHatch hatch = TWmfHatch::Horizontal;
};

enum class TObjectKind : std::uint8_t { Pen, Brush, Font, Other };

struct TObject {
  TObjectKind kind = TObjectKind::Other;
  TLogPen pen;
  TLogBrush brush;
  TLogFont font;
};

struct TDcState {
  TLogPen pen;
  TLogBrush brush;
  TLogFont font;
  TWmfColor textColor{0, 0, 0};
  TWmfColor bkColor{255, 255, 255};
  bool bkOpaque = true;
  std::uint16_t textAlign = 0;
  bool winding = false;
  std::uint16_t mapMode = wmf::kMmAnisotropic;
  TWmfPoint winOrg, winExt{1, 1}, vpOrg, vpExt{1, 1};
  TWmfPoint current;  // logical
};

class TPlayer {
 public:
  explicit TPlayer(Bytes data) : data_(data) {}

  TWmfDrawing Play() {
    if (data_.size() > kWmfMaxFileSize) {
      Fail("the file is larger than 16 MiB");
    }
    std::size_t pos = ReadHeaders();
    for (;;) {
      if (data_.size() - pos < 6) {
        Fail(pos == data_.size()
                 ? "the file ends without an end record"
                 : "the file ends inside a record header at byte " + std::to_string(pos));
      }
      TCursor head(data_.subspan(pos, 6), "record header");
      std::uint32_t words = head.U32();
      std::uint16_t function = head.U16();
      std::string where = RecordName(function) + " record at byte " + std::to_string(pos);
      if (words < wmf::kRecordHeaderWords) {
        Fail(where + " is shorter than a record header");
      }
      if (words > (data_.size() - pos) / 2) {
        Fail(where + " runs past the end of the file");
      }
      if (function == wmf::kEof) {
        break;
      }
      TCursor params(data_.subspan(pos + 6, std::size_t{words} * 2 - 6), where);
      record_ = &params;
      Record(function, params);
      pos += std::size_t{words} * 2;
    }
    FinishFrame();
    return out_.Take();
  }

 private:
  // Reads the optional placeable header and the standard header; returns the first record's
  // offset.
  std::size_t ReadHeaders() {
    TCursor in(data_, "the header");
    std::size_t pos = 0;
    if (data_.size() >= 4 && TCursor(data_, "").U32() == wmf::kPlaceableKey) {
      in.U32();
      in.U16();  // handle
      std::int16_t left = in.I16(), top = in.I16(), right = in.I16(), bottom = in.I16();
      std::uint16_t inch = in.U16();
      in.U32();  // reserved
      in.U16();  // checksum: many writers get it wrong, so it is not checked
      if (left == right || top == bottom) {
        Fail("the bounding box is empty");
      }
      if (inch == 0) {
        Fail("the header gives 0 units per inch");
      }
      placeable_ = true;
      unitsPerInch_ = inch;
      TWmfRect frame{std::min<double>(left, right), std::min<double>(top, bottom),
                     std::max<double>(left, right), std::max<double>(top, bottom)};
      frame_ = frame;
      dc_.winOrg = dc_.vpOrg = {frame.left, frame.top};
      dc_.winExt = dc_.vpExt = {frame.Width(), frame.Height()};
      pos = wmf::kPlaceableSize;
    }
    std::uint16_t type = in.U16();
    std::uint16_t headerWords = in.U16();
    in.U16();  // version
    in.U32();  // size in words, often wrong; the records and their end record decide
    std::uint16_t objects = in.U16();
    in.U32();  // largest record
    in.U16();
    if ((type != 1 && type != 2) || headerWords != 9) {
      Fail("the header is not a metafile header");
    }
    objects_.resize(objects);
    return pos + wmf::kHeaderSize;
  }

  // ---- mapping from logical units to frame units ----

  TWmfPoint Scale() const {
    double fixedUnits = 0;
    switch (dc_.mapMode) {
      case wmf::kMmText:
        return {1, 1};
      case wmf::kMmLoMetric:
        fixedUnits = 254;
        break;
      case wmf::kMmHiMetric:
        fixedUnits = 2540;
        break;
      case wmf::kMmLoEnglish:
        fixedUnits = 100;
        break;
      case wmf::kMmHiEnglish:
        fixedUnits = 1000;
        break;
      case wmf::kMmTwips:
        fixedUnits = 1440;
        break;
      default:
        break;
    }
    if (fixedUnits > 0) {
      double k = unitsPerInch_ / fixedUnits;
      return {k, -k};
    }
    TWmfPoint s{dc_.vpExt.x / dc_.winExt.x, dc_.vpExt.y / dc_.winExt.y};
    if (dc_.mapMode == wmf::kMmIsotropic) {
      double m = std::min(std::abs(s.x), std::abs(s.y));
      s = {std::copysign(m, s.x), std::copysign(m, s.y)};
    }
    return s;
  }

  TWmfPoint Map(double x, double y) const {
    TWmfPoint s = Scale();
    return {InRange((x - dc_.winOrg.x) * s.x + dc_.vpOrg.x),
            InRange((y - dc_.winOrg.y) * s.y + dc_.vpOrg.y)};
  }

  // Mapping records can pile up scales and offsets without bound; what they give must stay a
  // number a renderer can draw with.
  double InRange(double v) const {
    if (!(std::abs(v) <= kMaxFrameUnits)) {
      record_->Reject("maps its coordinates or sizes out of range");
    }
    return v;
  }
  TWmfPoint Map(TWmfPoint p) const { return Map(p.x, p.y); }

  TWmfRect MapRect(double left, double top, double right, double bottom) const {
    TWmfPoint a = Map(left, top), b = Map(right, bottom);
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
  }

  TWmfPen Pen() const {
    return {dc_.pen.style, InRange(std::abs(dc_.pen.width * Scale().x)), dc_.pen.color};
  }
  TWmfBrush Brush() const {
    if (dc_.brush.style != TWmfBrushStyle::Hatched) {
      return {dc_.brush.style, dc_.brush.color};
    }
    return {dc_.brush.style, dc_.brush.color, dc_.brush.hatch, dc_.bkOpaque, dc_.bkColor};
  }
  TWmfFont Font() const {
    const TLogFont& f = dc_.font;
    TWmfFont font;
    // A negative height is the em height; a positive one the cell height, of which the em is
    // about four fifths in common fonts; 0 asks for the default size of 12 points.
    double emLogical = f.height < 0 ? -f.height : f.height * 0.8;
    font.height =
        InRange(f.height == 0 ? unitsPerInch_ * 12.0 / 72.0 : emLogical * std::abs(Scale().y));
    font.weight = f.weight;
    font.italic = f.italic;
    font.underline = f.underline;
    font.strikeout = f.strikeout;
    font.escapement = f.escapement / 10.0;
    font.face = f.face;
    return font;
  }

  // The first drawing fixes the frame of a picture without a placeable header to the window
  // the file set up, if it set one.
  void BeforeDraw() {
    if (!placeable_ && !frame_ && windowSet_) {
      frame_ = MapRect(dc_.winOrg.x, dc_.winOrg.y, dc_.winOrg.x + dc_.winExt.x,
                       dc_.winOrg.y + dc_.winExt.y);
    }
  }

  void FinishFrame() {
    if (!frame_) {
      frame_ = Bounds();
    }
    out_.Begin(*frame_);
  }

  TWmfRect Bounds() const {
    bool any = false;
    TWmfRect box;
    auto add = [&](TWmfPoint p) {
      if (!any) {
        box = {p.x, p.y, p.x, p.y};
        any = true;
      }
      box = {std::min(box.left, p.x), std::min(box.top, p.y), std::max(box.right, p.x),
             std::max(box.bottom, p.y)};
    };
    auto addRect = [&](const TWmfRect& r) {
      add({r.left, r.top});
      add({r.right, r.bottom});
    };
    for (const TWmfItem& item : out_.Drawing().items) {
      if (auto* line = std::get_if<TWmfPolyline>(&item)) {
        std::for_each(line->points.begin(), line->points.end(), add);
      } else if (auto* polygons = std::get_if<TWmfPolygons>(&item)) {
        for (const auto& ring : polygons->rings) {
          std::for_each(ring.begin(), ring.end(), add);
        }
      } else if (auto* rect = std::get_if<TWmfRectangle>(&item)) {
        addRect(rect->rect);
      } else if (auto* ellipse = std::get_if<TWmfEllipse>(&item)) {
        addRect(ellipse->rect);
      } else if (auto* arc = std::get_if<TWmfArc>(&item)) {
        addRect(arc->rect);
      } else if (auto* text = std::get_if<TWmfText>(&item)) {
        add(text->origin);
      } else if (auto* image = std::get_if<TWmfImage>(&item)) {
        addRect(image->dest);
      }
    }
    if (!any || box.Width() <= 0 || box.Height() <= 0) {
      return {box.left, box.top, box.left + 1, box.top + 1};
    }
    return box;
  }

  // ---- records ----

  void Record(std::uint16_t function, TCursor& in) {
    switch (function) {
      case wmf::kSetWindowOrg: {
        double y = in.I16(), x = in.I16();
        dc_.winOrg = {x, y};
        windowSet_ = true;
        break;
      }
      case wmf::kSetWindowExt: {
        double y = in.I16(), x = in.I16();
        if (x != 0 && y != 0) {
          dc_.winExt = {x, y};
          windowSet_ = true;
        }
        break;
      }
      case wmf::kSetViewportOrg: {
        double y = in.I16(), x = in.I16();
        dc_.vpOrg = {x, y};
        break;
      }
      case wmf::kSetViewportExt: {
        double y = in.I16(), x = in.I16();
        if (x != 0 && y != 0) {
          dc_.vpExt = {x, y};
        }
        break;
      }
      case wmf::kOffsetWindowOrg: {
        double y = in.I16(), x = in.I16();
        dc_.winOrg = {dc_.winOrg.x + x, dc_.winOrg.y + y};
        break;
      }
      case wmf::kOffsetViewportOrg: {
        double y = in.I16(), x = in.I16();
        dc_.vpOrg = {dc_.vpOrg.x + x, dc_.vpOrg.y + y};
        break;
      }
      case wmf::kScaleWindowExt:
      case wmf::kScaleViewportExt: {
        double yDenom = in.I16(), yNum = in.I16(), xDenom = in.I16(), xNum = in.I16();
        TWmfPoint& ext = function == wmf::kScaleWindowExt ? dc_.winExt : dc_.vpExt;
        if (xDenom != 0 && yDenom != 0 && xNum != 0 && yNum != 0) {
          ext = {ext.x * xNum / xDenom, ext.y * yNum / yDenom};
        }
        break;
      }
      case wmf::kSetMapMode: {
        std::uint16_t mode = in.U16();
        if (mode >= wmf::kMmText && mode <= wmf::kMmAnisotropic) {
          dc_.mapMode = mode;
        }
        break;
      }
      case wmf::kSetBkMode:
        dc_.bkOpaque = in.U16() == wmf::kOpaque;
        break;
      case wmf::kSetBkColor:
        dc_.bkColor = ColorRef(in);
        break;
      case wmf::kSetTextColor:
        dc_.textColor = ColorRef(in);
        break;
      case wmf::kSetTextAlign:
        dc_.textAlign = in.U16();
        break;
      case wmf::kSetPolyFillMode:
        dc_.winding = in.U16() == wmf::kWinding;
        break;
      case wmf::kSaveDC:
        if (saved_.size() >= kMaxSavedStates) {
          in.Reject("saves more than 4096 states");
        }
        saved_.push_back(dc_);
        break;
      case wmf::kRestoreDC:
        RestoreDc(in.I16());
        break;
      case wmf::kCreatePenIndirect:
        CreatePen(in);
        break;
      case wmf::kCreateBrushIndirect:
        CreateBrush(in);
        break;
      case wmf::kCreateFontIndirect:
        CreateFont(in);
        break;
      case wmf::kCreatePatternBrush:
        AddObject(GrayBrush(), in);
        break;
      case wmf::kDibCreatePatternBrush:
        CreateDibBrush(in);
        break;
      case wmf::kCreatePalette:
      case wmf::kCreateRegion:
        AddObject(TObject{}, in);
        break;
      case wmf::kSelectObject:
        SelectObject(in);
        break;
      case wmf::kDeleteObject:
        objects_[ObjectIndex(in)].reset();
        break;
      case wmf::kMoveTo: {
        double y = in.I16(), x = in.I16();
        dc_.current = {x, y};
        break;
      }
      case wmf::kLineTo: {
        double y = in.I16(), x = in.I16();
        Line({Map(dc_.current), Map(x, y)});
        dc_.current = {x, y};
        break;
      }
      case wmf::kPolyline:
        Line(Points(in, in.U16()));
        break;
      case wmf::kPolygon: {
        std::vector<std::vector<TWmfPoint>> rings;
        rings.push_back(Points(in, in.U16()));
        Polygons(std::move(rings));
        break;
      }
      case wmf::kPolyPolygon:
        PolyPolygon(in);
        break;
      case wmf::kRectangle:
      case wmf::kEllipse: {
        double bottom = in.I16(), right = in.I16(), top = in.I16(), left = in.I16();
        TWmfRect rect = MapRect(left, top, right, bottom);
        BeforeDraw();
        if (function == wmf::kRectangle) {
          out_.Draw(TWmfRectangle{rect, 0, 0, Pen(), Brush()});
        } else {
          out_.Draw(TWmfEllipse{rect, Pen(), Brush()});
        }
        break;
      }
      case wmf::kRoundRect: {
        double h = in.I16(), w = in.I16();
        double bottom = in.I16(), right = in.I16(), top = in.I16(), left = in.I16();
        TWmfPoint s = Scale();
        BeforeDraw();
        out_.Draw(TWmfRectangle{MapRect(left, top, right, bottom), InRange(std::abs(w * s.x) / 2),
                                InRange(std::abs(h * s.y) / 2), Pen(), Brush()});
        break;
      }
      case wmf::kArc:
        Arc(TWmfArcKind::Arc, in);
        break;
      case wmf::kPie:
        Arc(TWmfArcKind::Pie, in);
        break;
      case wmf::kChord:
        Arc(TWmfArcKind::Chord, in);
        break;
      case wmf::kTextOut:
        TextOut(in);
        break;
      case wmf::kExtTextOut:
        ExtTextOut(in);
        break;
      case wmf::kStretchDib:
        StretchDib(in);
        break;
      case wmf::kDibStretchBlt:
        DibStretchBlt(in);
        break;
      default:
        break;  // not drawn; the record's size has already been checked
    }
  }

  void RestoreDc(std::int16_t n) {
    // A negative n counts back from the latest saved state, a positive one names a state by
    // its number from the first; a state that does not exist leaves everything as it is.
    std::size_t depth = saved_.size();
    std::size_t keep;
    if (n < 0 && static_cast<std::size_t>(-n) <= depth) {
      keep = depth - static_cast<std::size_t>(-n);
    } else if (n > 0 && static_cast<std::size_t>(n) <= depth) {
      keep = static_cast<std::size_t>(n) - 1;
    } else {
      return;
    }
    dc_ = saved_[keep];
    saved_.resize(keep);
  }

  std::size_t ObjectIndex(TCursor& in) {
    std::uint16_t index = in.U16();
    if (index >= objects_.size()) {
      in.Reject("names object " + std::to_string(index) + " of a table of " +
                std::to_string(objects_.size()));
    }
    return index;
  }

  void AddObject(const TObject& object, TCursor& in) {
    auto slot = std::find(objects_.begin(), objects_.end(), std::nullopt);
    if (slot == objects_.end()) {
      in.Reject("creates more objects than the header's table of " +
                std::to_string(objects_.size()) + " holds");
    }
    *slot = object;
  }

  static TObject GrayBrush() {
    TObject object;
    object.kind = TObjectKind::Brush;
    object.brush.color = {128, 128, 128};
    return object;
  }

  void CreatePen(TCursor& in) {
    TObject object;
    object.kind = TObjectKind::Pen;
    std::uint16_t style = in.U16() & wmf::kPsStyleMask;
    object.pen.style =
        style <= wmf::kPsInsideFrame ? static_cast<TWmfPenStyle>(style) : TWmfPenStyle::Solid;
    object.pen.width = in.I16();
    in.I16();
    object.pen.color = ColorRef(in);
    AddObject(object, in);
  }

  void CreateBrush(TCursor& in) {
    TObject object;
    object.kind = TObjectKind::Brush;
    std::uint16_t style = in.U16();
    object.brush.color = ColorRef(in);
    std::uint16_t hatch = in.U16();
    switch (style) {
      case wmf::kBsNull:
        object.brush.style = TWmfBrushStyle::Null;
        break;
      case wmf::kBsHatched:
        object.brush.style = TWmfBrushStyle::Hatched;
        object.brush.hatch = hatch <= 5 ? static_cast<TWmfHatch>(hatch) : TWmfHatch::Cross;
        break;
      default:
        object.brush.style = TWmfBrushStyle::Solid;
        break;
    }
    AddObject(object, in);
  }

  void CreateDibBrush(TCursor& in) {
    // The pattern is shown as its average colour.
    std::uint16_t style = in.U16();
    in.U16();
    TObject object = GrayBrush();
    if (style == 5) {
      if (auto dib = DecodeDib(in.Rest(), in.What())) {
        std::uint64_t sum[3] = {0, 0, 0};
        for (std::uint32_t p : dib->pixels) {
          sum[0] += p >> 16 & 0xFF;
          sum[1] += p >> 8 & 0xFF;
          sum[2] += p & 0xFF;
        }
        std::size_t n = dib->pixels.size();
        object.brush.color = {static_cast<std::uint8_t>(sum[0] / n),
                              static_cast<std::uint8_t>(sum[1] / n),
                              static_cast<std::uint8_t>(sum[2] / n)};
      }
    }
    AddObject(object, in);
  }

  void CreateFont(TCursor& in) {
    TObject object;
    object.kind = TObjectKind::Font;
    TLogFont& f = object.font;
    f.height = in.I16();
    in.I16();  // width
    f.escapement = in.I16();
    in.I16();  // orientation
    f.weight = in.I16();
    f.italic = in.U8() != 0;
    f.underline = in.U8() != 0;
    f.strikeout = in.U8() != 0;
    f.charset = in.U8();
    in.Take(4);
    // The face name is NUL-terminated within at most 32 bytes; some writers cut the record
    // short after it.
    Bytes face = in.Take(std::min<std::size_t>(in.Left(), 32));
    auto end = std::find(face.begin(), face.end(), std::uint8_t{0});
    f.face = DecodeText(Bytes(face.begin(), end), f.charset);
    AddObject(object, in);
  }

  void SelectObject(TCursor& in) {
    const std::optional<TObject>& object = objects_[ObjectIndex(in)];
    if (!object) {
      return;  // a deleted or never created object: the selection fails and nothing changes
    }
    switch (object->kind) {
      case TObjectKind::Pen:
        dc_.pen = object->pen;
        break;
      case TObjectKind::Brush:
        dc_.brush = object->brush;
        break;
      case TObjectKind::Font:
        dc_.font = object->font;
        break;
      case TObjectKind::Other:
        break;
    }
  }

  std::vector<TWmfPoint> Points(TCursor& in, std::size_t count) {
    if (count > in.Left() / 4) {
      in.Reject("counts more points than it holds");
    }
    std::vector<TWmfPoint> points;
    points.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
      double x = in.I16(), y = in.I16();
      points.push_back(Map(x, y));
    }
    return points;
  }

  void Line(std::vector<TWmfPoint> points) {
    if (points.size() < 2) {
      return;
    }
    BeforeDraw();
    out_.Draw(TWmfPolyline{std::move(points), Pen()});
  }

  void Polygons(std::vector<std::vector<TWmfPoint>> rings) {
    std::erase_if(rings, [](const auto& ring) { return ring.size() < 2; });
    if (rings.empty()) {
      return;
    }
    BeforeDraw();
    out_.Draw(TWmfPolygons{std::move(rings), Pen(), Brush(), dc_.winding});
  }

  void PolyPolygon(TCursor& in) {
    std::uint16_t polygons = in.U16();
    if (polygons > in.Left() / 2) {
      in.Reject("counts more polygons than it holds");
    }
    std::vector<std::size_t> counts(polygons);
    std::size_t total = 0;
    for (std::size_t& count : counts) {
      count = in.U16();
      total += count;
    }
    if (total > in.Left() / 4) {
      in.Reject("counts more points than it holds");
    }
    std::vector<std::vector<TWmfPoint>> rings;
    for (std::size_t count : counts) {
      rings.push_back(Points(in, count));
    }
    Polygons(std::move(rings));
  }

  // The angle parameter of the ellipse in rect at the point where the ray from its centre
  // through p meets it.
  static double EllipseAngle(const TWmfRect& rect, TWmfPoint p) {
    double cx = (rect.left + rect.right) / 2, cy = (rect.top + rect.bottom) / 2;
    double rx = rect.Width() / 2, ry = rect.Height() / 2;
    if (rx <= 0 || ry <= 0) {
      return 0;
    }
    double t = std::atan2(-(p.y - cy) / ry, (p.x - cx) / rx) * 180 / M_PI;
    return t < 0 ? t + 360 : t;
  }

  void Arc(TWmfArcKind kind, TCursor& in) {
    double yEnd = in.I16(), xEnd = in.I16(), yStart = in.I16(), xStart = in.I16();
    double bottom = in.I16(), right = in.I16(), top = in.I16(), left = in.I16();
    TWmfRect rect = MapRect(left, top, right, bottom);
    // Drawn counter-clockwise as seen, from the start ray to the end ray; equal rays give the
    // whole ellipse.
    double start = EllipseAngle(rect, Map(xStart, yStart));
    double end = EllipseAngle(rect, Map(xEnd, yEnd));
    double sweep = end - start;
    if (sweep <= 0) {
      sweep += 360;
    }
    BeforeDraw();
    out_.Draw(TWmfArc{kind, rect, start, sweep, Pen(), Brush()});
  }

  TWmfText Text(TWmfPoint logicalOrigin, Bytes bytes) {
    TWmfText text;
    bool fromCurrent = dc_.textAlign & wmf::kTaUpdateCp;
    text.origin = Map(fromCurrent ? dc_.current : logicalOrigin);
    text.text = DecodeText(bytes, dc_.font.charset);
    text.font = Font();
    text.color = dc_.textColor;
    switch (dc_.textAlign & wmf::kTaHorizontalMask) {
      case wmf::kTaRight:
        text.halign = TWmfHAlign::Right;
        break;
      case wmf::kTaCenter:
        text.halign = TWmfHAlign::Center;
        break;
      default:
        text.halign = TWmfHAlign::Left;
        break;
    }
    switch (dc_.textAlign & wmf::kTaVerticalMask) {
      case wmf::kTaBottom:
        text.valign = TWmfVAlign::Bottom;
        break;
      case wmf::kTaBaseline:
        text.valign = TWmfVAlign::Baseline;
        break;
      default:
        text.valign = TWmfVAlign::Top;
        break;
    }
    text.opaque = dc_.bkOpaque;
    text.background = dc_.bkColor;
    return text;
  }

  void TextOut(TCursor& in) {
    std::int16_t length = in.I16();
    if (length < 0) {
      in.Reject("has a negative text length");
    }
    Bytes bytes = in.Take(static_cast<std::size_t>(length));
    in.Take(static_cast<std::size_t>(length) % 2);
    double y = in.I16(), x = in.I16();
    BeforeDraw();
    out_.Draw(Text({x, y}, bytes));
  }

  void ExtTextOut(TCursor& in) {
    double y = in.I16(), x = in.I16();
    std::int16_t length = in.I16();
    std::uint16_t options = in.U16();
    if (length < 0) {
      in.Reject("has a negative text length");
    }
    std::optional<TWmfRect> box;
    if (options & (wmf::kEtoOpaque | wmf::kEtoClipped)) {
      double left = in.I16(), top = in.I16(), right = in.I16(), bottom = in.I16();
      box = MapRect(left, top, right, bottom);
    }
    Bytes bytes = in.Take(static_cast<std::size_t>(length));
    if (in.Left() > 0) {
      in.Take(static_cast<std::size_t>(length) % 2);
    }
    BeforeDraw();
    if (box && (options & wmf::kEtoOpaque)) {
      TWmfBrush fill{TWmfBrushStyle::Solid, dc_.bkColor};
      out_.Draw(TWmfRectangle{*box, 0, 0, TWmfPen{TWmfPenStyle::Null, 0, {}}, fill});
    }
    TWmfText text = Text({x, y}, bytes);
    // Character advances follow when the record holds one for every character; those of the
    // NUL characters that the text leaves out are left out too.
    if (length > 0 && in.Left() >= static_cast<std::size_t>(length) * 2) {
      double sx = std::abs(Scale().x);
      for (std::uint8_t byte : bytes) {
        double advance = InRange(in.I16() * sx);
        if (byte != 0) {
          text.advances.push_back(advance);
        }
      }
    }
    out_.Draw(text);
  }

  struct TBlit {
    double srcX, srcY, srcW, srcH;
    TWmfRect dest;
  };

  void DrawBitmap(const TBlit& blit, const TDib& dib) {
    // The source rectangle counts rows from the bottom of the bitmap.
    int x0 = std::clamp(static_cast<int>(blit.srcX), 0, dib.width);
    int x1 = std::clamp(static_cast<int>(blit.srcX + std::abs(blit.srcW)), 0, dib.width);
    int yb = std::clamp(static_cast<int>(blit.srcY), 0, dib.height);
    int yt = std::clamp(static_cast<int>(blit.srcY + std::abs(blit.srcH)), 0, dib.height);
    int top = dib.height - yt, bottom = dib.height - yb;
    if (x1 <= x0 || bottom <= top || blit.dest.Width() <= 0 || blit.dest.Height() <= 0) {
      return;
    }
    TWmfImage image;
    image.dest = blit.dest;
    image.width = x1 - x0;
    image.height = bottom - top;
    image.pixels.reserve(static_cast<std::size_t>(image.width) * image.height);
    for (int y = top; y < bottom; ++y) {
      auto row = dib.pixels.begin() + static_cast<std::ptrdiff_t>(y) * dib.width;
      image.pixels.insert(image.pixels.end(), row + x0, row + x1);
    }
    BeforeDraw();
    out_.Draw(image);
  }

  TBlit Blit(TCursor& in, bool reserved) {
    double srcH = in.I16(), srcW = in.I16(), srcY = in.I16(), srcX = in.I16();
    if (reserved) {
      in.U16();
    }
    double destH = in.I16(), destW = in.I16(), destY = in.I16(), destX = in.I16();
    return {srcX, srcY, srcW, srcH, MapRect(destX, destY, destX + destW, destY + destH)};
  }

  void StretchDib(TCursor& in) {
    in.U32();  // raster operation: every one is drawn as a copy
    std::uint16_t usage = in.U16();
    TBlit blit = Blit(in, false);
    Bytes dib = in.Rest();
    if (usage != wmf::kDibRgbColors) {
      return;  // colours as palette indices: there is no palette to look them up in
    }
    if (auto decoded = DecodeDib(dib, in.What())) {
      DrawBitmap(blit, *decoded);
    }
  }

  void DibStretchBlt(TCursor& in) {
    std::uint32_t rop = in.U32();
    // Without a bitmap the record is 11 words of parameters and fills with the brush or a colour.
    bool withoutBitmap = in.Left() == 18;
    TBlit blit = Blit(in, withoutBitmap);
    if (withoutBitmap) {
      TWmfBrush fill = Brush();
      if (rop == wmf::kRopBlackness || rop == wmf::kRopWhiteness) {
        std::uint8_t v = rop == wmf::kRopWhiteness ? 255 : 0;
        fill = {TWmfBrushStyle::Solid, {v, v, v}};
      } else if (rop != wmf::kRopPatCopy) {
        return;
      }
      BeforeDraw();
      out_.Draw(TWmfRectangle{blit.dest, 0, 0, TWmfPen{TWmfPenStyle::Null, 0, {}}, fill});
      return;
    }
    if (auto decoded = DecodeDib(in.Rest(), in.What())) {
      DrawBitmap(blit, *decoded);
    }
  }

  Bytes data_;
  bool placeable_ = false;
  double unitsPerInch_ = 1440;
  std::optional<TWmfRect> frame_;
  bool windowSet_ = false;
  TDcState dc_;
  std::vector<TDcState> saved_;
  std::vector<std::optional<TObject>> objects_;
  TWmfRecorder out_;
  const TCursor* record_ = nullptr;  // the record being played, for its errors
};

}  // namespace

TWmfDrawing ReadWmf(std::span<const std::uint8_t> data) {
  return TPlayer(data).Play();
}

void PlayWmf(std::span<const std::uint8_t> data, TWmfCanvas& canvas) {
  PlayDrawing(ReadWmf(data), canvas);
}

TWmfDrawing LoadWmfFile(const std::string& path) {
  std::string data;
  if (std::error_code error = platform::ReadWholeFile(path, data)) {
    throw EAppError(TErrorId::PictureRead, {path}, error);
  }
  try {
    return ReadWmf(std::span(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()));
  } catch (const EAppError& e) {
    throw EAppError(TErrorId::PictureRead, {path}, e);
  }
}
