#include "project/ProjectData.h"

#include <gtest/gtest.h>

namespace {

TEST(TPanelsProject, NewProjectHoldsTheConstructionDefaults) {
  const TPanelsProject p;
  EXPECT_EQ(p.PanelType(), ptEmpty);
  EXPECT_EQ(p.LayerCount(), 1);
  EXPECT_EQ(p.Elevation(), 2.0);
  EXPECT_EQ(p.LeftSpace(), 2.0);
  EXPECT_EQ(p.TopSpace(), 0.0);
  EXPECT_EQ(p.UnderBottom(), 0.0);
  EXPECT_EQ(p.RoofPanel().DimA(), 0.0);
  EXPECT_EQ(p.RoofPanel().DimB(), 0.0);
  EXPECT_EQ(p.RoofPanel().DimC(), 0.0);
  EXPECT_EQ(p.RoofPanel().DimD(), 0.0);
  EXPECT_EQ(p.PanelLength(), 0.0);
  EXPECT_EQ(p.FrontBaseWidth(), 0.0);
  EXPECT_EQ(p.RearBaseWidth(), 0.0);
  EXPECT_FALSE(p.SkipBottom());
  EXPECT_FALSE(p.CutDiagonally());
  for (const TPanelFace* face : {&p.FrontFace(), &p.RearFace()}) {
    EXPECT_EQ(face->Height(), 10.0);
    EXPECT_EQ(face->Width(), 1414.213);
    EXPECT_EQ(face->MiddleHeight(), 10.0);
  }
  EXPECT_EQ(p.ProjectSize().Height(), 0.0);
  EXPECT_EQ(p.ProjectSize().Width(), 0.0);
  EXPECT_EQ(p.ProjectSize().Depth(), 0.0);

  EXPECT_EQ(p.LayerHeight(), 10.0);
  EXPECT_EQ(p.LayerWidth(), 1414.213);
  EXPECT_EQ(p.BlockDiagonal(), 0.0);
  EXPECT_EQ(p.BlockLayout(), blDiagonal);
}

TEST(TPanelsProject, EnumerationsAreOneByteWithFixedOrdinals) {
  static_assert(sizeof(TRoofPanelType) == 1 && sizeof(TBlockLayout) == 1 &&
                sizeof(TCuttingMode) == 1);
  EXPECT_EQ(ptDoubleSlopeNarrow, 8);
  EXPECT_EQ(ptCustom, 9);
  EXPECT_EQ(blParallel, 1);
  EXPECT_EQ(cmIndependent, 1);
}

TEST(TPanelFace, MaxHeightIsTheLargerHeight) {
  struct Case {
    double height, middle, expected;
  };
  for (const Case c : {Case{5, 7, 7}, Case{7, 5, 7}, Case{-3, -5, -3}, Case{4, 4, 4}}) {
    TPanelFace face;
    face.SetHeight(c.height);
    face.SetMiddleHeight(c.middle);
    EXPECT_EQ(face.MaxHeight(), c.expected) << c.height << " " << c.middle;
  }
}

TEST(TPanelsProject, LayerHeightTakesTheHigherFacePlusTopSpace) {
  TPanelsProject p;
  p.FrontFace().SetHeight(40);
  p.FrontFace().SetMiddleHeight(20);
  p.RearFace().SetHeight(30);
  p.RearFace().SetMiddleHeight(60);
  p.SetTopSpace(5);
  EXPECT_EQ(p.LayerHeight(), 65);
}

TEST(TPanelsProject, BlockDiagonalIsEvaluatedInExtendedPrecision) {
  TPanelsProject p;
  p.SetPanelLength(1000);
  EXPECT_EQ(p.BlockDiagonal(), 1414.213562373095);
  p.SetPanelLength(600);
  EXPECT_EQ(p.BlockDiagonal(), 848.5281374238571);
  p.SetPanelLength(-600);
  EXPECT_EQ(p.BlockDiagonal(), 848.5281374238571);
}

TEST(TPanelsProject, BlockLayoutByPanelType) {
  TPanelsProject p;
  for (int ordinal = 0; ordinal < 256; ++ordinal) {
    p.SetPanelType(static_cast<TRoofPanelType>(ordinal));
    const bool parallel = ordinal == ptFlat || ordinal == ptSlope || ordinal == ptDoubleSlope ||
                          ordinal == ptDoubleSlopeNarrow;
    EXPECT_EQ(p.BlockLayout(), parallel ? blParallel : blDiagonal) << ordinal;
  }
}

// The inputs of one computation and what it must give. Elevation and LeftSpace are 2.
struct ComputeCase {
  const char* name;
  TRoofPanelType type;
  double a, b, c, d;
  double length, frontBase, rearBase;
  int layers;
  double topSpace;
  // expected
  double frontHeight, frontMiddle, frontWidth;
  double rearHeight, rearMiddle, rearWidth;
  double layerHeight;
  double prjHeight, prjWidth, prjDepth;
  double underBottom;
};

constexpr double kDiag1000 = 1414.213562373095;

const ComputeCase kComputeCases[] = {
    {"flat", ptFlat, 100,  0,   0, 0,    1000, 0,   0,    3,    5,  //
     100,    100,    1000, 100, 0, 1000, 105,  312, 1002, 1000, 0},
    {"slope", ptSlope, 50,   0,   0,   150,  1200, 0,   0,    2,    10,  //
     200,     50,      1200, 200, 150, 1200, 210,  412, 1202, 1200, 0},
    {"gutter",  ptGutter, 40,        120, 80, 120,       1000, 0,   0,
     1,         0,  //
     100,       40,       kDiag1000, 140, 80, kDiag1000, 140,  142, 1416.213562373095,
     kDiag1000, 0},
    // The rear face lies 30 below zero: the stack is lifted by 30 and the work area with it.
    {"ridge",   ptRidge, 200,       20,  100, 0,         1000, 0,   0,
     1,         0,  //
     70,        200,     kDiag1000, -30, 100, kDiag1000, 200,  232, 1416.213562373095,
     kDiag1000, 30},
    {"ridge3E two layers",
     ptRidge3E,
     200,
     20,
     100,
     0,
     1000,
     0,
     0,
     2,
     5,  //
     70,
     200,
     kDiag1000,
     -30,
     100,
     kDiag1000,
     205,
     437,
     1416.213562373095,
     kDiag1000,
     30},
    {"double slope",
     ptDoubleSlope,
     30,
     150,
     60,
     20,
     2000,
     1000,
     800,
     2,
     5,  //
     150,
     30,
     1000,
     150,
     60,
     800,
     155,
     307,
     1002,
     2000,
     0},
    // The work area's width follows the front base also when the rear base is wider.
    {"narrow double slope",
     ptDoubleSlopeNarrow,
     40,
     80,
     100,
     60,
     1500,
     900,
     1100,
     1,
     0,  //
     100,
     40,
     900,
     100,
     100,
     1100,
     100,
     102,
     902,
     1500,
     0},
    {"double slope of negative dimensions",
     ptDoubleSlope,
     -1,
     -2,
     -3,
     -4,
     100,
     100,
     100,
     1,
     0,
     0,
     -1,
     100,
     0,
     -3,
     100,
     0,
     2,
     102,
     100,
     0},
    {"no layers", ptFlat, 100,  0,   0, 0,    1000, 0,  0,    0,    5,  //
     100,         100,    1000, 100, 0, 1000, 105,  -3, 1002, 1000, 0},
};

TEST(ComputeFaces, ComputesFacesAndWorkAreaPerFamily) {
  for (const auto& c : kComputeCases) {
    TPanelsProject p;
    p.SetPanelType(c.type);
    p.RoofPanel().SetDimA(c.a);
    p.RoofPanel().SetDimB(c.b);
    p.RoofPanel().SetDimC(c.c);
    p.RoofPanel().SetDimD(c.d);
    p.SetPanelLength(c.length);
    p.SetFrontBaseWidth(c.frontBase);
    p.SetRearBaseWidth(c.rearBase);
    p.SetLayerCount(c.layers);
    p.SetTopSpace(c.topSpace);
    p.ComputeFaces();
    SCOPED_TRACE(c.name);
    EXPECT_EQ(p.FrontFace().Height(), c.frontHeight);
    EXPECT_EQ(p.FrontFace().MiddleHeight(), c.frontMiddle);
    EXPECT_EQ(p.FrontFace().Width(), c.frontWidth);
    EXPECT_EQ(p.RearFace().Height(), c.rearHeight);
    EXPECT_EQ(p.RearFace().MiddleHeight(), c.rearMiddle);
    EXPECT_EQ(p.RearFace().Width(), c.rearWidth);
    EXPECT_EQ(p.LayerHeight(), c.layerHeight);
    EXPECT_EQ(p.ProjectSize().Height(), c.prjHeight);
    EXPECT_EQ(p.ProjectSize().Width(), c.prjWidth);
    EXPECT_EQ(p.ProjectSize().Depth(), c.prjDepth);
    EXPECT_EQ(p.UnderBottom(), c.underBottom);

    // Nothing but the inputs decides: a second run gives the same values.
    p.ComputeFaces();
    EXPECT_EQ(p.ProjectSize().Height(), c.prjHeight);
  }
}

TEST(ComputeFaces, IndepLayerHeightAddsTheRiseToItsOwnMiddle) {
  const TPanelsProject p;
  EXPECT_EQ(p.ComputeIndepLayerHeight(40.5, 120.25, 80.125), 100.4375);
  EXPECT_EQ(p.ComputeIndepLayerHeight(80.125, 120.25, 40.5), 140.0625);
}

TEST(ComputeFaces, DoubleSlopeLayerHeightIsNeverNegative) {
  const TPanelsProject p;
  EXPECT_EQ(p.ComputeDoubleSlopeLayerHeight(-1, -2, -3, -4), 0);
  EXPECT_EQ(p.ComputeDoubleSlopeLayerHeight(30, 150, 60, 20), 150);
  EXPECT_EQ(p.ComputeDoubleSlopeLayerHeight(1, 2, 3, 4), 4);
}

// The work-area height is one extended-precision expression rounded once. Here the exact value
// of 0.30000000000000004 * 3 - 0.2 + 0.3 rounds to 1; double arithmetic step by step would give
// 1.0000000000000002.
TEST(ComputeFaces, StackHeightRoundsOnce) {
  TPanelsProject p;
  p.SetPanelType(ptFlat);
  p.RoofPanel().SetDimA(0.1);
  p.SetPanelLength(1000);
  p.SetLayerCount(3);
  p.SetTopSpace(0.2);
  p.SetElevation(0.3);
  p.ComputeFaces();
  ASSERT_EQ(p.LayerHeight(), 0.30000000000000004);
  EXPECT_EQ(p.ProjectSize().Height(), 1.0);
}

// A ridge whose rear face lies 30 below zero, computed: UnderBottom 30, work-area height 232.
void ComputeRidgeBelowZero(TPanelsProject& p) {
  p.SetPanelType(ptRidge);
  p.RoofPanel().SetDimA(200);
  p.RoofPanel().SetDimB(20);
  p.RoofPanel().SetDimC(100);
  p.SetPanelLength(1000);
  p.ComputeFaces();
}

TEST(ComputeFaces, TypesWithoutComputationKeepThePreviousValues) {
  for (const int later : {0, 9, 10, 129, 255}) {
    TPanelsProject p;
    ComputeRidgeBelowZero(p);
    p.SetPanelType(static_cast<TRoofPanelType>(later));
    p.RoofPanel().SetDimA(1);
    p.ComputeFaces();
    EXPECT_EQ(p.RearFace().Height(), -30) << later;
    EXPECT_EQ(p.FrontFace().MiddleHeight(), 200) << later;
    EXPECT_EQ(p.ProjectSize().Height(), 232) << later;
    EXPECT_EQ(p.UnderBottom(), 30) << later;
  }
}

TEST(ComputeFaces, OnlyGuttersAndRidgesWriteUnderBottom) {
  TPanelsProject p;
  ComputeRidgeBelowZero(p);
  ASSERT_EQ(p.UnderBottom(), 30);
  p.SetPanelType(ptFlat);
  p.ComputeFaces();
  EXPECT_EQ(p.UnderBottom(), 30);
  EXPECT_EQ(p.ProjectSize().Height(), 202);  // flat: 200 + 2, without the lift
}

TEST(ComputeFaces, FreshProjectOfEmptyTypeReportsTheFaceDefaults) {
  TPanelsProject p;
  p.ComputeFaces();
  EXPECT_EQ(p.FrontFace().Width(), 1414.213);
  EXPECT_EQ(p.ProjectSize().Height(), 0.0);
}

}  // namespace

namespace {

// A copy carries every input and computed value, and owns its parts: changing and recomputing
// one leaves the other as it was.
TEST(TPanelsProject, CopiesAreWholeAndIndependent) {
  TPanelsProject original;
  original.SetPanelType(ptGutter);
  original.RoofPanel().SetDimA(120);
  original.RoofPanel().SetDimB(40);
  original.SetPanelLength(1000);
  original.SetLayerCount(3);
  original.SetElevation(5);
  original.ComputeFaces();
  const std::string text = original.SaveToText("");
  const double width = original.ProjectSize().Width(), height = original.ProjectSize().Height();
  const double frontHeight = original.FrontFace().Height();

  TPanelsProject copy(original);
  EXPECT_EQ(copy.SaveToText(""), text);
  EXPECT_EQ(copy.ProjectSize().Width(), width);
  EXPECT_EQ(copy.ProjectSize().Height(), height);
  EXPECT_EQ(copy.FrontFace().Height(), frontHeight);
  EXPECT_EQ(copy.UnderBottom(), original.UnderBottom());

  copy.RoofPanel().SetDimA(300);
  copy.SetLayerCount(7);
  copy.ComputeFaces();
  EXPECT_NE(copy.ProjectSize().Height(), height);
  EXPECT_EQ(original.SaveToText(""), text);
  EXPECT_EQ(original.ProjectSize().Height(), height);
  EXPECT_EQ(original.FrontFace().Height(), frontHeight);

  TPanelsProject assigned;
  assigned = original;
  EXPECT_EQ(assigned.SaveToText(""), text);
  EXPECT_EQ(assigned.ProjectSize().Width(), width);
  assigned.SetPanelLength(10);
  assigned.ComputeFaces();
  EXPECT_EQ(original.ProjectSize().Width(), width);
}

}  // namespace
