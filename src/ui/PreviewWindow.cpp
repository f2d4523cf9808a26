#include "ui/PreviewWindow.h"

#include <QPainter>
#include <utility>

#include "locale/ViewStr.h"
#include "ui/LayoutPainter.h"
#include "ui/PreviewPlacement.h"
#include "ui/WindowServices.h"

namespace {

// Where the verdict stands in a layout: the "updating" mark covers it.
QRectF VerdictArea(const preview::TPreviewLayout& layout) {
  return QRectF(QPointF(layout.verdictLeft, layout.verdictTop),
                QPointF(layout.verdictRight, layout.verdictBottom));
}

}  // namespace

TFormPreview::TFormPreview(QWidget* parent)
    : QWidget(parent, Qt::Window), FState(std::make_shared<preview::TPreviewState>()) {
  setObjectName("FormPreview");
  resize(kPreviewSize);
  setMinimumSize(kPreviewLeastSize);
  setAttribute(Qt::WA_OpaquePaintEvent);
  // Closing the main window ends the program even while the preview is open.
  setAttribute(Qt::WA_QuitOnClose, false);
  LoadStr();
}

void TFormPreview::LoadStr() {
  setWindowTitle(QString::fromStdString(std::string(kApplicationTitle) + " - " +
                                        GetViewStr(TViewStr::PreviewTitle)));
  ForgetLayout();
  update();
}

void TFormPreview::ForgetLayout() {
  FLayout.reset();
  FPicture = QPixmap();
}

void TFormPreview::ShowState(std::shared_ptr<const preview::TPreviewState> state,
                             std::optional<preview::TPreviewLayout> layout) {
  FState = std::move(state);
  FInvalidField.clear();
  FUpdating = false;
  const bool fits = layout && layout->target.width == width() && layout->target.height == height();
  ForgetLayout();
  if (fits) {
    FLayout = std::move(layout);
  }
  update();
}

void TFormPreview::ShowInvalidField(const std::string& caption) {
  auto state = std::make_shared<preview::TPreviewState>();
  state->errorText = FillArguments(GetViewStr(TViewStr::InvalidField), {caption});
  ShowState(std::move(state));
  FInvalidField = caption;
}

void TFormPreview::SetUpdating(bool updating) {
  if (FUpdating != updating) {
    FUpdating = updating;
    if (FLayout) {
      update(VerdictArea(*FLayout).toAlignedRect());  // the rest of the drawing stays as it is
    } else {
      update();
    }
  }
}

preview::TPreviewLayout TFormPreview::LayOut(const preview::TPreviewState& state, double width,
                                             double height, TTextLanguage language) {
  const preview::TPreviewTarget target = preview::WindowTarget(width, height);
  if (state.hasPicture) {
    preview::TPreviewInput input;
    input.workArea = state.workArea;
    input.advice = state.advice;
    input.language = language;
    return preview::LayOutProgram(state.program, state.report, input, target);
  }
  std::vector<std::string> lines{state.errorText};
  lines.insert(lines.end(), state.advice.begin(), state.advice.end());
  return preview::LayOutMessage(GetViewStr(TViewStr::NoPicture, language == TTextLanguage::Polish),
                                lines, {}, target, language);
}

const preview::TPreviewLayout& TFormPreview::Layout() {
  if (!FLayout) {
    FLayout = LayOut(*FState, width(), height(), InterfaceTextLanguage());
  }
  return *FLayout;
}

void TFormPreview::resizeEvent(QResizeEvent* event) {
  ForgetLayout();
  QWidget::resizeEvent(event);
}

void TFormPreview::paintEvent(QPaintEvent*) {
  const preview::TPreviewLayout& layout = Layout();
  const qreal ratio = devicePixelRatioF();
  if (FPicture.isNull()) {
    FPicture = QPixmap((QSizeF(size()) * ratio).toSize());
    FPicture.setDevicePixelRatio(ratio);
    QPainter picture(&FPicture);
    picture.setRenderHint(QPainter::Antialiasing);
    picture.setRenderHint(QPainter::TextAntialiasing);
    PaintLayout(picture, layout);
  }
  QPainter p(this);
  p.drawPixmap(0, 0, FPicture);
  if (FUpdating) {
    // Over the verdict: what the window shows is not yet the program of the fields.
    const QRectF badge = VerdictArea(layout);
    p.fillRect(badge, QColor(0x5c, 0x67, 0x70));
    p.setPen(Qt::white);
    p.setFont(LayoutFont(this, layout.target.em * 1.4, true));
    p.drawText(badge, Qt::AlignCenter, QString::fromStdString(GetViewStr(TViewStr::Updating)));
  }
}
