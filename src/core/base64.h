// Base64 of the saved password. Both functions work on bytes: the password's bytes are
// its code page 932 form, and the conversion from and to UTF-8 is the caller's (see
// EncodePasswordText / DecodePasswordText in password_store.h).
#pragma once

#include <string>
#include <string_view>

namespace tavisnap {

// Standard Base64 with "=" fill to whole groups of four, no line breaks.
std::string EncodeBase64String(std::string_view bytes);

// Lenient decoding, compatible with what earlier versions stored: a character outside
// the alphabet counts as "/", unpadded text is accepted, the first "=" ends the data
// (with one more byte when the bits left over before it are not all zero), and the bits
// of an incomplete last group without "=" are dropped. Never fails.
std::string DecodeBase64String(std::string_view text);

}  // namespace tavisnap
