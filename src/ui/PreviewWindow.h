// The preview window: the cutting program the main window would write (or refuses to write),
// drawn from the preview layout (the drawing the printed picture is made of) with the work
// area, both outlines, axes and the figures of the check. It shows what it is given and never
// writes a file; while what it shows is older than the fields it says so over the verdict.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "hpgl/HpglReader.h"
#include "hpgl/ProgramCheck.h"
#include "preview/PreviewLayout.h"
#include "preview/PreviewState.h"

class TFormPreview : public QWidget {
  Q_OBJECT

 public:
  // A window of its own, owned by parent and kept above it; it does not block parent.
  explicit TFormPreview(QWidget* parent);

  // Shows state; layout, when given, is its drawing for the window's current size (made where
  // the state was made), else the window lays it out itself. Ends the updating state.
  void ShowState(std::shared_ptr<const preview::TPreviewState> state,
                 std::optional<preview::TPreviewLayout> layout = {});
  // Says that the field of the caption holds no valid value, instead of a verdict.
  void ShowInvalidField(const std::string& caption);
  // Marks what the window shows as older than the fields, until the next ShowState.
  void SetUpdating(bool updating);
  bool Updating() const { return FUpdating; }
  // The caption in the interface language, and the drawing laid out again in it.
  void LoadStr();

  // What the window shows: a picture of Program() with Report(), or ErrorText().
  bool HasPicture() const { return FState->hasPicture; }
  const hpgl::Program& Program() const { return FState->program; }
  const hpgl::CheckReport& Report() const { return FState->report; }
  const hpgl::WorkArea& WorkArea() const { return FState->workArea; }
  const std::string& ErrorText() const { return FState->errorText; }
  const std::vector<std::string>& Advice() const { return FState->advice; }
  // The caption of the invalid field shown, empty when none.
  const std::string& InvalidField() const { return FInvalidField; }
  // The drawing for the window's current size.
  const preview::TPreviewLayout& Layout();

  // The drawing of state for a window of size width x height, in the interface language.
  static preview::TPreviewLayout LayOut(const preview::TPreviewState& state, double width,
                                        double height, TTextLanguage language);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  std::shared_ptr<const preview::TPreviewState> FState;
  std::string FInvalidField;
  bool FUpdating = false;
  std::optional<preview::TPreviewLayout> FLayout;  // made again after a change or a resize
  // FLayout painted, made again with it: a repaint that only marks the drawing as older than
  // the fields, on every keystroke, copies it instead of drawing thousands of lines again.
  QPixmap FPicture;

  void ForgetLayout();
};
