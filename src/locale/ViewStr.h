// The texts of the View menu and the preview window, in a table of their own beside the fixed
// 101-slot text table, in the language of that table. Polish and English only, like it.
#pragma once

#include <string>

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

// The text in the language of the loaded text table.
std::string GetViewStr(TViewStr id);
