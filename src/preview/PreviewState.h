// What the preview shows for a project: the program the window would write (or the program it
// refuses, which is drawn all the same) with its check, or the reason there is no program. Made
// from a computed project without a window, so it can be made on any thread.
#pragma once

#include <string>
#include <vector>

#include "hpgl/HpglReader.h"
#include "hpgl/ProgramCheck.h"
#include "locale/ErrorStr.h"
#include "project/ProjectData.h"

namespace preview {

struct TPreviewState {
  bool hasPicture = false;  // false: errorText says why no program exists
  hpgl::Program program;
  hpgl::CheckReport report;
  hpgl::WorkArea workArea;
  // A refused program: the refusal, then what to change; without a program, what to change.
  std::vector<std::string> advice;
  std::string errorText;  // in the interface language
};

// The program of project (ComputeFaces has run) on the road every caller takes: the layer
// limit, the generator, the check that it never moves below the machine's zero. A refused
// program is checked and drawn like a sound one, the refusal and what to change in its advice.
// Never raises: an error is the state's errorText, with what to change in its advice.
TPreviewState BuildPreviewState(const TPanelsProject& project,
                                TTextLanguage language = InterfaceTextLanguage());

}  // namespace preview
