// Number and integer text: parsing any text is safe, and a value that is written and read back
// gives the same text again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/NumberText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string_view separators[] = {".", ","};

  if (const auto value = platform::ParseNumber(text, separators)) {
    for (const char* separator : {".", ","}) {
      const std::string written = platform::FormatNumber(*value, separator);
      const auto back = platform::ParseNumber(written, separators);
      if (!back || platform::FormatNumber(*back, separator) != written) {
        std::abort();
      }
    }
  }
  if (const auto value = platform::ParseInteger(text)) {
    if (platform::ParseInteger(platform::FormatInteger(*value)) != value) {
      std::abort();
    }
  }
  // The raw bytes as a double: every finite value survives the round trip.
  if (size >= sizeof(double)) {
    double value;
    std::memcpy(&value, data, sizeof value);
    const std::string written = platform::FormatNumber(value, ",");
    if (const auto back = platform::ParseNumber(written, separators)) {
      if (platform::FormatNumber(*back, ",") != written) {
        std::abort();
      }
    } else if (written != "INF" && written != "-INF" && written != "NAN") {
      std::abort();
    }
  }
  return 0;
}
