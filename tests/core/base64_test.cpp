#include "core/base64.h"

#include <gtest/gtest.h>

#include <string>

#include "core/password_store.h"

namespace tavisnap {
namespace {

using namespace std::string_literals;

TEST(Base64, EncodesWithFillToWholeGroups) {
  EXPECT_EQ(EncodeBase64String("abc"), "YWJj");
  EXPECT_EQ(EncodeBase64String("ab"), "YWI=");
  EXPECT_EQ(EncodeBase64String("a"), "YQ==");
  EXPECT_EQ(EncodeBase64String(""), "");
  EXPECT_EQ(EncodeBase64String("\xFB\xFF\xBF"), "+/+/");
  // Long input gets no line breaks.
  EXPECT_EQ(EncodeBase64String(std::string(100, 'x')).find('\n'), std::string::npos);
}

TEST(Base64, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  for (size_t len = 0; len <= all.size(); len += 37) {
    std::string bytes = all.substr(all.size() - len);
    EXPECT_EQ(DecodeBase64String(EncodeBase64String(bytes)), bytes) << len;
  }
}

TEST(Base64, DecodesValidAndUnpaddedText) {
  EXPECT_EQ(DecodeBase64String("YWJj"), "abc");
  EXPECT_EQ(DecodeBase64String("YWI="), "ab");
  EXPECT_EQ(DecodeBase64String("YQ=="), "a");
  EXPECT_EQ(DecodeBase64String("YWI"), "ab");
  EXPECT_EQ(DecodeBase64String(""), "");
}

TEST(Base64, TheFirstFillCharacterEndsTheData) {
  EXPECT_EQ(DecodeBase64String("YQ==YWJj"), "a");
  EXPECT_EQ(DecodeBase64String("YQ=garbage!"), "a");
  EXPECT_EQ(DecodeBase64String("=YWJj"), "");
  EXPECT_EQ(DecodeBase64String("YWJj=YWJj"), "abc");
}

TEST(Base64, LeftOverBitsBeforeFillGiveOneMoreByte) {
  EXPECT_EQ(DecodeBase64String("YR=="), "a\x10"s);   // after two characters
  EXPECT_EQ(DecodeBase64String("Y="), "\x60"s);      // after one
  EXPECT_EQ(DecodeBase64String("YWJ="), "ab\x40"s);  // after three
  EXPECT_EQ(DecodeBase64String("A="), "");           // zero bits add nothing
  // Without a fill character the incomplete group's bits are dropped.
  EXPECT_EQ(DecodeBase64String("YR"), "a");
  EXPECT_EQ(DecodeBase64String("Y"), "");
}

TEST(Base64, CharactersOutsideTheAlphabetCountAsSlash) {
  EXPECT_EQ(DecodeBase64String("YW!j"), DecodeBase64String("YW/j"));
  EXPECT_EQ(DecodeBase64String("\xE3\x81\x82"
                               "A"),
            DecodeBase64String("///A"));
  // A line break is two such characters: what follows is shifted, not resynchronised.
  EXPECT_EQ(DecodeBase64String("YWJj\r\nYWJj"), "abc\xFF\xF6\x16&"s);
}

TEST(PasswordText, StoresTheCodePage932BytesOfThePassword) {
  EXPECT_EQ(EncodePasswordText("pass!#$"), EncodeBase64String("pass!#$"));
  EXPECT_EQ(DecodePasswordText(EncodePasswordText("pass!#$")), "pass!#$");
  EXPECT_EQ(EncodePasswordText("ア"), EncodeBase64String("\x83\x41"));
  EXPECT_EQ(DecodePasswordText("g0E="), "ア");
}

TEST(PasswordText, DamagedTextDecodesFromItsCodePage932Bytes) {
  // あ is two bytes, 82 A0, outside the alphabet: "//YWJj" (its UTF-8 form would be three).
  EXPECT_EQ(DecodePasswordBytes("あYWJj"), "\xFF\xF6\x16\x26"s);
  EXPECT_EQ(DecodePasswordBytes("ｱYWJj"), DecodeBase64String("/YWJj"));  // half-width: one byte
}

}  // namespace
}  // namespace tavisnap
