// The window's fonts: Tahoma at the pixel heights of the window's design. Debian's fonts-wine
// ships a Tahoma with the original metrics in a folder fontconfig does not search, so it is
// registered with the application when no Tahoma is known; otherwise the system's sans font.
#pragma once

#include <QFont>

// Registers Tahoma from the known folders when the system has none. Call once after the
// application object exists; returns true when a Tahoma family is available afterwards.
bool LoadWindowFonts();

// Tahoma (or the sans fallback) at pixelHeight pixels.
QFont WindowFont(int pixelHeight, bool bold = false);
