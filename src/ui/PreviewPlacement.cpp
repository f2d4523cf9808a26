#include "ui/PreviewPlacement.h"

#include <QFontMetrics>
#include <algorithm>
#include <charconv>
#include <string>

#include "platform/NumberText.h"

namespace {

// The size shrunk to the room (width, height), or an empty size when the room is below least.
QSize Shrunk(QSize preferred, QSize least, int width, int height) {
  if (width < least.width() || height < least.height()) {
    return {};
  }
  return {std::min(preferred.width(), width), std::min(preferred.height(), height)};
}

int Clamped(int value, int low, int high) {
  return std::max(low, std::min(value, high));
}

}  // namespace

QRect PlacePreview(const QRect& screen, const QRect& main, const QRect& sketch, QSize preferred,
                   QSize least) {
  const int right = screen.right() - main.right();
  if (const QSize s = Shrunk(preferred, least, right, screen.height()); !s.isEmpty()) {
    const int top = Clamped(main.top(), screen.top(), screen.bottom() + 1 - s.height());
    return {QPoint(main.right() + 1, top), s};
  }
  const int left = main.left() - screen.left();
  if (const QSize s = Shrunk(preferred, least, left, screen.height()); !s.isEmpty()) {
    const int top = Clamped(main.top(), screen.top(), screen.bottom() + 1 - s.height());
    return {QPoint(main.left() - s.width(), top), s};
  }
  const int below = screen.bottom() - main.bottom();
  if (const QSize s = Shrunk(preferred, least, screen.width(), below); !s.isEmpty()) {
    const int x = Clamped(main.left(), screen.left(), screen.right() + 1 - s.width());
    return {QPoint(x, main.bottom() + 1), s};
  }
  // Over the sketch: it reaches left from the sketch's right edge, past the main window where
  // the preview is wider than the sketch.
  return {QPoint(sketch.right() + 1 - least.width(), sketch.top()), least};
}

TFittedText FitNumberText(const std::string& text, double value, const QFont& font, int width) {
  QFont f = font;
  const auto fits = [&](const QString& candidate, int size) {
    f.setPixelSize(size);
    return QFontMetrics(f).horizontalAdvance(candidate) <= width;
  };
  const QString whole = QString::fromStdString(text);
  const QString bare = whole.trimmed();
  const int own = font.pixelSize() > 0 ? font.pixelSize() : 11;
  if (fits(whole, own)) {
    return {whole, own, false};
  }
  for (int size = own; size >= kLeastPixelSize; --size) {
    if (fits(bare, size)) {
      return {bare, size, false};
    }
  }
  // The shortest form: the most significant digits that fit, as mantissa and exponent.
  for (int digits = 6; digits >= 1; --digits) {
    char buffer[40];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value,
                                   std::chars_format::scientific, digits - 1)
                         .ptr;
    std::string mantissa(buffer, end);
    const std::size_t e = mantissa.find('e');
    const int exponent = std::stoi(mantissa.substr(e + 1));
    mantissa.erase(e);
    if (const std::size_t point = mantissa.find('.'); point != std::string::npos) {
      mantissa.replace(point, 1, platform::NumberFormat().decimalSeparator);
    }
    mantissa += 'E';
    mantissa += std::to_string(exponent);
    const QString candidate = QString::fromUtf8("≈") + QString::fromStdString(mantissa);
    if (fits(candidate, kLeastPixelSize) || digits == 1) {
      return {candidate, kLeastPixelSize, true};
    }
  }
  return {bare, kLeastPixelSize, true};
}
