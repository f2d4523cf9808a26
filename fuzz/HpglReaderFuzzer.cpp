// Feeds arbitrary bytes to the cutting-program reader, whole and in two pieces split where the
// first byte says: both must end alike (the same error or the same outlines), and a program
// that reads must go through the check and the picture.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/AppError.h"
#include "hpgl/HpglReader.h"
#include "hpgl/ProgramCheck.h"
#include "preview/PreviewSvg.h"

namespace {

// The outcome of a read, as text: the error, or the outlines' points.
std::string Outcome(const hpgl::Program* program, const char* error) {
  if (program == nullptr) {
    return error;
  }
  std::string text =
      std::to_string(program->statementCount) + "/" + std::to_string(program->unknownCount) + ":";
  for (const hpgl::Outline& o : program->outlines) {
    text += "|" + std::to_string(o.pen) + "@" + std::to_string(o.firstStatement);
    for (const hpgl::Move& m : o.moves) {
      text += " " + std::to_string(m.statement) + (m.penDown ? "d" : "u") +
              (m.hasPoint ? std::to_string(m.x) + "," + std::to_string(m.y) : "");
    }
  }
  return text;
}

std::string Read(std::string_view text, std::size_t split) {
  try {
    hpgl::Reader reader;
    reader.Feed(text.substr(0, split));
    reader.Feed(text.substr(split));
    const hpgl::Program program = reader.Finish();
    return Outcome(&program, nullptr);
  } catch (const EAppError& e) {
    return Outcome(nullptr, e.what());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  hpgl::Program program;
  try {
    program = hpgl::ReadProgram(text);
  } catch (const EAppError& e) {
    if (size > 0 && Read(text, data[0] % (size + 1)) != e.what()) {
      std::abort();
    }
    return 0;
  }
  if (size > 0 && Read(text, data[0] % (size + 1)) != Outcome(&program, nullptr)) {
    std::abort();
  }
  const hpgl::CheckReport report = hpgl::CheckProgram(program, hpgl::WorkArea{500, 300});
  const std::string svg = hpgl::DrawPreviewSvg(program, report, {"fuzz", hpgl::WorkArea{500, 300}});
  if (svg.find("</svg>") == std::string::npos) {
    std::abort();
  }
  return 0;
}
