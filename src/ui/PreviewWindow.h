// The preview window: the cutting program the main window would write, read back from its text
// and drawn from the preview layout (the drawing the printed picture is made of) with the work
// area, both outlines, axes and the figures of the check. It never writes a file.
#pragma once

#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "hpgl/HpglReader.h"
#include "hpgl/ProgramCheck.h"
#include "preview/PreviewLayout.h"

class TFormPreview : public QWidget {
  Q_OBJECT

 public:
  // A window of its own, owned by parent and kept above it; it does not block parent.
  explicit TFormPreview(QWidget* parent);

  // Reads text with the cutting-program reader, checks it against workArea and draws it, with
  // advice (why the program is refused and what to change) under it. A reader error is raised
  // and leaves the window as it was.
  void ShowProgram(const std::string& text, const hpgl::WorkArea& workArea,
                   const std::vector<std::string>& advice = {});
  // Shows text, an error already in the interface language, and the advice lines instead of a
  // picture. statement, when the text quotes one, is never broken across lines.
  void ShowError(const std::string& text, const std::string& statement = {},
                 const std::vector<std::string>& advice = {});
  // Says that the field of the caption holds no valid value, instead of a verdict.
  void ShowInvalidField(const std::string& caption);
  // The caption in the interface language.
  void LoadStr();

  // What the window shows: a picture of Program() with Report(), or ErrorText().
  bool HasPicture() const { return FHasPicture; }
  const hpgl::Program& Program() const { return FProgram; }
  const hpgl::CheckReport& Report() const { return FReport; }
  const hpgl::WorkArea& WorkArea() const { return FWorkArea; }
  const std::string& ErrorText() const { return FErrorText; }
  const std::vector<std::string>& Advice() const { return FAdvice; }
  // The caption of the invalid field shown, empty when none.
  const std::string& InvalidField() const { return FInvalidField; }
  // The drawing for the window's current size.
  const preview::TPreviewLayout& Layout();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  bool FHasPicture = false;
  hpgl::Program FProgram;
  hpgl::CheckReport FReport;
  hpgl::WorkArea FWorkArea;
  std::vector<std::string> FAdvice;
  std::string FErrorText;
  std::string FInvalidField;
  std::string FNoBreak;                            // the statement quoted in FErrorText
  std::optional<preview::TPreviewLayout> FLayout;  // made again after a change or a resize
};
