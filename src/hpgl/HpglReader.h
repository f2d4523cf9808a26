// Reads HPGL cutting programs, ours and other programs' styles, into outlines: for each pen
// selection, the wire's moves in order. Coordinates are plotter units, 40 to the millimetre;
// x grows from the machine's zero across the block, y grows upward from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/AppError.h"
#include "base/Units.h"
#include "platform/Memory.h"

namespace hpgl {

// Caps that keep memory and time bounded on any input. Passing any of them fails the read with
// an EAppError that names the cap; the reader never holds more than one token of input.
inline constexpr std::size_t kMaxNumberLength = 64;         // characters of one number
inline constexpr std::size_t kMaxParameters = 16;           // of a statement other than a move
inline constexpr std::size_t kMaxMoves = 4'000'000;         // points and pen changes kept
inline constexpr std::size_t kMaxOutlines = 10'000;         // pen selections with moves
inline constexpr std::size_t kMaxUnknownKept = 100;         // unknown statements kept (all counted)
inline constexpr std::size_t kMaxUnknownTextKept = 40;      // bytes of an unknown statement kept
inline constexpr std::int64_t kMaxCoordinate = 2147483647;  // plotter units, either sign
inline constexpr std::int64_t kMinCoordinate = -2147483648;  //

// One pen statement (PU, PD, PA, PR) or one coordinate pair of it. A statement without
// coordinates ("PU;") gives one entry with hasPoint false and the current point.
struct Move {
  std::int64_t statement = 0;  // counted from 1 over the whole program
  std::int32_t x = 0;          // plotter units, after the move
  std::int32_t y = 0;
  bool penDown = false;   // the pen state the move is made with
  bool hasPoint = false;  // false: the statement only changed the pen or the coordinate mode
};

// An outline's moves: a program of a hundred thousand layers has millions, kept in blocks that
// large pages back from the first byte.
using MoveList = std::vector<Move, platform::TLargeArrayAllocator<Move>>;

// The moves made under one pen selection, from its SP statement to the next one. Moves made
// before the first SP form an outline of pen 0. Pen selections without any move are dropped.
struct Outline {
  int pen = 0;
  std::int64_t firstStatement = 0;  // the SP statement (the first move for pen 0)
  std::int64_t lastStatement = 0;   // its last pen statement
  std::int32_t entryX = 0;          // where the wire stood when the outline began
  std::int32_t entryY = 0;
  MoveList moves;
};

// A statement the reader does not know: kept as text (cut to kMaxUnknownTextKept bytes, other
// bytes than printable ASCII shown as \xNN) and reported, never fatal.
struct UnknownStatement {
  std::int64_t statement = 0;
  std::int64_t line = 0;
  std::string text;
};

struct Program {
  std::vector<Outline> outlines;
  std::vector<UnknownStatement> unknown;  // the first kMaxUnknownKept
  std::int64_t unknownCount = 0;
  std::int64_t statementCount = 0;
};

// A streaming reader: Feed takes the program in pieces of any size, split anywhere; Finish ends
// the last statement and hands out the program. A malformed statement raises EAppError
// "statement N (line L, MNEMONIC): ..." from the Feed or Finish that completes it; the reader is
// then spent.
//
// The language read: statements are a two-letter mnemonic (either case) and parameters, ended
// by ";" or by the next mnemonic; blanks, tabs and line ends may stand between statements and
// between parameters; parameters are separated by commas or blanks (a sign also starts a new
// number). Known: IN (pen up, absolute), DF (absolute), VS, WU, PW, LT (parameters checked as
// numbers, otherwise unused), SP, PU, PD, PA, PR (any number of coordinate pairs, absolute or
// relative), LB (text up to ETX).
// Anything else is an unknown statement. Decimal coordinates are rounded to the nearest unit,
// halves away from zero.
class Reader {
 public:
  Reader();
  void Feed(std::string_view bytes);
  Program Finish();

 private:
  enum class State { Between, Mnemonic, Parameters, Label, Stray };
  enum class Kind {
    Unknown,
    Plain,
    PenUp,
    PenDown,
    Absolute,
    Relative,
    SelectPen,
    Init,
    Defaults,
    Label
  };

  static Kind KindOf(std::string_view mnemonic);  // mnemonic in upper case
  void FeedByte(char c);
  void BeginStatement(char first);
  void EndStatement();
  void EndNumber();
  void AddMove(std::int64_t x, std::int64_t y, bool hasPoint);
  void AddText(char c);
  // Raises EAppError HpglStatement for the current statement, caused by fault with its args.
  [[noreturn]] void Fail(TErrorId fault, std::vector<std::string> args = {}) const;
  std::string Name() const;

  Program program_;
  State state_ = State::Between;
  Kind kind_ = Kind::Plain;
  char mnemonic_[3] = {0, 0, 0};
  std::int64_t line_ = 1;
  std::int64_t statementLine_ = 1;
  std::string number_;       // the number being read
  bool afterBlank_ = false;  // a blank ended the last number; a comma may still follow
  bool afterComma_ = false;  // a comma asks for one more number
  std::vector<double> parameters_;
  std::vector<std::int64_t> coordinates_;  // of the current move statement, not yet paired
  std::size_t totalMoves_ = 0;
  std::string text_;  // the statement as read, cut to kMaxUnknownTextKept bytes
  bool textCut_ = false;
  bool statementMoved_ = false;  // the current pen statement has made a move

  // The plotter's state.
  bool penDown_ = false;
  bool relative_ = false;
  int pen_ = 0;
  bool outlineOpen_ = false;  // the last outline belongs to the current pen selection
  std::int64_t selectStatement_ = 0;
  std::int64_t x_ = 0;
  std::int64_t y_ = 0;
};

// The whole program in one piece.
Program ReadProgram(std::string_view text);

// The most bytes ReadProgramFile reads. The largest program Tectoplan writes (100 000 layers of
// a gutter or ridge, every coordinate ten digits long) stays below 50 MB; past this limit the
// input is no program of ours, and a device such as /dev/zero or a pipe that never ends would
// be read for ever.
inline constexpr std::size_t kMaxProgramFileSize = 64u << 20;

// The program in the file at path, read in pieces: a file of any size costs no more memory than
// the program it holds. Raises EAppError ProgramRead with the system's reason or, as its cause,
// the reader's error, and ProgramTooLarge when the file goes on past kMaxProgramFileSize.
Program ReadProgramFile(const std::string& path);

}  // namespace hpgl
