#include "app/StartWindow.h"

#include "base/AppError.h"

// This build holds the Qt-free core only: the window is not part of it.
int StartWindow(int, char**, const std::string&) {
  throw EAppError(TErrorId::NoWindow);
}
