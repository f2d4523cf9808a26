// The texts of the program's errors, in English and Polish: one table for every layer, so that an
// error's identity and arguments read the same in the window, the unattended run and
// tectoplan-view. It stands beside the fixed 101-slot text table and follows its language.
#pragma once

#include <exception>
#include <string>
#include <system_error>
#include <vector>

#include "base/AppError.h"

enum class TTextLanguage { English, Polish };

// The language of the loaded text table (IsPolishStr).
TTextLanguage InterfaceTextLanguage();

// The sentence of an error: its identity's text with the arguments in place of %1, %2, ... and
// the reason (the system's, or the text of the causing error) in place of %r.
std::string ErrorText(const EAppError& error, TTextLanguage language);
std::string ErrorText(const EAppError& error);  // in the interface language
// Any exception that reaches a place where errors are shown: the program's own by its table,
// any other by its own text.
std::string ErrorText(const std::exception& error);

// An identity's sentence without raising it: the warnings that share the table.
std::string MessageText(TErrorId id, const std::vector<std::string>& args = {});

// The system's reason in the given language: the common reasons of file access have Polish texts;
// any other reason reads as the system gives it.
std::string SystemReasonText(const std::error_code& reason, TTextLanguage language);
