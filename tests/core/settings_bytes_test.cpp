// What a save does to the bytes of system.ini that it has no reason to touch. Built
// natively and as part of a Wine test, so that it runs with both conversions.
#include <gtest/gtest.h>

#include <string>

#include "core/settings_file.h"
#include "support/temp_dir.h"

namespace tavisnap {
namespace {

using namespace std::string_literals;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

class SettingsBytesTest : public ::testing::Test {
 protected:
  SettingsList Read() {
    SettingsList list;
    EXPECT_TRUE(ReadSettingsFile(path_, list));
    return list;
  }

  TempDir dir_;
  std::string path_ = dir_ / "system.ini";
};

TEST_F(SettingsBytesTest, ALeadByteBeforeALineBreakDoesNotSwallowTheBreak) {
  WriteBytes(path_, "[MAILLIST]\nNAME1=ab\x81\nNAME2=cd\n");
  SettingsList list = Read();
  EXPECT_EQ(list.size(), 2u);
  EXPECT_EQ(list.Get("MAILLIST.NAME1"), "ab・");
  EXPECT_EQ(list.Get("MAILLIST.NAME2"), "cd");
  list.Set("MAILLIST.MAIL2", "c@d.jp");
  SaveSettings(path_, list);
  EXPECT_EQ(ReadBytes(path_), "[MAILLIST]\r\nNAME1=ab\x81\r\nNAME2=cd\r\nMAIL2=c@d.jp\r\n\r\n");
}

TEST_F(SettingsBytesTest, UntouchedLinesKeepEveryByte) {
  // Each line as installed, followed by what the list reads from it.
  struct Case {
    std::string line, entry, value;
  } cases[] = {
      {"DST_NAME=\x87\x90\x87\x9C\x89\xD4", "SYSTEM.DST_NAME", "≒∪花"},  // NEC row 13
      {"NAME1=\xED\x40\xEE\xFC", "SYSTEM.NAME1", "纊＂"},  // NEC-selected IBM extensions
      {"NAME2=\x80|\xA0|\xFD\xFE\xFF", "SYSTEM.NAME2", "\u0080|\uF8F0|\uF8F1\uF8F2\uF8F3"},
      {"NAME3=\x85\x40\x81", "SYSTEM.NAME3", "・・"},      // no character; a lead byte alone
      {"NAME4=\x81\x20\x89\xD4", "SYSTEM.NAME4", "・花"},  // a lead byte takes the blank
      {"; \x87\x90 \xED\x40 \xFF", "", ""},                // a comment
      {"\x89\xD4\x8E\x71 \x87\x90", "", ""},               // no "="
  };
  std::string file = "[SYSTEM]\r\nMAILID=a@b.jp\r\n";
  for (const Case& c : cases) file += c.line + "\r\n";
  file += "\r\n[\x87\x90]\r\nK=\xED\x40\r\n\r\n";
  WriteBytes(path_, file);

  SettingsList list = Read();
  for (const Case& c : cases) {
    if (!c.entry.empty()) {
      EXPECT_EQ(list.Get(c.entry), c.value) << c.line;
    }
  }
  EXPECT_EQ(list.Get("≒.K"), "纊");
  list.Set("SYSTEM.MAILID", "new@b.jp");
  list.Set("SYSTEM.DST_NAME", "≒∪花");  // the value it has
  SaveSettings(path_, list);
  std::string expected = file;
  expected.replace(expected.find("a@b.jp"), 6, "new@b.jp");
  EXPECT_EQ(ReadBytes(path_), expected);
}

TEST_F(SettingsBytesTest, AValueThatIsNoTextSpoilsOnlyItsOwnLine) {
  WriteBytes(path_, "[MAILLIST]\r\nNAME1=\x89\xD4\x8E\x71\r\n\r\n");
  SettingsList list = Read();
  list.Set("MAILLIST.NAME2",
           "\xFF\xFE"
           "太郎");  // not UTF-8
  list.Set("MAILLIST.NAME3", "二郎");
  SaveSettings(path_, list);
  EXPECT_EQ(ReadBytes(path_),
            "[MAILLIST]\r\nNAME1=\x89\xD4\x8E\x71\r\nNAME2=??\x91\xBE\x98\x59\r\n"
            "NAME3=\x93\xF1\x98\x59\r\n\r\n");
}

TEST_F(SettingsBytesTest, AChangedValueIsWrittenInTheCodesWindowsChooses) {
  WriteBytes(path_, "[SYSTEM]\r\nDST_NAME=\x87\x90\r\n");
  SettingsList list = Read();
  list.Set("SYSTEM.DST_NAME", "≒纊¥");  // NEC and IBM duplicates; ¥ has no code
  SaveSettings(path_, list);
  EXPECT_EQ(ReadBytes(path_), "[SYSTEM]\r\nDST_NAME=\x81\xE0\xFA\x5C?\r\n\r\n");
}

}  // namespace
}  // namespace tavisnap
