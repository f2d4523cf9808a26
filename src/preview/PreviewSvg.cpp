#include "preview/PreviewSvg.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "base/Units.h"

namespace preview {

namespace {

// Page and program lengths in the SVG: three decimals at most, a point whatever the locale.
std::string Num(double value) {
  return hpgl::Millimetres(value);
}

// The frame's numbers, where three decimals would shift the outlines against the axes.
std::string Precise(double value) {
  char buffer[48];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 10);
  return std::string(buffer, result.ptr);
}

// The length of the well-formed UTF-8 character at the start of text, or 0 when it does not
// start with one; then skip is the length of its maximal subpart (the bytes that began a
// character before it went wrong, at least 1). Overlong forms, surrogates and values above
// U+10FFFF are not well-formed: their second byte is already out of range.
std::size_t Utf8Length(std::string_view text, std::size_t& skip) {
  const auto byte = static_cast<unsigned char>(text[0]);
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (byte >= 0xC2 && byte <= 0xDF) {
    length = 2;
  } else if (byte >= 0xE0 && byte <= 0xEF) {
    length = 3;
    low = byte == 0xE0 ? 0xA0 : 0x80;
    high = byte == 0xED ? 0x9F : 0xBF;
  } else if (byte >= 0xF0 && byte <= 0xF4) {
    length = 4;
    low = byte == 0xF0 ? 0x90 : 0x80;
    high = byte == 0xF4 ? 0x8F : 0xBF;
  }
  skip = 1;
  if (length == 0) {
    return 0;
  }
  for (std::size_t n = 1; n < length; ++n) {
    if (n >= text.size()) {
      return 0;
    }
    const auto next = static_cast<unsigned char>(text[n]);
    if (next < (n == 1 ? low : 0x80) || next > (n == 1 ? high : 0xBF)) {
      return 0;
    }
    skip = n + 1;
  }
  return length;
}

// Text for the SVG: XML's special characters escaped, control characters shown as '?', and each
// piece of the text that is not well-formed UTF-8 (a file name may hold any bytes) replaced by
// U+FFFD, so the document stays valid XML.
std::string Escaped(const std::string& text) {
  constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x80) {
      std::size_t skip = 1;
      if (const std::size_t length = Utf8Length(std::string_view(text).substr(i), skip)) {
        out.append(text, i, length);
        i += length;
      } else {
        out += kReplacement;
        i += skip;
      }
      continue;
    }
    switch (text[i]) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += byte < 0x20 || byte == 0x7F ? '?' : text[i];
    }
    ++i;
  }
  return out;
}

std::string Colour(const TColour& c) {
  constexpr char kHex[] = "0123456789abcdef";
  return {
      '#',           kHex[c.r >> 4], kHex[c.r & 15], kHex[c.g >> 4], kHex[c.g & 15], kHex[c.b >> 4],
      kHex[c.b & 15]};
}

// The stroke's attributes, its lengths divided by unit (the outlines' group is scaled).
std::string StrokeAttributes(const TStroke& stroke, double unit = 1) {
  if (stroke.width <= 0) {
    return " stroke=\"none\"";
  }
  std::string out = " stroke=\"" + Colour(stroke.colour) + "\" stroke-width=\"" +
                    (unit == 1 ? Num(stroke.width) : Precise(stroke.width / unit)) + "\"";
  if (stroke.dashOn > 0) {
    out += " stroke-dasharray=\"" + Precise(stroke.dashOn / unit) + " " +
           Precise(stroke.dashOff / unit) + "\"";
  }
  return out;
}

std::string FillAttribute(const std::optional<TColour>& fill) {
  return " fill=\"" + (fill ? Colour(*fill) : std::string("none")) + "\"";
}

void WriteShape(std::string& out, const TShape& s) {
  switch (s.kind) {
    case TShapeKind::Rect:
      out += "<rect x=\"" + Num(s.x1) + "\" y=\"" + Num(s.y1) + "\" width=\"" + Num(s.x2 - s.x1) +
             "\" height=\"" + Num(s.y2 - s.y1) + "\"" + FillAttribute(s.fill) +
             (s.stroke.width > 0 ? StrokeAttributes(s.stroke) : "") + "/>\n";
      break;
    case TShapeKind::Line:
      out += "<line x1=\"" + Num(s.x1) + "\" y1=\"" + Num(s.y1) + "\" x2=\"" + Num(s.x2) +
             "\" y2=\"" + Num(s.y2) + "\"" + StrokeAttributes(s.stroke) + "/>\n";
      break;
    case TShapeKind::Circle:
      out += "<circle cx=\"" + Num(s.x1) + "\" cy=\"" + Num(s.y1) + "\" r=\"" + Num(s.x2) + "\"" +
             FillAttribute(s.fill) + StrokeAttributes(s.stroke) + "/>\n";
      break;
    case TShapeKind::Text: {
      const char* anchor = s.anchor == TAnchor::Start    ? "start"
                           : s.anchor == TAnchor::Middle ? "middle"
                                                         : "end";
      out += s.vertical
                 ? "<text transform=\"translate(" + Num(s.x1) + " " + Num(s.y1) + ") rotate(-90)\""
                 : "<text x=\"" + Num(s.x1) + "\" y=\"" + Num(s.y1) + "\"";
      out += " font-size=\"" + Num(s.size) + "\"" + FillAttribute(s.fill) + " text-anchor=\"" +
             anchor + "\" font-weight=\"" + (s.bold ? "bold" : "normal") + "\">" + Escaped(s.text) +
             "</text>\n";
      break;
    }
  }
}

std::string PointText(TUnitPoint p) {
  return hpgl::Millimetres(p.x / kPlotterUnitsPerMm) + " " +
         hpgl::Millimetres(p.y / kPlotterUnitsPerMm);
}

void WritePieces(std::string& out, const std::vector<std::vector<TUnitPoint>>& pieces,
                 const char* kind, const TStroke& stroke, double scale) {
  for (const std::vector<TUnitPoint>& piece : pieces) {
    out += "<path class=\"";
    out += kind;
    out += "\" d=\"M ";
    out += PointText(piece.front());
    for (std::size_t i = 1; i < piece.size(); ++i) {
      out += " L ";
      out += PointText(piece[i]);
    }
    out += " \"";
    out += StrokeAttributes(stroke, scale);
    out += "/>\n";
  }
}

}  // namespace

std::string WriteSvg(const TPreviewLayout& layout) {
  const TPreviewTarget& t = layout.target;
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\"";
  const std::string unit = t.print ? "mm" : "";
  out += " width=\"" + Num(t.width) + unit + "\" height=\"" + Num(t.height) + unit +
         "\" viewBox=\"0 0 " + Num(t.width) + " " + Num(t.height) +
         "\" font-family=\"DejaVu Sans, Arial, sans-serif\">\n";
  for (const TShape& s : layout.below) {
    WriteShape(out, s);
  }
  if (layout.hasPlot) {
    // The outlines in program millimetres, placed by one transform, so the picture holds the
    // program's own coordinates.
    out += "<g transform=\"translate(" + Precise(layout.offsetX) + " " + Precise(layout.offsetY) +
           ") scale(" + Precise(layout.scale) + " " + Precise(-layout.scale) + ")\">\n";
    for (const TOutlineDrawing& d : layout.outlines) {
      out += "<g id=\"outline-" + std::to_string(d.index) + "\" data-pen=\"" +
             std::to_string(d.pen) + "\" fill=\"none\" stroke-linejoin=\"round\">\n";
      WritePieces(out, d.travel, "travel", d.travelStroke, layout.scale);
      WritePieces(out, d.cut, "cut", d.cutStroke, layout.scale);
      out += "</g>\n";
    }
    out += "</g>\n";
  }
  for (const TShape& s : layout.above) {
    WriteShape(out, s);
  }
  out += "</svg>\n";
  return out;
}

}  // namespace preview

namespace hpgl {

std::string DrawPreviewSvg(const Program& program, const CheckReport& report,
                           const PreviewOptions& options) {
  preview::TPreviewInput input;
  input.title = options.title;
  input.workArea = options.workArea;
  input.advice = options.advice;
  return preview::WriteSvg(preview::LayOutProgram(program, report, input, preview::PageTarget()));
}

}  // namespace hpgl
