#include "locale/LocalStr.h"

#include <array>

#include "base/AppCfg.h"
#include "locale/LocaleUtl.h"

namespace {

// Slots 42 to 100 are never assigned and stay empty.
std::array<std::string, kLocalStrCount> gLocalStr;
// The language of the texts loaded last; the error and view tables follow it.
bool gPolish = false;

}  // namespace

void LoadPolishStr() {
  gPolish = true;
  gLocalStr[0] = "[mm]";
  gLocalStr[1] = "wersja";
  gLocalStr[2] = "Pliki HPGL";
  gLocalStr[3] = "Pliki projektów TCJ";
  gLocalStr[4] = "Brak wartości w polu: ";
  gLocalStr[5] = "Nieprawidłowa wartość w polu: ";
  gLocalStr[6] = "Wartość musi być liczbą.";
  gLocalStr[7] = "Wymiary panelu";
  gLocalStr[8] = "Ilość warstw";
  gLocalStr[9] = "Wymiar A";
  gLocalStr[10] = "Wymiar B";
  gLocalStr[11] = "Wymiar C";
  gLocalStr[12] = "Wymiar D";
  gLocalStr[13] = "Szerokość podstawy przód";
  gLocalStr[14] = "Szerokość podstawy tył";
  gLocalStr[15] = "Odstęp między panelami";
  gLocalStr[16] = "Obszar roboczy maszyny";
  gLocalStr[17] = "Szerokość";
  gLocalStr[18] = "Wysokość";
  gLocalStr[19] = "Głębokość";
  gLocalStr[20] = "Generuj plik";
  gLocalStr[21] = "Pomiń cięcie spodu";
  gLocalStr[22] = "Rozetnij panele po przekątnej";
  gLocalStr[23] = "Plik";
  gLocalStr[24] = "Otwórz projekt";
  gLocalStr[25] = "Zapisz projekt";
  gLocalStr[26] = "Wyjście z programu";
  gLocalStr[27] = "Rozmieszczenie bloku na maszynie";
  gLocalStr[28] = "Długość panelu";
  gLocalStr[29].clear();
  gLocalStr[30] = "Płaski - wszystkie narożniki takie same";
  gLocalStr[31] = "Rynna - dwa narożniki takie same";
  gLocalStr[32] = "Rynna - trzy narożniki takie same";
  gLocalStr[33] = "Grzbiet - dwa narożniki takie same";
  gLocalStr[34] = "Grzbiet - trzy narożniki takie same";
  gLocalStr[35] = "Pojedynczy spad";
  gLocalStr[36] = "Podwójny spad";
  gLocalStr[37] = "Ustawienia indywidualne";
  gLocalStr[38] = "Podwójny spad - wąski";
  gLocalStr[39] = "Tryb cięcia";
  gLocalStr[40] = "2D";
  gLocalStr[41] = "Niezależny";
}

void LoadEnglishStr() {
  gPolish = false;
  gLocalStr[0] = "[mm]";
  gLocalStr[1] = "version";
  gLocalStr[2] = "File HPGL";
  gLocalStr[3] = "File TCJ";
  gLocalStr[4] = "Null value in field: ";
  gLocalStr[5] = "Incorrect value in field: ";
  gLocalStr[6] = "Value must be a number.";
  gLocalStr[7] = "Panel size";
  gLocalStr[8] = "Number of pieces";
  gLocalStr[9] = "Size A";
  gLocalStr[10] = "Size B";
  gLocalStr[11] = "Size C";
  gLocalStr[12] = "Size D";
  gLocalStr[13] = "Front base width";
  gLocalStr[14] = "Rear base width";
  gLocalStr[15] = "Space between panels";
  gLocalStr[16] = "Calculated work area";
  gLocalStr[17] = "Width";
  gLocalStr[18] = "Height";
  gLocalStr[19] = "Depth";
  gLocalStr[20] = "Generate file";
  gLocalStr[21] = "Skip bottom cut";
  gLocalStr[22] = "Cut the panels diagonally";
  gLocalStr[23] = "File";
  gLocalStr[24] = "Open project";
  gLocalStr[25] = "Save Project";
  gLocalStr[26] = "Exit";
  gLocalStr[27] = "Foam block layout";
  gLocalStr[28] = "Panel length";
  gLocalStr[29].clear();
  gLocalStr[30] = "Flat";
  gLocalStr[31] = "Gutter";
  gLocalStr[32] = "Gutter3E";
  gLocalStr[33] = "Ridge";
  gLocalStr[34] = "Ridge3E";
  gLocalStr[35] = "Slope";
  gLocalStr[36] = "DoubleSlope";
  gLocalStr[37] = "Custom";
  gLocalStr[38] = "DoubleSlope - narrow";
  gLocalStr[39] = "Cutting mode";
  gLocalStr[40] = "2D";
  gLocalStr[41] = "Independent";
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
