// The checks that stand between a generated cutting program and the machine: every caller that
// generates (the unattended run, the window's generate command, the preview) goes through here.
#pragma once

#include <cstdint>

#include "generator/ProjectGenerator.h"
#include "project/ProjectData.h"

// The largest LayerCount a program is generated for. A real foam block holds a few hundred
// layers at most; at this limit the largest program (gutters and ridges, every coordinate ten
// digits long) is still below 50 MB.
inline constexpr std::int32_t kMaxLayerCount = 100000;

// Raises EAppError when the project's LayerCount is above kMaxLayerCount, before any text is
// built.
void CheckLayerLimit(const TPanelsProject& project);

// The one road to a program that may be saved or shown: the layer limit, then GenerateProject on
// generator, then the refusal of a program that moves the wire below the machine's zero: an
// EAppError naming the first such statement (its line number, counted from 1, and its text),
// which the generator noted as it appended the move. The refused program is still generated to
// its end: generator.FileData() then holds it whole, to be drawn, never to be saved. On any other
// error the text must not be used.
void GenerateCheckedProgram(TPrjGenerator& generator);
