// Writes a placeable Windows metafile record by record, the way a program draws through GDI:
// create and select pens, brushes and fonts, then draw in logical units (16-bit integers).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "metafile/WmfCanvas.h"

struct TWmfPoint16 {
  int x = 0;
  int y = 0;
};

class TWmfWriter {
 public:
  // The frame in logical units (x to the right, y downward) and the logical units per inch.
  // The file starts by mapping that window onto the frame (anisotropic mapping).
  TWmfWriter(int left, int top, int right, int bottom, int unitsPerInch);

  // Objects go into the lowest free slot of the object table; the returned index selects or
  // deletes them.
  int CreatePen(TWmfPenStyle style, int width, TWmfColor color);
  int CreateBrush(TWmfBrushStyle style, TWmfColor color, TWmfHatch hatch = TWmfHatch::Horizontal);
  // height < 0 is the em height; escapement in tenths of a degree; face in the charset's bytes.
  int CreateFont(int height, int weight, bool italic, std::string_view face, int escapement = 0,
                 std::uint8_t charset = 0);
  void SelectObject(int index);
  void DeleteObject(int index);

  void SetMapMode(std::uint16_t mode);
  void SetWindowOrg(int x, int y);
  void SetWindowExt(int width, int height);
  void SetViewportOrg(int x, int y);
  void SetViewportExt(int width, int height);
  void SetBkMode(bool opaque);
  void SetBkColor(TWmfColor color);
  void SetTextColor(TWmfColor color);
  void SetTextAlign(std::uint16_t align);
  void SetPolyFillMode(bool winding);
  void SaveDC();
  void RestoreDC(int n);

  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void Polyline(std::span<const TWmfPoint16> points);
  void Polygon(std::span<const TWmfPoint16> points);
  void PolyPolygon(const std::vector<std::vector<TWmfPoint16>>& rings);
  void Rectangle(int left, int top, int right, int bottom);
  void RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
  void Ellipse(int left, int top, int right, int bottom);
  void Arc(int left, int top, int right, int bottom, TWmfPoint16 start, TWmfPoint16 end);
  void Pie(int left, int top, int right, int bottom, TWmfPoint16 start, TWmfPoint16 end);
  void Chord(int left, int top, int right, int bottom, TWmfPoint16 start, TWmfPoint16 end);
  // text in the selected font's charset, one byte a character.
  void TextOut(int x, int y, std::string_view text);
  // advances empty or one per character; an opaque box is filled with the background colour.
  void ExtTextOut(int x, int y, std::string_view text, std::span<const int> advances = {},
                  const TWmfPoint16* opaqueBoxTopLeft = nullptr,
                  const TWmfPoint16* opaqueBoxBottomRight = nullptr);
  // A 24-bit bitmap of width x height pixels (0xRRGGBB, rows from the top) stretched onto the
  // destination rectangle.
  void StretchDib(int x, int y, int width, int height, int bitmapWidth, int bitmapHeight,
                  std::span<const std::uint32_t> pixels);

  // The whole file: placeable header, standard header, the records and the end record.
  std::vector<std::uint8_t> Finish() const;

 private:
  void Record(std::uint16_t function, std::span<const std::uint16_t> params);
  void Record(std::uint16_t function, std::initializer_list<int> params);
  int AddObject();
  void ArcRecord(std::uint16_t function, int left, int top, int right, int bottom,
                 TWmfPoint16 start, TWmfPoint16 end);

  int left_, top_, right_, bottom_, unitsPerInch_;
  std::vector<std::uint8_t> records_;
  std::vector<bool> slots_;
  std::uint32_t maxRecordWords_ = 3;
};
