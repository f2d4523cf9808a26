// The generate command: the dialog, the extension, the same bytes as the unattended run, the
// refused program and the write error.
#include "WindowFixture.h"
#include "app/AutoGeneration.h"

namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST_F(WindowTest, GenerateWritesWhatTheUnattendedRunWrites) {
  TFormMain& form = Open();
  SelectType(ptGutter);
  Type(form.txtDimA, "40");
  Type(form.txtDimB, "120");
  Type(form.txtDimC, "80");
  Type(form.txtLayerCount, "2");
  Type(form.txtPanelSpace, "5");
  form.chkCutDiagonally->setChecked(true);
  services_.answers = {Path("gutter"), Path("project.tcj")};
  form.RunHandler([&] { form.btnGenPltClick(); });
  form.RunHandler([&] { form.SavePrj(); });
  ASSERT_TRUE(services_.errors.empty()) << services_.errors[0];
  EXPECT_EQ(services_.dialogs[0].filter.description, "File HPGL");
  EXPECT_EQ(services_.dialogs[0].filter.pattern, "*.plt");
  EXPECT_EQ(services_.dialogs[0].proposedName, "project1.plt");

  GenerateFromProjectFile(Path("project.tcj"), Path("unattended.plt"));
  const std::string window = ReadFile(Path("gutter.plt"));
  EXPECT_FALSE(window.empty());
  EXPECT_EQ(window, ReadFile(Path("unattended.plt")));

  // Twice to the same name: replaced without a question, the same bytes.
  services_.answers = {Path("gutter.plt")};
  form.RunHandler([&] { form.btnGenPltClick(); });
  EXPECT_EQ(ReadFile(Path("gutter.plt")), window);
  EXPECT_TRUE(services_.messages.empty());
}

// The errors read as in the unattended run, in the interface language.
TEST_F(WindowTest, GenerateErrorsAreShownAndNothingIsWritten) {
  struct Case {
    bool polish;
    std::string unwritable, belowZero;
  };
  const Case cases[] = {
      {false, "Unable to write to " + Path("no-folder/x.plt") + ": No such file or directory",
       "The cutting program would move below the machine's zero in line "},
      {true,
       "Nie można zapisać pliku " + Path("no-folder/x.plt") + ": Nie ma takiego pliku ani katalogu",
       "Program cięcia wyprowadziłby drut poniżej zera maszyny w wierszu "},
  };
  for (const Case& c : cases) {
    services_.errors.clear();
    TFormMain& form = Open(c.polish);
    SelectType(ptFlat);
    Type(form.txtDimA, "50");
    services_.answers = {Path("no-folder/x.plt")};
    form.RunHandler([&] { form.btnGenPltClick(); });
    ASSERT_EQ(services_.errors.size(), 1u);
    EXPECT_EQ(services_.errors[0], c.unwritable);

    // A panel that would take the wire below the machine's zero is refused.
    SelectType(ptDoubleSlope);
    Type(form.txtDimA, "-400");
    Type(form.txtDimB, "10");
    Type(form.txtDimC, "10");
    Type(form.txtDimD, "10");
    services_.answers = {Path("below.plt")};
    form.RunHandler([&] { form.btnGenPltClick(); });
    ASSERT_EQ(services_.errors.size(), 2u);
    EXPECT_EQ(services_.errors[1].rfind(c.belowZero, 0), 0u) << services_.errors[1];
    EXPECT_FALSE(std::filesystem::exists(Path("below.plt")));
  }
}

}  // namespace
