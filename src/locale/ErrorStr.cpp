#include "locale/ErrorStr.h"

#include <cerrno>
#include <iterator>

#include "locale/LocalStr.h"

namespace {

struct TErrorText {
  TErrorId id;
  const char* english;
  const char* polish;
};

// %1 to %9 are the error's arguments, %r its reason.
constexpr TErrorText kErrorTexts[] = {
    {TErrorId::ProjectWrite, "Unable to write to %1", "Nie można zapisać pliku %1"},
    {TErrorId::ProgramWrite, "Unable to write to %1: %r", "Nie można zapisać pliku %1: %r"},
    {TErrorId::StandardOutputWrite, "Unable to write to standard output: %r",
     "Nie można pisać na standardowe wyjście: %r"},
    {TErrorId::PictureWrite, "Unable to write to %1: %r", "Nie można zapisać pliku %1: %r"},
    {TErrorId::ProjectRead, "Unable to read the project file %1: %r",
     "Nie można odczytać pliku projektu %1: %r"},
    {TErrorId::ProjectNotRegular, "Unable to read the project file %1: not a regular file",
     "Nie można odczytać pliku projektu %1: to nie jest zwykły plik"},
    {TErrorId::ProgramRead, "Unable to read the cutting program %1: %r",
     "Nie można odczytać programu cięcia %1: %r"},
    {TErrorId::PictureRead, "Unable to read the picture %1: %r", "Nie można wczytać obrazu %1: %r"},
    {TErrorId::InvalidFloat, "'%1' is not a valid floating point value",
     "'%1' nie jest prawidłową liczbą"},
    {TErrorId::InvalidInteger, "'%1' is not a valid integer value",
     "'%1' nie jest prawidłową liczbą całkowitą"},
    {TErrorId::CoordinateOutOfRange, "Coordinate out of range: %1 mm",
     "Współrzędna poza zakresem: %1 mm"},
    {TErrorId::LayerLimit, "Layer count %1 is above the limit of %2 layers",
     "Liczba warstw %1 przekracza dopuszczalne %2 warstw"},
    {TErrorId::BelowZero, "The cutting program would move below the machine's zero in line %1: %2",
     "Program cięcia wyprowadziłby drut poniżej zera maszyny w wierszu %1: %2"},
    {TErrorId::NoProgramForType,
     "warning: panel type %1 has no cutting program; the program written is empty",
     "ostrzeżenie: typ panelu %1 nie ma programu cięcia; zapisany program jest pusty"},
    {TErrorId::NoProjectFile, "no project file given (-I)", "nie podano pliku projektu (-I)"},
    {TErrorId::WindowModule, "cannot load the main window (%1); use -A to run unattended",
     "nie można załadować okna programu (%1); użyj -A, aby pracować bez okna"},
    {TErrorId::NoWindow, "this build has no window; use -A to run unattended (see --help)",
     "ta wersja programu nie ma okna; użyj -A, aby pracować bez okna (zob. --help)"},
    {TErrorId::ViewOptionNeedsFile, "%1 needs a file name", "%1 wymaga nazwy pliku"},
    {TErrorId::ViewUnknownOption, "unknown option %1", "nieznana opcja %1"},
    {TErrorId::ViewOneProgram, "one program at a time", "tylko jeden program naraz"},
    {TErrorId::HpglStatement, "statement %1 (line %2, %3): %r",
     "instrukcja %1 (wiersz %2, %3): %r"},
    {TErrorId::HpglNumberTooLong, "a number longer than %1 characters",
     "liczba dłuższa niż %1 znaków"},
    {TErrorId::HpglEmptyParameter, "an empty parameter before ','", "pusty parametr przed ','"},
    {TErrorId::HpglUnexpectedCharacter, "unexpected character '%1'", "nieoczekiwany znak '%1'"},
    {TErrorId::HpglMissingParameter, "a parameter missing after ','", "brak parametru po ','"},
    {TErrorId::HpglOddCoordinates, "an odd number of coordinates",
     "nieparzysta liczba współrzędnych"},
    {TErrorId::HpglSeveralPens, "more than one pen number", "więcej niż jeden numer pisaka"},
    {TErrorId::HpglBadPen, "not a pen number from 0 to 255",
     "to nie jest numer pisaka od 0 do 255"},
    {TErrorId::HpglNotANumber, "'%1' is not a number", "'%1' nie jest liczbą"},
    {TErrorId::HpglTooManyParameters, "more than %1 parameters", "więcej niż %1 parametrów"},
    {TErrorId::HpglCoordinateRange, "a coordinate out of range", "współrzędna poza zakresem"},
    {TErrorId::HpglRelativeRange, "a relative move beyond the coordinate range",
     "ruch względny poza zakresem współrzędnych"},
    {TErrorId::HpglTooManyMoves, "more than %1 moves in the program",
     "więcej niż %1 ruchów w programie"},
    {TErrorId::HpglTooManyOutlines, "more than %1 outlines in the program",
     "więcej niż %1 konturów w programie"},
    {TErrorId::WmfTooLarge, "not a valid metafile: the file is larger than %1 MiB",
     "Plik nie jest prawidłowym metaplikiem: plik jest większy niż %1 MiB"},
    {TErrorId::WmfHeaderTooShort, "not a valid metafile: the header is too short for its contents",
     "Plik nie jest prawidłowym metaplikiem: nagłówek jest za krótki na swoją zawartość"},
    {TErrorId::WmfNotAMetafile, "not a valid metafile: the header is not a metafile header",
     "Plik nie jest prawidłowym metaplikiem: nagłówek nie jest nagłówkiem metapliku"},
    {TErrorId::WmfEmptyBoundingBox, "not a valid metafile: the bounding box is empty",
     "Plik nie jest prawidłowym metaplikiem: prostokąt ograniczający jest pusty"},
    {TErrorId::WmfZeroUnitsPerInch, "not a valid metafile: the header gives 0 units per inch",
     "Plik nie jest prawidłowym metaplikiem: nagłówek podaje 0 jednostek na cal"},
    {TErrorId::WmfNoEndRecord, "not a valid metafile: the file ends without an end record",
     "Plik nie jest prawidłowym metaplikiem: plik kończy się bez rekordu końca"},
    {TErrorId::WmfEndsInRecordHeader,
     "not a valid metafile: the file ends inside a record header at byte %1",
     "Plik nie jest prawidłowym metaplikiem: plik kończy się wewnątrz nagłówka rekordu od bajtu "
     "%1"},
    {TErrorId::WmfRecordShorterThanHeader,
     "not a valid metafile: %1 record at byte %2 is shorter than a record header",
     "Plik nie jest prawidłowym metaplikiem: rekord %1 od bajtu %2 jest krótszy niż nagłówek "
     "rekordu"},
    {TErrorId::WmfRecordPastEnd,
     "not a valid metafile: %1 record at byte %2 runs past the end of the file",
     "Plik nie jest prawidłowym metaplikiem: rekord %1 od bajtu %2 wychodzi poza koniec pliku"},
    {TErrorId::WmfRecordTooShort,
     "not a valid metafile: %1 record at byte %2 is too short for its contents",
     "Plik nie jest prawidłowym metaplikiem: rekord %1 od bajtu %2 jest za krótki na swoją "
     "zawartość"},
    {TErrorId::WmfTooManyPoints,
     "not a valid metafile: %1 record at byte %2 counts more points than it holds",
     "Plik nie jest prawidłowym metaplikiem: rekord %1 od bajtu %2 podaje więcej punktów, niż "
     "zawiera"},
    {TErrorId::WmfTooManyPolygons,
     "not a valid metafile: %1 record at byte %2 counts more polygons than it holds",
     "Plik nie jest prawidłowym metaplikiem: rekord %1 od bajtu %2 podaje więcej wielokątów, niż "
     "zawiera"},
    {TErrorId::WmfNegativeTextLength,
     "not a valid metafile: %1 record at byte %2 has a negative text length",
     "Plik nie jest prawidłowym metaplikiem: rekord %1 od bajtu %2 ma ujemną długość tekstu"},
    {TErrorId::WmfNoSuchObject,
     "not a valid metafile: %1 record at byte %2 names object %3 of a table of %4",
     "Plik nie jest prawidłowym metaplikiem: rekord %1 od bajtu %2 wskazuje obiekt %3 w tablicy o "
     "rozmiarze %4"},
    {TErrorId::WmfObjectTableFull,
     "not a valid metafile: %1 record at byte %2 creates more objects than the header's table of "
     "%3 holds",
     "Plik nie jest prawidłowym metaplikiem: rekord %1 od bajtu %2 tworzy więcej obiektów, niż "
     "mieści tablica z nagłówka o rozmiarze %3"},
    {TErrorId::WmfTooManySavedStates,
     "not a valid metafile: %1 record at byte %2 saves more than %3 states",
     "Plik nie jest prawidłowym metaplikiem: rekord %1 od bajtu %2 zapisuje więcej niż %3 stanów"},
    {TErrorId::WmfMappedOutOfRange,
     "not a valid metafile: %1 record at byte %2 maps its coordinates or sizes out of range",
     "Plik nie jest prawidłowym metaplikiem: rekord %1 od bajtu %2 odwzorowuje swoje współrzędne "
     "lub rozmiary poza zakres"},
    {TErrorId::WmfUnknownBitmapHeader,
     "not a valid metafile: %1 record at byte %2 has a bitmap header of unknown size",
     "Plik nie jest prawidłowym metaplikiem: rekord %1 od bajtu %2 ma nagłówek mapy bitowej o "
     "nieznanym rozmiarze"},
    {TErrorId::WmfEmptyBitmap,
     "not a valid metafile: %1 record at byte %2 has a bitmap without pixels",
     "Plik nie jest prawidłowym metaplikiem: rekord %1 od bajtu %2 ma mapę bitową bez pikseli"},
    {TErrorId::WmfBitmapTooLarge,
     "not a valid metafile: %1 record at byte %2 has a bitmap of more than %3 pixels",
     "Plik nie jest prawidłowym metaplikiem: rekord %1 od bajtu %2 ma mapę bitową większą niż %3 "
     "pikseli"},
    {TErrorId::WmfColorTableTooLong,
     "not a valid metafile: %1 record at byte %2 has a colour table longer than the record",
     "Plik nie jest prawidłowym metaplikiem: rekord %1 od bajtu %2 ma tablicę kolorów dłuższą niż "
     "rekord"},
    {TErrorId::WmfBitmapPastRecord,
     "not a valid metafile: %1 record at byte %2 has a bitmap whose pixels run past the record",
     "Plik nie jest prawidłowym metaplikiem: rekord %1 od bajtu %2 ma mapę bitową, której piksele "
     "wychodzą poza rekord"},
    {TErrorId::ProjectTooLarge,
     "Unable to read the project file %1: it is larger than %2 MiB, and a project file holds a "
     "few hundred bytes",
     "Nie można odczytać pliku projektu %1: jest większy niż %2 MiB, a plik projektu ma kilkaset "
     "bajtów"},
    {TErrorId::ProjectIsFifo,
     "Unable to read the project file %1: it is a FIFO (named pipe), not a file",
     "Nie można odczytać pliku projektu %1: to kolejka FIFO (potok nazwany), a nie plik"},
    {TErrorId::ProjectIsDevice, "Unable to read the project file %1: it is a device, not a file",
     "Nie można odczytać pliku projektu %1: to urządzenie, a nie plik"},
    {TErrorId::ConfigTooLarge,
     "warning: the configuration file %1 is larger than %2 MiB and is ignored; the defaults apply",
     "ostrzeżenie: plik konfiguracji %1 jest większy niż %2 MiB i zostaje pominięty; obowiązują "
     "ustawienia domyślne"},
    {TErrorId::ProgramTooLarge,
     "Unable to read the cutting program %1: it is longer than %2 MiB, more than any program "
     "Tectoplan writes",
     "Nie można odczytać programu cięcia %1: jest dłuższy niż %2 MiB, więcej niż jakikolwiek "
     "program zapisany przez Tectoplan"},
    {TErrorId::WriteFolderTakesNoNewFile,
     "Unable to write to %1: its folder takes no new file (%r), and the file is only ever "
     "replaced whole; allow creating files in the folder or write elsewhere",
     "Nie można zapisać pliku %1: jego folder nie przyjmuje nowego pliku (%r), a plik jest "
     "zawsze zastępowany w całości; zezwól na tworzenie plików w folderze lub zapisz gdzie "
     "indziej"},
    {TErrorId::WriteLinkInSharedFolder,
     "Unable to write to %1: %2 is another user's symbolic link in a shared folder and is not "
     "followed; remove the link or write elsewhere",
     "Nie można zapisać pliku %1: %2 to dowiązanie symboliczne innego użytkownika we wspólnym "
     "folderze i nie jest używane; usuń dowiązanie lub zapisz gdzie indziej"},
    {TErrorId::WritePipeWithoutReader,
     "Unable to write to %1: no program reads from this pipe; start the reader first",
     "Nie można zapisać pliku %1: żaden program nie czyta z tego potoku; najpierw uruchom "
     "program czytający"},
};
// ErrorText finds a text by its place in the table: every identity has its row, in order.
constexpr bool ErrorTextsInOrder() {
  for (std::size_t i = 0; i < std::size(kErrorTexts); ++i) {
    if (static_cast<std::size_t>(kErrorTexts[i].id) != i) {
      return false;
    }
  }
  return std::size(kErrorTexts) == static_cast<std::size_t>(TErrorId::Count);
}
static_assert(ErrorTextsInOrder());

struct TReasonText {
  int code;
  const char* polish;
};

// The reasons a file operation meets in practice; the system's English text stays for others.
constexpr TReasonText kPolishReasons[] = {
    {ENOENT, "Nie ma takiego pliku ani katalogu"},
    {EACCES, "Brak dostępu"},
    {EPERM, "Operacja niedozwolona"},
    {EISDIR, "To jest katalog"},
    {ENOTDIR, "To nie jest katalog"},
    {EFBIG, "Plik jest za duży"},
    {ENOSPC, "Brak miejsca na urządzeniu"},
// Disk quotas are a POSIX errno value that not every C library has (Windows' has none).
#ifdef EDQUOT
    {EDQUOT, "Przekroczony przydział dyskowy"},
#endif
    {EROFS, "System plików tylko do odczytu"},
    {EEXIST, "Plik istnieje"},
    {ENAMETOOLONG, "Nazwa pliku jest za długa"},
    {ELOOP, "Za dużo poziomów dowiązań symbolicznych"},
    {EIO, "Błąd wejścia/wyjścia"},
    {EPIPE, "Przerwany potok"},
    {ENXIO, "Nie ma takiego urządzenia ani adresu"},
    {EBUSY, "Urządzenie lub zasób jest zajęty"},
    {ETXTBSY, "Plik tekstowy jest zajęty"},
    {EMFILE, "Za dużo otwartych plików"},
    {ENOMEM, "Brak pamięci"},
    {EINVAL, "Nieprawidłowy argument"},
    {EXDEV, "Dowiązanie między urządzeniami"},
};

std::string Fill(const char* pattern, const std::vector<std::string>& args,
                 const std::string& reason) {
  std::string text;
  for (const char* p = pattern; *p != '\0'; ++p) {
    if (p[0] == '%' && p[1] >= '1' && p[1] <= '9') {
      const auto index = static_cast<std::size_t>(p[1] - '1');
      if (index < args.size()) {
        text += args[index];
      }
      ++p;
    } else if (p[0] == '%' && p[1] == 'r') {
      text += reason;
      ++p;
    } else {
      text += *p;
    }
  }
  return text;
}

}  // namespace

TTextLanguage InterfaceTextLanguage() {
  return IsPolishStr() ? TTextLanguage::Polish : TTextLanguage::English;
}

std::string SystemReasonText(const std::error_code& reason, TTextLanguage language) {
  if (language == TTextLanguage::Polish && reason.category() == std::generic_category()) {
    for (const TReasonText& row : kPolishReasons) {
      if (row.code == reason.value()) {
        return row.polish;
      }
    }
  }
  if (language == TTextLanguage::Polish && reason.category() == std::system_category()) {
    return SystemReasonText(std::error_code(reason.value(), std::generic_category()), language);
  }
  return reason.message();
}

std::string ErrorText(const EAppError& error, TTextLanguage language) {
  const TErrorText& row = kErrorTexts[static_cast<std::size_t>(error.Id())];
  std::string reason;
  if (error.Cause() != nullptr) {
    reason = ErrorText(*error.Cause(), language);
  } else if (error.Reason()) {
    reason = SystemReasonText(error.Reason(), language);
  }
  return Fill(language == TTextLanguage::Polish ? row.polish : row.english, error.Args(), reason);
}

std::string ErrorText(const EAppError& error) {
  return ErrorText(error, InterfaceTextLanguage());
}

std::string ErrorText(const std::exception& error) {
  if (const auto* own = dynamic_cast<const EAppError*>(&error)) {
    return ErrorText(*own);
  }
  return error.what();
}

std::string MessageText(TErrorId id, const std::vector<std::string>& args) {
  return ErrorText(EAppError(id, args));
}
