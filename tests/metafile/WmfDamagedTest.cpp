// Damaged and hostile metafiles give "not a valid metafile: REASON" and nothing else: no read
// outside the data (the sanitizer build checks), no unbounded allocation, no endless loop.
#include <gtest/gtest.h>

#include <random>

#include "ErrorTexts.h"
#include "WmfTestFiles.h"
#include "metafile/WmfFormat.h"
#include "metafile/WmfReader.h"

namespace {

// The message ReadWmf throws, or "" when it reads the file.
std::string ReadError(const TBytes& file) {
  try {
    ReadWmf(file);
  } catch (const EAppError& e) {
    return EnglishText(e);
  }
  return "";
}

constexpr int kFirst = 40;  // offset of the first record after both headers

struct DamagedCase {
  const char* name;
  TBytes file;
  std::string reason;
};

std::string At(const char* record, int offset) {
  return std::string(record) + " record at byte " + std::to_string(offset);
}

TEST(WmfDamaged, EachDamageGivesItsReason) {
  TBytes saves;
  for (int i = 0; i <= 4096; ++i) {
    TBytes r = Rec(wmf::kSaveDC, {});
    saves.insert(saves.end(), r.begin(), r.end());
  }
  TBytes pen = Rec(wmf::kCreatePenIndirect, {0, 1, 0, 0, 0});
  const DamagedCase cases[] = {
      {"empty file", {}, "the header is too short for its contents"},
      {"placeable header only", Placeable(), "the header is too short for its contents"},
      {"not a metafile type", Join({Placeable(), Header(0, 7), Eof()}),
       "the header is not a metafile header"},
      {"header of the wrong size", Join({Header(0, 1, 12), Eof()}),
       "the header is not a metafile header"},
      {"empty bounding box", Join({Placeable(0, 0, 0, 800), Header(0), Eof()}),
       "the bounding box is empty"},
      {"no units per inch", Join({Placeable(0, 0, 10, 10, 0), Header(0), Eof()}),
       "the header gives 0 units per inch"},
      {"no end record", Join({Placeable(), Header(0)}), "the file ends without an end record"},
      {"cut inside a record header", Join({Placeable(), Header(0), TBytes{4, 0, 0}}),
       "the file ends inside a record header at byte 40"},
      {"record size 0", WithRecords({RecWithSize(0, wmf::kPolygon, {})}),
       At("POLYGON", kFirst) + " is shorter than a record header"},
      {"record size past the end", WithRecords({RecWithSize(50, wmf::kPolyline, {2, 0, 0, 1, 1})}),
       At("POLYLINE", kFirst) + " runs past the end of the file"},
      {"record without a name runs past the end",
       WithRecords({RecWithSize(50, 0x0626, {15, 4, 1})}),
       At("0x0626", kFirst) + " runs past the end of the file"},
      {"record size of 4 G words", WithRecords({RecWithSize(0xFFFFFFFF, wmf::kLineTo, {1, 1})}),
       At("LINETO", kFirst) + " runs past the end of the file"},
      {"polygon counts more points than it holds",
       WithRecords({Rec(wmf::kPolygon, {3, 0, 0, 1, 1})}),
       At("POLYGON", kFirst) + " counts more points than it holds"},
      {"polyline count of 65535", WithRecords({Rec(wmf::kPolyline, {-1, 0, 0})}),
       At("POLYLINE", kFirst) + " counts more points than it holds"},
      {"poly-polygon counts more polygons than it holds",
       WithRecords({Rec(wmf::kPolyPolygon, {9, 3, 0, 0})}),
       At("POLYPOLYGON", kFirst) + " counts more polygons than it holds"},
      {"poly-polygon rings add up to more points than it holds",
       WithRecords({Rec(wmf::kPolyPolygon, {2, 30000, 30000, 0, 0, 1, 1})}),
       At("POLYPOLYGON", kFirst) + " counts more points than it holds"},
      {"text longer than its record", WithRecords({Rec(wmf::kTextOut, {40, 0x4241, 0, 0})}),
       At("TEXTOUT", kFirst) + " is too short for its contents"},
      {"negative text length", WithRecords({Rec(wmf::kTextOut, {-2, 0x4241, 0, 0})}),
       At("TEXTOUT", kFirst) + " has a negative text length"},
      {"extended text longer than its record",
       WithRecords({Rec(wmf::kExtTextOut, {0, 0, 300, 0, 0x4241})}),
       At("EXTTEXTOUT", kFirst) + " is too short for its contents"},
      {"extended text without its box", WithRecords({Rec(wmf::kExtTextOut, {0, 0, 0, 2, 0})}),
       At("EXTTEXTOUT", kFirst) + " is too short for its contents"},
      {"pen record cut short", WithRecords({Rec(wmf::kCreatePenIndirect, {0, 1})}),
       At("CREATEPENINDIRECT", kFirst) + " is too short for its contents"},
      {"font record cut short", WithRecords({Rec(wmf::kCreateFontIndirect, {-12, 0, 0})}),
       At("CREATEFONTINDIRECT", kFirst) + " is too short for its contents"},
      {"select beyond the object table", WithRecords({Rec(wmf::kSelectObject, {5})}),
       At("SELECTOBJECT", kFirst) + " names object 5 of a table of 1"},
      {"delete beyond the object table", WithRecords({Rec(wmf::kDeleteObject, {1})}),
       At("DELETEOBJECT", kFirst) + " names object 1 of a table of 1"},
      {"select with an empty table", WithRecords({Rec(wmf::kSelectObject, {0})}, 0),
       At("SELECTOBJECT", kFirst) + " names object 0 of a table of 0"},
      {"more objects than the table holds", WithRecords({pen, pen}),
       At("CREATEPENINDIRECT", kFirst + 16) +
           " creates more objects than the header's table of 1 holds"},
      {"bitmap header of unknown size", WithRecords({StretchDibWith(Dib(20, 2, 1, 24, 0, 4))}),
       At("STRETCHDIB", kFirst) + " has a bitmap header of unknown size"},
      {"bitmap without pixels", WithRecords({StretchDibWith(Dib(40, 0, 1, 24, 0, 4))}),
       At("STRETCHDIB", kFirst) + " has a bitmap without pixels"},
      {"bitmap of 2^31 pixels", WithRecords({StretchDibWith(Dib(40, 65536, 32768, 1, 0, 4))}),
       At("STRETCHDIB", kFirst) + " has a bitmap of more than 16777216 pixels"},
      {"bitmap whose rows run past the record",
       WithRecords({StretchDibWith(Dib(40, 2, 3, 24, 0, 4))}),
       At("STRETCHDIB", kFirst) + " has a bitmap whose pixels run past the record"},
      {"colour table longer than the record",
       WithRecords({StretchDibWith(Dib(40, 2, 1, 8, 200, 4))}),
       At("STRETCHDIB", kFirst) + " has a colour table longer than the record"},
      {"bitmap header cut short",
       WithRecords({Rec(wmf::kStretchDib, {0x20, 0xCC, 0, 1, 2, 0, 0, 100, 200, 0, 0, 40, 0})}),
       At("STRETCHDIB", kFirst) + " is too short for its contents"},
      {"a viewport scaled up without bound",
       WithRecords({Rec(wmf::kSetViewportExt, {32767, 32767}), Rec(wmf::kSetWindowExt, {1, 1}),
                    Rec(wmf::kScaleViewportExt, {1, 32767, 1, 32767}),
                    Rec(wmf::kPolyline, {2, 0, 0, 30000, 30000})}),
       At("POLYLINE", kFirst + 34) + " maps its coordinates or sizes out of range"},
      {"thousands of saved states", WithRecords({saves}),
       At("SAVEDC", kFirst + 4096 * 6) + " saves more than 4096 states"},
  };
  for (const DamagedCase& c : cases) {
    EXPECT_EQ(ReadError(c.file), "not a valid metafile: " + c.reason) << c.name;
  }
}

TEST(WmfDamaged, CutAtEveryRecordBoundaryTheEndRecordIsMissing) {
  std::vector<std::size_t> offsets;
  TBytes good = RichSample(&offsets);
  ASSERT_EQ(ReadError(good), "");
  ASSERT_GT(offsets.size(), 30u);
  for (std::size_t cut : offsets) {
    TBytes file(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut));
    EXPECT_EQ(ReadError(file), "not a valid metafile: the file ends without an end record")
        << "cut at " << cut;
  }
}

TEST(WmfDamaged, CutAtEveryByteGivesAnError) {
  TBytes good = RichSample();
  for (std::size_t cut = 0; cut < good.size(); ++cut) {
    TBytes file(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut));
    EXPECT_EQ(ReadError(file).rfind("not a valid metafile: ", 0), 0u) << "cut at " << cut;
  }
}

TEST(WmfDamaged, ChangedBytesGiveAPictureOrAnError) {
  // Every byte of the sample set to a few telling values, one at a time: each file must read or
  // be refused with the reader's own error; anything else escapes this loop and fails the test.
  TBytes good = RichSample();
  std::size_t refused = 0;
  for (std::size_t i = 0; i < good.size(); ++i) {
    for (std::uint8_t value : {0x00, 0x01, 0x7F, 0x80, 0xFF}) {
      TBytes file = good;
      file[i] = value;
      std::string error = ReadError(file);
      if (!error.empty()) {
        ++refused;
        EXPECT_EQ(error.rfind("not a valid metafile: ", 0), 0u) << "byte " << i;
      }
    }
  }
  EXPECT_GT(refused, 0u);
}

TEST(WmfDamaged, UnsupportedBitmapsAreLeftOutNotRefused) {
  // 16 bits a pixel and palette-index colours are valid metafile content the reader does not
  // draw; the rest of the picture still shows.
  TBytes dib16 = StretchDibWith(Dib(40, 2, 1, 16, 0, 2));
  TBytes paletteIndices = StretchDibWith(Dib(40, 2, 1, 24, 0, 4));
  paletteIndices[10] = 1;  // colour usage: palette indices
  TBytes line = Rec(wmf::kPolyline, {2, 0, 0, 5, 5});
  EXPECT_EQ(ReadWmf(WithRecords({dib16, paletteIndices, line})).items.size(), 1u);
}

TEST(WmfDamaged, MissingFileAndFolderAreNamedInTheError) {
  try {
    LoadWmfFile("/nonexistent/Panel_Flat.wmf");
    FAIL() << "no error";
  } catch (const EAppError& e) {
    EXPECT_EQ(EnglishText(e),
              "Unable to read the picture /nonexistent/Panel_Flat.wmf: No such file or directory");
  }
  try {
    LoadWmfFile(TEST_DATA_DIR);
    FAIL() << "no error";
  } catch (const EAppError& e) {
    EXPECT_EQ(EnglishText(e),
              std::string("Unable to read the picture ") + TEST_DATA_DIR + ": Is a directory");
  }
}

}  // namespace
