#include "locale/PanelInfo.h"

#include <gtest/gtest.h>

#include "locale/LocalStr.h"

namespace {

struct TRowCase {
  TRoofPanelType type;
  const char* english;
  const char* polish;
  const char* panelImage;
  const char* blockLayoutImage;
  const char* formula;
  TBlockLayout layout;
  TCuttingMode mode;
};

const TRowCase kRows[] = {
    {ptEmpty, "", "", "Panel_Empty.wmf", "FoamBlockLayout_1.wmf", "A = B = C = D = 0;", blParallel,
     cm2D},
    {ptFlat, "Flat", "P\u0142aski - wszystkie naro\u017Cniki takie same", "Panel_Flat.wmf",
     "FoamBlockLayout_2.wmf", "A = B = C = D;", blParallel, cm2D},
    {ptGutter, "Gutter", "Rynna - dwa naro\u017Cniki takie same", "Panel_Gutter.wmf",
     "FoamBlockLayout_1.wmf", "B = D; C < B,D; A < C;", blDiagonal, cmIndependent},
    {ptGutter3E, "Gutter3E", "Rynna - trzy naro\u017Cniki takie same", "Panel_Gutter.wmf",
     "FoamBlockLayout_1.wmf", "B = C = D;  A < B,C,D;", blDiagonal, cmIndependent},
    {ptRidge, "Ridge", "Grzbiet - dwa naro\u017Cniki takie same", "Panel_Ridge.wmf",
     "FoamBlockLayout_1.wmf", "B = D; C > B,D; A < C;", blDiagonal, cmIndependent},
    {ptRidge3E, "Ridge3E", "Grzbiet - trzy naro\u017Cniki takie same", "Panel_Ridge.wmf",
     "FoamBlockLayout_1.wmf", "B = C = D; A > B,C,D;;", blDiagonal, cmIndependent},
    {ptSlope, "Slope", "Pojedynczy spad", "Panel_Slope.wmf", "FoamBlockLayout_2.wmf",
     "A = D, B = C; B,C > A,D", blDiagonal, cm2D},
    {ptDoubleSlope, "DoubleSlope", "Podw\u00F3jny spad", "Panel_DoubleSlope.wmf",
     "FoamBlockLayout_2.wmf", "A <> B <> C <> D,  A < D < B < B", blDiagonal, cmIndependent},
    {ptDoubleSlopeNarrow, "DoubleSlope - narrow", "Podw\u00F3jny spad - w\u0105ski",
     "Panel_DoubleSlopeUnregular.wmf", "FoamBlockLayout_3.wmf", "A <> B <> C <> D,  A < D < B < B",
     blDiagonal, cmIndependent},
};

TEST(PanelInfo, RowsInBothLanguages) {
  for (const bool polish : {false, true}) {
    polish ? LoadPolishStr() : LoadEnglishStr();
    InitPanelInfos();
    for (const TRowCase& row : kRows) {
      SCOPED_TRACE(std::string(row.english) + (polish ? " (pl)" : " (en)"));
      const TRoofPanelInfo& info = PanelInfos[row.type];
      EXPECT_EQ(info.PanelType, row.type);
      EXPECT_EQ(info.Description, polish ? row.polish : row.english);
      EXPECT_EQ(info.PanelImage, row.panelImage);
      EXPECT_EQ(info.BlockLayoutImage, row.blockLayoutImage);
      EXPECT_EQ(info.ValidationFormula, row.formula);
      EXPECT_EQ(info.BlockLayout, row.layout);
      EXPECT_EQ(info.CuttingMode, row.mode);
    }
  }
}

TEST(PanelInfo, CustomRowStaysEmpty) {
  LoadEnglishStr();
  InitPanelInfos();
  const TRoofPanelInfo& custom = PanelInfos[ptCustom];
  EXPECT_EQ(custom.PanelType, ptEmpty);
  EXPECT_EQ(custom.Description, "");
  EXPECT_EQ(custom.PanelImage, "");
  EXPECT_EQ(custom.BlockLayoutImage, "");
  EXPECT_EQ(custom.BlockLayout, blDiagonal);
  EXPECT_EQ(custom.CuttingMode, cm2D);
}

}  // namespace
