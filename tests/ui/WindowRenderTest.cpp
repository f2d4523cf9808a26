// Renders the window for every listed panel type in both languages, and the preview window, to
// PNG files in build/window-renders/, to look at: the pictures, the captions and the fields of
// each type; the outlines, axes and legend of the preview, and the same preview on the printed
// page.
#include <QDir>
#include <QImage>
#include <QPainter>

#include "WindowFixture.h"
#include "ui/LayoutPainter.h"
#include "ui/PreviewWindow.h"

namespace {

const char* const kTypeNames[] = {"empty",   "flat",  "gutter",      "gutter3e",          "ridge",
                                  "ridge3e", "slope", "doubleslope", "doubleslope-narrow"};

TEST_F(WindowTest, RendersEveryPanelTypeInBothLanguages) {
  const QString outDir = QString::fromUtf8(TECTOPLAN_BINARY_DIR "/window-renders");
  QDir().mkpath(outDir);
  for (const bool polish : {false, true}) {
    TFormMain& form = Open(polish);
    for (int type = ptEmpty; type <= ptDoubleSlopeNarrow; ++type) {
      SelectType(static_cast<TRoofPanelType>(type));
      QImage image(form.size(), QImage::Format_ARGB32);
      image.fill(Qt::white);
      form.render(&image);
      const QString name =
          QString("%1/window-%2-%3.png").arg(outDir, polish ? "pl" : "en", kTypeNames[type]);
      ASSERT_TRUE(image.save(name)) << name.toStdString();
    }
    EXPECT_TRUE(services_.messages.empty());
    EXPECT_TRUE(services_.errors.empty());
  }
}

TEST_F(WindowTest, RendersThePreview) {
  struct TCase {
    const char* name;
    bool polish;
    TRoofPanelType type;
    const char* layers;
    const char* dimA;
    bool picture;
  };
  const TCase cases[] = {
      {"en-gutter", false, ptGutter, "2", "200", true},
      {"pl-doubleslope-narrow", true, ptDoubleSlopeNarrow, "1", "200", true},
      {"en-flat", false, ptFlat, "3", "150", true},
      {"en-below-zero", false, ptDoubleSlope, "1", "-400", true},
      {"pl-below-zero", true, ptDoubleSlope, "1", "-400", true},
      {"en-layer-limit", false, ptFlat, "100001", "150", false},
  };
  const QString outDir = QString::fromUtf8(TECTOPLAN_BINARY_DIR "/window-renders");
  QDir().mkpath(outDir);
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    TFormMain& form = Open(c.polish);
    SelectType(c.type);
    Type(form.txtLayerCount, c.layers);
    Type(form.txtDimA, c.dimA);
    form.miPreview->trigger();
    SettlePreview();
    auto* preview = form.findChild<TFormPreview*>();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->HasPicture(), c.picture) << preview->ErrorText();
    QImage image(preview->size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    preview->render(&image);
    const QString name = QString("%1/preview-%2.png").arg(outDir, c.name);
    ASSERT_TRUE(image.save(name)) << name.toStdString();
    if (preview->HasPicture()) {
      // The printed picture of the same program: its layout on the A4 page, 4 pixels a
      // millimetre.
      preview::TPreviewInput input;
      input.workArea = preview->WorkArea();
      input.advice = preview->Advice();
      const preview::TPreviewLayout page = preview::LayOutProgram(
          preview->Program(), preview->Report(), input, preview::PageTarget());
      QImage paper(297 * 4, 210 * 4, QImage::Format_ARGB32);
      paper.fill(Qt::white);
      QPainter p(&paper);
      p.setRenderHint(QPainter::Antialiasing);
      p.scale(4, 4);
      PaintLayout(p, page);
      p.end();
      const QString pageName = QString("%1/page-%2.png").arg(outDir, c.name);
      ASSERT_TRUE(paper.save(pageName)) << pageName.toStdString();
    }
  }
}

}  // namespace
