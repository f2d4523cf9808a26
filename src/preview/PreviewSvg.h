// The preview of a cutting program as an SVG picture for the workshop wall: the drawing of the
// preview layout on an A4 landscape page, with the work area, each outline in its own colour,
// millimetre axes, the start points, the figures of the check and its findings.
// The outlines are drawn in program millimetres (x from the machine's zero across the block,
// y upward from it) inside one transformed group, so the picture holds the program's own
// coordinates: the cut path of an outline lists exactly its pen-down points.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "hpgl/HpglReader.h"
#include "hpgl/ProgramCheck.h"
#include "preview/PreviewLayout.h"

namespace preview {

// The SVG document of layout: each shape one element in the layout's order (the shapes below
// the outlines, the outlines' group, the shapes above), in target units. Each outline k is
//   <g id="outline-k" data-pen="P">
//     <path class="travel" d="M x y L x y ..."/>...   its pen-up moves
//     <path class="cut" d="M x y L x y ..."/>...      its pen-down moves
//   </g>
// with x and y in millimetres exactly as the program gives them (three decimals at most).
std::string WriteSvg(const TPreviewLayout& layout);

}  // namespace preview

namespace hpgl {

struct PreviewOptions {
  std::string title;                     // shown at the top, usually the program's file name
  std::optional<WorkArea> workArea;      // drawn when the project is known
  std::vector<std::string> advice = {};  // why the program is refused, above the findings
};

// The picture of program with report on the A4 page, in the interface language.
std::string DrawPreviewSvg(const Program& program, const CheckReport& report,
                           const PreviewOptions& options);

}  // namespace hpgl
