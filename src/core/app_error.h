// An operation that cannot go on throws AppError with the Japanese text the user
// would be told. The trampolines of src/win catch what escapes a handler; docs/design.md
// lists the few other places that catch, and why.
#pragma once

#include <stdexcept>
#include <string>

namespace tavisnap {

class AppError : public std::runtime_error {
 public:
  explicit AppError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace tavisnap
