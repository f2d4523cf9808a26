// The field rules per panel type: locked fields, copied values, the layer rule, the type change
// and the bounds of the nested field reactions.
#include <QFocusEvent>
#include <QSignalBlocker>
#include <cstring>

#include "WindowFixture.h"
#include "locale/PanelInfo.h"
#include "ui/ImageBox.h"

namespace {

struct TLockCase {
  TRoofPanelType type;
  bool a, b, c, d, frontBase, rearBase, cutDiagonally;
  const char* cuttingMode;
};

const TLockCase kLockCases[] = {
    {ptEmpty, false, false, false, false, false, false, false, "2D"},
    {ptFlat, true, false, false, false, false, false, false, "2D"},
    {ptGutter, true, true, true, false, false, false, true, "Independent"},
    {ptGutter3E, true, true, false, false, false, false, true, "Independent"},
    {ptRidge, true, true, true, false, false, false, true, "Independent"},
    {ptRidge3E, true, true, false, false, false, false, true, "Independent"},
    {ptSlope, true, false, false, true, false, false, false, "2D"},
    {ptDoubleSlope, true, true, true, true, false, false, false, "Independent"},
    {ptDoubleSlopeNarrow, true, true, true, true, true, true, false, "Independent"},
};

TEST_F(WindowTest, TypeChangeLocksCopiesAndShowsTheType) {
  TFormMain& form = Open();
  for (const TLockCase& c : kLockCases) {
    SCOPED_TRACE(c.type);
    // Distinct values in the editable fields, so that every copy shows.
    SelectType(ptDoubleSlopeNarrow);
    Type(form.txtDimA, "11");
    Type(form.txtDimB, "22");
    Type(form.txtDimC, "33");
    Type(form.txtDimD, "44");
    Type(form.txtDimFrontBase, "55");
    Type(form.txtDimRearBase, "66");
    Type(form.txtPanelLength, "1200");
    SelectType(c.type);

    EXPECT_EQ(form.CurPanelType(), c.type);
    EXPECT_EQ(form.txtDimA->isEnabled(), c.a);
    EXPECT_EQ(form.txtDimB->isEnabled(), c.b);
    EXPECT_EQ(form.txtDimC->isEnabled(), c.c);
    EXPECT_EQ(form.txtDimD->isEnabled(), c.d);
    EXPECT_EQ(form.txtDimFrontBase->isEnabled(), c.frontBase);
    EXPECT_EQ(form.txtDimRearBase->isEnabled(), c.rearBase);
    EXPECT_EQ(form.chkCutDiagonally->isEnabled(), c.cutDiagonally);
    EXPECT_EQ(Text(form.labCuttingMode), c.cuttingMode);
    EXPECT_EQ(form.imgBlockSkech->FileName(), Path("images/" + PanelInfos[c.type].PanelImage));
    EXPECT_EQ(form.imgMachine->FileName(), Path("images/" + PanelInfos[c.type].BlockLayoutImage));
    // A locked field holds its copy; an editable one keeps what was typed.
    const std::string a = Text(form.txtDimA), b = Text(form.txtDimB), d = Text(form.txtDimD);
    if (c.type == ptEmpty) {
      EXPECT_EQ(a + b + Text(form.txtDimC) + d, "0000");
    } else {
      EXPECT_EQ(a, "11");
    }
    const std::string expectedB = c.b ? "22" : c.type == ptEmpty ? "0" : a;
    EXPECT_EQ(Text(form.txtDimB), expectedB);
    if (!c.d && c.type != ptEmpty) {
      EXPECT_EQ(d, c.type == ptFlat ? a : b);
    }
    if (c.type == ptSlope) {
      EXPECT_EQ(Text(form.txtDimC), d);
    } else if (!c.c && c.type != ptEmpty) {
      EXPECT_EQ(Text(form.txtDimC), c.type == ptFlat ? a : b);
    }
    if (c.frontBase) {
      EXPECT_EQ(Text(form.txtDimFrontBase), "55");
      EXPECT_EQ(Text(form.txtDimRearBase), "66");
    } else {
      EXPECT_EQ(Text(form.txtDimFrontBase), "1200");
      EXPECT_EQ(Text(form.txtDimRearBase), "1200");
    }
  }
  EXPECT_TRUE(services_.messages.empty());
  EXPECT_TRUE(services_.errors.empty());
}

TEST_F(WindowTest, FlatCopiesAOnEveryKeystroke) {
  TFormMain& form = Open();
  SelectType(ptFlat);
  Type(form.txtDimA, "");
  for (const char* expected : {"2", "25", "250"}) {
    QTest::keyClick(form.txtDimA, expected[std::strlen(expected) - 1]);
    EXPECT_EQ(Text(form.txtDimA), expected);
    EXPECT_EQ(Text(form.txtDimB), expected);
    EXPECT_EQ(Text(form.txtDimC), expected);
    EXPECT_EQ(Text(form.txtDimD), expected);
  }
  // The work area follows each accepted keystroke.
  EXPECT_EQ(form.Project().RoofPanel().DimA(), 250.0);
  EXPECT_TRUE(services_.messages.empty());
}

TEST_F(WindowTest, SlopeKeepsBOnAAndCOnD) {
  TFormMain& form = Open();
  SelectType(ptSlope);
  Type(form.txtDimA, "120");
  Type(form.txtDimD, "80");
  EXPECT_EQ(Text(form.txtDimB), "120");
  EXPECT_EQ(Text(form.txtDimC), "80");
}

TEST_F(WindowTest, BaseWidthsFollowThePanelLength) {
  TFormMain& form = Open();
  SelectType(ptGutter);
  Type(form.txtPanelLength, "1500");
  EXPECT_EQ(Text(form.txtDimFrontBase), "1500");
  EXPECT_EQ(Text(form.txtDimRearBase), "1500");
  SelectType(ptDoubleSlopeNarrow);
  Type(form.txtPanelLength, "900");
  EXPECT_EQ(Text(form.txtDimFrontBase), "1500");
}

TEST_F(WindowTest, LayerRuleBothWays) {
  TFormMain& form = Open();
  SelectType(ptFlat);
  form.chkSkipBottom->setChecked(true);
  Type(form.txtLayerCount, "2");
  EXPECT_TRUE(form.txtPanelSpace->isEnabled());
  EXPECT_FALSE(form.chkSkipBottom->isEnabled());
  EXPECT_FALSE(form.chkSkipBottom->isChecked());
  Type(form.txtPanelSpace, "15");
  EXPECT_EQ(form.Project().TopSpace(), 15.0);

  for (const char* oneLayer : {"1", "0", "-3"}) {
    SCOPED_TRACE(oneLayer);
    Type(form.txtLayerCount, "2");
    Type(form.txtPanelSpace, "15");
    form.txtLayerCount->setText(oneLayer);  // typed, a lone "-" would be reported first
    EXPECT_EQ(Text(form.txtPanelSpace), "0");
    EXPECT_FALSE(form.txtPanelSpace->isEnabled());
    EXPECT_TRUE(form.chkSkipBottom->isEnabled());
    EXPECT_FALSE(form.chkSkipBottom->isChecked());
  }
  EXPECT_TRUE(services_.messages.empty());
}

TEST_F(WindowTest, EveryTypeChangeClearsTheDiagonalBox) {
  TFormMain& form = Open();
  SelectType(ptRidge);
  form.chkCutDiagonally->setChecked(true);
  EXPECT_TRUE(form.Project().CutDiagonally());
  SelectType(ptGutter);
  EXPECT_TRUE(form.chkCutDiagonally->isEnabled());
  EXPECT_FALSE(form.chkCutDiagonally->isChecked());
  EXPECT_FALSE(form.Project().CutDiagonally());
}

TEST_F(WindowTest, TypeChangeWithAnInvalidFieldStillSwitchesThenReportsOnce) {
  TFormMain& form = Open();
  SelectType(ptDoubleSlope);
  Type(form.txtDimD, "77");
  const std::string width = Text(form.bevPrjWidth);
  {
    QSignalBlocker quiet(form.txtPanelLength);
    form.txtPanelLength->setText("12.5");
  }
  SelectType(ptGutter);
  EXPECT_EQ(form.CurPanelType(), ptGutter);
  EXPECT_EQ(Text(form.labCuttingMode), "Independent");
  EXPECT_FALSE(form.txtDimD->isEnabled());
  EXPECT_EQ(Text(form.txtDimD), Text(form.txtDimB));
  EXPECT_EQ(form.imgBlockSkech->FileName(), Path("images/Panel_Gutter.wmf"));
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0],
            "Incorrect value in field: Panel length\r\nValue must be a number.");
  EXPECT_EQ(QApplication::focusWidget(), form.txtPanelLength);
  EXPECT_EQ(form.Project().PanelType(), ptDoubleSlope);  // not recomputed
  EXPECT_EQ(Text(form.bevPrjWidth), width);
}

TEST_F(WindowTest, ListPositionsAndCuttingModeTexts) {
  TFormMain& form = Open();
  for (int t = ptEmpty; t <= ptDoubleSlopeNarrow; ++t) {
    EXPECT_EQ(form.GetCmbPanelsTypeIdx(static_cast<TRoofPanelType>(t)), t);
  }
  EXPECT_EQ(form.GetCmbPanelsTypeIdx(ptCustom), 0);
  EXPECT_EQ(form.GetCmbPanelsTypeIdx(static_cast<TRoofPanelType>(200)), 0);
  EXPECT_EQ(form.GetCuttingModeStr(cm2D), "2D");
  EXPECT_EQ(form.GetCuttingModeStr(cmIndependent), "Independent");
  EXPECT_EQ(form.GetCuttingModeStr(static_cast<TCuttingMode>(7)), "");
}

TEST_F(WindowTest, ListReactsToTheUsersChoiceOnly) {
  TFormMain& form = Open();
  // The keyboard selects the next entry: a user's choice.
  form.cmbPanelsType->setFocus(Qt::TabFocusReason);
  QTest::keyClick(form.cmbPanelsType, Qt::Key_Down);
  EXPECT_EQ(form.CurPanelType(), ptFlat);
  EXPECT_TRUE(form.txtDimA->isEnabled());
  // A selection by the program runs nothing.
  form.cmbPanelsType->setCurrentIndex(2);
  EXPECT_EQ(form.CurPanelType(), ptFlat);
  // Choosing the entry already selected is no change.
  form.cmbPanelsType->setCurrentIndex(1);
  form.chkCutDiagonally->setEnabled(true);
  const int runs = form.FieldReactionRuns();
  emit form.cmbPanelsType->activated(1);
  EXPECT_EQ(form.FieldReactionRuns(), runs);
  EXPECT_TRUE(form.chkCutDiagonally->isEnabled());
}

TEST_F(WindowTest, NestedReactionsAreFewAndBounded) {
  TFormMain& form = Open();
  int runs = form.FieldReactionRuns();
  SelectType(ptFlat);
  const int typeChange = form.FieldReactionRuns() - runs;
  runs = form.FieldReactionRuns();
  form.txtDimA->setFocus(Qt::MouseFocusReason);
  QTest::keyClick(form.txtDimA, '7');
  const int keystroke = form.FieldReactionRuns() - runs;
  EXPECT_GE(typeChange, 1);
  EXPECT_LE(typeChange, 12);
  EXPECT_GE(keystroke, 1);
  EXPECT_LE(keystroke, 6);
}

TEST_F(WindowTest, MissingPictureOnTypeChangeLeavesTheRulesOfTheNewType) {
  TFormMain& form = Open();
  std::filesystem::remove(folder_ / "images" / "Panel_Ridge.wmf");
  SelectType(ptRidge);
  ASSERT_EQ(services_.errors.size(), 1u);
  EXPECT_EQ(services_.errors[0], "Unable to read the picture " + Path("images/Panel_Ridge.wmf") +
                                     ": No such file or directory");
  EXPECT_EQ(form.imgBlockSkech->FileName(), "");
  EXPECT_EQ(form.imgMachine->FileName(), Path("images/FoamBlockLayout_1.wmf"));
  EXPECT_EQ(form.CurPanelType(), ptRidge);
  EXPECT_EQ(Text(form.labCuttingMode), "Independent");
  EXPECT_TRUE(form.chkCutDiagonally->isEnabled());
  EXPECT_EQ(form.Project().PanelType(), ptRidge);  // recomputed to the end
}

}  // namespace
