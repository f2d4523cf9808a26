#include "ui/ImageBox.h"

#include <QPainter>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "app/AppError.h"

TImageBox::TImageBox(QWidget* parent) : QWidget(parent) {}

void TImageBox::Load(const std::string& path) {
  FFileName.clear();
  FData.clear();
  update();
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    throw EAppError("cannot read the picture " + path + ": " +
                    (errno == ENOENT ? std::string("no such file") : std::strerror(errno)));
  }
  FData.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  FFileName = path;
}

void TImageBox::paintEvent(QPaintEvent* /*event*/) {
  // The picture is drawn by the metafile player once it is part of the build; until then the
  // box stays blank like the window behind it.
}
