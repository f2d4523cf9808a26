// The command-line scan and the configuration file on any input. The bytes are split into
// parameters at NUL bytes; the first parameter is the configuration file's content.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/AppConfiguration.h"
#include "locale/LocaleUtl.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> params(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      params.emplace_back();
    } else {
      params.back() += static_cast<char>(data[i]);
    }
  }
  GetLanguageIdByName(params.front());
  SetConfigDefaults();
  ReadCommandLine(std::vector<std::string>(params.begin() + 1, params.end()));
  return 0;
}
