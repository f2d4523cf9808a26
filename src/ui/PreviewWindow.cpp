#include "ui/PreviewWindow.h"

#include <QPainter>
#include <utility>

#include "locale/ViewStr.h"
#include "ui/LayoutPainter.h"
#include "ui/PreviewPlacement.h"
#include "ui/WindowServices.h"

TFormPreview::TFormPreview(QWidget* parent) : QWidget(parent, Qt::Window) {
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
  FLayout.reset();
  update();
}

void TFormPreview::ShowProgram(const std::string& text, const hpgl::WorkArea& workArea,
                               const std::vector<std::string>& advice) {
  hpgl::Program program = hpgl::ReadProgram(text);
  FReport = hpgl::CheckProgram(program, workArea);
  FProgram = std::move(program);
  FWorkArea = workArea;
  FAdvice = advice;
  FErrorText.clear();
  FInvalidField.clear();
  FHasPicture = true;
  FLayout.reset();
  update();
}

void TFormPreview::ShowError(const std::string& text, const std::string& statement,
                             const std::vector<std::string>& advice) {
  FHasPicture = false;
  FProgram = {};
  FReport = {};
  FAdvice = advice;
  FErrorText = text;
  FNoBreak = statement;
  FInvalidField.clear();
  FLayout.reset();
  update();
}

void TFormPreview::ShowInvalidField(const std::string& caption) {
  ShowError(FillArguments(GetViewStr(TViewStr::InvalidField), {caption}));
  FInvalidField = caption;
}

const preview::TPreviewLayout& TFormPreview::Layout() {
  if (!FLayout) {
    const preview::TPreviewTarget target = preview::WindowTarget(width(), height());
    if (FHasPicture) {
      preview::TPreviewInput input;
      input.workArea = FWorkArea;
      input.advice = FAdvice;
      FLayout = preview::LayOutProgram(FProgram, FReport, input, target);
    } else {
      std::vector<std::string> lines{FErrorText};
      lines.insert(lines.end(), FAdvice.begin(), FAdvice.end());
      FLayout = preview::LayOutMessage(GetViewStr(TViewStr::NoPicture), lines, FNoBreak, target);
    }
  }
  return *FLayout;
}

void TFormPreview::resizeEvent(QResizeEvent* event) {
  FLayout.reset();
  QWidget::resizeEvent(event);
}

void TFormPreview::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  PaintLayout(p, Layout());
}
