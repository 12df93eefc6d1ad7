#include "core/debug_log.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <string>

namespace tavisnap {
namespace {

TEST(DebugLog, LineHasTheFixedFrame) {
  EXPECT_EQ(BuildDebugLine("2024/04/01", "9:05:07", "キャプチャー画像送信監視タイマー"),
            "[DEBUG:  2024/04/01 9:05:07] |キャプチャー画像送信監視タイマー|");
  EXPECT_EQ(BuildDebugLine("d", "t", ""), "[DEBUG:  d t] ||");
}

TEST(DebugLog, WritesTheLineToStderrOnlyWhenAsked) {
  unsetenv("TAVISNAP_DEBUG");
  ::testing::internal::CaptureStderr();
  DebugLog("quiet");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");

  setenv("TAVISNAP_DEBUG", "1", 1);
  ::testing::internal::CaptureStderr();
  DebugLog("キャプチャー画像送信監視タイマー");
  std::string out = ::testing::internal::GetCapturedStderr();
  unsetenv("TAVISNAP_DEBUG");
  EXPECT_TRUE(std::regex_match(
      out, std::regex(R"(\[DEBUG:  \d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2}\] \|.*\|\n)")))
      << out;
  EXPECT_NE(out.find("|キャプチャー画像送信監視タイマー|"), std::string::npos);
}

}  // namespace
}  // namespace tavisnap
