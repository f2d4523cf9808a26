#include "metafile/WmfRecordNames.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "metafile/WmfFormat.h"

namespace wmf {

namespace {

struct TRecordName {
  std::uint16_t function;
  std::string_view name;
};

constexpr TRecordName kRecordNames[] = {
    {kEof, "EOF"},
    {kSaveDC, "SAVEDC"},
    {kCreatePalette, "CREATEPALETTE"},
    {kSetBkMode, "SETBKMODE"},
    {kSetMapMode, "SETMAPMODE"},
    {kSetRop2, "SETROP2"},
    {kSetPolyFillMode, "SETPOLYFILLMODE"},
    {kSetStretchBltMode, "SETSTRETCHBLTMODE"},
    {kRestoreDC, "RESTOREDC"},
    {kSelectObject, "SELECTOBJECT"},
    {kSetTextAlign, "SETTEXTALIGN"},
    {kDibCreatePatternBrush, "DIBCREATEPATTERNBRUSH"},
    {kDeleteObject, "DELETEOBJECT"},
    {kCreatePatternBrush, "CREATEPATTERNBRUSH"},
    {kSetBkColor, "SETBKCOLOR"},
    {kSetTextColor, "SETTEXTCOLOR"},
    {kSetWindowOrg, "SETWINDOWORG"},
    {kSetWindowExt, "SETWINDOWEXT"},
    {kSetViewportOrg, "SETVIEWPORTORG"},
    {kSetViewportExt, "SETVIEWPORTEXT"},
    {kOffsetWindowOrg, "OFFSETWINDOWORG"},
    {kOffsetViewportOrg, "OFFSETVIEWPORTORG"},
    {kLineTo, "LINETO"},
    {kMoveTo, "MOVETO"},
    {kCreatePenIndirect, "CREATEPENINDIRECT"},
    {kCreateFontIndirect, "CREATEFONTINDIRECT"},
    {kCreateBrushIndirect, "CREATEBRUSHINDIRECT"},
    {kPolygon, "POLYGON"},
    {kPolyline, "POLYLINE"},
    {kScaleWindowExt, "SCALEWINDOWEXT"},
    {kScaleViewportExt, "SCALEVIEWPORTEXT"},
    {kEllipse, "ELLIPSE"},
    {kRectangle, "RECTANGLE"},
    {kTextOut, "TEXTOUT"},
    {kPolyPolygon, "POLYPOLYGON"},
    {kRoundRect, "ROUNDRECT"},
    {kCreateRegion, "CREATEREGION"},
    {kArc, "ARC"},
    {kPie, "PIE"},
    {kChord, "CHORD"},
    {kExtTextOut, "EXTTEXTOUT"},
    {kDibStretchBlt, "DIBSTRETCHBLT"},
    {kStretchDib, "STRETCHDIB"},
};

// A function has at most one name.
constexpr bool RecordNamesUnique() {
  for (std::size_t i = 0; i < std::size(kRecordNames); ++i) {
    for (std::size_t j = i + 1; j < std::size(kRecordNames); ++j) {
      if (kRecordNames[i].function == kRecordNames[j].function) {
        return false;
      }
    }
  }
  return true;
}
static_assert(RecordNamesUnique());

}  // namespace

std::string RecordName(std::uint16_t function) {
  const auto* row =
      std::find_if(std::begin(kRecordNames), std::end(kRecordNames),
                   [function](const TRecordName& r) { return r.function == function; });
  if (row != std::end(kRecordNames)) {
    return std::string(row->name);
  }
  char number[8];
  std::snprintf(number, sizeof number, "0x%04X", function);
  return number;
}

}  // namespace wmf
