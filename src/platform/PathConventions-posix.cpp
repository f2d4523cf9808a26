#include "platform/PathConventions.h"

namespace platform {

const PathConventions& HostConventions() {
  return kPosixConventions;
}

}  // namespace platform
