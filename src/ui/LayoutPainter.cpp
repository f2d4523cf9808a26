#include "ui/LayoutPainter.h"

#include <QFontMetricsF>
#include <QPolygonF>

#include "base/Units.h"

namespace {

QColor Colour(const preview::TColour& c) {
  return QColor(c.r, c.g, c.b);
}

// A stroke of width 0 draws nothing (Qt would draw a hairline). Qt counts dashes in widths.
QPen Pen(const preview::TStroke& stroke, Qt::PenJoinStyle join = Qt::MiterJoin) {
  if (stroke.width <= 0) {
    return Qt::NoPen;
  }
  QPen pen(Colour(stroke.colour), stroke.width, Qt::SolidLine, Qt::FlatCap, join);
  if (stroke.dashOn > 0) {
    pen.setDashPattern({stroke.dashOn / stroke.width, stroke.dashOff / stroke.width});
  }
  return pen;
}

QBrush Brush(const std::optional<preview::TColour>& fill) {
  return fill ? QBrush(Colour(*fill)) : QBrush(Qt::NoBrush);
}

void PaintShape(QPainter& p, const preview::TShape& s) {
  using preview::TShapeKind;
  switch (s.kind) {
    case TShapeKind::Rect:
      p.setPen(Pen(s.stroke));
      p.setBrush(Brush(s.fill));
      p.drawRect(QRectF(QPointF(s.x1, s.y1), QPointF(s.x2, s.y2)));
      break;
    case TShapeKind::Line:
      p.setPen(Pen(s.stroke));
      p.drawLine(QLineF(s.x1, s.y1, s.x2, s.y2));
      break;
    case TShapeKind::Circle:
      p.setPen(Pen(s.stroke));
      p.setBrush(Brush(s.fill));
      p.drawEllipse(QPointF(s.x1, s.y1), s.x2, s.x2);
      break;
    case TShapeKind::Text: {
      const QFont font = LayoutFont(p.device(), s.size, s.bold);
      const QString text = QString::fromStdString(s.text);
      const double width = QFontMetricsF(font, p.device()).horizontalAdvance(text);
      const double shift = s.anchor == preview::TAnchor::Start    ? 0
                           : s.anchor == preview::TAnchor::Middle ? width / 2
                                                                  : width;
      p.setFont(font);
      p.setPen(s.fill ? Colour(*s.fill) : QColor(Qt::black));
      if (s.vertical) {
        p.save();
        p.translate(s.x1, s.y1);
        p.rotate(-90);
        p.drawText(QPointF(-shift, 0), text);
        p.restore();
      } else {
        p.drawText(QPointF(s.x1 - shift, s.y1), text);
      }
      break;
    }
  }
}

}  // namespace

QFont LayoutFont(const QPaintDevice* device, double size, bool bold) {
  QFont font("DejaVu Sans");
  font.setStyleHint(QFont::SansSerif);
  // Point sizes keep the fraction a pixel size would lose on the printed page's millimetres.
  const int dpi = device != nullptr && device->logicalDpiY() > 0 ? device->logicalDpiY() : 96;
  font.setPointSizeF(size * 72.0 / dpi);
  font.setBold(bold);
  return font;
}

void PaintLayout(QPainter& p, const preview::TPreviewLayout& layout) {
  for (const preview::TShape& s : layout.below) {
    PaintShape(p, s);
  }
  p.setBrush(Qt::NoBrush);
  for (const preview::TOutlineDrawing& d : layout.outlines) {
    const auto paint = [&](const std::vector<std::vector<preview::TUnitPoint>>& pieces,
                           const preview::TStroke& stroke) {
      p.setPen(Pen(stroke, Qt::RoundJoin));
      for (const std::vector<preview::TUnitPoint>& piece : pieces) {
        QPolygonF line;
        line.reserve(static_cast<qsizetype>(piece.size()));
        for (const preview::TUnitPoint& point : piece) {
          line.append(QPointF(layout.X(point.x / kPlotterUnitsPerMm),
                              layout.Y(point.y / kPlotterUnitsPerMm)));
        }
        p.drawPolyline(line);
      }
    };
    paint(d.travel, d.travelStroke);
    paint(d.cut, d.cutStroke);
  }
  for (const preview::TShape& s : layout.above) {
    PaintShape(p, s);
  }
}
