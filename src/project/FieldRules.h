// The field rules per panel type, without a window: which dimension fields the operator may edit
// for each type, and where each locked field takes its text from.
#pragma once

#include <cstdint>

#include "project/ProjectData.h"

// The fields a panel type lets the operator edit: the dimensions A to D, the front and rear base
// widths and the diagonal-cut box.
struct TLockRow {
  bool a, b, c, d, frontBase, rearBase, cutDiagonally;
};

// Where a field takes its text from: csKeep leaves it alone, csZero writes "0", csA, csB and csD
// copy the text of that dimension, csLength the text of the panel length.
enum TCopySource : std::uint8_t { csKeep, csZero, csA, csB, csD, csLength };

// The sources of the six dimension fields of a panel type. The copies are made in the order of
// the members, each reading its source when it is made: an earlier copy may have changed it.
struct TCopyRow {
  TCopySource a, b, c, d, frontBase, rearBase;
};

// The rows of a panel type; nullptr for a value outside TRoofPanelType, which has no rules and
// changes no field.
const TLockRow* LockRowOf(TRoofPanelType panelType);
const TCopyRow* CopyRowOf(TRoofPanelType panelType);
