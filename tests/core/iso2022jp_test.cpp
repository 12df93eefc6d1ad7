// Expected bytes come from public references, not from this converter:
// - RFC 1468 (Japanese Character Encoding for Internet Messages): ESC $ B switches to
//   JIS X 0208, ESC ( B back to ASCII, and a text ends in ASCII.
// - Unicode's JIS0208.TXT (Shift-JIS, JIS X 0208 and Unicode columns): あ 0x2422,
//   ア 0x2522, カ 0x252B, ゛ 0x212B, 。 0x2123, 「 0x2156, 日 0x467C, 本 0x4B5C,
//   語 0x386C; the JIS forms 〜 0x2141, ‖ 0x2142, − 0x215D, ¢ 0x2171, £ 0x2172,
//   ¬ 0x224C.
// - Microsoft's CP932.TXT: the NEC special characters of row 13 (① 0x8740 = JIS 0x2D21,
//   Ⅰ 0x8754 = 0x2D35, № 0x8782 = 0x2D62, ㈱ 0x878A = 0x2D6A) and the NEC-selected IBM
//   extensions that code page 50220 writes for the IBM ones (ⅰ 0xFA40 -> 0xEEEF =
//   0x7C71, 﨑 0xFAB1 -> 0xED95 = 0x7975).
#include "core/iso2022jp.h"

#include <gtest/gtest.h>

#include <string>

#include "core/codepage.h"

namespace tavisnap {
namespace {

const std::string kJ = "\x1b$B";  // to JIS X 0208
const std::string kA = "\x1b(B";  // back to ASCII

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

struct Vector {
  const char* what;
  std::string text;
  std::string bytes;
};

TEST(Iso2022Jp, PublishedVectors) {
  const Vector vectors[] = {
      {"ASCII stays as it is, line ends included", "Hello, 123\r\n~\\", "Hello, 123\r\n~\\"},
      {"empty", "", ""},
      {"kanji", "日本語", kJ + "F|K\\8l" + kA},
      {"mode switches around kana", "aあb", "a" + kJ + "$\"" + kA + "b"},
      {"text ends in ASCII mode", "。「あ", kJ + "!#!V$\"" + kA},
      {"half-width katakana become full-width, the sound mark stays separate", "ｱｶﾞ",
       kJ + "%\"%+!+" + kA},
      {"NEC row 13", "①Ⅰ№㈱", kJ + "-!-5-b-j" + kA},
      {"IBM extensions as their NEC-selected twins", "ⅰ﨑", kJ + "|qyu" + kA},
      {"JIS forms and their code page 932 counterparts alike", "〜‖−¢£¬～∥－￠￡￢",
       kJ + "!A!B!]!q!r\"L!A!B!]!q!r\"L" + kA},
  };
  for (const Vector& v : vectors) {
    EXPECT_EQ(ConvertCodePage(kCodePageShiftJis, kCodePageIso2022Jp, v.text), v.bytes) << v.what;
  }
}

TEST(Iso2022Jp, CharactersWithoutACodeBecomeTheDefaultCharacter) {
  const Vector vectors[] = {
      {"accented letter and an emoji, one mark each", "é\xF0\x9F\x98\x80", "??"},
      {"a near match is no match", "a¥b‾", "a?b?"},
      {"user-defined character", "\xEE\x80\x80", "?"},
      {"default character inside kana returns to ASCII",
       "あé"
       "あ",
       kJ + "$\"" + kA + "?" + kJ + "$\"" + kA},
      {"bytes that are no UTF-8",
       "a\xFF"
       "b",
       "a?b"},
  };
  for (const Vector& v : vectors) EXPECT_EQ(Utf8ToIso2022Jp(v.text), v.bytes) << v.what;
  EXPECT_EQ(ConvertCodePage(kCodePageIso2022Jp, kCodePageShiftJis, "abc"), "") << "no other pair";
}

// The memo holds at most 1024 characters; nothing is cut, least of all inside a
// character, and each character code page 932 lacks takes exactly one default character.
TEST(Iso2022Jp, AFullMessageWithForeignCharactersIsConvertedWhole) {
  std::string text = Repeat("あ", 1000) + Repeat("\xF0\x9F\x98\x80", 24);
  EXPECT_EQ(Utf8ToIso2022Jp(text), kJ + Repeat("$\"", 1000) + kA + Repeat("?", 24));

  std::string alternating = Repeat(
      "\xF0\x9F\x98\x80"
      "漢",
      512);
  EXPECT_EQ(Utf8ToIso2022Jp(alternating), Repeat("?" + kJ + "4A" + kA, 512));
}

TEST(Iso2022Jp, EveryByteIsSevenBit) {
  std::string text;
  for (char32_t cp = 0x80; cp < 0x10000; ++cp) {
    if (cp < 0xD800 || cp > 0xDFFF) AppendUtf8(text, cp);
  }
  for (char c : Utf8ToIso2022Jp(text)) {
    ASSERT_LT(static_cast<unsigned char>(c), 0x80);
  }
}

// Every IBM extension is written as the code of its NEC twin: the code in row 13 or
// in rows 89 to 92 that code page 932 reads as the same character.
TEST(Iso2022Jp, IbmExtensionsTakeTheCodeOfTheirTwin) {
  auto decode = [](uint16_t code) {
    return Cp932ToUtf8(std::string{static_cast<char>(code >> 8), static_cast<char>(code)});
  };
  int checked = 0;
  for (unsigned ibm = 0xFA40; ibm <= 0xFC4B; ++ibm) {
    if ((ibm & 0xFF) < 0x40 || (ibm & 0xFF) > 0xFC || (ibm & 0xFF) == 0x7F) continue;
    std::string character = decode(static_cast<uint16_t>(ibm));
    uint16_t twin = 0;
    for (unsigned nec = 0x8740; nec <= 0xEEFC && !twin; ++nec) {
      if (nec == 0x87A0) nec = 0xED40;  // past row 13, on to the NEC-selected rows
      if (decode(static_cast<uint16_t>(nec)) == character) twin = static_cast<uint16_t>(nec);
    }
    ASSERT_NE(twin, 0) << std::hex << ibm;
    EXPECT_EQ(Cp932ToJis(static_cast<uint16_t>(ibm)), Cp932ToJis(twin)) << std::hex << ibm;
    ++checked;
  }
  EXPECT_EQ(checked, 388);
}

}  // namespace
}  // namespace tavisnap
