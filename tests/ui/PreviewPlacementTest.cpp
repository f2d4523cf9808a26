// Where the preview window goes beside the main window, and how the work-area boxes fit a
// number: the pure functions, and the window's boxes and preview driven as the operator does.
#include "ui/PreviewPlacement.h"

#include <QFontMetrics>
#include <QLabel>

#include "WindowFixture.h"
#include "ui/Fonts.h"
#include "ui/PreviewWindow.h"

namespace {

TEST(PreviewPlacement, BesideElseBelowElseOverTheSketch) {
  const QSize preferred(860, 500);
  // The main window's frame 800 x 500; its sketch 360 x 360 at (13, 95) inside it, the
  // dimension fields from x 388 rightwards.
  struct Case {
    const char* name;
    QRect screen;
    QPoint main;
    QRect expected;
  };
  const Case cases[] = {
      {"room on the right", {0, 0, 1920, 1080}, {100, 100}, {900, 100, 860, 500}},
      {"shrunk on the right", {0, 0, 1366, 768}, {0, 0}, {800, 0, 566, 500}},
      {"kept on the screen's height", {0, 0, 1920, 1080}, {100, 600}, {900, 580, 860, 500}},
      {"left when the right is short", {0, 0, 1600, 900}, {700, 0}, {0, 0, 700, 500}},
      {"below when neither side has room", {0, 0, 1280, 1024}, {400, 0}, {400, 500, 860, 500}},
      {"a second screen to the right", {1920, 0, 1920, 1080}, {1920, 0}, {2720, 0, 860, 500}},
      {"over the sketch on 1024 x 768", {0, 0, 1024, 768}, {0, 0}, {-107, 95, 480, 320}},
      {"over the sketch, main window centred", {0, 0, 1024, 768}, {112, 134}, {5, 229, 480, 320}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QRect main(c.main, QSize(800, 500));
    const QRect sketch(c.main + QPoint(13, 95), QSize(360, 360));
    const QRect placed = PlacePreview(c.screen, main, sketch, preferred);
    EXPECT_EQ(placed, c.expected);
    EXPECT_GE(placed.width(), kPreviewLeastSize.width());
    EXPECT_GE(placed.height(), kPreviewLeastSize.height());
    // Never over the dimension fields, the work area or the Generate button.
    EXPECT_FALSE(placed.intersects(QRect(main.left() + 388, main.top(), 412, main.height())));
  }
}

// The width the work-area boxes give their text, measured on the window below.
int BoxTextWidth(const QLabel& box) {
  return box.contentsRect().width() - 2 * box.margin() - 2;
}

TEST_F(WindowTest, WorkAreaBoxesShowTheWholeNumber) {
  TFormMain& form = Open();
  const int width = BoxTextWidth(*form.bevPrjHeight);
  ASSERT_GT(width, 20);
  struct Case {
    const char* text;
    double value;
    bool rounded;
    const char* shown;  // the rounded form; the whole text otherwise
  };
  const Case cases[] = {
      {"  812", 812, false, "  812"},
      {"  12999990", 12999990, false, "12999990"},
      {"  2147483649", 2147483649.0, false, "2147483649"},
      {"  -2147483649", -2147483649.0, false, "-2147483649"},
      // Beyond 64 bits the work area is written as a number text of 15 digits.
      {"  1.23456789012346E25", 1.23456789012346e25, true, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const TFittedText fitted = FitNumberText(c.text, c.value, WindowFont(11), width);
    QFont font = WindowFont(11);
    font.setPixelSize(fitted.pixelSize);
    EXPECT_LE(QFontMetrics(font).horizontalAdvance(fitted.text), width);
    EXPECT_GE(fitted.pixelSize, kLeastPixelSize);
    EXPECT_EQ(fitted.rounded, c.rounded);
    if (c.shown != nullptr) {
      EXPECT_EQ(fitted.text.toStdString(), c.shown);
    } else {
      EXPECT_EQ(fitted.text.left(1), QString::fromUtf8("≈"));
      EXPECT_TRUE(fitted.text.contains("E25")) << fitted.text.toStdString();
    }
  }

  // A flat panel of A = 2147483647 is 2147483649 high: the box shows every digit, the
  // tooltip the same number.
  SelectType(ptFlat);
  Type(form.txtDimA, "2147483647");
  Tab();
  const QLabel& height = *form.bevPrjHeight;
  EXPECT_EQ(height.text().trimmed().toStdString(), "2147483649");
  EXPECT_LE(QFontMetrics(height.font()).horizontalAdvance(height.text()), BoxTextWidth(height));
  EXPECT_EQ(height.toolTip().toStdString(), "2147483649");
  // A small number in the window's own size, without a tooltip.
  Type(form.txtDimA, "150");
  Tab();
  EXPECT_EQ(height.font().pixelSize(), 11);
  EXPECT_TRUE(height.toolTip().isEmpty());
}

TEST_F(WindowTest, PreviewNamesTheInvalidFieldInsteadOfAVerdict) {
  for (const bool polish : {false, true}) {
    SCOPED_TRACE(polish ? "Polish" : "English");
    TFormMain& form = Open(polish);
    SelectType(ptFlat);
    form.miPreview->trigger();
    SettlePreview();
    auto* preview = form.findChild<TFormPreview*>();
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(preview->HasPicture());
    Type(form.txtDimA, "12x");
    Tab();
    EXPECT_FALSE(preview->HasPicture());
    EXPECT_EQ(preview->InvalidField(), form.labDimA->text().toStdString());
    EXPECT_NE(preview->ErrorText().find(form.labDimA->text().toStdString()), std::string::npos);
    EXPECT_EQ(preview->ErrorText().rfind(polish ? "Pole „" : "The field \"", 0), 0u)
        << preview->ErrorText();
    services_.messages.clear();
    Type(form.txtDimA, "40");
    Tab();
    EXPECT_TRUE(preview->HasPicture()) << preview->ErrorText();
    EXPECT_TRUE(preview->InvalidField().empty());
  }
}

}  // namespace
