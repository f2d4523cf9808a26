// The text the user reads for an error, for tests that check it: the English sentence of the
// error table, as the unattended run and tectoplan-view print it in an English environment.
#pragma once

#include <string>

#include "base/AppError.h"
#include "locale/ErrorStr.h"

inline std::string EnglishText(const EAppError& error) {
  return ErrorText(error, TTextLanguage::English);
}
