#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "core/app_error.h"
#include "core/define.h"
#include "core/load_settings.h"
#include "core/settings_file.h"
#include "support/globals.h"
#include "support/temp_dir.h"
#include "win/text_win.h"

namespace tavisnap {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// Loading fills the process-wide settings and paths.
class SettingsFileWin : public ::testing::Test {
 protected:
  void SetUp() override { testing::ResetGlobals(); }
  void TearDown() override { testing::ResetGlobals(); }
};

TEST_F(SettingsFileWin, JapaneseNamesAreCodePage932OnDiskAndReadBack) {
  TempDir dir;
  // The file as installed: Shift-JIS comment and values; the comment stays.
  WriteBytes(dir / "system.ini",
             "; \x83\x5E\x83\x72\r\n[SYSTEM]\r\nDST_NAME=\x89\xD4\x8E\x71\r\n");  // 花子
  ASSERT_TRUE(
      LoadSettingsFrom({dir.str(), dir / "Roaming", dir / "Local"}, [] { return std::string(); }));
  EXPECT_EQ(SysInfo.DstName, "花子");
  EXPECT_EQ(IniPath, dir / "Roaming\\system.ini");
  EXPECT_EQ(CaptureFile, dir / "Local\\capture\\capture.jpg");

  Settings.Set("MAILLIST.NAME1", "タビ太郎");
  ASSERT_TRUE(SaveSettings(IniPath, Settings));
  EXPECT_EQ(ReadBytes(IniPath),
            "; \x83\x5E\x83\x72\r\n[SYSTEM]\r\nDST_NAME=\x89\xD4\x8E\x71\r\n\r\n"
            "[MAILLIST]\r\nNAME1=\x83\x5E\x83\x72\x91\xBE\x98\x59\r\n\r\n");
  SettingsList reread;
  ASSERT_TRUE(ReadSettingsFile(IniPath, reread));
  EXPECT_EQ(reread.Get("MAILLIST.NAME1"), "タビ太郎");
}

TEST_F(SettingsFileWin, SavingReplacesTheFileAndRespectsTheReadOnlyAttribute) {
  TempDir dir;
  const std::string path = dir / "system.ini";
  SettingsList list;
  list.Set("SYSTEM.MAILID", "a@b.jp");
  SaveSettings(path, list);
  list.Set("SYSTEM.MAILID", "c@d.jp");
  SaveSettings(path, list);  // over an existing file
  EXPECT_EQ(ReadBytes(path), "[SYSTEM]\r\nMAILID=c@d.jp\r\n\r\n");

  SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_READONLY);
  list.Set("SYSTEM.MAILID", "e@f.jp");
  try {
    SaveSettings(path, list);
    ADD_FAILURE() << "saved over a read-only file";
  } catch (const AppError& e) {
    EXPECT_STREQ(e.what(), "書き込みエラー(INIファイル)");
  }
  EXPECT_EQ(ReadBytes(path), "[SYSTEM]\r\nMAILID=c@d.jp\r\n\r\n");
  SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
}  // namespace tavisnap
