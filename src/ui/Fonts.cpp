#include "ui/Fonts.h"

#include <QFontDatabase>
#include <QString>
#include <QStringList>

namespace {

constexpr const char* kFamily = "Tahoma";
constexpr const char* kFontFiles[] = {"/usr/share/wine/fonts/tahoma.ttf",
                                      "/usr/share/wine/fonts/tahomabd.ttf"};

}  // namespace

bool LoadWindowFonts() {
  if (QFontDatabase::families().contains(kFamily)) {
    return true;
  }
  for (const char* file : kFontFiles) {
    QFontDatabase::addApplicationFont(QString::fromUtf8(file));  // -1 when missing: fallback
  }
  return QFontDatabase::families().contains(kFamily);
}

QFont WindowFont(int pixelHeight, bool bold) {
  QFont font(kFamily);
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixelHeight);
  font.setBold(bold);
  return font;
}
