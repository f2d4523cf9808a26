#include "locale/PanelInfo.h"

#include <cstdint>

#include "locale/LocalStr.h"

std::array<TRoofPanelInfo, kPanelInfoCount> PanelInfos;

namespace {

struct TPanelInfoRow {
  TRoofPanelType panelType;
  std::uint8_t descriptionStr;  // slot of the localized text table
  const char* panelImage;
  const char* blockLayoutImage;
  const char* validationFormula;
  TBlockLayout blockLayout;
  TCuttingMode cuttingMode;
};

// The formula texts are kept exactly as they were written, odd blanks and semicolons included.
constexpr TPanelInfoRow kRows[] = {
    {ptEmpty, 29, "Panel_Empty.wmf", "FoamBlockLayout_1.wmf", "A = B = C = D = 0;", blParallel,
     cm2D},
    {ptFlat, 30, "Panel_Flat.wmf", "FoamBlockLayout_2.wmf", "A = B = C = D;", blParallel, cm2D},
    {ptGutter, 31, "Panel_Gutter.wmf", "FoamBlockLayout_1.wmf", "B = D; C < B,D; A < C;",
     blDiagonal, cmIndependent},
    {ptGutter3E, 32, "Panel_Gutter.wmf", "FoamBlockLayout_1.wmf", "B = C = D;  A < B,C,D;",
     blDiagonal, cmIndependent},
    {ptRidge, 33, "Panel_Ridge.wmf", "FoamBlockLayout_1.wmf", "B = D; C > B,D; A < C;", blDiagonal,
     cmIndependent},
    {ptRidge3E, 34, "Panel_Ridge.wmf", "FoamBlockLayout_1.wmf", "B = C = D; A > B,C,D;;",
     blDiagonal, cmIndependent},
    {ptSlope, 35, "Panel_Slope.wmf", "FoamBlockLayout_2.wmf", "A = D, B = C; B,C > A,D", blDiagonal,
     cm2D},
    {ptDoubleSlope, 36, "Panel_DoubleSlope.wmf", "FoamBlockLayout_2.wmf",
     "A <> B <> C <> D,  A < D < B < B", blDiagonal, cmIndependent},
    {ptDoubleSlopeNarrow, 38, "Panel_DoubleSlopeUnregular.wmf", "FoamBlockLayout_3.wmf",
     "A <> B <> C <> D,  A < D < B < B", blDiagonal, cmIndependent},
};

}  // namespace

void InitPanelInfos() {
  for (const TPanelInfoRow& row : kRows) {
    TRoofPanelInfo& info = PanelInfos[row.panelType];
    info.PanelType = row.panelType;
    info.Description = GetLocalStr(row.descriptionStr);
    info.PanelImage = row.panelImage;
    info.BlockLayoutImage = row.blockLayoutImage;
    info.ValidationFormula = row.validationFormula;
    info.BlockLayout = row.blockLayout;
    info.CuttingMode = row.cuttingMode;
  }
}
