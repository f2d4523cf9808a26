// Metafiles built record by record for the reader's tests: well-formed ones and the pieces to
// damage them with.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

using TBytes = std::vector<std::uint8_t>;

// One record: size in words, function, parameter words.
TBytes Rec(std::uint16_t function, std::initializer_list<int> words);

// A record with a free size field, for damaged files.
TBytes RecWithSize(std::uint32_t sizeWords, std::uint16_t function,
                   std::initializer_list<int> words);

// A placeable header with the frame (0, 0)-(1000, 800) at 1440 units an inch.
TBytes Placeable(int left = 0, int top = 0, int right = 1000, int bottom = 800, int inch = 1440);

// The standard header for a table of the given number of objects.
TBytes Header(int objects, int type = 1, int headerWords = 9);

// The end record.
TBytes Eof();

// Concatenates parts.
TBytes Join(std::initializer_list<TBytes> parts);

// A placeable header, the standard header for a table of the given number of objects, the records
// and the end record.
TBytes WithRecords(std::initializer_list<TBytes> records, int objects = 1);

// A bitmap with an info header of the given size fields, then pixelWords words of pixel bytes.
TBytes Dib(int headerSize, int width, int height, int bits, int colorsUsed, int pixelWords);

// A STRETCHDIB record that draws dib (as Dib gives it) in true colours.
TBytes StretchDibWith(const TBytes& dib);

// A picture written by TWmfWriter that uses every record the reader draws; the offsets of its
// records (first record to end record) go into recordOffsets when given.
TBytes RichSample(std::vector<std::size_t>* recordOffsets = nullptr);
