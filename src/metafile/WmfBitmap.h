// Device-independent bitmaps inside metafile records, decoded to 32-bit pixels for drawing.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "metafile/WmfBytes.h"
#include "metafile/WmfCanvas.h"

namespace wmf {

// Beyond this a bitmap is refused: it bounds the memory a hostile file can make the reader take.
constexpr std::uint64_t kMaxBitmapPixels = std::uint64_t{1} << 24;

struct TDib {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0xAARRGGBB, rows from the top
};

// Decodes the bitmap that fills the rest of in (info or core header, uncompressed, 1, 4, 8, 24 or
// 32 bits a pixel). Returns nothing for a kind it does not draw; a damaged one is rejected as a
// fault of in's record.
std::optional<TDib> DecodeDib(TCursor& in);

// The mean colour of a decoded bitmap's pixels (it has at least one), which stands in for a
// pattern brush.
TWmfColor AverageColor(const TDib& dib);

}  // namespace wmf
