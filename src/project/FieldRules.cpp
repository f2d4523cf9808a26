#include "project/FieldRules.h"

#include <iterator>

namespace {

constexpr TLockRow kLockRows[] = {
    {false, false, false, false, false, false, false},  // ptEmpty
    {true, false, false, false, false, false, false},   // ptFlat
    {true, true, true, false, false, false, true},      // ptGutter
    {true, true, false, false, false, false, true},     // ptGutter3E
    {true, true, true, false, false, false, true},      // ptRidge
    {true, true, false, false, false, false, true},     // ptRidge3E
    {true, false, false, true, false, false, false},    // ptSlope
    {true, true, true, true, false, false, false},      // ptDoubleSlope
    {true, true, true, true, true, true, false},        // ptDoubleSlopeNarrow
    {true, true, true, true, true, true, false},        // ptCustom
};

// A locked field follows an editable one; an editable field is left alone.
constexpr TCopyRow kCopyRows[] = {
    {csZero, csZero, csZero, csZero, csLength, csLength},  // ptEmpty
    {csKeep, csA, csA, csA, csLength, csLength},           // ptFlat
    {csKeep, csKeep, csKeep, csB, csLength, csLength},     // ptGutter
    {csKeep, csKeep, csB, csB, csLength, csLength},        // ptGutter3E
    {csKeep, csKeep, csKeep, csB, csLength, csLength},     // ptRidge
    {csKeep, csKeep, csB, csB, csLength, csLength},        // ptRidge3E
    {csKeep, csA, csD, csKeep, csLength, csLength},        // ptSlope
    {csKeep, csKeep, csKeep, csKeep, csLength, csLength},  // ptDoubleSlope
    {csKeep, csKeep, csKeep, csKeep, csKeep, csKeep},      // ptDoubleSlopeNarrow
    {csKeep, csKeep, csKeep, csKeep, csKeep, csKeep},      // ptCustom
};

static_assert(std::size(kLockRows) == ptCustom + 1 && std::size(kCopyRows) == ptCustom + 1,
              "one row per panel type");

}  // namespace

const TLockRow* LockRowOf(TRoofPanelType panelType) {
  return panelType < std::size(kLockRows) ? &kLockRows[panelType] : nullptr;
}

const TCopyRow* CopyRowOf(TRoofPanelType panelType) {
  return panelType < std::size(kCopyRows) ? &kCopyRows[panelType] : nullptr;
}
