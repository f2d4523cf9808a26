#include "ui/WmfPainter.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace {

QColor Color(TWmfColor c) {
  return QColor(c.r, c.g, c.b);
}

QRectF Rect(const TWmfRect& r) {
  return QRectF(r.left, r.top, r.Width(), r.Height());
}

QPolygonF Polygon(const std::vector<TWmfPoint>& points) {
  QPolygonF polygon;
  polygon.reserve(static_cast<qsizetype>(points.size()));
  for (const TWmfPoint& p : points) {
    polygon << QPointF(p.x, p.y);
  }
  return polygon;
}

Qt::PenStyle PenStyle(TWmfPenStyle style) {
  switch (style) {
    case TWmfPenStyle::Dash:
      return Qt::DashLine;
    case TWmfPenStyle::Dot:
      return Qt::DotLine;
    case TWmfPenStyle::DashDot:
      return Qt::DashDotLine;
    case TWmfPenStyle::DashDotDot:
      return Qt::DashDotDotLine;
    case TWmfPenStyle::Null:
      return Qt::NoPen;
    default:
      return Qt::SolidLine;
  }
}

Qt::BrushStyle HatchStyle(TWmfHatch hatch) {
  switch (hatch) {
    case TWmfHatch::Horizontal:
      return Qt::HorPattern;
    case TWmfHatch::Vertical:
      return Qt::VerPattern;
    case TWmfHatch::FDiagonal:
      return Qt::FDiagPattern;
    case TWmfHatch::BDiagonal:
      return Qt::BDiagPattern;
    case TWmfHatch::Cross:
      return Qt::CrossPattern;
    case TWmfHatch::DiagCross:
      return Qt::DiagCrossPattern;
  }
  return Qt::CrossPattern;
}

}  // namespace

TWmfQtCanvas::TWmfQtCanvas(QPainter& painter, const QRectF& target)
    : painter_(painter), target_(target) {
  painter_.save();
  base_ = painter_.worldTransform();
  painter_.setClipRect(target_, Qt::IntersectClip);
}

TWmfQtCanvas::~TWmfQtCanvas() {
  painter_.restore();
}

void TWmfQtCanvas::Begin(const TWmfRect& frame) {
  double sx = frame.Width() > 0 ? target_.width() / frame.Width() : 1;
  scaleY_ = frame.Height() > 0 ? target_.height() / frame.Height() : 1;
  scaleX_ = sx;
  toTarget_ = QTransform::fromTranslate(-frame.left, -frame.top) *
              QTransform::fromScale(sx, scaleY_) *
              QTransform::fromTranslate(target_.left(), target_.top());
  frame_ = toTarget_ * base_;
  painter_.setWorldTransform(frame_);
}

void TWmfQtCanvas::Use(const TWmfPen& pen, const TWmfBrush& brush) {
  QPen qpen(Color(pen.color), pen.width, PenStyle(pen.style), Qt::RoundCap, Qt::RoundJoin);
  painter_.setPen(qpen);
  switch (brush.style) {
    case TWmfBrushStyle::Null:
      painter_.setBrush(Qt::NoBrush);
      break;
    case TWmfBrushStyle::Solid:
      painter_.setBrush(Color(brush.color));
      break;
    case TWmfBrushStyle::Hatched: {
      QBrush hatch(Color(brush.color), HatchStyle(brush.hatch));
      // Hatch lines keep their device spacing whatever the picture's scale.
      hatch.setTransform(frame_.inverted());
      painter_.setBrush(hatch);
      break;
    }
  }
  painter_.setBackgroundMode(brush.opaque ? Qt::OpaqueMode : Qt::TransparentMode);
  painter_.setBackground(Color(brush.background));
}

void TWmfQtCanvas::Draw(const TWmfPolyline& item) {
  Use(item.pen, TWmfBrush{TWmfBrushStyle::Null});
  painter_.drawPolyline(Polygon(item.points));
}

void TWmfQtCanvas::Draw(const TWmfPolygons& item) {
  Use(item.pen, item.brush);
  QPainterPath path;
  path.setFillRule(item.winding ? Qt::WindingFill : Qt::OddEvenFill);
  for (const auto& ring : item.rings) {
    path.addPolygon(Polygon(ring));
    path.closeSubpath();
  }
  painter_.drawPath(path);
}

void TWmfQtCanvas::Draw(const TWmfRectangle& item) {
  Use(item.pen, item.brush);
  if (item.rx > 0 && item.ry > 0) {
    painter_.drawRoundedRect(Rect(item.rect), item.rx, item.ry);
  } else {
    painter_.drawRect(Rect(item.rect));
  }
}

void TWmfQtCanvas::Draw(const TWmfEllipse& item) {
  Use(item.pen, item.brush);
  painter_.drawEllipse(Rect(item.rect));
}

void TWmfQtCanvas::Draw(const TWmfArc& item) {
  int start = qRound(item.startDeg * 16), sweep = qRound(item.sweepDeg * 16);
  switch (item.kind) {
    case TWmfArcKind::Arc:
      Use(item.pen, TWmfBrush{TWmfBrushStyle::Null});
      painter_.drawArc(Rect(item.rect), start, sweep);
      break;
    case TWmfArcKind::Pie:
      Use(item.pen, item.brush);
      painter_.drawPie(Rect(item.rect), start, sweep);
      break;
    case TWmfArcKind::Chord:
      Use(item.pen, item.brush);
      painter_.drawChord(Rect(item.rect), start, sweep);
      break;
  }
}

void TWmfQtCanvas::Draw(const TWmfText& item) {
  // Text is laid out unstretched in the target's own units, its size scaled with the height.
  QFont font(item.font.face.empty() ? QStringLiteral("Sans")
                                    : QString::fromStdString(item.font.face));
  // Within what a font renderer takes: from a pixel to a few thousand.
  font.setPixelSize(
      static_cast<int>(std::lround(std::clamp(item.font.height * scaleY_, 1.0, 4096.0))));
  font.setWeight(static_cast<QFont::Weight>(std::clamp(item.font.weight, 1, 1000)));
  font.setItalic(item.font.italic);
  font.setUnderline(item.font.underline);
  font.setStrikeOut(item.font.strikeout);
  QFontMetricsF metrics(font);
  QString text = QString::fromStdString(item.text);
  double width = 0;
  std::vector<double> advances;
  if (!item.advances.empty() && item.advances.size() == static_cast<std::size_t>(text.size())) {
    for (double a : item.advances) {
      advances.push_back(a * scaleX_);
      width += a * scaleX_;
    }
  } else {
    width = metrics.horizontalAdvance(text);
  }
  double x = item.halign == TWmfHAlign::Left     ? 0
             : item.halign == TWmfHAlign::Center ? -width / 2
                                                 : -width;
  double y = item.valign == TWmfVAlign::Top      ? metrics.ascent()
             : item.valign == TWmfVAlign::Bottom ? -metrics.descent()
                                                 : 0;
  QPointF origin = toTarget_.map(QPointF(item.origin.x, item.origin.y));
  painter_.save();
  painter_.setWorldTransform(QTransform::fromTranslate(origin.x(), origin.y()) * base_);
  painter_.rotate(-item.font.escapement);
  painter_.setFont(font);
  if (item.opaque) {
    painter_.fillRect(QRectF(x, y - metrics.ascent(), width, metrics.height()),
                      Color(item.background));
  }
  painter_.setPen(Color(item.color));
  if (advances.empty()) {
    painter_.drawText(QPointF(x, y), text);
  } else {
    for (qsizetype i = 0; i < text.size(); ++i) {
      painter_.drawText(QPointF(x, y), QString(text[i]));
      x += advances[static_cast<std::size_t>(i)];
    }
  }
  painter_.restore();
}

void TWmfQtCanvas::Draw(const TWmfImage& item) {
  QImage image(reinterpret_cast<const uchar*>(item.pixels.data()), item.width, item.height,
               item.width * 4, QImage::Format_ARGB32);
  painter_.drawImage(Rect(item.dest), image);
}

void PaintWmf(QPainter& painter, const TWmfDrawing& drawing, const QRectF& target) {
  TWmfQtCanvas canvas(painter, target);
  PlayDrawing(drawing, canvas);
}

QImage RenderWmf(const TWmfDrawing& drawing, QSize size) {
  QImage image(size, QImage::Format_ARGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  PaintWmf(painter, drawing, QRectF(QPointF(0, 0), QSizeF(size)));
  return image;
}
