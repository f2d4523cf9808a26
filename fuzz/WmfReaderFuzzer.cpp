// Feeds arbitrary bytes to the metafile reader: it must read them or refuse them with its own
// error, never crash, read outside the data, run away with memory or loop without end.
#include <cstddef>
#include <cstdint>

#include "base/AppError.h"
#include "metafile/WmfReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    TWmfDrawing drawing = ReadWmf(std::span(data, size));
    TWmfRecorder again;
    PlayDrawing(drawing, again);
  } catch (const EAppError&) {
  }
  return 0;
}
