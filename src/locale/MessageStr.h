// Messages the program shows beyond the fixed localized text table: the errors of the core, the
// generator and the pictures, put into the interface language before the window shows them.
// Polish and English only, like the text table.
#pragma once

#include <string>

// Chooses the language of the messages; English until called.
void InitMessageStr(bool polish);

// The text of an error in the interface language. Errors are raised in English; a text that
// matches one of the known messages is rewritten with its parts ("%1", "%2") kept, any other
// text is returned unchanged.
std::string LocalizeErrorText(const std::string& text);
