// Renders a metafile the way the window shows it: wmf2png FILE.wmf OUT.png SIZE (a square box of
// SIZE pixels). Runs without a display (the offscreen platform).
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

#include "base/AppError.h"
#include "metafile/WmfReader.h"
#include "ui/WmfPainter.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: wmf2png FILE.wmf OUT.png SIZE\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QGuiApplication app(argc, argv);
  try {
    int size = std::atoi(argv[3]);
    QImage image = RenderWmf(LoadWmfFile(argv[1]), QSize(size, size));
    return image.save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
  } catch (const EAppError& e) {
    std::fprintf(stderr, "wmf2png: %s\n", e.what());
    return 1;
  }
}
