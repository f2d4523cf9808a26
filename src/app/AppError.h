// The one exception type for the program's own failures. Its text is exactly what the user sees.
#pragma once

#include <stdexcept>
#include <string>

class EAppError : public std::runtime_error {
 public:
  explicit EAppError(const std::string& message) : std::runtime_error(message) {}
};
