// Where the preview window goes on the screen, and how a number is fitted into a fixed box: pure
// functions of geometry, so that each is tested on its own.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <string>

// The preview's size when there is room for it.
inline constexpr QSize kPreviewSize{860, 500};
inline constexpr QSize kPreviewLeastSize{480, 320};

// The preview's rectangle in screen coordinates: beside the main window (right of it, else left)
// where the screen has room, else below it, shrunk from preferred down to least to fit; when
// none of these fits, over the main window's sketch, its right and top edges on the sketch's,
// so that it never covers the dimension fields or the Generate button right of the sketch.
// screen is the screen's available area, main the main window's frame, sketch the sketch's
// rectangle on the screen.
QRect PlacePreview(const QRect& screen, const QRect& main, const QRect& sketch, QSize preferred,
                   QSize least = kPreviewLeastSize);

// A number as a box of a fixed width shows it.
struct TFittedText {
  QString text;
  int pixelSize = 0;     // the font's height in pixels
  bool rounded = false;  // text is a shortened form of the value, marked with "≈"
};

inline constexpr int kLeastPixelSize = 7;

// text (the value's whole text, perhaps with leading blanks) in font, within width pixels:
// the whole text in the font's own size or smaller down to kLeastPixelSize; where even that
// is too wide, the value rounded to the most significant digits that fit, marked as rounded.
TFittedText FitNumberText(const std::string& text, double value, const QFont& font, int width);
