// Language services: the languages of the system and the user, and language names ("pl", "en")
// turned into language identifiers in the Windows primary-language numbering (0x15 Polish,
// 0x09 English; 0 for none).
#pragma once

#include <cstdint>
#include <string_view>

inline constexpr std::uint8_t kLangPolish = 0x15;
inline constexpr std::uint8_t kLangEnglish = 0x09;

// Language of the system default locale; 0 when it cannot be found or is not in the table.
std::uint8_t GetSystemLanguage();

// Language of the user's interface; 0 when it cannot be found or is not in the table.
std::uint8_t GetUserUILanguage();

// true: GetSystemLanguage, false: GetUserUILanguage.
std::uint8_t GetDefaultLanguage(bool systemLocale);

// The identifier of a language name of the table, matched as a whole and without regard to ASCII
// case after blanks and control characters around it are removed; 0 when empty or unknown.
std::uint32_t GetLanguageIdByName(std::string_view name);

// The interface language rule: the configured language, or the system's when none is configured.
// Only Polish has texts of its own; every other language gets the English interface.
bool IsPolishInterface(std::uint8_t configuredLanguage);
