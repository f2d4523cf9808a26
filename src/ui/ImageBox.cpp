#include "ui/ImageBox.h"

#include <QPainter>

#include "metafile/WmfReader.h"
#include "ui/WmfPainter.h"

TImageBox::TImageBox(QWidget* parent) : QWidget(parent) {}

void TImageBox::Load(const std::string& path) {
  FFileName.clear();
  FDrawing.reset();
  update();
  FDrawing = LoadWmfFile(path);
  FFileName = path;
}

void TImageBox::paintEvent(QPaintEvent* /*event*/) {
  if (!FDrawing) {
    return;
  }
  QPainter painter(this);
  PaintWmf(painter, *FDrawing, QRectF(rect()));
}
