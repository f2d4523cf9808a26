// The names of metafile records as the reader's errors show them ("POLYLINE"), so that a user can
// find the damaged record in a dump of the file.
#pragma once

#include <cstdint>
#include <string>

namespace wmf {

// The record's name; a function without one reads as its number in hexadecimal ("0x0626").
std::string RecordName(std::uint16_t function);

}  // namespace wmf
