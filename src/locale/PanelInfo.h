// The catalogue of panel types: for each TRoofPanelType ordinal the text of the panel type list,
// the two pictures the window shows, the relation of the corners A to D, the block layout and the
// cutting mode. Filled once by InitPanelInfos when the window starts; read only afterwards.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "project/ProjectData.h"

struct TRoofPanelInfo {
  TRoofPanelType PanelType = ptEmpty;
  std::string Description;        // the list text, a copy of a localized text
  std::string PanelImage;         // panel sketch picture, a file name in the images folder
  std::string BlockLayoutImage;   // block layout picture, a file name in the images folder
  std::string ValidationFormula;  // how A, B, C and D relate; carried, never evaluated
  TBlockLayout BlockLayout = blDiagonal;
  TCuttingMode CuttingMode = cm2D;
};

inline constexpr std::size_t kPanelInfoCount = 10;

// Indexed by the TRoofPanelType ordinal. Row ptCustom is never filled.
extern std::array<TRoofPanelInfo, kPanelInfoCount> PanelInfos;

// Fills rows ptEmpty to ptDoubleSlopeNarrow; the descriptions come from the localized text table,
// which must be filled first.
void InitPanelInfos();
