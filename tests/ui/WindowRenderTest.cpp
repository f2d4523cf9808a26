// Renders the window for every listed panel type in both languages to PNG files in
// build/window-renders/, to look at: the pictures, the captions and the fields of each type.
#include <QDir>
#include <QImage>
#include <QPainter>

#include "WindowFixture.h"

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

}  // namespace
