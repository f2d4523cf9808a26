#include "platform/PathConventions.h"

namespace platform {

const PathConventions& HostConventions() {
  return kWindowsConventions;
}

}  // namespace platform
