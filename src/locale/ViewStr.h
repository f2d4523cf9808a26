// The texts of the View menu and the preview window, in a table of their own beside the fixed
// 101-slot text table, in the language of that table. Polish and English only, like it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

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
  // tectoplan-view's table: the line above it (%1 file, %2 statements, %3 outlines), the
  // headings of its columns, the labels of the findings and the verdict lines.
  TableTitle,
  HeadOutline,
  HeadFrom,
  HeadStatements,
  HeadMoves,
  HeadCutting,
  HeadCutMm,
  HeadXMm,
  HeadYMm,
  HeadStart,
  HeadEnd,
  LabelFail,
  LabelWarn,
  LabelNote,
  VerdictFailed,          // %1 failures, %2 warnings
  VerdictPassed,          // no warning
  VerdictPassedWarnings,  // %1 warnings
  InvalidField,           // the preview while a field is invalid: %1 the field's caption
  Updating,               // over the verdict while the preview is older than the fields
  NoPictureWritten,       // tectoplan-view --project without a program text: %1 the SVG file
  Count
};

// The text in the language of the loaded text table.
std::string GetViewStr(TViewStr id);
std::string GetViewStr(TViewStr id, bool polish);

// pattern with args in place of %1 to %9.
std::string FillArguments(std::string_view pattern, const std::vector<std::string>& args);
