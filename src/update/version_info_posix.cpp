// Natively there is no program file with a version block.
#include "update/version_info.h"

namespace tavisnap {

VersionBlock OwnVersionBlock() {
  return {};
}

}  // namespace tavisnap
