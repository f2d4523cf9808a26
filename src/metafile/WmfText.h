// Text of a metafile to UTF-8: the file holds one byte a character in the code page of the font's
// character set.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace wmf {

// Decodes text in the code page of charset: Central European (1250) for that set, Western (1252)
// for every other. NUL bytes are left out; a byte the code page leaves unassigned reads as U+FFFD.
std::string DecodeText(std::span<const std::uint8_t> text, std::uint8_t charset);

}  // namespace wmf
