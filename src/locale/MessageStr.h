// Messages the program shows beyond the fixed localized text table: the errors of the core, the
// generator and the pictures, put into the interface language before the window shows them, and
// the texts of the View menu and the preview window. Polish and English only, like the text table.
#pragma once

#include <string>

// Chooses the language of the messages; English until called.
void InitMessageStr(bool polish);

// The text of an error in the interface language. Errors are raised in English; a text that
// matches one of the known messages is rewritten with its parts ("%1", "%2") kept, any other
// text is returned unchanged.
std::string LocalizeErrorText(const std::string& text);

// The texts of the View menu and the preview window, in a table of their own beside the fixed
// text table.
enum class TViewStr {
  Menu,          // the menu's title
  PreviewItem,   // its item, which opens the preview
  PreviewTitle,  // the preview window's caption
  Front,         // the outline of pen 4
  Rear,          // the outline of pen 3
  Pen,           // any other outline, followed by its number
  Statements,
  CuttingMoves,
  CutLength,
  Box,
  Start,
  WorkArea,
  Travel,
  StartPoint,
  NoGo,
  CheckPassed,
  CheckFailed,
  Statement,  // before the number of the statement a finding belongs to
  NoOutline,
  NoPicture,  // heads the error shown instead of the picture
  AxisX,
  AxisY,
  Count
};

// The text in the language InitMessageStr chose.
std::string GetViewStr(TViewStr id);
