// Units shared by the generator and the readers of cutting programs.
#pragma once

// Plotter units in a millimetre: every coordinate of a cutting program is a whole number of
// 1/40 mm.
inline constexpr double kPlotterUnitsPerMm = 40.0;
