#include "metafile/WmfCanvas.h"

void PlayDrawing(const TWmfDrawing& drawing, TWmfCanvas& canvas) {
  canvas.Begin(drawing.frame);
  for (const TWmfItem& item : drawing.items) {
    std::visit([&canvas](const auto& primitive) { canvas.Draw(primitive); }, item);
  }
}
