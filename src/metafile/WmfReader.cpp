#include "metafile/WmfReader.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "base/AppError.h"
#include "metafile/WmfBitmap.h"
#include "metafile/WmfBytes.h"
#include "metafile/WmfFormat.h"
#include "metafile/WmfRecordNames.h"
#include "metafile/WmfText.h"
#include "platform/FileSystem.h"

namespace {

using wmf::TByteSpan;
using wmf::TCursor;

// Beyond these a file is refused: no real picture comes near them, and they bound the memory a
// hostile file can make the reader take.
constexpr std::size_t kMaxSavedStates = 4096;
constexpr double kMaxFrameUnits = 1e9;

TWmfColor ColorRef(TCursor& in) {
  TWmfColor c;
  c.r = in.U8();
  c.g = in.U8();
  c.b = in.U8();
  in.U8();
  return c;
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
  explicit TPlayer(TByteSpan data) : data_(data) {}

  TWmfDrawing Play() {
    if (data_.size() > kWmfMaxFileSize) {
      throw EAppError(TErrorId::WmfTooLarge, {std::to_string(kWmfMaxFileSize >> 20)});
    }
    std::size_t pos = ReadHeaders();
    for (;;) {
      if (data_.size() - pos < 6) {
        if (pos == data_.size()) {
          throw EAppError(TErrorId::WmfNoEndRecord);
        }
        throw EAppError(TErrorId::WmfEndsInRecordHeader, {std::to_string(pos)});
      }
      // The six bytes of the record header are there.
      TCursor head = TCursor::Headers(data_.subspan(pos, 6));
      std::uint32_t words = head.U32();
      std::uint16_t function = head.U16();
      std::string name = wmf::RecordName(function);
      if (words < wmf::kRecordHeaderWords) {
        throw EAppError(TErrorId::WmfRecordShorterThanHeader, {name, std::to_string(pos)});
      }
      if (words > (data_.size() - pos) / 2) {
        throw EAppError(TErrorId::WmfRecordPastEnd, {name, std::to_string(pos)});
      }
      if (function == wmf::kEof) {
        break;
      }
      TCursor params =
          TCursor::Record(data_.subspan(pos + 6, std::size_t{words} * 2 - 6), name, pos);
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
    TCursor in = TCursor::Headers(data_);
    std::size_t pos = 0;
    if (data_.size() >= 4 && TCursor::Headers(data_).U32() == wmf::kPlaceableKey) {
      in.U32();
      in.U16();  // handle
      std::int16_t left = in.I16(), top = in.I16(), right = in.I16(), bottom = in.I16();
      std::uint16_t inch = in.U16();
      in.U32();  // reserved
      in.U16();  // checksum: many writers get it wrong, so it is not checked
      if (left == right || top == bottom) {
        in.Reject(TErrorId::WmfEmptyBoundingBox);
      }
      if (inch == 0) {
        in.Reject(TErrorId::WmfZeroUnitsPerInch);
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
      in.Reject(TErrorId::WmfNotAMetafile);
    }
    objects_.resize(objects);
    // Every slot is free; listed in ascending order, which is already a valid min-heap.
    freeSlots_.resize(objects);
    for (std::size_t i = 0; i < freeSlots_.size(); ++i) {
      freeSlots_[i] = i;
    }
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
      record_->Reject(TErrorId::WmfMappedOutOfRange);
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
          in.Reject(TErrorId::WmfTooManySavedStates, {std::to_string(kMaxSavedStates)});
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
        DeleteObject(in);
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
      in.Reject(TErrorId::WmfNoSuchObject,
                {std::to_string(index), std::to_string(objects_.size())});
    }
    return index;
  }

  // A new object takes the lowest free slot, as GDI gives them out. The free slots are kept in
  // a min-heap, so a picture that creates and deletes objects all the time costs a logarithm
  // per object instead of a walk over the whole table.
  void AddObject(const TObject& object, TCursor& in) {
    if (freeSlots_.empty()) {
      in.Reject(TErrorId::WmfObjectTableFull, {std::to_string(objects_.size())});
    }
    std::pop_heap(freeSlots_.begin(), freeSlots_.end(), std::greater<>());
    objects_[freeSlots_.back()] = object;
    freeSlots_.pop_back();
  }

  // Deleting a free slot changes nothing; an occupied one goes back to the free slots once.
  void DeleteObject(TCursor& in) {
    std::optional<TObject>& object = objects_[ObjectIndex(in)];
    if (object) {
      object.reset();
      freeSlots_.push_back(static_cast<std::size_t>(&object - objects_.data()));
      std::push_heap(freeSlots_.begin(), freeSlots_.end(), std::greater<>());
    }
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
      if (auto dib = wmf::DecodeDib(in)) {
        object.brush.color = wmf::AverageColor(*dib);
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
    TByteSpan face = in.Take(std::min<std::size_t>(in.Left(), 32));
    auto end = std::find(face.begin(), face.end(), std::uint8_t{0});
    f.face = wmf::DecodeText(TByteSpan(face.begin(), end), f.charset);
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
      in.Reject(TErrorId::WmfTooManyPoints);
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
      in.Reject(TErrorId::WmfTooManyPolygons);
    }
    std::vector<std::size_t> counts(polygons);
    std::size_t total = 0;
    for (std::size_t& count : counts) {
      count = in.U16();
      total += count;
    }
    if (total > in.Left() / 4) {
      in.Reject(TErrorId::WmfTooManyPoints);
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
    double t = std::atan2(-(p.y - cy) / ry, (p.x - cx) / rx) * 180 / std::numbers::pi;
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

  TWmfText Text(TWmfPoint logicalOrigin, TByteSpan bytes) {
    TWmfText text;
    bool fromCurrent = dc_.textAlign & wmf::kTaUpdateCp;
    text.origin = Map(fromCurrent ? dc_.current : logicalOrigin);
    text.text = wmf::DecodeText(bytes, dc_.font.charset);
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
      in.Reject(TErrorId::WmfNegativeTextLength);
    }
    TByteSpan bytes = in.Take(static_cast<std::size_t>(length));
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
      in.Reject(TErrorId::WmfNegativeTextLength);
    }
    std::optional<TWmfRect> box;
    if (options & (wmf::kEtoOpaque | wmf::kEtoClipped)) {
      double left = in.I16(), top = in.I16(), right = in.I16(), bottom = in.I16();
      box = MapRect(left, top, right, bottom);
    }
    TByteSpan bytes = in.Take(static_cast<std::size_t>(length));
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

  void DrawBitmap(const TBlit& blit, const wmf::TDib& dib) {
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
    if (usage != wmf::kDibRgbColors) {
      return;  // colours as palette indices: there is no palette to look them up in
    }
    if (auto decoded = wmf::DecodeDib(in)) {
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
    if (auto decoded = wmf::DecodeDib(in)) {
      DrawBitmap(blit, *decoded);
    }
  }

  TByteSpan data_;
  bool placeable_ = false;
  double unitsPerInch_ = 1440;
  std::optional<TWmfRect> frame_;
  bool windowSet_ = false;
  TDcState dc_;
  std::vector<TDcState> saved_;
  std::vector<std::optional<TObject>> objects_;
  std::vector<std::size_t> freeSlots_;  // min-heap of the indices of the empty slots of objects_
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
