// The mail message as ISO-2022-JP, written the way Windows' code page 50220 writes it.
// The program converts itself because Wine has no code page 50220.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavisnap {

inline constexpr int kCodePageShiftJis = 932;
inline constexpr int kCodePageIso2022Jp = 50220;

// The character written for one that has no code in code page 932.
inline constexpr char kIso2022JpDefaultChar = '?';

// UTF-8 text as ISO-2022-JP bytes: ASCII as it is; every other character through its
// code page 932 code (the six JIS forms through their counterparts', see
// Cp932Counterpart), as JIS X 0208 between ESC $ B and ESC ( B, the NEC special
// characters (row 13) and the NEC-selected IBM extensions (rows 89 to 92) included; IBM
// extensions written as their NEC twins; half-width katakana as the full-width
// letters, one for one (a separate sound mark stays separate). A character code page
// 932 lacks, a user-defined one and a byte that is no UTF-8 become
// kIso2022JpDefaultChar. The text always ends in ASCII mode; every byte is below 0x80.
std::string Utf8ToIso2022Jp(std::string_view utf8);

// ConvertCodePage(932, 50220, text) with the text in UTF-8: the message typed as code
// page 932 characters becomes code page 50220 bytes. The program needs no other pair;
// any other gives the empty string, as a conversion that fails does.
std::string ConvertCodePage(int sourceCodePage, int targetCodePage, std::string_view text);

// The JIS X 0208 code (row + 0x20 in the high byte, cell + 0x20 in the low byte) of a
// code page 932 double-byte code; none for a user-defined code (lead byte 0xF0 to 0xF9)
// or bytes that are no double-byte code.
std::optional<uint16_t> Cp932ToJis(uint16_t code);

}  // namespace tavisnap
