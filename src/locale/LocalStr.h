// The table of localized texts: 101 slots filled once at start-up with the Polish or the English
// texts (UTF-8) and read by slot index.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

inline constexpr std::size_t kLocalStrCount = 101;

// Chooses the interface language from AppCfg.Language (or the system's, when none is configured)
// and fills the table with its texts.
void InitLocalStr();
void LoadPolishStr();
void LoadEnglishStr();

// True when the Polish texts were loaded last: the language of every other text table (errors,
// the View menu). English until a table is loaded.
bool IsPolishStr();

// The text of a slot; empty for a slot never filled and for an index beyond the table.
std::string GetLocalStr(std::uint8_t index);
// The text of a slot in the given language, whichever table is loaded: the preview names the
// window's fields in the language it is asked for.
std::string GetLocalStr(std::uint8_t index, bool polish);
