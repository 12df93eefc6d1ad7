#include "core/settings_change.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/temp_dir.h"

namespace tavisnap {
namespace {

TEST(SettingsChange, TheListTakesTheChangeOnlyOnceTheFileHasIt) {
  testing::TempDir dir;
  SettingsList list;
  list.Set("SYSTEM.MAILID", "a@example.jp");

  SettingsChange saved(list);
  saved.Set("SYSTEM.MAILID", "b@example.jp");
  EXPECT_EQ(saved.TrySave(dir / "system.ini"), std::nullopt);
  EXPECT_EQ(list.Get("SYSTEM.MAILID"), "b@example.jp");

  SettingsChange failed(list);
  failed.Set("SYSTEM.MAILID", "c@example.jp");
  failed.Set("SYSTEM.AUTOLOGIN", "1");
  EXPECT_EQ(failed.TrySave(dir / "no-such-folder/system.ini"), "書き込みエラー(INIファイル)");
  EXPECT_EQ(list.Get("SYSTEM.MAILID"), "b@example.jp");
  EXPECT_EQ(list.Get("SYSTEM.AUTOLOGIN"), "");
}

}  // namespace
}  // namespace tavisnap
