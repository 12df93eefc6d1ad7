// The answer clean-up and the part types, without a network.
#include <gtest/gtest.h>

#include "service/multipart_body.h"
#include "service/response_text.h"

namespace tavisnap {
namespace {

TEST(ResponseTextTest, QuestionMarksGoWherever) {
  EXPECT_EQ(CleanResponseText("1?"), "1");
  EXPECT_EQ(CleanResponseText("?a??b?"), "ab");
  EXPECT_EQ(CleanResponseText("???"), "");
  EXPECT_EQ(DecodeResponseText("\x31\x3F"), "1");
}

TEST(ResponseTextTest, KeepsWhatCodePage932HoldsAndDropsTheRest) {
  // Kanji, kana, half-width kana and NEC circled digits are in the code page; an emoji,
  // an accented Latin letter and the byte-order mark are not.
  EXPECT_EQ(DecodeResponseText("①送信しましたｱ"), "①送信しましたｱ");
  EXPECT_EQ(DecodeResponseText("送信😀しましたé?"), "送信しました");
  EXPECT_EQ(DecodeResponseText("9時〜17時−¢"), "9時～17時－￠");
  EXPECT_EQ(DecodeResponseText("\xEF\xBB\xBF"
                               "1,1"),
            "1,1");
}

TEST(ResponseTextTest, InvalidUtf8GivesNothing) {
  EXPECT_EQ(DecodeResponseText("\x82\xA0\x82\xA2"), "");  // Shift-JIS
  EXPECT_EQ(DecodeResponseText("1\xC3"), "");             // cut sequence
  EXPECT_EQ(DecodeResponseText("\xED\xA0\x80"), "");      // surrogate
  EXPECT_EQ(DecodeResponseText(""), "");
}

TEST(ResponseTextTest, TrimPartialUtf8DropsOnlyAnIncompleteTail) {
  EXPECT_EQ(TrimPartialUtf8("ab\xE3\x81"), "ab");
  EXPECT_EQ(TrimPartialUtf8("ab\xE3"), "ab");
  EXPECT_EQ(TrimPartialUtf8("ab\xF0\x9F\x98"), "ab");
  EXPECT_EQ(TrimPartialUtf8("abあ"), "abあ");
  EXPECT_EQ(TrimPartialUtf8("ab😀"), "ab😀");
  EXPECT_EQ(TrimPartialUtf8("abc"), "abc");
  EXPECT_EQ(TrimPartialUtf8(""), "");
}

TEST(ContentTypeTest, JpegByExtensionInAnyCase) {
  EXPECT_EQ(ContentTypeForPath("C:\\a\\capture.jpg"), "image/jpeg");
  EXPECT_EQ(ContentTypeForPath("/tmp/x.JPEG"), "image/jpeg");
  EXPECT_EQ(ContentTypeForPath("x.Jpe"), "image/jpeg");
  EXPECT_EQ(ContentTypeForPath("x.bmp"), "application/octet-stream");
  EXPECT_EQ(ContentTypeForPath("x.jpg.txt"), "application/octet-stream");
  EXPECT_EQ(ContentTypeForPath("C:\\a.jpg\\file"), "application/octet-stream");
  EXPECT_EQ(ContentTypeForPath("noextension"), "application/octet-stream");
}

}  // namespace
}  // namespace tavisnap
