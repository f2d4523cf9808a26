#include "ui/PreviewWindow.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <utility>

#include "locale/ViewStr.h"
#include "preview/FindingText.h"
#include "preview/PreviewSvg.h"
#include "ui/Fonts.h"
#include "ui/PreviewPlacement.h"
#include "ui/WindowServices.h"

namespace {

constexpr int kWidth = 860;
constexpr int kHeight = 500;
// Two layouts, as the printed preview has them: a tall drawing gets the plot box left and the
// legend in a column right of it; a wide one gets the window's width and the legend in columns
// under it. The plot box is as high as the drawing needs, at least kPlotLeast.
constexpr double kPlotLeft = 72, kPlotTop = 24;
constexpr double kTallRight = 592, kTallBottom = 444;
constexpr double kWideRight = kWidth - 16, kWideBottomMost = 340;
constexpr double kPlotLeast = 160;
constexpr double kTallLegendLeft = 612;
constexpr double kColumnWidth = 208;  // wide layout, from x 12
constexpr int kFindingsShown = 4;

const QColor kInk(0x1d, 0x23, 0x29);
const QColor kGrid(0xdd, 0xe3, 0xe9);
const QColor kNoGo(0xfb, 0xe4, 0xe6);
const QColor kWorkFill(0xe7, 0xf0, 0xfa);
const QColor kWorkEdge(0x6b, 0x8b, 0xad);
const QColor kTravel(0x7a, 0x85, 0x91);
const QColor kFailRed(0xc0, 0x15, 0x2f);
const QColor kWarnAmber(0xa0, 0x5a, 0x00);
const QColor kPassGreen(0x1c, 0x7c, 0x3a);

// The front outline solid blue, the rear dashed orange, as the printed preview draws them.
QPen OutlinePen(int pen) {
  if (pen == 4) {
    return QPen(QColor(0x0b, 0x5c, 0xad), 2);
  }
  QPen result(pen == 3 ? QColor(0xd9, 0x48, 0x0f) : QColor(0x2b, 0x8a, 0x3e), 2);
  if (pen == 3) {
    result.setDashPattern({4, 2});
  }
  return result;
}

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

std::string Mm(double value) {
  return hpgl::Millimetres(value);
}

QPointF MmPoint(std::int64_t x, std::int64_t y) {
  return {x / kPlotterUnitsPerMm, y / kPlotterUnitsPerMm};
}

// Program millimetres (y up) onto the plot box (y down), one scale for both axes: the zero, the
// work area and every point fill the box, the zero held near its lower left corner.
struct TFrame {
  bool wide = false;
  QRectF box;  // the plot box
  double scale = 1;
  double offsetX = 0;
  double offsetY = 0;
  QPointF Map(QPointF mm) const { return {offsetX + mm.x() * scale, offsetY - mm.y() * scale}; }
  QPointF Unmap(QPointF px) const {
    return {(px.x() - offsetX) / scale, (offsetY - px.y()) / scale};
  }
};

TFrame FitFrame(const hpgl::Program& program, const hpgl::WorkArea& area) {
  double minX = 0, minY = 0, maxX = area.width, maxY = area.height;
  const auto add = [&](QPointF p) {
    minX = std::min(minX, p.x());
    maxX = std::max(maxX, p.x());
    minY = std::min(minY, p.y());
    maxY = std::max(maxY, p.y());
  };
  for (const hpgl::Outline& outline : program.outlines) {
    add(MmPoint(outline.entryX, outline.entryY));
    for (const hpgl::Move& move : outline.moves) {
      add(MmPoint(move.x, move.y));
    }
  }
  const double spanX = std::max(maxX - minX, 1.0);
  const double spanY = std::max(maxY - minY, 1.0);
  TFrame f;
  const auto scaleIn = [&](double right, double bottom) {
    return std::min((right - kPlotLeft) / (spanX * 1.08), (bottom - kPlotTop) / (spanY * 1.08));
  };
  f.wide = scaleIn(kWideRight, kWideBottomMost) > 1.1 * scaleIn(kTallRight, kTallBottom);
  const double right = f.wide ? kWideRight : kTallRight;
  const double bottomMost = f.wide ? kWideBottomMost : kTallBottom;
  f.scale = scaleIn(right, bottomMost);
  const double height = std::clamp(spanY * 1.08 * f.scale, kPlotLeast, bottomMost - kPlotTop);
  f.box = QRectF(kPlotLeft, kPlotTop, right - kPlotLeft, height);
  f.offsetX = f.box.left() + 0.04 * spanX * f.scale - minX * f.scale;
  f.offsetY = f.box.bottom() - 0.04 * spanY * f.scale + minY * f.scale;
  return f;
}

void DrawAxes(QPainter& p, const TFrame& f) {
  const QRectF& box = f.box;
  const QPointF low = f.Unmap(box.bottomLeft());
  const QPointF high = f.Unmap(box.topRight());
  const double step = hpgl::NiceStep(std::max(high.x() - low.x(), high.y() - low.y()), 10);
  // Left of and below the machine's zero the wire must never go.
  const QPointF zero = f.Map({0, 0});
  const double zeroX = std::clamp(zero.x(), box.left(), box.right());
  const double zeroY = std::clamp(zero.y(), box.top(), box.bottom());
  p.fillRect(QRectF(box.left(), box.top(), zeroX - box.left(), box.height()), kNoGo);
  p.fillRect(QRectF(zeroX, zeroY, box.right() - zeroX, box.bottom() - zeroY), kNoGo);

  p.setFont(WindowFont(10));
  for (double v = std::ceil(low.x() / step) * step; v <= high.x() + 1e-9; v += step) {
    const double x = f.Map({v, 0}).x();
    p.setPen(kGrid);
    p.drawLine(QPointF(x, box.top()), QPointF(x, box.bottom()));
    p.setPen(kInk);
    p.drawLine(QPointF(x, box.bottom()), QPointF(x, box.bottom() + 4));
    p.drawText(QRectF(x - 30, box.bottom() + 5, 60, 14), Qt::AlignHCenter | Qt::AlignTop,
               Q(Mm(std::abs(v) < step / 2 ? 0 : v)));
  }
  for (double v = std::ceil(low.y() / step) * step; v <= high.y() + 1e-9; v += step) {
    const double y = f.Map({0, v}).y();
    p.setPen(kGrid);
    p.drawLine(QPointF(box.left(), y), QPointF(box.right(), y));
    p.setPen(kInk);
    p.drawLine(QPointF(box.left() - 4, y), QPointF(box.left(), y));
    p.drawText(QRectF(box.left() - 66, y - 7, 60, 14), Qt::AlignRight | Qt::AlignVCenter,
               Q(Mm(std::abs(v) < step / 2 ? 0 : v)));
  }
  p.setPen(QColor(0x9a, 0xa5, 0xb1));
  p.drawRect(box);
  p.setPen(kInk);
  p.drawText(QRectF(box.left(), box.bottom() + 20, box.width(), 16), Qt::AlignHCenter,
             Q(GetViewStr(TViewStr::AxisX)));
  p.save();
  p.translate(14, box.center().y());
  p.rotate(-90);
  p.drawText(QRectF(-100, -8, 200, 16), Qt::AlignCenter, Q(GetViewStr(TViewStr::AxisY)));
  p.restore();
  if (box.contains(zero)) {
    p.setPen(QPen(kInk, 1.5));
    p.drawLine(zero - QPointF(7, 0), zero + QPointF(7, 0));
    p.drawLine(zero - QPointF(0, 7), zero + QPointF(0, 7));
  }
}

void DrawWorkArea(QPainter& p, const TFrame& f, const hpgl::WorkArea& area) {
  const QRectF rect(f.Map({0, area.height}), f.Map({area.width, 0}));
  p.fillRect(rect, kWorkFill);
  QPen edge(kWorkEdge, 1);
  edge.setDashPattern({3, 3});
  p.setPen(edge);
  p.setBrush(Qt::NoBrush);
  p.drawRect(rect);
}

// The pen-up moves as thin grey dashes, the pen-down moves in the outline's own pen, and a dot
// on the outline's first point.
void DrawOutline(QPainter& p, const TFrame& f, const hpgl::Outline& outline) {
  QPainterPath travel, cut;
  QPointF at = f.Map(MmPoint(outline.entryX, outline.entryY));
  for (const hpgl::Move& move : outline.moves) {
    if (!move.hasPoint) {
      continue;
    }
    const QPointF to = f.Map(MmPoint(move.x, move.y));
    QPainterPath& path = move.penDown ? cut : travel;
    if (path.currentPosition() != at || path.elementCount() == 0) {
      path.moveTo(at);
    }
    path.lineTo(to);
    at = to;
  }
  QPen travelPen(kTravel, 1);
  travelPen.setDashPattern({2, 3});
  p.strokePath(travel, travelPen);
  const QPen pen = OutlinePen(outline.pen);
  p.strokePath(cut, pen);
  for (const hpgl::Move& move : outline.moves) {
    if (move.hasPoint) {
      p.setPen(QPen(kInk, 1));
      p.setBrush(pen.color());
      p.drawEllipse(f.Map(MmPoint(move.x, move.y)), 4, 4);
      break;
    }
  }
}

// Writes the legend downward: in one column right of a tall plot box, or in columns under a
// wide one, the next column begun by NextColumn.
class TLegend {
 public:
  TLegend(QPainter& p, const TFrame& f)
      : p_(p),
        wide_(f.wide),
        left_(f.wide ? 12 : kTallLegendLeft),
        width_(f.wide ? kColumnWidth - 14 : kWidth - kTallLegendLeft - 12),
        top_(f.wide ? f.box.bottom() + 44 : kPlotTop),
        y_(top_) {}

  // The verdict as a badge, white on green or red.
  void Badge(bool failed) {
    const QRectF badge(left_, y_, width_, 26);
    p_.fillRect(badge, failed ? kFailRed : kPassGreen);
    p_.setPen(Qt::white);
    p_.setFont(WindowFont(13, true));
    p_.drawText(badge, Qt::AlignCenter,
                Q(GetViewStr(failed ? TViewStr::CheckFailed : TViewStr::CheckPassed)));
    y_ = badge.bottom() + 8;
  }
  void Line(const std::string& text, const QColor& colour = kInk, double indent = 30) {
    Text(text, colour, false, indent, 0);
  }
  // A sample of a line or a mark, then its caption.
  template <typename Sample>
  void Keyed(const std::string& text, Sample sample, bool bold = false) {
    p_.save();
    p_.setBrush(Qt::NoBrush);
    sample(QPointF(left_ + 12, y_ + 8));
    p_.restore();
    Text(text, kInk, bold, 30, 16);
  }
  void NextColumn() {
    if (wide_) {
      left_ += kColumnWidth;
      y_ = top_;
    } else {
      y_ += 8;
    }
  }

 private:
  void Text(const std::string& text, const QColor& colour, bool bold, double indent, double least) {
    p_.setFont(WindowFont(bold ? 12 : 11, bold));
    p_.setPen(colour);
    const QRectF rect(left_ + indent, y_, width_ - indent, kHeight - y_);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    const QRectF used = p_.boundingRect(rect, flags, Q(text));
    p_.drawText(rect, flags, Q(text));
    y_ += std::max(used.height(), least) + 1;
  }

  QPainter& p_;
  bool wide_;
  double left_;
  double width_;
  double top_;
  double y_;
};

void DrawLegend(QPainter& p, const TFrame& f, const hpgl::CheckReport& report) {
  TLegend legend(p, f);
  legend.Badge(report.Failed());
  int shown = 0;
  for (const hpgl::Finding& finding : report.findings) {
    if (finding.severity == hpgl::Severity::Note || shown == kFindingsShown) {
      continue;
    }
    ++shown;
    const std::string where = finding.statement > 0 ? GetViewStr(TViewStr::Statement) + " " +
                                                          std::to_string(finding.statement) + ": "
                                                    : std::string();
    legend.Line(where + preview::FindingText(finding),
                finding.severity == hpgl::Severity::Failure ? kFailRed : kWarnAmber, 0);
  }
  if (report.outlines.empty()) {
    legend.Line(GetViewStr(TViewStr::NoOutline), kFailRed, 0);
  }

  for (const hpgl::OutlineFigures& o : report.outlines) {
    legend.NextColumn();
    const QPen pen = OutlinePen(o.pen);
    legend.Keyed(
        preview::OutlineTitle(o.pen),
        [&](QPointF at) {
          p.setPen(pen);
          p.drawLine(at - QPointF(10, 0), at + QPointF(12, 0));
        },
        true);
    legend.Line(GetViewStr(TViewStr::Statements) + " " + std::to_string(o.statements) + ", " +
                GetViewStr(TViewStr::CuttingMoves) + " " + std::to_string(o.cuttingMoves));
    legend.Line(GetViewStr(TViewStr::CutLength) + " " + Mm(o.cutLength) + " mm");
    if (o.hasPoints) {
      // One line per axis: both on one line wrap in the legend's column.
      legend.Line(GetViewStr(TViewStr::Box) + " x " + Mm(o.minX) + "…" + Mm(o.maxX) + " mm");
      legend.Line(GetViewStr(TViewStr::Box) + " y " + Mm(o.minY) + "…" + Mm(o.maxY) + " mm");
      legend.Line(GetViewStr(TViewStr::Start) + " (" + Mm(o.startX) + ", " + Mm(o.startY) + ")");
    }
  }

  legend.NextColumn();
  legend.Keyed(GetViewStr(TViewStr::WorkArea), [&](QPointF at) {
    const QRectF sample(at - QPointF(10, 6), at + QPointF(12, 6));
    p.fillRect(sample, kWorkFill);
    QPen edge(kWorkEdge, 1);
    edge.setDashPattern({3, 3});
    p.setPen(edge);
    p.drawRect(sample);
  });
  legend.Keyed(GetViewStr(TViewStr::Travel), [&](QPointF at) {
    QPen travel(kTravel, 1);
    travel.setDashPattern({2, 3});
    p.setPen(travel);
    p.drawLine(at - QPointF(10, 0), at + QPointF(12, 0));
  });
  legend.Keyed(GetViewStr(TViewStr::StartPoint), [&](QPointF at) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(0x0b, 0x5c, 0xad));
    p.drawEllipse(at, 4, 4);
  });
  legend.Keyed(GetViewStr(TViewStr::NoGo), [&](QPointF at) {
    p.fillRect(QRectF(at - QPointF(10, 6), at + QPointF(12, 6)), kNoGo);
  });
}

}  // namespace

TFormPreview::TFormPreview(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("FormPreview");
  // Drawn for kWidth x kHeight and scaled to the window, which the placement may shrink.
  resize(kWidth, kHeight);
  setMinimumSize(kPreviewLeastSize);
  setAttribute(Qt::WA_OpaquePaintEvent);
  // Closing the main window ends the program even while the preview is open.
  setAttribute(Qt::WA_QuitOnClose, false);
  LoadStr();
}

void TFormPreview::LoadStr() {
  setWindowTitle(Q(std::string(kApplicationTitle) + " - " + GetViewStr(TViewStr::PreviewTitle)));
}

void TFormPreview::ShowProgram(const std::string& text, const hpgl::WorkArea& workArea) {
  hpgl::Program program = hpgl::ReadProgram(text);
  FReport = hpgl::CheckProgram(program, workArea);
  FProgram = std::move(program);
  FWorkArea = workArea;
  FErrorText.clear();
  FInvalidField.clear();
  FHasPicture = true;
  update();
}

void TFormPreview::ShowError(const std::string& text, const std::string& statement) {
  FHasPicture = false;
  FProgram = {};
  FReport = {};
  FErrorText = text;
  FNoBreak = statement;
  FInvalidField.clear();
  update();
}

void TFormPreview::ShowInvalidField(const std::string& caption) {
  ShowError(FillArguments(GetViewStr(TViewStr::InvalidField), {caption}));
  FInvalidField = caption;
}

void TFormPreview::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.setRenderHint(QPainter::Antialiasing);
  const double scale = std::min(width() / double(kWidth), height() / double(kHeight));
  p.scale(scale, scale);
  if (!FHasPicture) {
    p.setPen(kFailRed);
    p.setFont(WindowFont(16, true));
    const QRectF box(60, 160, kWidth - 120, 40);
    p.drawText(box, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
               Q(GetViewStr(TViewStr::NoPicture)));
    p.setPen(kInk);
    p.setFont(WindowFont(13));
    // The quoted statement keeps its blanks unbroken: "PD 0 -4800;" is read as one.
    QString text = Q(FErrorText);
    if (!FNoBreak.empty()) {
      QString glued = Q(FNoBreak);
      glued.replace(' ', QChar(0x00A0));
      text.replace(Q(FNoBreak), glued);
    }
    p.drawText(QRectF(60, 210, kWidth - 120, 300),
               Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, text);
    return;
  }
  // The frame holds the zero, the work area and every point inside the plot box.
  const TFrame frame = FitFrame(FProgram, FWorkArea);
  DrawWorkArea(p, frame, FWorkArea);
  DrawAxes(p, frame);
  for (const hpgl::Outline& outline : FProgram.outlines) {
    DrawOutline(p, frame, outline);
  }
  DrawLegend(p, frame, FReport);
}
