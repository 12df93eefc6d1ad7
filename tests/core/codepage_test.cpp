#include "core/codepage.h"

#include <gtest/gtest.h>

namespace tavisnap {
namespace {

TEST(Codepage, JapaneseRoundTripsThroughCp932) {
  const std::string text = "タビスナップ送信中（確認）ｾｯﾄｱｯﾌﾟ①";
  std::string bytes = Utf8ToCp932(text);
  EXPECT_EQ(bytes.substr(0, 2), "\x83\x5E");  // タ
  EXPECT_EQ(Cp932ToUtf8(bytes), text);
}

TEST(Codepage, CharactersOutsideCp932BecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp932("a\xF0\x9F\x98\x80" "b"), "a?b");  // an emoji
  EXPECT_FALSE(IsCp932Representable(U'\U0001F600'));
  EXPECT_TRUE(IsCp932Representable(U'漢'));
  EXPECT_FALSE(IsCp932Representable(U'\u00E9'));  // é has no Shift-JIS form
}

TEST(Codepage, InvalidCp932BytesAreMarkedNotDropped) {
  // 0x81 0x20 is a lead byte followed by a byte that cannot trail it.
  std::string out = Cp932ToUtf8(std::string("A\x81") + "\x20" + "B");
  EXPECT_EQ(out.front(), 'A');
  EXPECT_EQ(out.back(), 'B');
  EXPECT_NE(out.find("\xEF\xBF\xBD"), std::string::npos);
}

TEST(Codepage, Utf8DecoderRejectsMalformedInput) {
  std::u32string cps;
  EXPECT_TRUE(DecodeUtf8("\xE3\x82\xBF", cps));
  EXPECT_EQ(cps, U"タ");
  EXPECT_FALSE(DecodeUtf8("\xE3\x82", cps));          // cut short
  EXPECT_FALSE(DecodeUtf8("\xC0\xAF", cps));          // overlong
  EXPECT_FALSE(DecodeUtf8("\xED\xA0\x80", cps));      // surrogate
  EXPECT_FALSE(DecodeUtf8("\x83\x5E", cps));          // Shift-JIS bytes
}

}  // namespace
}  // namespace tavisnap
