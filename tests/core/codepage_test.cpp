// Built twice: natively against the glibc-based converter and as a Wine test against
// Windows' own, so that both must pass the same cases.
#include "core/codepage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "core/cp932_table.h"

namespace tavisnap {
namespace {

using namespace std::string_literals;

TEST(Codepage, JapaneseRoundTripsThroughCp932) {
  const std::string text = "タビスナップ送信中（確認）ｾｯﾄｱｯﾌﾟ①～∥￢";
  std::string bytes = Utf8ToCp932(text);
  EXPECT_EQ(bytes.substr(0, 2), "\x83\x5E");  // タ
  EXPECT_EQ(Cp932ToUtf8(bytes), text);
}

TEST(Codepage, WritesWhatTheCodePageLacksAsQuestionMarksAndTheJisFormsAsCounterparts) {
  struct Case {
    std::string utf8, cp932;
  } cases[] = {
      {"a\xF0\x9F\x98\x80"
       "b",
       "a??b"},  // an emoji: two UTF-16 units
      {"é", "?"},
      // Look-alikes that best fit would write as \ ~ - and friends.
      {"¥‾—", "???"},
      // The JIS forms as their counterparts ～ ∥ － ￠ ￡ ￢, which read back as those.
      {"〜‖−¢£¬", "\x81\x60\x81\x61\x81\x7C\x81\x91\x81\x92\x81\xCA"},
      {"\u0080\uF8F0\uF8F1\uF8F2\uF8F3", "\x80\xA0\xFD\xFE\xFF"},  // what those bytes read as
      // Each malformed UTF-8 sequence is one "?", and only that sequence.
      {"a\xFF"
       "b\xE3\x82"
       "c\xC0\xAF"
       "タ",
       "a?b?c??\x83\x5E"},
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8ToCp932(c.utf8), c.cp932) << c.utf8;
  EXPECT_FALSE(IsCp932Representable(U'\U0001F600'));
  EXPECT_FALSE(IsCp932Representable(U'¥'));
  EXPECT_FALSE(IsCp932Representable(U'〜'));
  EXPECT_TRUE(IsCp932Representable(U'漢'));
  EXPECT_TRUE(IsCp932Representable(U'\u0080'));
}

TEST(Codepage, BytesThatAreNoCharacterReadAsTheDefaultCharacter) {
  struct Case {
    std::string cp932, utf8;
  } cases[] = {
      {"A\x81", "A・"},     // a lead byte at the end
      {"A\x81 B", "A・B"},  // takes any byte but NUL as its trail byte
      {"A\x81\n", "A・"},   // even a line break: split lines first
      {"A\x81\0B"s, "A・\0B"s},
      {"\x85\x40\xEF\xFC", "・・"},  // pairs the code page leaves empty
      {"\x80\xA0\xFD\xFE\xFF", "\u0080\uF8F0\uF8F1\uF8F2\uF8F3"},
      {"\x87\x90\xED\x40\xFA\x5C", "≒纊纊"},  // NEC and IBM duplicates
  };
  for (const Case& c : cases) EXPECT_EQ(Cp932ToUtf8(c.cp932), c.utf8) << c.utf8;
  // Duplicates are written under one of their codes.
  EXPECT_EQ(Utf8ToCp932("≒纊"), "\x81\xE0\xFA\x5C");
}

TEST(Codepage, CharacterSizesFollowTheDecoder) {
  const std::string bytes = "a\x83\x5E\x81\n\x81"s;
  std::vector<size_t> sizes;
  for (size_t i = 0; i < bytes.size(); i += Cp932CharSize(bytes, i)) {
    sizes.push_back(Cp932CharSize(bytes, i));
  }
  EXPECT_EQ(sizes, (std::vector<size_t>{1, 2, 2, 1}));
  EXPECT_EQ(Cp932CharSize("\x81\0"s, 0), 1u);
}

TEST(Codepage, Utf8DecoderRejectsMalformedInput) {
  std::u32string cps;
  EXPECT_TRUE(DecodeUtf8("\xE3\x82\xBF", cps));
  EXPECT_EQ(cps, U"タ");
  EXPECT_FALSE(DecodeUtf8("\xE3\x82", cps));          // cut short
  EXPECT_FALSE(DecodeUtf8("\xC0\xAF", cps));          // overlong
  EXPECT_FALSE(DecodeUtf8("\xED\xA0\x80", cps));      // surrogate
  EXPECT_FALSE(DecodeUtf8("\xF4\x90\x80\x80", cps));  // past U+10FFFF
  EXPECT_FALSE(DecodeUtf8("\x83\x5E", cps));          // Shift-JIS bytes
}

TEST(Codepage, LostCharactersAreThoseTheConversionWritesAsQuestionMarks) {
  struct Case {
    std::string utf8;
    std::u32string lost;
  } cases[] = {
      {"山田太郎ｱ①", U""},
      {"𠮷田", U"𠮷"},
      {"a😀b😀?", U"😀"},  // once, and a typed "?" is no loss
      {"é¥タ", U"é¥"},
      {"a\xFF"
       "b",
       U"\uFFFD"},
  };
  for (const Case& c : cases) EXPECT_EQ(Cp932LostCharacters(c.utf8), c.lost) << c.utf8;
}

TEST(Codepage, EveryCodeConvertsAsOnWindows) {
  // Where a block that differs is written: the Wine test's output folder, the build's.
  std::filesystem::path folder = std::filesystem::temp_directory_path();
  if (const char* wine = std::getenv("TAVISNAP_TEST_OUTPUT")) {
    folder = U8Path(wine);
  } else if (const char* build = std::getenv("TAVISNAP_BINARY_DIR")) {
    folder = U8Path(build) / "test-output";
    std::filesystem::create_directories(folder);
  }
#ifdef _WIN32
  testing::ExpectWindowsCp932(folder, "windows");
#else
  testing::ExpectWindowsCp932(folder, "native");
#endif
}

}  // namespace
}  // namespace tavisnap
