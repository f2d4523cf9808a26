// The preview window: the View menu, the geometry against the program "Generate file" writes,
// the redraw after a field change, the errors shown instead of a picture, closing and reopening,
// and that it never writes a file.
#include <QImage>
#include <QMenuBar>
#include <QPainter>
#include <algorithm>
#include <sstream>
#include <tuple>

#include "WindowFixture.h"
#include "generator/ProjectGenerator.h"
#include "ui/LayoutPainter.h"
#include "ui/PreviewWindow.h"

namespace {

// One point of an outline: pen, pen down, x and y in plotter units.
using TPoint = std::tuple<int, bool, std::int32_t, std::int32_t>;

// The points the preview holds to draw.
std::vector<TPoint> Drawn(const TFormPreview& preview) {
  std::vector<TPoint> points;
  for (const hpgl::Outline& outline : preview.Program().outlines) {
    for (const hpgl::Move& move : outline.moves) {
      if (move.hasPoint) {
        points.emplace_back(outline.pen, move.penDown, move.x, move.y);
      }
    }
  }
  return points;
}

// The points of a program as our generator writes it, one statement a line ("PD 80 12080;"),
// read without the cutting-program reader.
std::vector<TPoint> Written(const std::string& program) {
  std::vector<TPoint> points;
  std::istringstream lines(program);
  std::string line;
  int pen = 0;
  while (std::getline(lines, line)) {
    if (line.size() < 3) {
      continue;  // the end of the file: CR LF
    }
    const std::string mnemonic = line.substr(0, 2);
    std::istringstream statement(line.substr(2, line.find(';') - 2));
    std::int32_t x = 0, y = 0;
    if (mnemonic == "SP") {
      statement >> pen;
    } else if ((mnemonic == "PU" || mnemonic == "PD") && statement >> x >> y) {
      points.emplace_back(pen, mnemonic == "PD", x, y);
    }
  }
  return points;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class PreviewTest : public WindowTest {
 protected:
  TFormPreview& OpenPreview() {
    form_->miPreview->trigger();
    SettlePreview();
    auto* preview = form_->findChild<TFormPreview*>();
    EXPECT_NE(preview, nullptr);
    return *preview;
  }

  // The program the generate command writes for the window as it stands.
  std::string Generated(const std::string& name) {
    services_.answers = {Path(name)};
    form_->RunHandler([&] { form_->btnGenPltClick(); });
    return ReadFile(Path(name + ".plt"));
  }

  void Gutter() {
    SelectType(ptGutter);
    Type(form_->txtDimA, "40");
    Type(form_->txtDimB, "120");
    Type(form_->txtDimC, "80");
    Type(form_->txtLayerCount, "2");
    Type(form_->txtPanelSpace, "5");
    Tab();
  }
};

TEST_F(PreviewTest, ViewMenuFollowsTheFileMenuInBothLanguages) {
  struct TCase {
    bool polish;
    const char* menu;
    const char* item;
    const char* caption;
  };
  const TCase cases[] = {
      {false, "View", "Cutting program preview", "Tectoplan - Cutting program preview"},
      {true, "Widok", "Podgląd programu cięcia", "Tectoplan - Podgląd programu cięcia"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.polish ? "Polish" : "English");
    TFormMain& form = Open(c.polish);
    const QList<QAction*> menus = form.menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0], form.miFile->menuAction());
    EXPECT_EQ(menus[1], form.miView->menuAction());
    EXPECT_EQ(form.miView->title().toStdString(), c.menu);
    ASSERT_EQ(form.miView->actions().size(), 1);
    EXPECT_EQ(form.miView->actions()[0], form.miPreview);
    EXPECT_EQ(form.miPreview->text().toStdString(), c.item);
    EXPECT_EQ(OpenPreview().windowTitle().toStdString(), c.caption);
  }
}

TEST_F(PreviewTest, ShowsTheGeneratedProgramAndFollowsFieldChanges) {
  TFormMain& form = Open();
  Gutter();
  TFormPreview& preview = OpenPreview();
  ASSERT_TRUE(preview.isVisible());
  EXPECT_FALSE(preview.isModal());
  ASSERT_TRUE(preview.HasPicture()) << preview.ErrorText();
  EXPECT_FALSE(preview.Report().Failed());
  ASSERT_EQ(preview.Program().outlines.size(), 2u);
  EXPECT_EQ(preview.Program().outlines[0].pen, 4);
  EXPECT_EQ(preview.Program().outlines[1].pen, 3);
  EXPECT_EQ(preview.WorkArea().width, form.Project().ProjectSize().Width());
  EXPECT_EQ(preview.WorkArea().height, form.Project().ProjectSize().Height());

  const std::vector<TPoint> first = Drawn(preview);
  EXPECT_GT(first.size(), 10u);
  EXPECT_EQ(first, Written(Generated("first")));

  // Typed while the preview is open: redrawn at once, still the program the command writes.
  Type(form.txtDimA, "60");
  Tab();
  const std::vector<TPoint> second = Drawn(preview);
  EXPECT_NE(second, first);
  EXPECT_EQ(second, Written(Generated("second")));
  form.chkCutDiagonally->setChecked(true);
  SettlePreview();
  EXPECT_NE(Drawn(preview), second);
  EXPECT_EQ(Drawn(preview), Written(Generated("third")));
  EXPECT_TRUE(services_.errors.empty());
}

TEST_F(PreviewTest, DrawsTheRefusedProgramAndShowsOtherErrorsInstead) {
  struct TCase {
    const char* name;
    bool polish;
    TRoofPanelType type;
    struct TField {
      TEditField* TFormMain::*field;
      const char* wrong;
      const char* sound;  // brings the picture back
    };
    std::vector<TField> fields;
    const char* error;  // the beginning of the text shown
    bool drawn;         // the refused program is drawn, the error above its findings
  };
  const TCase cases[] = {
      {"below zero",
       false,
       ptDoubleSlope,
       {{&TFormMain::txtDimA, "-400", "400"},
        {&TFormMain::txtDimB, "10", "10"},
        {&TFormMain::txtDimC, "10", "10"},
        {&TFormMain::txtDimD, "10", "10"}},
       "The cutting program would move below the machine's zero in line 36: ",
       true},
      {"below zero, Polish",
       true,
       ptDoubleSlope,
       {{&TFormMain::txtDimA, "-400", "400"},
        {&TFormMain::txtDimB, "10", "10"},
        {&TFormMain::txtDimC, "10", "10"},
        {&TFormMain::txtDimD, "10", "10"}},
       "Program cięcia wyprowadziłby drut poniżej zera maszyny w wierszu 36: ",
       true},
      {"layer limit",
       false,
       ptFlat,
       {{&TFormMain::txtLayerCount, "100001", "3"}},
       "Layer count 100001 is above the limit of 100000 layers",
       false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    TFormMain& form = Open(c.polish);
    SelectType(c.type);
    TFormPreview& preview = OpenPreview();
    ASSERT_TRUE(preview.HasPicture()) << preview.ErrorText();
    for (const auto& f : c.fields) {
      Type(form.*f.field, f.wrong);
    }
    Tab();
    if (c.drawn) {
      // The program that would have been cut, failing the check at the refused statement.
      ASSERT_TRUE(preview.HasPicture()) << preview.ErrorText();
      ASSERT_FALSE(preview.Advice().empty());
      EXPECT_EQ(preview.Advice()[0].rfind(c.error, 0), 0u) << preview.Advice()[0];
      EXPECT_EQ(preview.Program().outlines.size(), 2u);
      const auto& findings = preview.Report().findings;
      EXPECT_TRUE(std::any_of(findings.begin(), findings.end(), [](const hpgl::Finding& f) {
        return f.kind == hpgl::FindingKind::OffZero && f.statement == 36;
      }));
    } else {
      EXPECT_FALSE(preview.HasPicture());
      EXPECT_TRUE(preview.Program().outlines.empty());
      EXPECT_EQ(preview.ErrorText().rfind(c.error, 0), 0u) << preview.ErrorText();
    }
    // Shown in the preview only, not by the general error handler.
    EXPECT_TRUE(services_.errors.empty());

    for (const auto& f : c.fields) {
      Type(form.*f.field, f.sound);
    }
    Tab();
    EXPECT_TRUE(preview.HasPicture()) << preview.ErrorText();
    EXPECT_TRUE(preview.ErrorText().empty());
    EXPECT_TRUE(preview.Advice().empty());
    EXPECT_FALSE(preview.Report().Failed());
  }
}

// Changes made while a run is busy never queue runs of their own: one run after the busy one
// takes them all, and until it is shown the preview says it is updating.
TEST_F(PreviewTest, GathersChangesMadeWhileARunIsBusy) {
  TFormMain& form = Open();
  Gutter();
  TFormPreview& preview = OpenPreview();
  ASSERT_FALSE(preview.Updating());
  const int runs = form.PreviewRuns();
  // Each click is a field change; no result can arrive before the event loop runs again.
  for (int i = 0; i < 5; ++i) {
    form.chkCutDiagonally->setChecked(!form.chkCutDiagonally->isChecked());
  }
  EXPECT_EQ(form.PreviewRuns(), runs + 1);
  EXPECT_TRUE(preview.Updating());
  EXPECT_FALSE(form.PreviewSettled());
  SettlePreview();
  EXPECT_EQ(form.PreviewRuns(), runs + 2);
  EXPECT_FALSE(preview.Updating());
  EXPECT_TRUE(form.chkCutDiagonally->isChecked());
  EXPECT_EQ(Drawn(preview), Written(Generated("last")));

  // An invalid field is named at once, and the busy run's older result is not shown after it.
  form.chkCutDiagonally->setChecked(false);
  Type(form.txtDimA, "12x");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_FALSE(preview.Updating());
  EXPECT_EQ(preview.InvalidField(), form.labDimA->text().toStdString());
  SettlePreview();
  EXPECT_EQ(preview.InvalidField(), form.labDimA->text().toStdString());
  EXPECT_FALSE(preview.HasPicture());
}

// What the window shows, as it would be put on the screen.
QImage Shown(TFormPreview& preview) {
  QImage image(preview.size(), QImage::Format_ARGB32);
  image.fill(Qt::white);
  preview.render(&image);
  return image;
}

// The window's drawing painted afresh, without the picture the window keeps of it.
QImage Painted(TFormPreview& preview) {
  QImage image(preview.size(), QImage::Format_ARGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  PaintLayout(p, preview.Layout());
  return image;
}

// The window keeps a picture of its drawing so that marking it as updating costs no redraw:
// the picture is always that of the program shown, and the mark covers only the verdict.
TEST_F(PreviewTest, ShowsTheDrawingOfItsProgramAndMarksOnlyTheVerdictWhileUpdating) {
  TFormMain& form = Open();
  Gutter();
  TFormPreview& preview = OpenPreview();
  const QImage first = Shown(preview);
  EXPECT_EQ(first, Painted(preview));

  preview.SetUpdating(true);
  const QImage updating = Shown(preview);
  const preview::TPreviewLayout& layout = preview.Layout();
  const QRect verdict = QRectF(QPointF(layout.verdictLeft, layout.verdictTop),
                               QPointF(layout.verdictRight, layout.verdictBottom))
                            .toAlignedRect();
  int changedInside = 0, changedOutside = 0;
  for (int y = 0; y < first.height(); ++y) {
    for (int x = 0; x < first.width(); ++x) {
      if (updating.pixel(x, y) != first.pixel(x, y)) {
        ++(verdict.contains(x, y) ? changedInside : changedOutside);
      }
    }
  }
  EXPECT_GT(changedInside, verdict.width() * verdict.height() / 2);
  EXPECT_EQ(changedOutside, 0);
  preview.SetUpdating(false);

  // A field change and a resize each show the new drawing, never the kept picture.
  Type(form.txtDimA, "60");
  Tab();
  SettlePreview();
  const QImage second = Shown(preview);
  EXPECT_NE(second, first);
  EXPECT_EQ(second, Painted(preview));
  preview.resize(preview.width() - 40, preview.height() - 20);
  QApplication::processEvents();
  EXPECT_EQ(Shown(preview), Painted(preview));
}

TEST_F(PreviewTest, ReopensTheSameWindowAndNeverWritesAFile) {
  TFormMain& form = Open();
  Gutter();
  TFormPreview& preview = OpenPreview();
  // A second click raises the window already open.
  EXPECT_EQ(&OpenPreview(), &preview);
  EXPECT_EQ(form.findChildren<TFormPreview*>().size(), 1);

  preview.close();
  EXPECT_FALSE(preview.isVisible());
  Activate();
  // Changed while closed: the reopened window shows the program as it is now.
  Type(form.txtDimB, "150");
  Tab();
  EXPECT_EQ(&OpenPreview(), &preview);
  EXPECT_TRUE(preview.isVisible());
  ASSERT_TRUE(preview.HasPicture()) << preview.ErrorText();
  TPrjGenerator generator(form.Project());
  generator.GenerateProject();
  EXPECT_EQ(Drawn(preview), Written(generator.FileData()));

  std::vector<std::string> entries;
  for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
    entries.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(entries, std::vector<std::string>{"images"});
  EXPECT_TRUE(services_.dialogs.empty());
  EXPECT_TRUE(services_.errors.empty());
}

}  // namespace
