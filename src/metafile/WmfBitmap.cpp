#include "metafile/WmfBitmap.h"

#include <cstdlib>
#include <string>

#include "metafile/WmfFormat.h"

namespace wmf {

std::optional<TDib> DecodeDib(TCursor& in) {
  std::uint32_t headerSize = in.U32();
  std::int64_t width, height;
  unsigned bits;
  std::uint32_t compression = kBiRgb, colorsUsed = 0;
  std::size_t paletteEntrySize = 4;
  if (headerSize == 12) {
    width = in.U16();
    height = in.U16();
    in.U16();
    bits = in.U16();
    paletteEntrySize = 3;
  } else if (headerSize >= kBitmapInfoHeaderSize) {
    width = in.I32();
    height = in.I32();
    in.U16();
    bits = in.U16();
    compression = in.U32();
    in.Take(12);
    colorsUsed = in.U32();
    in.Take(headerSize - 36);
  } else {
    in.Reject(TErrorId::WmfUnknownBitmapHeader);
  }
  bool topDown = height < 0;
  height = std::abs(height);
  if (width <= 0 || height == 0) {
    in.Reject(TErrorId::WmfEmptyBitmap);
  }
  if (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > kMaxBitmapPixels) {
    in.Reject(TErrorId::WmfBitmapTooLarge, {std::to_string(kMaxBitmapPixels)});
  }
  if (compression != kBiRgb || (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)) {
    return std::nullopt;
  }
  std::size_t paletteSize = colorsUsed;
  if (bits <= 8 && colorsUsed == 0) {
    paletteSize = std::size_t{1} << bits;
  }
  if (paletteSize > in.Left() / paletteEntrySize) {
    in.Reject(TErrorId::WmfColorTableTooLong);
  }
  std::vector<std::uint32_t> palette(paletteSize);
  for (std::uint32_t& entry : palette) {
    TByteSpan e = in.Take(paletteEntrySize);
    entry = 0xFF000000u | std::uint32_t{e[2]} << 16 | std::uint32_t{e[1]} << 8 | e[0];
  }
  std::uint64_t stride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
  if (stride * static_cast<std::uint64_t>(height) > in.Left()) {
    in.Reject(TErrorId::WmfBitmapPastRecord);
  }
  TDib dib;
  dib.width = static_cast<int>(width);
  dib.height = static_cast<int>(height);
  dib.pixels.resize(static_cast<std::size_t>(width * height));
  for (int row = 0; row < dib.height; ++row) {
    TByteSpan line = in.Take(stride);
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

TWmfColor AverageColor(const TDib& dib) {
  std::uint64_t sum[3] = {0, 0, 0};
  for (std::uint32_t p : dib.pixels) {
    sum[0] += p >> 16 & 0xFF;
    sum[1] += p >> 8 & 0xFF;
    sum[2] += p & 0xFF;
  }
  std::size_t n = dib.pixels.size();
  return {static_cast<std::uint8_t>(sum[0] / n), static_cast<std::uint8_t>(sum[1] / n),
          static_cast<std::uint8_t>(sum[2] / n)};
}

}  // namespace wmf
