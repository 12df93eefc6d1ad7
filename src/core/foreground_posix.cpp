#include "core/foreground.h"

namespace tavisnap {

// No window system to bring anything in front of; lets portable callers link natively.
void ForceForeground() {}

}  // namespace tavisnap
