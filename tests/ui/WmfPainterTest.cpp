// The Qt player paints a drawing stretched onto its box, offscreen.
#include "ui/WmfPainter.h"

#include <gtest/gtest.h>

#include <QGuiApplication>

#include "Pictures.h"
#include "metafile/WmfReader.h"

namespace {

class WmfPainterTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) {
      qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static int argc = 1;
    static char name[] = "wmf_qt_tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
  }
};

const TWmfPen kNoPen{TWmfPenStyle::Null, 0, {}};
const TWmfColor kRed{255, 0, 0}, kBlue{0, 0, 255};

QRgb At(const QImage& image, int x, int y) {
  return image.pixel(x, y) & 0xFFFFFF;
}

TEST_F(WmfPainterTest, TheFrameIsStretchedOntoTheWholeBox) {
  // Left half red, an ellipse filling the right half blue; frame 200 x 100 into 90 x 120.
  TWmfDrawing drawing{
      {100, 50, 300, 150},
      {TWmfRectangle{{100, 50, 200, 150}, 0, 0, kNoPen, {TWmfBrushStyle::Solid, kRed}},
       TWmfEllipse{{200, 50, 300, 150}, kNoPen, {TWmfBrushStyle::Solid, kBlue}}}};
  QImage image = RenderWmf(drawing, QSize(90, 120));
  EXPECT_EQ(At(image, 2, 2), 0xFF0000u);
  EXPECT_EQ(At(image, 42, 117), 0xFF0000u);
  EXPECT_EQ(At(image, 67, 60), 0x0000FFu);  // the ellipse's centre
  EXPECT_EQ(At(image, 88, 2), 0xFFFFFFu);   // outside the ellipse, in the corner
  EXPECT_EQ(At(image, 67, 2), 0x0000FFu);   // its top reaches the top of the box
}

TEST_F(WmfPainterTest, IntoARectangleOfALargerPainterAndNoFurther) {
  TWmfDrawing drawing{
      {0, 0, 10, 10},
      {TWmfRectangle{{-10, -10, 20, 20}, 0, 0, kNoPen, {TWmfBrushStyle::Solid, kRed}}}};
  QImage image(100, 100, QImage::Format_ARGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.translate(5, 5);
    PaintWmf(painter, drawing, QRectF(20, 30, 40, 20));
    painter.fillRect(QRectF(0, 0, 2, 2), Qt::green);  // the painter is as the player found it
  }
  EXPECT_EQ(At(image, 26, 36), 0xFF0000u);
  EXPECT_EQ(At(image, 64, 54), 0xFF0000u);
  EXPECT_EQ(At(image, 24, 34), 0xFFFFFFu);  // clipped to the box
  EXPECT_EQ(At(image, 66, 56), 0xFFFFFFu);
  EXPECT_EQ(At(image, 5, 5), 0x00FF00u);
}

TEST_F(WmfPainterTest, BitmapTextAndLinesShow) {
  TWmfText text;
  text.origin = {50, 50};
  text.text = "W";
  text.font.height = 60;
  text.font.weight = 700;
  text.halign = TWmfHAlign::Center;
  text.valign = TWmfVAlign::Baseline;
  TWmfDrawing drawing{
      {0, 0, 100, 100},
      {TWmfImage{{0, 60, 100, 100}, 2, 1, {0xFFFF0000, 0xFF0000FF}},
       TWmfPolyline{{{0, 55}, {100, 55}}, {TWmfPenStyle::Solid, 4, {0, 160, 0}}}, text}};
  QImage image = RenderWmf(drawing, QSize(100, 100));
  EXPECT_EQ(At(image, 10, 80), 0xFF0000u);
  EXPECT_EQ(At(image, 90, 80), 0x0000FFu);
  EXPECT_EQ(At(image, 30, 55), 0x00A000u);
  int dark = 0;
  for (int y = 0; y < 50; ++y) {
    for (int x = 20; x < 80; ++x) {
      dark += qGray(image.pixel(x, y)) < 100;
    }
  }
  EXPECT_GT(dark, 100) << "the letter W above the baseline";
  EXPECT_EQ(At(image, 5, 5), 0xFFFFFFu);
}

TEST_F(WmfPainterTest, EachPictureShowsInItsBox) {
  for (const TPicture& p : DrawPictures()) {
    QImage image = RenderWmf(ReadWmf(p.bytes), QSize(p.shownSize, p.shownSize));
    int inked = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        inked += At(image, x, y) != 0xFFFFFFu;
      }
    }
    double share = static_cast<double>(inked) / (p.shownSize * p.shownSize);
    // The empty type's frame is thin; every other picture fills a good part of its box.
    if (p.fileName == "Panel_Empty.wmf") {
      EXPECT_GT(share, 0.01) << p.fileName;
      EXPECT_LT(share, 0.05) << p.fileName;
    } else {
      EXPECT_GT(share, 0.25) << p.fileName;
    }
  }
}

}  // namespace
