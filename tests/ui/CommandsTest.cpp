// The project commands: the work area shown, open and save through real files, the dialogs, and
// errors shown by the general handler.
#include <QPushButton>
#include <QSignalBlocker>
#include <cmath>

#include "WindowFixture.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

void Put(TEditField* field, const char* text) {
  QSignalBlocker quiet(field);
  field->setText(QString::fromUtf8(text));
}

std::string ProjectText(const std::string& keys) {
  return "[Project]\r\n" + keys;
}

TEST_F(WindowTest, WorkAreaShowsWholeMillimetresAfterTwoSpaces) {
  TFormMain& form = Open();
  SelectType(ptGutter);
  Type(form.txtDimA, "30");
  Type(form.txtDimB, "100");
  Type(form.txtDimC, "60");
  const TPrjSize& size = form.Project().ProjectSize();
  for (auto [display, value] :
       {std::pair{form.bevPrjWidth, size.Width()}, std::pair{form.bevPrjHeight, size.Height()},
        std::pair{form.bevPrjDepth, size.Depth()}}) {
    EXPECT_EQ(Text(display), "  " + std::to_string(static_cast<long long>(std::trunc(value))));
  }
  EXPECT_NE(size.Depth(), std::trunc(size.Depth()));  // 1414.2...: the fraction is cut off
  EXPECT_EQ(Text(form.bevPrjDepth), "  1414");
}

TEST_F(WindowTest, WorkAreaBeyondAnIntegerShowsTheNumberText) {
  TFormMain& form = Open();
  WriteFile(Path("far.tcj"), ProjectText("Panel type=1\r\nLayer count=1\r\nVertex A=10\r\n"
                                         "Panel length=1000\r\nElevation=1E300\r\n"
                                         "Left space=-1E300\r\n"));
  services_.answers = {Path("far.tcj")};
  form.RunHandler([&] { form.LoadPrj(); });
  EXPECT_TRUE(services_.errors.empty());
  EXPECT_EQ(Text(form.bevPrjHeight), "  1E300");
  EXPECT_EQ(Text(form.bevPrjWidth), "  -1E300");
  EXPECT_EQ(Text(form.bevPrjDepth), "  1000");
}

TEST_F(WindowTest, SaveAndOpenRoundTrip) {
  TFormMain& form = Open();
  SelectType(ptRidge);
  Type(form.txtDimA, "40");
  Type(form.txtDimB, "90");
  Type(form.txtDimC, "130");
  Type(form.txtLayerCount, "3");
  Type(form.txtPanelSpace, "12");
  Type(form.txtPanelLength, "800");
  form.chkCutDiagonally->setChecked(true);
  services_.answers = {Path("ridge")};
  form.RunHandler([&] { form.SavePrj(); });
  ASSERT_TRUE(services_.errors.empty()) << services_.errors[0];
  ASSERT_EQ(services_.dialogs.size(), 1u);
  EXPECT_TRUE(services_.dialogs[0].save);
  EXPECT_EQ(services_.dialogs[0].filter.description, "File TCJ");
  EXPECT_EQ(services_.dialogs[0].filter.pattern, "*.tcj");
  EXPECT_EQ(services_.dialogs[0].proposedName, "project1.tcj");
  const std::string saved = ReadFile(Path("ridge.tcj"));  // the extension is added
  EXPECT_NE(saved.find("Top space=12\r\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("Cut diagonally=1\r\n"), std::string::npos) << saved;

  SelectType(ptFlat);
  Type(form.txtLayerCount, "1");
  services_.answers = {Path("ridge.tcj")};
  form.RunHandler([&] { form.LoadPrj(); });
  EXPECT_TRUE(services_.errors.empty());
  EXPECT_EQ(services_.dialogs.back().proposedName, "project1.tcj");
  EXPECT_FALSE(services_.dialogs.back().save);
  EXPECT_EQ(form.cmbPanelsType->currentIndex(), ptRidge);
  EXPECT_EQ(form.CurPanelType(), ptRidge);
  EXPECT_EQ(Text(form.txtDimA), "40");
  EXPECT_EQ(Text(form.txtDimB), "90");
  EXPECT_EQ(Text(form.txtDimC), "130");
  EXPECT_EQ(Text(form.txtDimD), "90");
  EXPECT_EQ(Text(form.txtLayerCount), "3");
  EXPECT_EQ(Text(form.txtPanelSpace), "12");
  EXPECT_TRUE(form.txtPanelSpace->isEnabled());
  EXPECT_EQ(Text(form.txtPanelLength), "800");
  EXPECT_TRUE(form.chkCutDiagonally->isChecked());
  EXPECT_TRUE(form.Project().CutDiagonally());
  EXPECT_TRUE(form.ComputePrjEnabled());
  EXPECT_EQ(Text(form.labCuttingMode), "Independent");
  // Saving the opened project again writes the same file.
  services_.answers = {Path("again.tcj")};
  form.RunHandler([&] { form.SavePrj(); });
  EXPECT_EQ(ReadFile(Path("again.tcj")), saved);
}

TEST_F(WindowTest, OpeningATypeWithoutListEntrySelectsTheEmptyType) {
  for (const char* type : {"9", "300", "200"}) {
    SCOPED_TRACE(type);
    TFormMain& form = Open();
    WriteFile(Path("odd.tcj"), ProjectText(std::string("Panel type=") + type +
                                           "\r\nLayer count=1\r\nVertex A=50\r\nVertex B=60\r\n"
                                           "Panel length=700\r\n"));
    services_.answers = {Path("odd.tcj")};
    form.RunHandler([&] { form.LoadPrj(); });
    EXPECT_TRUE(services_.errors.empty());
    EXPECT_EQ(form.cmbPanelsType->currentIndex(), 0);
    EXPECT_EQ(form.CurPanelType(), ptEmpty);
    EXPECT_EQ(Text(form.txtDimA), "0");
    EXPECT_EQ(Text(form.txtDimB), "0");
    EXPECT_FALSE(form.txtDimA->isEnabled());
    EXPECT_EQ(form.Project().PanelType(), ptEmpty);
    EXPECT_EQ(form.Project().RoofPanel().DimA(), 0.0);
    EXPECT_EQ(form.Project().PanelLength(), 700.0);
  }
}

// The project named when the program starts opens as File > Open opens it; a file that cannot
// be read is one message with its reason, and the window keeps its empty state.
TEST_F(WindowTest, TheProjectNamedAtStartUpOpens) {
  TFormMain& form = Open();
  WriteFile(Path("roof.tcj"), ProjectText("Panel type=2\r\nLayer count=2\r\nVertex A=50\r\n"
                                          "Vertex B=60\r\nVertex C=70\r\nPanel length=700\r\n"));
  form.OpenPrjAtStartUp(Path("roof.tcj"));
  EXPECT_TRUE(services_.errors.empty());
  EXPECT_TRUE(services_.messages.empty());
  EXPECT_EQ(form.CurPanelType(), ptGutter);
  EXPECT_EQ(Text(form.txtDimA), "50");
  EXPECT_EQ(Text(form.txtLayerCount), "2");
  EXPECT_EQ(form.Project().PanelLength(), 700.0);

  struct Case {
    std::string file, error;
  };
  std::filesystem::create_directories(Path("folder.tcj"));
  const Case cases[] = {
      {Path("missing.tcj"),
       "Unable to read the project file " + Path("missing.tcj") + ": No such file or directory"},
      {Path("folder.tcj"),
       "Unable to read the project file " + Path("folder.tcj") + ": Is a directory"},
  };
  for (const Case& c : cases) {
    services_.errors.clear();
    TFormMain& empty = Open();
    empty.OpenPrjAtStartUp(c.file);
    ASSERT_EQ(services_.errors.size(), 1u) << c.file;
    EXPECT_EQ(services_.errors[0], c.error);
    EXPECT_EQ(empty.CurPanelType(), ptEmpty);
    EXPECT_EQ(Text(empty.txtDimA), "0");
  }
}

TEST_F(WindowTest, OpenedFractionsShowWithTheRegionalSeparatorAndAreReported) {
  platform::NumberFormat().decimalSeparator = ",";
  TFormMain& form = Open();
  WriteFile(Path("fraction.tcj"),
            ProjectText("Panel type=7\r\nLayer count=1\r\nVertex A=12.5\r\nVertex B=20\r\n"
                        "Vertex C=30\r\nVertex D=40\r\nPanel length=1000\r\n"));
  services_.answers = {Path("fraction.tcj")};
  form.RunHandler([&] { form.LoadPrj(); });
  EXPECT_EQ(Text(form.txtDimA), "12,5");
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0], "Incorrect value in field: Size A\r\nValue must be a number.");
  EXPECT_TRUE(services_.errors.empty());
  EXPECT_TRUE(form.ComputePrjEnabled());
  EXPECT_EQ(form.CurPanelType(), ptDoubleSlope);
}

TEST_F(WindowTest, SavingFractions) {
  platform::NumberFormat().decimalSeparator = ",";
  TFormMain& form = Open();
  SelectType(ptDoubleSlope);
  Type(form.txtDimA, "12,5");  // rejected by the validation, written by the save
  services_.messages.clear();
  services_.answers = {Path("a.tcj")};
  form.RunHandler([&] { form.SavePrj(); });
  EXPECT_TRUE(services_.errors.empty());
  EXPECT_NE(ReadFile(Path("a.tcj")).find("Vertex A=12,5\r\n"), std::string::npos);

  Type(form.txtDimA, "12");
  Type(form.txtPanelLength, "1000,5");
  services_.messages.clear();
  services_.answers = {Path("b.tcj")};
  form.RunHandler([&] { form.SavePrj(); });
  ASSERT_EQ(services_.errors.size(), 1u);
  EXPECT_EQ(services_.errors[0], "'1000,5' is not a valid integer value");
  EXPECT_FALSE(std::filesystem::exists(Path("b.tcj")));
  EXPECT_TRUE(services_.messages.empty());
}

TEST_F(WindowTest, SkipBottomCountsOnlyWithOneLayerButIsSavedAsChecked) {
  TFormMain& form = Open();
  SelectType(ptFlat);
  form.chkSkipBottom->setChecked(true);
  EXPECT_TRUE(form.Project().SkipBottom());
  form.txtLayerCount->setText("0");
  EXPECT_TRUE(form.chkSkipBottom->isChecked());
  EXPECT_FALSE(form.Project().SkipBottom());
  services_.answers = {Path("skip.tcj")};
  form.RunHandler([&] { form.SavePrj(); });
  EXPECT_NE(ReadFile(Path("skip.tcj")).find("Skip bottom=1\r\n"), std::string::npos);
}

TEST_F(WindowTest, WriteErrorIsShownAndTheWindowGoesOn) {
  TFormMain& form = Open(true);
  services_.answers = {Path("missing-folder/p.tcj")};
  form.RunHandler([&] { form.SavePrj(); });
  ASSERT_EQ(services_.errors.size(), 1u);
  EXPECT_EQ(services_.errors[0],
            "Nie mo\u017Cna zapisa\u0107 pliku " + Path("missing-folder/p.tcj"));
  // Still usable.
  SelectType(ptFlat);
  Type(form.txtDimA, "5");
  EXPECT_EQ(Text(form.txtDimD), "5");
  EXPECT_EQ(services_.errors.size(), 1u);
}

TEST_F(WindowTest, CancelledDialogsChangeNothing) {
  TFormMain& form = Open();
  SelectType(ptFlat);
  Type(form.txtDimA, "5");
  const int runs = form.FieldReactionRuns();
  form.RunHandler([&] { form.LoadPrj(); });
  form.RunHandler([&] { form.SavePrj(); });
  form.RunHandler([&] { form.btnGenPltClick(); });
  EXPECT_EQ(services_.dialogs.size(), 3u);
  EXPECT_EQ(form.FieldReactionRuns(), runs);
  EXPECT_EQ(Text(form.txtDimA), "5");
  EXPECT_TRUE(services_.errors.empty());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_),
                          std::filesystem::directory_iterator()),
            1);  // only the images folder
}

TEST_F(WindowTest, GenerateValidatesBeforeTheDialog) {
  TFormMain& form = Open();
  SelectType(ptFlat);
  Type(form.txtDimA, "");
  services_.messages.clear();
  // The click leaves A: its message, and the click does nothing more.
  QTest::mouseClick(form.btnGenPlt, Qt::LeftButton);
  EXPECT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(QApplication::focusWidget(), form.txtDimA);
  // Clicked with the focus elsewhere, the command's own validation reports.
  Put(form.txtDimA, "");
  form.btnGenPlt->setFocus(Qt::TabFocusReason);
  services_.messages.clear();
  QTest::mouseClick(form.btnGenPlt, Qt::LeftButton);
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0], "Null value in field: Size A");
  EXPECT_TRUE(services_.dialogs.empty());
}

TEST_F(WindowTest, OpenedPictureErrorComesAfterTheWholeCommand) {
  TFormMain& form = Open();
  WriteFile(Path("slope.tcj"), ProjectText("Panel type=6\r\nLayer count=1\r\nVertex A=50\r\n"
                                           "Vertex D=20\r\nPanel length=600\r\n"));
  std::filesystem::remove(folder_ / "images" / "FoamBlockLayout_2.wmf");
  services_.answers = {Path("slope.tcj")};
  form.RunHandler([&] { form.LoadPrj(); });
  ASSERT_EQ(services_.errors.size(), 1u);
  EXPECT_NE(services_.errors[0].find("FoamBlockLayout_2.wmf"), std::string::npos);
  EXPECT_EQ(form.CurPanelType(), ptSlope);
  EXPECT_EQ(Text(form.txtDimB), "50");
  EXPECT_EQ(Text(form.txtDimC), "20");
  EXPECT_TRUE(form.ComputePrjEnabled());
  EXPECT_EQ(form.Project().PanelType(), ptSlope);
  EXPECT_EQ(form.Project().PanelLength(), 600.0);
}

// A file far too large to be a project is refused as the unattended run refuses it: the message
// is shown and the window and its project stay as they were.
TEST_F(WindowTest, OpeningAnOversizedFileShowsTheMessageAndChangesNothing) {
  TFormMain& form = Open();
  SelectType(ptRidge);
  Type(form.txtDimA, "40");
  Type(form.txtLayerCount, "3");
  WriteFile(Path("big.tcj"), ProjectText("Panel type=1\r\nLayer count=9\r\n") +
                                 std::string(kMaxProjectFileSize, '\n'));
  services_.answers = {Path("big.tcj")};
  form.RunHandler([&] { form.LoadPrj(); });
  ASSERT_EQ(services_.errors.size(), 1u);
  EXPECT_EQ(services_.errors[0], "Unable to read the project file " + Path("big.tcj") +
                                     ": it is larger than 1 MiB, and a project file holds a few "
                                     "hundred bytes");
  EXPECT_EQ(form.CurPanelType(), ptRidge);
  EXPECT_EQ(form.cmbPanelsType->currentIndex(), ptRidge);
  EXPECT_EQ(Text(form.txtDimA), "40");
  EXPECT_EQ(Text(form.txtLayerCount), "3");
  EXPECT_EQ(form.Project().PanelType(), ptRidge);
  EXPECT_EQ(form.Project().LayerCount(), 3);
  EXPECT_TRUE(form.ComputePrjEnabled());
}

TEST_F(WindowTest, ExitEndsAtOnce) {
  TFormMain& form = Open();
  SelectType(ptFlat);
  Type(form.txtDimA, "5");
  form.miExit->trigger();
  EXPECT_FALSE(form.isVisible());
  EXPECT_TRUE(services_.messages.empty());
}

}  // namespace
