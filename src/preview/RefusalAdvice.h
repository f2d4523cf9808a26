// Why a project's cutting program is refused and what the operator can change: the explanation as
// data (the offending move, the inputs that move it and by how much), and its sentences in
// English and Polish. Computed by regenerating the program on a copy of the project; writes
// nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/AppError.h"
#include "locale/ErrorStr.h"
#include "project/ProjectData.h"

namespace preview {

// The inputs the advice may name: the window's fields (LayerCount to TopSpace, in the window's
// order) and the project-file keys the window does not edit.
enum class TAdviceInput : std::uint8_t {
  LayerCount,
  DimA,
  DimB,
  DimC,
  DimD,
  FrontBaseWidth,
  RearBaseWidth,
  PanelLength,
  TopSpace,  // a field while LayerCount > 1; the window holds it at 0 for one layer or fewer
  Elevation,
  LeftSpace,
  Count
};

enum class TRefusal : std::uint8_t {
  BelowZero,   // a move left of or below the machine's zero: the whole text exists
  OutOfRange,  // a coordinate that does not fit a plotter unit: no text
  LayerLimit,  // more than kMaxLayerCount layers: no text
  NoProgram,   // the panel type has no cutting program
};

// What changing one input alone does to the offending move.
enum class TChangeOutcome : std::uint8_t {
  Clears,         // its smallest change that brings the move to zero lets the program pass
  LeavesRefused,  // that change brings the move to zero, but another move is then refused
  NoReach,        // it moves the point, but no change of it alone brings it to zero
};

struct TInputChange {
  TAdviceInput input = TAdviceInput::LayerCount;
  bool fileKey = false;  // named as a key of the project file, which the window does not edit
  TChangeOutcome outcome = TChangeOutcome::NoReach;
  double change = 0;  // Clears, LeavesRefused: that smallest change (layers or millimetres)
  double value = 0;   // the input's value after it
};

struct TInputValue {
  TAdviceInput input = TAdviceInput::LayerCount;
  bool fileKey = false;
  double value = 0;
};

// Above this LayerCount the inputs are not searched (each input regenerates the program a dozen
// times or more); the advice then says where the program is refused and no more. Nor is the
// layer count tried above it.
inline constexpr std::int32_t kMaxSearchedLayers = 1000;

struct TRefusalAdvice {
  TRefusal refusal = TRefusal::NoProgram;
  std::optional<EAppError> error;  // the refusal as the gate raised it; none for NoProgram
  bool searched = false;           // false: above kMaxSearchedLayers, no input was tried

  // BelowZero: the first offending move.
  std::int64_t line = 0;  // its statement (line), counted from 1
  std::string statement;  // its text, "PD 40080 -15920;"
  int outline = 0;        // its outline, counted from 0 in program order
  int pen = 0;            // that outline's pen: 4 front, 3 rear
  int outlineCount = 0;   // 1: the program's only outline
  std::int32_t x = 0;     // its point, plotter units
  std::int32_t y = 0;
  // Every input that moves the offending coordinate (x, y or both, whichever is below 0), in
  // the window's order, the project-file keys last.
  std::vector<TInputChange> inputs;

  // OutOfRange: the inputs each of which, set alone to the value that adds nothing (0 mm, one
  // layer), lets every coordinate fit; with the values they have.
  std::vector<TInputValue> causes;

  std::int32_t layerCount = 0;  // LayerLimit
  int panelType = 0;            // NoProgram
};

// The explanation of project's refusal; nullopt when its program passes the gate. project must be
// computed (ComputeFaces on its current inputs); it is not changed.
//
// A BelowZero refusal names the inputs that drive the offending move: an input drives it when
// changing that input alone changes the offending coordinate, found by regenerating the program
// on a copy of the project with the input changed, as the window would change it (the fields
// that follow it by the copy rules take its new value; a layer count of 1 or less sets the space
// between panels to 0, a larger one clears Skip bottom). The move is found again by its place in
// its outline: counted from the outline's start when it lies in the first half of its moves,
// from the end otherwise, so the frame moves at the start and the bottom layer keep their place
// when the layer count changes. The amount is the smallest change, in whole millimetres or layers
// for the window's fields and in plotter units (0.025 mm) for the project-file keys, that brings
// the offending coordinate to zero or above; it is verified by regenerating with the value as
// written.
std::optional<TRefusalAdvice> ExplainRefusal(const TPanelsProject& project);

// The explanation in 1 to 4 sentences, each beginning with a capital letter.
std::vector<std::string> AdviceLines(const TRefusalAdvice& advice,
                                     TTextLanguage language = InterfaceTextLanguage());

// text in lines of at most columns characters, broken only at blanks outside parentheses and not
// before one or before a unit, so a statement quoted in a sentence stays whole and an amount
// stays with its unit and value; a piece longer than columns stays one line.
std::vector<std::string> WrappedText(const std::string& text, std::size_t columns);

// An input as the sentences name it: the caption of its field, or its key in the project file
// ("Elevation in the project file").
std::string InputName(TAdviceInput input, bool fileKey,
                      TTextLanguage language = InterfaceTextLanguage());

}  // namespace preview
