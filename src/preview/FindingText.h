// The sentences of the program check's findings, in English and Polish, made from the findings'
// data; and the names of the outlines in the interface language.
#pragma once

#include <string>

#include "hpgl/ProgramCheck.h"
#include "locale/ErrorStr.h"

namespace preview {

// "front (pen 4)", "rear (pen 3)", "pen N"; in Polish "przód (pisak 4)", ...
std::string OutlineTitle(int pen, TTextLanguage language = InterfaceTextLanguage());

// The finding's sentence, starting with a capital letter.
std::string FindingText(const hpgl::Finding& finding,
                        TTextLanguage language = InterfaceTextLanguage());

// The label of a finding's severity: FAIL, WARN, NOTE (BŁĄD, UWAGA, INFO).
std::string SeverityLabel(hpgl::Severity severity,
                          TTextLanguage language = InterfaceTextLanguage());

// A point in plotter units as the findings write it: "(2, -1) mm".
std::string PointText(std::int64_t x, std::int64_t y);

// text with its first letter in upper case (the sentences begin with a Latin letter, a digit or
// a quotation mark).
std::string Capitalised(std::string text);

}  // namespace preview
