// Turning the bytes of a service answer into the text the callers inspect.
#pragma once

#include <string>
#include <string_view>

namespace tavisnap {

// The text without any "?".
std::string CleanResponseText(std::string_view text);

// The answer bytes as UTF-8 text: empty when they are not valid UTF-8; characters code
// page 932 cannot hold (the byte-order mark among them) are dropped, and so is every "?".
std::string DecodeResponseText(std::string_view bytes);

// The bytes without an incomplete UTF-8 sequence at their end (an answer cut at a limit).
std::string_view TrimPartialUtf8(std::string_view bytes);

}  // namespace tavisnap
