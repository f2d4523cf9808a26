#include "locale/LocalStr.h"

#include <array>
#include <iterator>

#include "base/AppCfg.h"
#include "locale/LocaleUtl.h"

namespace {

struct TLocalText {
  std::uint8_t slot;
  const char* english;
  const char* polish;
};

// The slots that have a text, in both languages. Slot 29 and slots 42 to 100 have none and stay
// empty.
constexpr TLocalText kLocalTexts[] = {
    {0, "[mm]", "[mm]"},
    {1, "version", "wersja"},
    {2, "File HPGL", "Pliki HPGL"},
    {3, "File TCJ", "Pliki projektów TCJ"},
    {4, "Null value in field: ", "Brak wartości w polu: "},
    {5, "Incorrect value in field: ", "Nieprawidłowa wartość w polu: "},
    {6, "Value must be a number.", "Wartość musi być liczbą."},
    {7, "Panel size", "Wymiary panelu"},
    {8, "Number of pieces", "Ilość warstw"},
    {9, "Size A", "Wymiar A"},
    {10, "Size B", "Wymiar B"},
    {11, "Size C", "Wymiar C"},
    {12, "Size D", "Wymiar D"},
    {13, "Front base width", "Szerokość podstawy przód"},
    {14, "Rear base width", "Szerokość podstawy tył"},
    {15, "Space between panels", "Odstęp między panelami"},
    {16, "Calculated work area", "Obszar roboczy maszyny"},
    {17, "Width", "Szerokość"},
    {18, "Height", "Wysokość"},
    {19, "Depth", "Głębokość"},
    {20, "Generate file", "Generuj plik"},
    {21, "Skip bottom cut", "Pomiń cięcie spodu"},
    {22, "Cut the panels diagonally", "Rozetnij panele po przekątnej"},
    {23, "File", "Plik"},
    {24, "Open project", "Otwórz projekt"},
    {25, "Save Project", "Zapisz projekt"},
    {26, "Exit", "Wyjście z programu"},
    {27, "Foam block layout", "Rozmieszczenie bloku na maszynie"},
    {28, "Panel length", "Długość panelu"},
    {30, "Flat", "Płaski - wszystkie narożniki takie same"},
    {31, "Gutter", "Rynna - dwa narożniki takie same"},
    {32, "Gutter3E", "Rynna - trzy narożniki takie same"},
    {33, "Ridge", "Grzbiet - dwa narożniki takie same"},
    {34, "Ridge3E", "Grzbiet - trzy narożniki takie same"},
    {35, "Slope", "Pojedynczy spad"},
    {36, "DoubleSlope", "Podwójny spad"},
    {37, "Custom", "Ustawienia indywidualne"},
    {38, "DoubleSlope - narrow", "Podwójny spad - wąski"},
    {39, "Cutting mode", "Tryb cięcia"},
    {40, "2D", "2D"},
    {41, "Independent", "Niezależny"},
};

constexpr bool LocalTextsAscend() {
  for (std::size_t i = 1; i < std::size(kLocalTexts); ++i) {
    if (kLocalTexts[i].slot <= kLocalTexts[i - 1].slot) {
      return false;
    }
  }
  return kLocalTexts[std::size(kLocalTexts) - 1].slot < kLocalStrCount;
}
static_assert(LocalTextsAscend());

std::array<std::string, kLocalStrCount> gLocalStr;
// The language of the texts loaded last; the error and view tables follow it.
bool gPolish = false;

void LoadStr(bool polish) {
  gPolish = polish;
  for (std::string& text : gLocalStr) {
    text.clear();
  }
  for (const TLocalText& row : kLocalTexts) {
    gLocalStr[row.slot] = polish ? row.polish : row.english;
  }
}

}  // namespace

void LoadPolishStr() {
  LoadStr(true);
}

void LoadEnglishStr() {
  LoadStr(false);
}

void InitLocalStr() {
  if (IsPolishInterface(AppCfg.Language)) {
    LoadPolishStr();
  } else {
    LoadEnglishStr();
  }
}

bool IsPolishStr() {
  return gPolish;
}

std::string GetLocalStr(std::uint8_t index) {
  return index < gLocalStr.size() ? gLocalStr[index] : std::string();
}

std::string GetLocalStr(std::uint8_t index, bool polish) {
  for (const TLocalText& row : kLocalTexts) {
    if (row.slot == index) {
      return polish ? row.polish : row.english;
    }
  }
  return {};
}
