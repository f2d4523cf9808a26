// The ten pictures the window shows: a sketch of each panel type (360 x 360 pixels) and the
// layouts of the foam block on the machine (160 x 160), drawn in code as placeable metafiles.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "metafile/WmfCanvas.h"

struct TPicture {
  std::string fileName;             // e.g. "Panel_Gutter.wmf"
  int shownSize = 0;                // pixels of the square box the window shows it in
  std::vector<std::uint8_t> bytes;  // the metafile
  TWmfDrawing drawn;                // what was drawn, in the picture's frame units
};

// All ten, in the catalogue's order of file names.
std::vector<TPicture> DrawPictures();
