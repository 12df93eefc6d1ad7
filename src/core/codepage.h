// Code page 932 (Shift-JIS as Windows has it) at the edges of the program: the
// settings file, CSV files and the service's text fields. Inside, text is UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace tavisnap {

// UTF-8 -> code page 932. Characters the code page lacks become "?".
std::string Utf8ToCp932(std::string_view utf8);

// Code page 932 -> UTF-8. Bytes that are no valid code page 932 become U+FFFD.
std::string Cp932ToUtf8(std::string_view cp932);

// Whether the code point can be written in code page 932.
bool IsCp932Representable(char32_t codepoint);

// UTF-8 validation and decoding; DecodeUtf8 returns false for invalid input.
bool DecodeUtf8(std::string_view utf8, std::u32string& out);
void AppendUtf8(std::string& out, char32_t codepoint);

}  // namespace tavisnap
