#include "locale/ErrorStr.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include <functional>
#include <set>
#include <sstream>

#include "TestFiles.h"
#include "WmfTestFiles.h"
#include "app/AppConfiguration.h"
#include "app/AutoGeneration.h"
#include "app/WindowModuleLoader.h"
#include "base/AppError.h"
#include "generator/ProgramGate.h"
#include "generator/ProjectGenerator.h"
#include "hpgl/HpglReader.h"
#include "locale/LocalStr.h"
#include "metafile/WmfFormat.h"
#include "metafile/WmfReader.h"
#include "platform/NumberText.h"
#include "project/ProjectData.h"
#include "view/ViewCommand.h"

namespace {

// One failure a user can meet: the identity it raises, how the real code raises it, and the
// sentence the user reads in each language.
struct TCase {
  TErrorId id;
  std::function<void()> raise;
  std::string english;
  std::string polish;
};

const std::string kMissing = "/nonexistent/folder/job";

void GenerateChecked(const std::string& projectText) {
  TPanelsProject project;
  project.OpenFromText("[Project]\n" + projectText);
  project.ComputeFaces();
  TPrjGenerator generator(project);
  GenerateCheckedProgram(generator);
}

// Writes to standard output while it is a full device.
void SaveToFullStandardOutput() {
  std::fflush(stdout);
  const int saved = dup(STDOUT_FILENO);
  const int full = open("/dev/full", O_WRONLY);
  dup2(full, STDOUT_FILENO);
  close(full);
  struct TRestore {
    int saved;
    ~TRestore() {
      dup2(saved, STDOUT_FILENO);
      close(saved);
    }
  } restore{saved};
  TPanelsProject project;
  project.ComputeFaces();
  TPrjGenerator(project).Save("");
}

// Saves the empty program of a fresh project to path.
void SaveProgram(const std::string& path) {
  TPanelsProject project;
  project.ComputeFaces();
  TPrjGenerator(project).Save(path);
}

// A folder for the files that the write refusals need, left as the cases found it.
const TempFolder& Scratch() {
  static const TempFolder folder("tectoplan-errors");
  return folder;
}

// An old program in an immutable folder: the folder takes no new file, so it is not replaced.
void SaveIntoImmutableFolder() {
  const std::string folder = Scratch() / "locked";
  std::filesystem::create_directories(folder);
  WriteFile(folder + "/job.plt", "old");
  ASSERT_EQ(std::system(("chattr +i " + folder).c_str()), 0) << "needs root and chattr";
  struct TUnlock {
    std::string folder;
    ~TUnlock() { std::system(("chattr -i " + folder).c_str()); }
  } unlock{folder};
  SaveProgram(folder + "/job.plt");
}

// Another user's link in a sticky, world-writable folder, as one would plant it in /tmp.
void SaveThroughPlantedLink() {
  const std::string shared = Scratch() / "shared";
  std::filesystem::create_directories(shared);
  std::filesystem::permissions(shared, std::filesystem::perms(01777));
  const std::string link = shared + "/job.plt";
  std::filesystem::remove(link);
  std::filesystem::create_symlink(Scratch() / "victim.plt", link);
  ASSERT_EQ(lchown(link.c_str(), 65534, 65534), 0) << "needs root";
  SaveProgram(link);
}

void SaveIntoPipeWithoutReader() {
  const std::string pipe = Scratch() / "pipe";
  if (!std::filesystem::is_fifo(pipe)) {
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  }
  SaveProgram(pipe);
}

void ReadProgramText(const std::string& text) {
  hpgl::ReadProgram(text);
}

// Reads file as a metafile picture.
std::function<void()> ReadingPicture(TBytes file) {
  return [file = std::move(file)] { ReadWmf(file); };
}

// Saves the state 4097 times, one more than a picture may.
TBytes ManySavedStates() {
  TBytes saves;
  for (int i = 0; i <= 4096; ++i) {
    TBytes r = Rec(wmf::kSaveDC, {});
    saves.insert(saves.end(), r.begin(), r.end());
  }
  return WithRecords({saves});
}

// A folder of this process's own for the files a case needs, each made just before the case
// reads it; the messages name them, so their names are fixed.
const std::string kScratch = "/tmp/tectoplan-errorstr-" + std::to_string(getpid());

// Makes kScratch/name by make, runs read on its path, removes it again.
std::function<void()> WithScratch(std::string name, std::function<void(const std::string&)> make,
                                  std::function<void(const std::string&)> read) {
  return [=] {
    std::filesystem::create_directories(kScratch);
    const std::string path = kScratch + "/" + name;
    struct TRemove {
      std::string path;
      ~TRemove() { std::filesystem::remove(path); }
    } remove{path};
    make(path);
    read(path);
  };
}

void MakeBytes(const std::string& path, std::size_t size) {
  WriteFile(path, std::string(size, '\n'));
}

void MakeSocket(const std::string& path) {
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  path.copy(address.sun_path, sizeof address.sun_path - 1);
  ASSERT_EQ(bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  close(fd);
}

std::vector<TCase> Cases() {
  return {
      {TErrorId::ProjectWrite, [] { TPanelsProject().Save(kMissing + ".tcj"); },
       "Unable to write to /nonexistent/folder/job.tcj",
       "Nie można zapisać pliku /nonexistent/folder/job.tcj"},
      {TErrorId::ProgramWrite,
       [] {
         TPanelsProject project;
         project.ComputeFaces();
         TPrjGenerator(project).Save(kMissing + ".plt");
       },
       "Unable to write to /nonexistent/folder/job.plt: No such file or directory",
       "Nie można zapisać pliku /nonexistent/folder/job.plt: Nie ma takiego pliku ani katalogu"},
      {TErrorId::StandardOutputWrite, SaveToFullStandardOutput,
       "Unable to write to standard output: No space left on device",
       "Nie można pisać na standardowe wyjście: Brak miejsca na urządzeniu"},
      {TErrorId::ProjectRead, [] { ReadProjectFile(kMissing + ".tcj"); },
       "Unable to read the project file /nonexistent/folder/job.tcj: No such file or directory",
       "Nie można odczytać pliku projektu /nonexistent/folder/job.tcj: Nie ma takiego pliku ani "
       "katalogu"},
      {TErrorId::ProjectNotRegular, WithScratch("job.tcj", MakeSocket, ReadProjectFile),
       "Unable to read the project file " + kScratch + "/job.tcj: not a regular file",
       "Nie można odczytać pliku projektu " + kScratch + "/job.tcj: to nie jest zwykły plik"},
      {TErrorId::ProgramRead, [] { hpgl::ReadProgramFile("/"); },
       "Unable to read the cutting program /: Is a directory",
       "Nie można odczytać programu cięcia /: To jest katalog"},
      {TErrorId::PictureRead, [] { LoadWmfFile(kMissing + ".wmf"); },
       "Unable to read the picture /nonexistent/folder/job.wmf: No such file or directory",
       "Nie można wczytać obrazu /nonexistent/folder/job.wmf: Nie ma takiego pliku ani katalogu"},
      {TErrorId::InvalidFloat, [] { platform::NumberFromText("12;5"); },
       "'12;5' is not a valid floating point value", "'12;5' nie jest prawidłową liczbą"},
      {TErrorId::InvalidInteger, [] { platform::IntegerFromText("12.5"); },
       "'12.5' is not a valid integer value", "'12.5' nie jest prawidłową liczbą całkowitą"},
      {TErrorId::CoordinateOutOfRange, [] { TPrjGenerator::mm2plt(1e300); },
       "Coordinate out of range: 1E300 mm", "Współrzędna poza zakresem: 1E300 mm"},
      {TErrorId::LayerLimit, [] { GenerateChecked("Panel type=2\nLayer count=100001\n"); },
       "Layer count 100001 is above the limit of 100000 layers",
       "Liczba warstw 100001 przekracza dopuszczalne 100000 warstw"},
      {TErrorId::BelowZero,
       [] {
         GenerateChecked(
             "Panel type=1\nLayer count=1\nVertex A=100\nPanel length=-10\nElevation=2\n"
             "Left space=2\n");
       },
       "The cutting program would move below the machine's zero in line 6: PD -320 4080;",
       "Program cięcia wyprowadziłby drut poniżej zera maszyny w wierszu 6: PD -320 4080;"},
      {TErrorId::NoProjectFile,
       [] {
         AppCfg.AutoGenInFile.clear();
         RunAutoGeneration();
       },
       "no project file given (-I)", "nie podano pliku projektu (-I)"},
      {TErrorId::WindowModule, [] { RunWindowModule({"/nonexistent/libtectoplan-ui.so"}, 0, {}); },
       "cannot load the main window (/nonexistent/libtectoplan-ui.so: cannot open shared object "
       "file: No such file or directory); use -A to run unattended",
       "nie można załadować okna programu (/nonexistent/libtectoplan-ui.so: cannot open shared "
       "object file: No such file or directory); użyj -A, aby pracować bez okna"},
      // The reader names the statement; each fault is the cause.
      {TErrorId::HpglStatement, [] { ReadProgramText("IN;PD1,2,3;"); },
       "statement 2 (line 1, PD): an odd number of coordinates",
       "instrukcja 2 (wiersz 1, PD): nieparzysta liczba współrzędnych"},
      // Damaged pictures; the records start at byte 40, after the placeable and standard headers.
      {TErrorId::WmfTooLarge, ReadingPicture(TBytes(kWmfMaxFileSize + 1)),
       "not a valid metafile: the file is larger than 16 MiB",
       "Plik nie jest prawidłowym metaplikiem: plik jest większy niż 16 MiB"},
      {TErrorId::WmfHeaderTooShort, ReadingPicture(Placeable()),
       "not a valid metafile: the header is too short for its contents",
       "Plik nie jest prawidłowym metaplikiem: nagłówek jest za krótki na swoją zawartość"},
      {TErrorId::WmfNotAMetafile, ReadingPicture(Join({Placeable(), Header(0, 7), Eof()})),
       "not a valid metafile: the header is not a metafile header",
       "Plik nie jest prawidłowym metaplikiem: nagłówek nie jest nagłówkiem metapliku"},
      {TErrorId::WmfEmptyBoundingBox,
       ReadingPicture(Join({Placeable(0, 0, 0, 800), Header(0), Eof()})),
       "not a valid metafile: the bounding box is empty",
       "Plik nie jest prawidłowym metaplikiem: prostokąt ograniczający jest pusty"},
      {TErrorId::WmfZeroUnitsPerInch,
       ReadingPicture(Join({Placeable(0, 0, 10, 10, 0), Header(0), Eof()})),
       "not a valid metafile: the header gives 0 units per inch",
       "Plik nie jest prawidłowym metaplikiem: nagłówek podaje 0 jednostek na cal"},
      {TErrorId::WmfNoEndRecord, ReadingPicture(Join({Placeable(), Header(0)})),
       "not a valid metafile: the file ends without an end record",
       "Plik nie jest prawidłowym metaplikiem: plik kończy się bez rekordu końca"},
      {TErrorId::WmfEndsInRecordHeader,
       ReadingPicture(Join({Placeable(), Header(0), TBytes{4, 0, 0}})),
       "not a valid metafile: the file ends inside a record header at byte 40",
       "Plik nie jest prawidłowym metaplikiem: plik kończy się wewnątrz nagłówka rekordu od bajtu "
       "40"},
      {TErrorId::WmfRecordShorterThanHeader,
       ReadingPicture(WithRecords({RecWithSize(2, wmf::kPolygon, {})})),
       "not a valid metafile: POLYGON record at byte 40 is shorter than a record header",
       "Plik nie jest prawidłowym metaplikiem: rekord POLYGON od bajtu 40 jest krótszy niż "
       "nagłówek rekordu"},
      {TErrorId::WmfRecordPastEnd,
       ReadingPicture(WithRecords({RecWithSize(50, wmf::kPolyline, {2, 0, 0, 1, 1})})),
       "not a valid metafile: POLYLINE record at byte 40 runs past the end of the file",
       "Plik nie jest prawidłowym metaplikiem: rekord POLYLINE od bajtu 40 wychodzi poza koniec "
       "pliku"},
      {TErrorId::WmfRecordTooShort,
       ReadingPicture(WithRecords({Rec(wmf::kCreateFontIndirect, {-12, 0, 0})})),
       "not a valid metafile: CREATEFONTINDIRECT record at byte 40 is too short for its contents",
       "Plik nie jest prawidłowym metaplikiem: rekord CREATEFONTINDIRECT od bajtu 40 jest za "
       "krótki na swoją zawartość"},
      {TErrorId::WmfTooManyPoints, ReadingPicture(WithRecords({Rec(wmf::kPolyline, {-1, 0, 0})})),
       "not a valid metafile: POLYLINE record at byte 40 counts more points than it holds",
       "Plik nie jest prawidłowym metaplikiem: rekord POLYLINE od bajtu 40 podaje więcej punktów, "
       "niż zawiera"},
      {TErrorId::WmfTooManyPolygons,
       ReadingPicture(WithRecords({Rec(wmf::kPolyPolygon, {9, 3, 0, 0})})),
       "not a valid metafile: POLYPOLYGON record at byte 40 counts more polygons than it holds",
       "Plik nie jest prawidłowym metaplikiem: rekord POLYPOLYGON od bajtu 40 podaje więcej "
       "wielokątów, niż zawiera"},
      {TErrorId::WmfNegativeTextLength,
       ReadingPicture(WithRecords({Rec(wmf::kTextOut, {-2, 0x4241, 0, 0})})),
       "not a valid metafile: TEXTOUT record at byte 40 has a negative text length",
       "Plik nie jest prawidłowym metaplikiem: rekord TEXTOUT od bajtu 40 ma ujemną długość "
       "tekstu"},
      {TErrorId::WmfNoSuchObject, ReadingPicture(WithRecords({Rec(wmf::kDeleteObject, {3})}, 2)),
       "not a valid metafile: DELETEOBJECT record at byte 40 names object 3 of a table of 2",
       "Plik nie jest prawidłowym metaplikiem: rekord DELETEOBJECT od bajtu 40 wskazuje obiekt 3 "
       "w tablicy o rozmiarze 2"},
      {TErrorId::WmfObjectTableFull,
       ReadingPicture(WithRecords({Rec(wmf::kCreatePalette, {}), Rec(wmf::kCreatePalette, {})})),
       "not a valid metafile: CREATEPALETTE record at byte 46 creates more objects than the "
       "header's table of 1 holds",
       "Plik nie jest prawidłowym metaplikiem: rekord CREATEPALETTE od bajtu 46 tworzy więcej "
       "obiektów, niż mieści tablica z nagłówka o rozmiarze 1"},
      {TErrorId::WmfTooManySavedStates, ReadingPicture(ManySavedStates()),
       "not a valid metafile: SAVEDC record at byte 24616 saves more than 4096 states",
       "Plik nie jest prawidłowym metaplikiem: rekord SAVEDC od bajtu 24616 zapisuje więcej niż "
       "4096 stanów"},
      {TErrorId::WmfMappedOutOfRange,
       ReadingPicture(WithRecords({Rec(wmf::kScaleWindowExt, {32767, 1, 32767, 1}),
                                   Rec(wmf::kRectangle, {32767, 32767, 0, 0})})),
       "not a valid metafile: RECTANGLE record at byte 54 maps its coordinates or sizes out of "
       "range",
       "Plik nie jest prawidłowym metaplikiem: rekord RECTANGLE od bajtu 54 odwzorowuje swoje "
       "współrzędne lub rozmiary poza zakres"},
      {TErrorId::WmfUnknownBitmapHeader,
       ReadingPicture(WithRecords({StretchDibWith(Dib(20, 2, 1, 24, 0, 4))})),
       "not a valid metafile: STRETCHDIB record at byte 40 has a bitmap header of unknown size",
       "Plik nie jest prawidłowym metaplikiem: rekord STRETCHDIB od bajtu 40 ma nagłówek mapy "
       "bitowej o nieznanym rozmiarze"},
      {TErrorId::WmfEmptyBitmap,
       ReadingPicture(WithRecords({StretchDibWith(Dib(40, 2, 0, 24, 0, 4))})),
       "not a valid metafile: STRETCHDIB record at byte 40 has a bitmap without pixels",
       "Plik nie jest prawidłowym metaplikiem: rekord STRETCHDIB od bajtu 40 ma mapę bitową bez "
       "pikseli"},
      {TErrorId::WmfBitmapTooLarge,
       ReadingPicture(WithRecords({StretchDibWith(Dib(40, 4097, 4096, 1, 0, 4))})),
       "not a valid metafile: STRETCHDIB record at byte 40 has a bitmap of more than 16777216 "
       "pixels",
       "Plik nie jest prawidłowym metaplikiem: rekord STRETCHDIB od bajtu 40 ma mapę bitową "
       "większą niż 16777216 pikseli"},
      {TErrorId::WmfColorTableTooLong,
       ReadingPicture(WithRecords({StretchDibWith(Dib(40, 2, 1, 4, 0, 4))})),
       "not a valid metafile: STRETCHDIB record at byte 40 has a colour table longer than the "
       "record",
       "Plik nie jest prawidłowym metaplikiem: rekord STRETCHDIB od bajtu 40 ma tablicę kolorów "
       "dłuższą niż rekord"},
      {TErrorId::WmfBitmapPastRecord,
       ReadingPicture(WithRecords({StretchDibWith(Dib(40, 2, 3, 24, 0, 4))})),
       "not a valid metafile: STRETCHDIB record at byte 40 has a bitmap whose pixels run past the "
       "record",
       "Plik nie jest prawidłowym metaplikiem: rekord STRETCHDIB od bajtu 40 ma mapę bitową, "
       "której piksele wychodzą poza rekord"},
      {TErrorId::ProjectTooLarge,
       WithScratch(
           "big.tcj", [](const std::string& p) { MakeBytes(p, kMaxProjectFileSize + 1); },
           [](const std::string& p) { TPanelsProject().Open(p); }),
       "Unable to read the project file " + kScratch +
           "/big.tcj: it is larger than 1 MiB, and a project file holds a few hundred bytes",
       "Nie można odczytać pliku projektu " + kScratch +
           "/big.tcj: jest większy niż 1 MiB, a plik projektu ma kilkaset bajtów"},
      {TErrorId::ProjectIsFifo,
       WithScratch(
           "job.tcj", [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); },
           ReadProjectFile),
       "Unable to read the project file " + kScratch +
           "/job.tcj: it is a FIFO (named pipe), not a file",
       "Nie można odczytać pliku projektu " + kScratch +
           "/job.tcj: to kolejka FIFO (potok nazwany), a nie plik"},
      {TErrorId::ProjectIsDevice, [] { ReadProjectFile("/dev/null"); },
       "Unable to read the project file /dev/null: it is a device, not a file",
       "Nie można odczytać pliku projektu /dev/null: to urządzenie, a nie plik"},
      {TErrorId::ConfigTooLarge,
       WithScratch(
           "Tectoplan.ini", [](const std::string& p) { MakeBytes(p, kMaxConfigFileSize + 1); },
           [](const std::string& p) {
             if (const auto warning = ReadConfigFile(p)) {
               throw *warning;
             }
           }),
       "warning: the configuration file " + kScratch +
           "/Tectoplan.ini is larger than 1 MiB and is ignored; the defaults apply",
       "ostrzeżenie: plik konfiguracji " + kScratch +
           "/Tectoplan.ini jest większy niż 1 MiB i zostaje pominięty; obowiązują ustawienia "
           "domyślne"},
      {TErrorId::ProgramTooLarge, [] { hpgl::ReadProgramFile("/dev/zero"); },
       "Unable to read the cutting program /dev/zero: it is longer than 64 MiB, more than any "
       "program Tectoplan writes",
       "Nie można odczytać programu cięcia /dev/zero: jest dłuższy niż 64 MiB, więcej niż "
       "jakikolwiek program zapisany przez Tectoplan"},
      // Files refused for writing.
      {TErrorId::WriteFolderTakesNoNewFile, SaveIntoImmutableFolder,
       "Unable to write to " + Scratch() / "locked/job.plt" +
           ": its folder takes no new file (Operation not permitted), and the file is only ever "
           "replaced whole; allow creating files in the folder or write elsewhere",
       "Nie można zapisać pliku " + Scratch() / "locked/job.plt" +
           ": jego folder nie przyjmuje nowego pliku (Operacja niedozwolona), a plik jest zawsze "
           "zastępowany w całości; zezwól na tworzenie plików w folderze lub zapisz gdzie "
           "indziej"},
      {TErrorId::WriteLinkInSharedFolder, SaveThroughPlantedLink,
       "Unable to write to " + Scratch() / "shared/job.plt" + ": " + Scratch() / "shared/job.plt" +
           " is another user's symbolic link in a shared folder and is not followed; remove the "
           "link or write elsewhere",
       "Nie można zapisać pliku " + Scratch() / "shared/job.plt" + ": " +
           Scratch() / "shared/job.plt" +
           " to dowiązanie symboliczne innego użytkownika we wspólnym folderze i nie jest "
           "używane; usuń dowiązanie lub zapisz gdzie indziej"},
      {TErrorId::WritePipeWithoutReader, SaveIntoPipeWithoutReader,
       "Unable to write to " + Scratch() / "pipe" +
           ": no program reads from this pipe; start the reader first",
       "Nie można zapisać pliku " + Scratch() / "pipe" +
           ": żaden program nie czyta z tego potoku; najpierw uruchom program czytający"},
  };
}

// The reader's faults, each as the cause of the statement's error.
struct TFaultCase {
  TErrorId fault;
  std::string program;
  std::string english;
  std::string polish;
};

const TFaultCase kReaderFaults[] = {
    {TErrorId::HpglNumberTooLong, "PD" + std::string(70, '1') + ";",
     "a number longer than 64 characters", "liczba dłuższa niż 64 znaków"},
    {TErrorId::HpglEmptyParameter, "PD,1;", "an empty parameter before ','",
     "pusty parametr przed ','"},
    {TErrorId::HpglUnexpectedCharacter, "PD1#;", "unexpected character '#'",
     "nieoczekiwany znak '#'"},
    {TErrorId::HpglMissingParameter, "PD1,;", "a parameter missing after ','",
     "brak parametru po ','"},
    {TErrorId::HpglOddCoordinates, "PD1;", "an odd number of coordinates",
     "nieparzysta liczba współrzędnych"},
    {TErrorId::HpglSeveralPens, "SP1,2;", "more than one pen number",
     "więcej niż jeden numer pisaka"},
    {TErrorId::HpglBadPen, "SP300;", "not a pen number from 0 to 255",
     "to nie jest numer pisaka od 0 do 255"},
    {TErrorId::HpglNotANumber, "PD1.2.3,4;", "'1.2.3' is not a number", "'1.2.3' nie jest liczbą"},
    {TErrorId::HpglTooManyParameters, "VS1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17;",
     "more than 16 parameters", "więcej niż 16 parametrów"},
    {TErrorId::HpglCoordinateRange, "PD 2147483648,0;", "a coordinate out of range",
     "współrzędna poza zakresem"},
    {TErrorId::HpglRelativeRange, "PD2147483647,0;PR1,0;",
     "a relative move beyond the coordinate range", "ruch względny poza zakresem współrzędnych"},
};

// The language the test runs in; English again afterwards.
class ErrorStrTest : public testing::Test {
 protected:
  void TearDown() override { LoadEnglishStr(); }
};

std::string Raised(const std::function<void()>& raise, TErrorId expected) {
  try {
    raise();
  } catch (const EAppError& e) {
    EXPECT_EQ(e.Id(), expected) << ErrorText(e);
    return ErrorText(e);
  }
  ADD_FAILURE() << "no error raised";
  return {};
}

TEST_F(ErrorStrTest, EachErrorReadsTheSameFromItsRealPathInBothLanguages) {
  for (const TCase& c : Cases()) {
    LoadEnglishStr();
    EXPECT_EQ(Raised(c.raise, c.id), c.english);
    LoadPolishStr();
    EXPECT_EQ(Raised(c.raise, c.id), c.polish);
  }
}

TEST_F(ErrorStrTest, EachReaderFaultNamesItsStatementInBothLanguages) {
  for (const TFaultCase& c : kReaderFaults) {
    try {
      ReadProgramText(c.program);
      ADD_FAILURE() << c.program;
    } catch (const EAppError& e) {
      ASSERT_EQ(e.Id(), TErrorId::HpglStatement) << c.program;
      ASSERT_NE(e.Cause(), nullptr);
      EXPECT_EQ(e.Cause()->Id(), c.fault) << c.program;
      EXPECT_EQ(ErrorText(*e.Cause(), TTextLanguage::English), c.english);
      EXPECT_EQ(ErrorText(*e.Cause(), TTextLanguage::Polish), c.polish);
    }
  }
}

// The limits of moves and outlines take millions of statements; their texts are checked on the
// identities alone.
TEST_F(ErrorStrTest, LimitFaultsOfTheReader) {
  EXPECT_EQ(ErrorText(EAppError(TErrorId::HpglTooManyMoves, {"4000000"}), TTextLanguage::Polish),
            "więcej niż 4000000 ruchów w programie");
  EXPECT_EQ(ErrorText(EAppError(TErrorId::HpglTooManyOutlines, {"10000"}), TTextLanguage::English),
            "more than 10000 outlines in the program");
}

// tectoplan-view's own messages and the unattended run's warning come from the same table.
TEST_F(ErrorStrTest, CommandLineMessagesFollowTheLanguage) {
  const struct {
    std::vector<std::string> args;
    std::string english;
    std::string polish;
  } kCases[] = {
      {{"--svg"},
       "tectoplan-view: --svg needs a file name\n",
       "tectoplan-view: --svg wymaga nazwy pliku\n"},
      {{"--frobnicate", "x.plt"},
       "tectoplan-view: unknown option --frobnicate\n",
       "tectoplan-view: nieznana opcja --frobnicate\n"},
      {{"a.plt", "b.plt"},
       "tectoplan-view: one program at a time\n",
       "tectoplan-view: tylko jeden program naraz\n"},
      {{"/nonexistent.plt"},
       "tectoplan-view: Unable to read the cutting program /nonexistent.plt: No such file or "
       "directory\n",
       "tectoplan-view: Nie można odczytać programu cięcia /nonexistent.plt: Nie ma takiego pliku "
       "ani katalogu\n"},
      {{std::string(TEST_PROGRAMS_DIR) + "/gutter-two-layers.plt", "--svg", "/nonexistent/x.svg"},
       "tectoplan-view: Unable to write to /nonexistent/x.svg: No such file or directory\n",
       "tectoplan-view: Nie można zapisać pliku /nonexistent/x.svg: Nie ma takiego pliku ani "
       "katalogu\n"},
  };
  for (const auto& c : kCases) {
    for (const bool polish : {false, true}) {
      polish ? LoadPolishStr() : LoadEnglishStr();
      std::ostringstream out, err;
      view::RunView(c.args, out, err);
      const std::string firstLine = err.str().substr(0, err.str().find('\n') + 1);
      EXPECT_EQ(firstLine, polish ? c.polish : c.english);
    }
  }
  LoadPolishStr();
  EXPECT_EQ(MessageText(TErrorId::NoProgramForType, {"9"}),
            "ostrzeżenie: typ panelu 9 nie ma programu cięcia; zapisany program jest pusty");
}

TEST_F(ErrorStrTest, SystemReasonsWithoutAPolishTextReadAsTheSystemGivesThem) {
  const std::error_code rare(EHWPOISON, std::generic_category());
  EXPECT_EQ(SystemReasonText(rare, TTextLanguage::Polish), rare.message());
  EXPECT_EQ(
      SystemReasonText(std::error_code(EACCES, std::system_category()), TTextLanguage::Polish),
      "Brak dostępu");
}

TEST_F(ErrorStrTest, OtherExceptionsShowTheirOwnText) {
  EXPECT_EQ(ErrorText(std::runtime_error("disk on fire")), "disk on fire");
}

// A new identity needs its row in the cases above: then its text has been read from its path.
TEST_F(ErrorStrTest, EveryIdentityIsCovered) {
  std::set<TErrorId> covered;
  for (const TCase& c : Cases()) {
    covered.insert(c.id);
  }
  for (const TFaultCase& c : kReaderFaults) {
    covered.insert(c.fault);
  }
  covered.insert({TErrorId::HpglTooManyMoves, TErrorId::HpglTooManyOutlines,
                  TErrorId::ViewOptionNeedsFile, TErrorId::ViewUnknownOption,
                  TErrorId::ViewOneProgram, TErrorId::NoProgramForType, TErrorId::PictureWrite,
                  TErrorId::NoWindow});  // NoWindow: the Windows build, tested there
  for (int id = 0; id < static_cast<int>(TErrorId::Count); ++id) {
    EXPECT_TRUE(covered.count(static_cast<TErrorId>(id))) << "identity " << id << " has no case";
  }
}

}  // namespace
