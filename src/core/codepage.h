// Code page 932 (Shift-JIS as Windows has it) at the edges of the program: the
// settings file, CSV files and the service's text fields. Inside, text is UTF-8.
//
// Both builds convert as Windows does (MultiByteToWideChar(932) and
// WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS) with "?" as the default character, the
// six JIS forms below aside), so that what the native tests see is what the program does.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tavisnap {

// The six characters whose Unicode form differs between JIS and code page 932 (〜 ‖ − ¢ £
// ¬, as mail and web pages write them) as their code page 932 counterparts (～ ∥ － ￠ ￡
// ￢), which Windows writes for them when a program converts without flags; every other
// character as it is.
char32_t Cp932Counterpart(char32_t codepoint);

// UTF-8 -> code page 932. The six JIS forms are written as their counterparts' codes;
// other characters the code page lacks become "?" (two for one beyond U+FFFF, one for
// each UTF-16 unit), and so does each malformed UTF-8 sequence (that sequence only; the
// rest converts).
std::string Utf8ToCp932(std::string_view utf8);

// Code page 932 -> UTF-8. A lead byte takes the next byte as its trail byte unless that
// is NUL or missing; a pair the code page does not define, and a lead byte without a
// trail byte, become "・" (U+30FB). The bytes 0x80, 0xA0 and 0xFD-0xFF become U+0080 and
// U+F8F0-U+F8F3, which convert back to the same bytes.
std::string Cp932ToUtf8(std::string_view cp932);

// How many bytes the character at bytes[i] takes in Cp932ToUtf8 (1 or 2). Lets a
// parser split code page 932 text at ASCII characters without cutting a character.
inline bool IsCp932LeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
inline size_t Cp932CharSize(std::string_view bytes, size_t i) {
  return IsCp932LeadByte(static_cast<unsigned char>(bytes[i])) && i + 1 < bytes.size() &&
                 bytes[i + 1] != '\0'
             ? 2
             : 1;
}

// Whether the code point has a code of its own in code page 932 (the six JIS forms have
// not: their codes read back as the counterparts).
bool IsCp932Representable(char32_t codepoint);

// UTF-8 validation and decoding; DecodeUtf8 returns false for invalid input.
bool DecodeUtf8(std::string_view utf8, std::u32string& out);
void AppendUtf8(std::string& out, char32_t codepoint);

// The code point at utf8[i], advancing i; a malformed sequence gives kBadUtf8 and
// advances past its longest valid-looking start (at least one byte), as Windows does.
inline constexpr char32_t kBadUtf8 = 0xFFFFFFFF;
char32_t NextUtf8(std::string_view utf8, size_t& i);

// The characters of the UTF-8 text that Utf8ToCp932 turns into "?", each once, in the
// order they first appear; a malformed sequence counts as U+FFFD. Empty when the text
// survives the conversion.
std::u32string Cp932LostCharacters(std::string_view utf8);

}  // namespace tavisnap
