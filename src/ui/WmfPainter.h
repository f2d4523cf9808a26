// Shows metafile pictures in the window: plays a drawing onto a QPainter, its frame stretched
// onto a target rectangle (as an image box shows its picture).
#pragma once

#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QSize>

#include "metafile/WmfCanvas.h"

// A canvas that paints onto painter, mapping the frame given to Begin onto target (in the
// painter's current coordinates). The painter's state is restored when the canvas goes.
class TWmfQtCanvas : public TWmfCanvas {
 public:
  TWmfQtCanvas(QPainter& painter, const QRectF& target);
  ~TWmfQtCanvas() override;
  TWmfQtCanvas(const TWmfQtCanvas&) = delete;
  TWmfQtCanvas& operator=(const TWmfQtCanvas&) = delete;

  void Begin(const TWmfRect& frame) override;
  void Draw(const TWmfPolyline& item) override;
  void Draw(const TWmfPolygons& item) override;
  void Draw(const TWmfRectangle& item) override;
  void Draw(const TWmfEllipse& item) override;
  void Draw(const TWmfArc& item) override;
  void Draw(const TWmfText& item) override;
  void Draw(const TWmfImage& item) override;

 private:
  void Use(const TWmfPen& pen, const TWmfBrush& brush);

  QPainter& painter_;
  QRectF target_;
  QTransform base_;      // the painter's transform before the canvas
  QTransform toTarget_;  // frame units to the target's units
  QTransform frame_;     // toTarget_, then base_
  double scaleX_ = 1;
  double scaleY_ = 1;
};

// Paints drawing with its frame stretched onto target.
void PaintWmf(QPainter& painter, const TWmfDrawing& drawing, const QRectF& target);

// The drawing on a white image of the given size, antialiased.
QImage RenderWmf(const TWmfDrawing& drawing, QSize size);
