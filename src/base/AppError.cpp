#include "base/AppError.h"

#include <utility>

namespace {

// what() is for logs and test failures only: the identity's number and the arguments. The user's
// text comes from the error table.
std::string Diagnostic(TErrorId id, const std::vector<std::string>& args,
                       const std::string& reason) {
  std::string text = "error " + std::to_string(static_cast<int>(id));
  for (std::size_t i = 0; i < args.size(); ++i) {
    text += (i == 0 ? ": " : ", ") + args[i];
  }
  if (!reason.empty()) {
    text += " (" + reason + ")";
  }
  return text;
}

}  // namespace

EAppError::EAppError(TErrorId id, std::vector<std::string> args, std::error_code reason)
    : std::runtime_error(Diagnostic(id, args, reason ? reason.message() : std::string())),
      FId(id),
      FArgs(std::move(args)),
      FReason(reason) {}

EAppError::EAppError(TErrorId id, std::vector<std::string> args, const EAppError& cause)
    : std::runtime_error(Diagnostic(id, args, cause.what())),
      FId(id),
      FArgs(std::move(args)),
      FCause(std::make_shared<const EAppError>(cause)) {}
