#include "core/settings_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavisnap {
namespace {

std::vector<std::string> Lines(const SettingsList& list) {
  std::vector<std::string> lines;
  for (const auto& e : list) lines.push_back(e.name + "=" + e.value);
  return lines;
}

TEST(SettingsList, LooksUpWithoutRegardToAsciiCaseAndReadsAbsentAsEmpty) {
  SettingsList list;
  EXPECT_EQ(list.Get("SYSTEM.MAILID"), "");
  list.Set("SYSTEM.MailId", "a@b.jp");
  EXPECT_EQ(list.Get("system.MAILID"), "a@b.jp");
  EXPECT_EQ(list.Get("SYSTEM.MAILID2"), "");
  // Only ASCII letters fold: full-width letters are different characters.
  list.Set("MAILLIST.ＮＡＭＥ1", "x");
  EXPECT_EQ(list.Get("MAILLIST.ｎａｍｅ1"), "");
}

TEST(SettingsList, ReplacesInPlaceAppendsAtEndAndRemovesOnEmpty) {
  SettingsList list;
  list.Set("SYSTEM.A", "1");
  list.Set("SYSTEM.B", "2");
  list.Set("SYSTEM.C", "3");
  list.Set("system.a", "one");  // keeps its place and its first spelling
  list.Set("SYSTEM.D", "4");
  EXPECT_EQ(Lines(list),
            (std::vector<std::string>{"SYSTEM.A=one", "SYSTEM.B=2", "SYSTEM.C=3", "SYSTEM.D=4"}));
  list.Set("SYSTEM.B", "");
  list.Set("SYSTEM.NONE", "");  // removing what is absent changes nothing
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"SYSTEM.A=one", "SYSTEM.C=3", "SYSTEM.D=4"}));
  // Entries after a removed one are still found and updated, not duplicated.
  list.Set("SYSTEM.D", "four");
  list.Set("SYSTEM.B", "back");
  EXPECT_EQ(list.Get("system.d"), "four");
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"SYSTEM.A=one", "SYSTEM.C=3", "SYSTEM.D=four",
                                                   "SYSTEM.B=back"}));
  list.Clear();
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(list.Get("SYSTEM.A"), "");
  list.Set("SYSTEM.A", "again");
  EXPECT_EQ(list.size(), 1u);
}

}  // namespace
}  // namespace tavisnap
