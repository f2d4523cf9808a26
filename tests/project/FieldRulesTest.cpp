// The field rules per panel type: which fields each type lets the operator edit, where each locked
// field takes its text from, and the types that have no rules.
#include "project/FieldRules.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

// The editable fields as letters: A, B, C, D, F (front base), R (rear base), X (diagonal-cut box).
std::string EditableFields(const TLockRow& row) {
  std::string letters;
  for (const auto& [editable, letter] :
       {std::pair{row.a, 'A'}, std::pair{row.b, 'B'}, std::pair{row.c, 'C'}, std::pair{row.d, 'D'},
        std::pair{row.frontBase, 'F'}, std::pair{row.rearBase, 'R'},
        std::pair{row.cutDiagonally, 'X'}}) {
    if (editable) {
      letters += letter;
    }
  }
  return letters;
}

// The sources of A, B, C, D, front base and rear base, one character each: '-' kept, '0' zero,
// the letter of the dimension copied, 'L' the panel length.
char SourceLetter(TCopySource source) {
  switch (source) {
    case csKeep:
      return '-';
    case csZero:
      return '0';
    case csA:
      return 'A';
    case csB:
      return 'B';
    case csD:
      return 'D';
    case csLength:
      return 'L';
  }
  return '?';
}

std::string CopySources(const TCopyRow& row) {
  std::string letters;
  for (const TCopySource source : {row.a, row.b, row.c, row.d, row.frontBase, row.rearBase}) {
    letters += SourceLetter(source);
  }
  return letters;
}

struct TRuleCase {
  TRoofPanelType type;
  const char* editable;
  const char* sources;
};

const TRuleCase kRuleCases[] = {
    {ptEmpty, "", "0000LL"},
    {ptFlat, "A", "-AAALL"},
    {ptGutter, "ABCX", "---BLL"},
    {ptGutter3E, "ABX", "--BBLL"},
    {ptRidge, "ABCX", "---BLL"},
    {ptRidge3E, "ABX", "--BBLL"},
    {ptSlope, "AD", "-AD-LL"},
    {ptDoubleSlope, "ABCD", "----LL"},
    {ptDoubleSlopeNarrow, "ABCDFR", "------"},
    {ptCustom, "ABCDFR", "------"},
};

TEST(FieldRules, EveryPanelTypeHasItsEditableFieldsAndCopySources) {
  for (const TRuleCase& c : kRuleCases) {
    SCOPED_TRACE(static_cast<int>(c.type));
    const TLockRow* lock = LockRowOf(c.type);
    const TCopyRow* copy = CopyRowOf(c.type);
    ASSERT_NE(lock, nullptr);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(EditableFields(*lock), c.editable);
    EXPECT_EQ(CopySources(*copy), c.sources);
  }
}

TEST(FieldRules, ValuesBeyondTheEnumerationHaveNoRules) {
  for (const int value : {ptCustom + 1, 100, 255}) {
    SCOPED_TRACE(value);
    EXPECT_EQ(LockRowOf(static_cast<TRoofPanelType>(value)), nullptr);
    EXPECT_EQ(CopyRowOf(static_cast<TRoofPanelType>(value)), nullptr);
  }
}

// The copies write exactly the locked fields and read only editable ones, so that no copy of a
// row changes the source of another and a second run of the row writes nothing new.
TEST(FieldRules, CopiesWriteTheLockedFieldsFromEditableOnes) {
  for (int t = ptEmpty; t <= ptCustom; ++t) {
    SCOPED_TRACE(t);
    const TLockRow& lock = *LockRowOf(static_cast<TRoofPanelType>(t));
    const TCopyRow& copy = *CopyRowOf(static_cast<TRoofPanelType>(t));
    const std::pair<bool, TCopySource> fields[] = {{lock.a, copy.a},
                                                   {lock.b, copy.b},
                                                   {lock.c, copy.c},
                                                   {lock.d, copy.d},
                                                   {lock.frontBase, copy.frontBase},
                                                   {lock.rearBase, copy.rearBase}};
    for (std::size_t i = 0; i < std::size(fields); ++i) {
      SCOPED_TRACE(i);
      const auto [editable, source] = fields[i];
      EXPECT_EQ(source == csKeep, editable);
      if (source == csA || source == csB || source == csD) {
        EXPECT_TRUE(source == csA ? lock.a : source == csB ? lock.b : lock.d);
      }
    }
  }
}

}  // namespace
