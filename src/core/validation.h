// Character checks for what the user types or imports. Text is UTF-8; any character
// outside ASCII is refused (it would be a double-byte character in code page 932).
#pragma once

#include <string_view>

namespace tavisnap {

// Only letters, digits and "_-.@"; at least one "@" and one "." somewhere, neither of
// them first or last. Their number and order do not matter.
bool IsValidMailAddress(std::string_view text);

// Not empty, and only printable ASCII other than the blank (0x21-0x7E). Any length.
bool IsValidPassword(std::string_view text);

}  // namespace tavisnap
