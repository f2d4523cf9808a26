// The cutting program generator: turns a computed panel project into the HPGL program text that
// the foam cutter's controller runs, and writes it to a file or to standard output.
// Geometry is read in millimetres; statements carry plotter units, 40 to the millimetre. x grows
// from the machine's zero across the faces, y grows upward from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "project/ProjectData.h"

// Told of each statement as the generator appends it, so that a caller can follow the program
// without reading its text back (the preview draws from these).
class TStatementSink {
 public:
  virtual ~TStatementSink() = default;
  // The most statements the program will have, told before the first.
  virtual void Expect(std::int64_t statements) = 0;
  // A statement other than a move, without ";" CR LF: "IN", "LT", "SP4", ...
  virtual void Plain(std::string_view statement) = 0;
  // A move with the pen up (PU) or down (PD) to (x, y), plotter units as the statement has them.
  virtual void Move(bool penDown, std::int32_t x, std::int32_t y) = 0;
};

// A move whose x or y rounds to below 0 plotter units: below the machine's zero.
struct TBelowZeroMove {
  std::int64_t line = 0;  // its line in the program, counted from 1
  std::string statement;  // its text without ";" CR LF, e.g. "PD 0 -40"
};

class TPrjGenerator {
 public:
  // Create: a generator with an empty program on pb. The project stays the caller's and must
  // outlive the generator; ComputeFaces must have run on its current inputs.
  explicit TPrjGenerator(const TPanelsProject& pb);

  // Appends the whole program of the project's panel type: flat (1) and single slope (6) one
  // outline under pen 4; gutters and ridges (2 to 5) and double slopes (7, 8) the header, the
  // front outline (pen 4) and the rear outline (pen 3). Every other ordinal, 129 to 136
  // included, appends nothing. Checks no value; a coordinate that does not fit a plotter unit
  // raises EAppError "Coordinate out of range: ..." (see mm2plt). A move below the machine's
  // zero is only noted (FirstBelowZero).
  void GenerateProject();

  // Writes the program and one CR LF to outFile, replacing any file of that name without ever
  // leaving a partial program under it. An empty name writes to standard output. A failure
  // raises EAppError "Unable to write to NAME: REASON"; the program text stays, so Save may be
  // called again. A generator that writes no text (SetWritesText) must not be saved: it raises
  // std::logic_error and writes nothing, since an empty file would stand for a program.
  void Save(const std::string& outFile) const;

  // s followed by ";", CR, LF.
  static std::string GenLine(std::string_view s);
  // s ("PU" or "PD"), a blank, mm2plt(x), a blank, mm2plt(y), ";", CR, LF. x and y in millimetres.
  static std::string GenMoveLine(std::string_view s, double x, double y);

  // Millimetres to plotter units: units × 40 formed exactly and rounded once to the nearest
  // integer, ties to even. A value that is not finite or does not fit a signed 32-bit integer
  // raises EAppError "Coordinate out of range: VALUE mm".
  static std::int32_t mm2plt(double units);
  // Plotter units to millimetres, units / 40 without rounding.
  static double plt2mm(double units);

  // The 18 statements that set up pens 1 to 8 of a two-outline program.
  void GenPltHeder();
  void GenerateFlatFacePath();
  void GenerateSlopeFacePath();
  // Header, then the front (FaceType 1) and the rear (2) outline of a gutter or ridge.
  void GenerateIndepProject();
  // FaceType 1 selects the front face and pen 4, any other value the rear face and pen 3.
  void GenerateIndepFacePath(int FaceType);
  void GenerateDoubleSlopeProject();
  void GenerateDoubleSlopeFacePath(int FaceType);

  // Tells sink of every statement appended from now on; nullptr stops it. The sink must
  // outlive the generation.
  void SetStatementSink(TStatementSink* sink) { FSink = sink; }
  // false: the statements go to the sink only and no text is built, for a caller that draws the
  // program and never saves it (the preview). FileData then stays empty and Save refuses;
  // FirstBelowZero still holds the statement's text, composed for that one move.
  void SetWritesText(bool writes) { FWritesText = writes; }

  // The program built so far, without the final CR LF that Save adds.
  const std::string& FileData() const { return FFileData; }
  const TPanelsProject& PrjData() const { return FPrjData; }
  // The first move appended so far that goes below the machine's zero, seen as it was appended
  // (the text is never searched for it); empty while there is none. The generation itself goes
  // on to the end: refusing the program is the caller's business (GenerateCheckedProgram).
  const std::optional<TBelowZeroMove>& FirstBelowZero() const { return FFirstBelowZero; }

  // True for the panel types that have a cutting program (ordinals 1 to 8).
  static bool HasProgram(TRoofPanelType panelType);

 private:
  void ReserveText(TRoofPanelType type);
  void BeginOutline(std::string_view pen, double y0);
  void AppendLine(std::string_view s);
  void AppendMove(std::string_view s, double x, double y);

  const TPanelsProject& FPrjData;
  std::string FFileData;
  TStatementSink* FSink = nullptr;
  bool FWritesText = true;
  std::int64_t FStatementCount = 0;  // statements in FFileData
  std::optional<TBelowZeroMove> FFirstBelowZero;
};
