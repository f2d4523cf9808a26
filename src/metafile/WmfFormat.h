// Numbers of the Windows metafile format shared by the reader and the writer: record functions,
// GDI constants and the sizes of the fixed headers. All values are little-endian in the file.
#pragma once

#include <cstdint>

namespace wmf {

// The optional 22-byte header before the standard one that gives the picture's frame.
constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr int kPlaceableSize = 22;
constexpr int kHeaderSize = 18;  // the standard header, 9 words
constexpr int kRecordHeaderWords = 3;

// Record functions. The high byte of most of them is the number of parameter words.
enum Function : std::uint16_t {
  kEof = 0x0000,
  kSaveDC = 0x001E,
  kCreatePalette = 0x00F7,
  kSetBkMode = 0x0102,
  kSetMapMode = 0x0103,
  kSetRop2 = 0x0104,
  kSetPolyFillMode = 0x0106,
  kSetStretchBltMode = 0x0107,
  kRestoreDC = 0x0127,
  kSelectObject = 0x012D,
  kSetTextAlign = 0x012E,
  kDibCreatePatternBrush = 0x0142,
  kDeleteObject = 0x01F0,
  kCreatePatternBrush = 0x01F9,
  kSetBkColor = 0x0201,
  kSetTextColor = 0x0209,
  kSetWindowOrg = 0x020B,
  kSetWindowExt = 0x020C,
  kSetViewportOrg = 0x020D,
  kSetViewportExt = 0x020E,
  kOffsetWindowOrg = 0x020F,
  kOffsetViewportOrg = 0x0211,
  kLineTo = 0x0213,
  kMoveTo = 0x0214,
  kCreatePenIndirect = 0x02FA,
  kCreateFontIndirect = 0x02FB,
  kCreateBrushIndirect = 0x02FC,
  kPolygon = 0x0324,
  kPolyline = 0x0325,
  kScaleWindowExt = 0x0410,
  kScaleViewportExt = 0x0412,
  kEllipse = 0x0418,
  kRectangle = 0x041B,
  kTextOut = 0x0521,
  kPolyPolygon = 0x0538,
  kRoundRect = 0x061C,
  kCreateRegion = 0x06FF,
  kArc = 0x0817,
  kPie = 0x081A,
  kChord = 0x0830,
  kExtTextOut = 0x0A32,
  kDibStretchBlt = 0x0B41,
  kStretchDib = 0x0F43,
};

enum MapMode : std::uint16_t {
  kMmText = 1,
  kMmLoMetric = 2,
  kMmHiMetric = 3,
  kMmLoEnglish = 4,
  kMmHiEnglish = 5,
  kMmTwips = 6,
  kMmIsotropic = 7,
  kMmAnisotropic = 8,
};

enum BkMode : std::uint16_t { kTransparent = 1, kOpaque = 2 };
enum PolyFillMode : std::uint16_t { kAlternate = 1, kWinding = 2 };

enum PenStyle : std::uint16_t {
  kPsSolid = 0,
  kPsDash = 1,
  kPsDot = 2,
  kPsDashDot = 3,
  kPsDashDotDot = 4,
  kPsNull = 5,
  kPsInsideFrame = 6,
  kPsStyleMask = 0x000F,
};

enum BrushStyle : std::uint16_t { kBsSolid = 0, kBsNull = 1, kBsHatched = 2 };

// Text alignment flags.
enum TextAlign : std::uint16_t {
  kTaUpdateCp = 0x0001,
  kTaRight = 0x0002,
  kTaCenter = 0x0006,
  kTaHorizontalMask = 0x0006,
  kTaBottom = 0x0008,
  kTaBaseline = 0x0018,
  kTaVerticalMask = 0x0018,
};

enum ExtTextOutOptions : std::uint16_t { kEtoOpaque = 0x0002, kEtoClipped = 0x0004 };

enum Charset : std::uint8_t { kAnsiCharset = 0, kEastEuropeCharset = 238 };

// Raster operations of the bitmap records that draw without a bitmap.
constexpr std::uint32_t kRopPatCopy = 0x00F00021;
constexpr std::uint32_t kRopBlackness = 0x00000042;
constexpr std::uint32_t kRopWhiteness = 0x00FF0062;
constexpr std::uint32_t kRopSrcCopy = 0x00CC0020;

constexpr std::uint16_t kDibRgbColors = 0;
constexpr std::uint32_t kBiRgb = 0;
constexpr int kBitmapInfoHeaderSize = 40;

}  // namespace wmf
