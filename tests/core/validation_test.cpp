#include "core/validation.h"

#include <gtest/gtest.h>

#include <string>

namespace tavisnap {
namespace {

TEST(IsValidMailAddress, AcceptsAnyOrderAndRepetitionOfAtAndDotInside) {
  for (const char* text :
       {"taro@example.jp", "ta.ro@example", "a@@b.c", "a@b..c", "a@.b", "A_b-9@x.Y", "a.b@c@d"}) {
    EXPECT_TRUE(IsValidMailAddress(text)) << text;
  }
}

TEST(IsValidMailAddress, RefusesEdgesMissingPartsAndForeignCharacters) {
  for (const char* text : {"", "@a.b", "a.b@", ".a@b", "a@b.", "a@b", "a.b", "@", ".", "a @b.c",
                           "a+b@c.d", "a@b.c\t", "あ@b.c", "a@b.ｊｐ", "a@\x83\x41.c"}) {
    EXPECT_FALSE(IsValidMailAddress(text)) << text;
  }
}

TEST(IsValidPassword, AcceptsPrintableAsciiWithoutBlankAtAnyLength) {
  EXPECT_TRUE(IsValidPassword("!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~"));
  EXPECT_TRUE(IsValidPassword("a"));
  EXPECT_TRUE(IsValidPassword(std::string(200, 'Z')));
  for (const char* text : {"", " ", "pass word", "pass\x7F", "ｐass", "パス", "tab\t"}) {
    EXPECT_FALSE(IsValidPassword(text)) << text;
  }
}

}  // namespace
}  // namespace tavisnap
