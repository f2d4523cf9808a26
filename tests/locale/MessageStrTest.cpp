#include "locale/MessageStr.h"

#include <gtest/gtest.h>

namespace {

struct TCase {
  const char* raised;
  const char* polish;
};

const TCase kCases[] = {
    {"Unable to write to /tmp/x/a.plt: No such file or directory",
     "Nie mo\u017Cna zapisa\u0107 pliku /tmp/x/a.plt: No such file or directory"},
    {"Unable to write to /ro/p.tcj", "Nie mo\u017Cna zapisa\u0107 pliku /ro/p.tcj"},
    {"'12,5' is not a valid integer value",
     "'12,5' nie jest prawid\u0142ow\u0105 liczb\u0105 ca\u0142kowit\u0105"},
    {"'$1F' is not a valid floating point value",
     "'$1F' nie jest prawid\u0142ow\u0105 liczb\u0105"},
    {"the cutting program would move below the machine's zero in line 21: PD -40 80;",
     "Program ci\u0119cia wyprowadzi\u0142by drut poni\u017Cej zera maszyny w wierszu 21: PD -40 "
     "80;"},
    {"layer count 200000 is above the limit of 100000 layers",
     "Liczba warstw 200000 przekracza dopuszczalne 100000 warstw"},
    // The reason of a picture error is itself a known message.
    {"cannot read the picture /opt/images/Panel_Flat.wmf: no such file",
     "Nie mo\u017Cna wczyta\u0107 obrazu /opt/images/Panel_Flat.wmf: plik nie istnieje"},
    // A file name that looks like a message stays as it is.
    {"Unable to write to no such file", "Nie mo\u017Cna zapisa\u0107 pliku no such file"},
    // Unknown texts pass unchanged.
    {"something else went wrong", "something else went wrong"},
    {"Unable to write to ", "Unable to write to "},
};

TEST(MessageStr, PolishRewritesKnownMessages) {
  InitMessageStr(true);
  for (const TCase& c : kCases) {
    EXPECT_EQ(LocalizeErrorText(c.raised), c.polish) << c.raised;
  }
  InitMessageStr(false);
}

TEST(MessageStr, EnglishKeepsEveryText) {
  InitMessageStr(false);
  for (const TCase& c : kCases) {
    EXPECT_EQ(LocalizeErrorText(c.raised), c.raised);
  }
}

}  // namespace
