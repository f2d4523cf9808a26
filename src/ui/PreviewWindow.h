// The preview window: the cutting program the main window would write, read back from its text
// and drawn in millimetres with the work area, both outlines, axes and the figures of the check.
// It is handed the program text and never writes a file.
#pragma once

#include <QWidget>
#include <string>

#include "hpgl/HpglReader.h"
#include "hpgl/ProgramCheck.h"

class TFormPreview : public QWidget {
  Q_OBJECT

 public:
  // A window of its own, owned by parent and kept above it; it does not block parent.
  explicit TFormPreview(QWidget* parent);

  // Reads text with the cutting-program reader, checks it against workArea and draws it. A
  // reader error is raised and leaves the window as it was.
  void ShowProgram(const std::string& text, const hpgl::WorkArea& workArea);
  // Shows text, an error already in the interface language, instead of a picture. statement,
  // when the text quotes one, is never broken across lines.
  void ShowError(const std::string& text, const std::string& statement = {});
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
  // The caption of the invalid field shown, empty when none.
  const std::string& InvalidField() const { return FInvalidField; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool FHasPicture = false;
  hpgl::Program FProgram;
  hpgl::CheckReport FReport;
  hpgl::WorkArea FWorkArea;
  std::string FErrorText;
  std::string FInvalidField;
  std::string FNoBreak;  // the statement quoted in FErrorText
};
