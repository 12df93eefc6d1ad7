#include "core/settings_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/app_error.h"
#include "core/ascii_text.h"
#include "core/codepage.h"
#include "support/temp_dir.h"

namespace tavisnap {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

std::vector<std::string> Lines(const SettingsList& list) {
  std::vector<std::string> lines;
  for (const auto& e : list) lines.push_back(e.name + "=" + e.value);
  return lines;
}

class SettingsFileTest : public ::testing::Test {
 protected:
  // The file as code page 932 bytes, like the installed one.
  void WriteIni(const std::string& utf8) { WriteBytes(path_, Utf8ToCp932(utf8)); }
  std::string ReadIni() { return Cp932ToUtf8(ReadBytes(path_)); }
  SettingsList Read() {
    SettingsList list;
    EXPECT_TRUE(ReadSettingsFile(path_, list));
    return list;
  }

  TempDir dir_;
  std::string path_ = dir_ / "system.ini";
};

TEST_F(SettingsFileTest, ReadsSectionsKeysAndValuesByTheFileSyntax) {
  WriteIni(
      "KEY=before any section\r\n"
      "; comment\r\n"
      "[ SYSTEM ]\r\n"
      "  MAILID =  a@b.jp  \r\n"
      "\t; indented comment\n"
      "URL=https://x/?a=b\n"
      "no equals sign\r"
      "MAILID=second line with the same key\r\n"
      "DST_NAME=\r\n"
      "[Other]\r\n"
      "k=v\r\n"
      "[system]\r\n"
      "HOTKEY=O\r\n");
  EXPECT_EQ(Lines(Read()),
            (std::vector<std::string>{"SYSTEM.MAILID=a@b.jp", "SYSTEM.URL=https://x/?a=b",
                                      "SYSTEM.HOTKEY=O", "Other.k=v"}));
}

TEST_F(SettingsFileTest, ReadingMergesIntoTheListAndEmptyValuesRemove) {
  SettingsList list;
  EXPECT_FALSE(ReadSettingsFile(path_, list));  // no file yet
  list.Set("SYSTEM.MAILID", "old@b.jp");
  list.Set("SYSTEM.DST_NAME", "old name");
  list.Set("MAILLIST.MAIL1", "kept@b.jp");
  WriteIni("[SYSTEM]\r\nmailid=new@b.jp\r\nDST_NAME=\r\nHOTKEY=S\r\n");
  ASSERT_TRUE(ReadSettingsFile(path_, list));
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"SYSTEM.MAILID=new@b.jp",
                                                   "MAILLIST.MAIL1=kept@b.jp", "SYSTEM.HOTKEY=S"}));
  EXPECT_EQ(list.Get("SYSTEM.DST_NAME"), "");
}

TEST_F(SettingsFileTest, LinesItDoesNotChangeKeepTheirPlacesAndLineBreaks) {
  WriteIni(
      "; installed defaults\n"
      "[ SYSTEM ]\r\n"
      "MAILID=\r\n"
      "   legacy line without equals   \r\n"
      "AUTOLOGIN=2\r\n"
      " HOTKEY = O \r"
      "\r\n"
      "; between\r\n"
      "[MAILLIST]\r\n"
      "MAIL1=a@b.jp");
  SettingsList list;
  list.Set("system.autologin", "1");       // existing key, other case: the file's spelling stays
  list.Set("SYSTEM.DST_NAME", "x");        // new key: before what leads into the next section
  list.Set("MAILLIST.NAME1", "  Taro  ");  // new key after the last line, value trimmed
  list.Set("SYSTEM.MAILID", "me@b.jp");
  list.Set("SYSTEM.HOTKEY", "O");  // the value it has: the line stays as it was
  list.Set("NEW.K", "v");          // new section: last
  EXPECT_TRUE(SaveSettings(path_, list));
  EXPECT_EQ(ReadBytes(path_),
            "; installed defaults\n"
            "[ SYSTEM ]\r\n"
            "MAILID=me@b.jp\r\n"
            "   legacy line without equals   \r\n"
            "AUTOLOGIN=1\r\n"
            " HOTKEY = O \r"
            "DST_NAME=x\r"
            "\r\n"
            "; between\r\n"
            "[MAILLIST]\r\n"
            "MAIL1=a@b.jp\r\n"
            "NAME1=Taro\r\n"
            "\r\n"
            "[NEW]\r\n"
            "K=v\r\n"
            "\r\n");
  // Written again unchanged, the file stays the same.
  std::string once = ReadBytes(path_);
  SaveSettings(path_, list);
  EXPECT_EQ(ReadBytes(path_), once);
}

TEST_F(SettingsFileTest, AFullBookGoesIntoANewFileAndEveryKeyIsFoundAgain) {
  SettingsList list;
  for (int n = 1; n <= 300; ++n) {
    list.Set("MAILLIST.MAIL" + std::to_string(n), "m" + std::to_string(n) + "@b.jp");
    list.Set("MAILLIST.NAME" + std::to_string(n), "名前" + std::to_string(n));
  }
  SaveSettings(path_, list);
  SettingsList reread = Read();
  EXPECT_EQ(Lines(reread), Lines(list));
  // Saved over itself with other letter case, every key finds its line: nothing is added.
  const std::string once = ReadBytes(path_);
  SettingsList other;
  for (const auto& e : list) other.Set(FoldAscii(e.name), e.value);
  SaveSettings(path_, other);
  EXPECT_EQ(ReadBytes(path_), once);
}

TEST_F(SettingsFileTest, ASaveStartsFromWhatTheFileHoldsNowEvenAfterAnotherWriter) {
  SettingsList list;
  list.Set("SYSTEM.MAILID", "a@b.jp");
  SaveSettings(path_, list);
  const std::string ours = ReadBytes(path_);
  // Someone else writes the file, as long as ours and otherwise alike.
  std::string theirs = ours;
  theirs.replace(theirs.find("MAILID"), 6, "MAILXX");
  WriteBytes(path_, theirs);
  list.Set("SYSTEM.DST_NAME", "x");
  SaveSettings(path_, list);
  EXPECT_EQ(ReadBytes(path_), "[SYSTEM]\r\nMAILXX=a@b.jp\r\nMAILID=a@b.jp\r\nDST_NAME=x\r\n\r\n");
}

// The program's own course at a first sign-in: one save changes a value's length,
// the next one changes a later line of the file it has just written.
TEST_F(SettingsFileTest, SavesInARowChangeLinesThatEarlierSavesMoved) {
  WriteIni(
      "; コメント\r\n[SYSTEM]\r\nMAILID=\r\nAUTOLOGIN=2\r\nLOGO=1\r\n[MAILLIST]\r\n"
      "MAIL1=a@example.jp\r\n");
  SettingsList list = Read();
  const std::vector<std::pair<const char*, const char*>> changes = {
      {"SYSTEM.MAILID", "first-user@example.jp"},
      {"SYSTEM.AUTOLOGIN", "1"},
      {"MAILLIST.MAIL1", "b@example.jp"},
      {"SYSTEM.MAILID", "x@y.jp"},
      {"SYSTEM.LOGO", "2"},
  };
  for (auto [name, value] : changes) {
    list.Set(name, value);
    SaveSettings(path_, list);
  }
  EXPECT_EQ(ReadIni(),
            "; コメント\r\n[SYSTEM]\r\nMAILID=x@y.jp\r\nAUTOLOGIN=1\r\nLOGO=2\r\n"
            "[MAILLIST]\r\nMAIL1=b@example.jp\r\n");
}

TEST_F(SettingsFileTest, SkipsNamesTheFileCouldNotReadBackAsThemselves) {
  for (const char* name : {"SYSTEM.A\r\nB", "SYSTEM.A\nB", "SYSTEM.A\rB", "SYSTEM.A=B", "SYSTEM.;A",
                           "SYSTEM. [K", "SY\r\nS.K", "SY\nS.K"}) {
    SCOPED_TRACE(name);
    WriteIni("[SYSTEM]\r\nX=old\r\n");
    SettingsList list;
    list.Set(name, "v]");
    list.Set("SYSTEM.X", "new");  // later entries are still written
    EXPECT_TRUE(SaveSettings(path_, list));
    EXPECT_EQ(ReadBytes(path_), "[SYSTEM]\r\nX=new\r\n");
  }
}

TEST_F(SettingsFileTest, ALineThatWouldReadBackAsAnotherFailsTheSaveAndKeepsTheFile) {
  // "¥" has no code: the key or section would come back as "?".
  for (const char* name : {"SYSTEM.¥K", "¥.K"}) {
    SCOPED_TRACE(name);
    WriteIni("[SYSTEM]\r\nX=old\r\n");
    SettingsList list;
    list.Set("SYSTEM.X", "new");
    list.Set(name, "v");
    try {
      SaveSettings(path_, list);
      ADD_FAILURE() << "no error";
    } catch (const AppError& e) {
      EXPECT_STREQ(e.what(), "書き込みエラー(INIファイル)");
    }
    EXPECT_EQ(ReadBytes(path_), "[SYSTEM]\r\nX=old\r\n");
  }
}

TEST_F(SettingsFileTest, SavingCreatesAMissingFileAndBlankValuesClearOnDisk) {
  SettingsList list;
  list.Set("SYSTEM.DST_NAME", " ");
  list.Set("SYSTEM.DST_MAILADR", "\t x@y.jp \x01");
  list.Set("MAILLIST.NAME2", "two\r\nlines");  // a line break must not start a line in the file
  ASSERT_TRUE(SaveSettings(path_, list));
  EXPECT_EQ(ReadBytes(path_),
            "[SYSTEM]\r\nDST_NAME=\r\nDST_MAILADR=x@y.jp\r\n\r\n[MAILLIST]\r\nNAME2=two  lines\r\n"
            "\r\n");
  // The empty value on disk removes the entry at the next read.
  SettingsList reread = Read();
  EXPECT_EQ(reread.Get("SYSTEM.DST_NAME"), "");
  EXPECT_EQ(reread.size(), 2u);
}

TEST_F(SettingsFileTest, RemovingAnEntryLeavesTheOldValueInTheFile) {
  WriteIni("[SYSTEM]\r\nDST_NAME=Hanako\r\n");
  SettingsList list = Read();
  list.Set("SYSTEM.DST_NAME", "");
  SaveSettings(path_, list);
  EXPECT_EQ(ReadBytes(path_), "[SYSTEM]\r\nDST_NAME=Hanako\r\n");
}

TEST_F(SettingsFileTest, AnUnsplittableNameStopsTheMergeButTheFileIsWritten) {
  // Too short, or no "." after the first character (".AB" has only a leading one).
  for (const char* stopper : {"NODOT", ".AB", "A.", "..", "ab"}) {
    SCOPED_TRACE(stopper);
    WriteIni("[SYSTEM]\r\nX=old\r\n");
    SettingsList list;
    list.Set("SYSTEM.BEFORE", "1");
    list.Set(stopper, "v");
    list.Set("SYSTEM.X", "new");
    list.Set("SYSTEM.AFTER", "2");
    EXPECT_TRUE(SaveSettings(path_, list));
    EXPECT_EQ(ReadBytes(path_), "[SYSTEM]\r\nX=old\r\nBEFORE=1\r\n");
  }
}

TEST_F(SettingsFileTest, TheKeyKeepsItsDotsAndADottedSectionIsSplitAtItsFirstDot) {
  WriteIni("[A.B]\r\nK=1\r\n");
  SettingsList list = Read();
  EXPECT_EQ(list.Get("A.B.K"), "1");
  list.Set("SYSTEM.X.Y", "2");
  list.Set(".S.K", "3");  // a leading "." names the section "" and is not a stop
  SaveSettings(path_, list);
  EXPECT_EQ(ReadBytes(path_),
            "[A.B]\r\nK=1\r\n\r\n[A]\r\nB.K=1\r\n\r\n[SYSTEM]\r\nX.Y=2\r\n\r\n[]\r\nS.K=3\r\n\r\n");
  // Read back, the dotted section's entry now comes from two places.
  SettingsList reread = Read();
  EXPECT_EQ(reread.Get("SYSTEM.X.Y"), "2");
  EXPECT_EQ(reread.Get("A.B.K"), "1");
}

TEST_F(SettingsFileTest, JapaneseTextIsCodePage932OnDiskAndRoundTrips) {
  SettingsList list;
  list.Set("MAILLIST.NAME1", "タビ太郎");
  list.Set("MAILLIST.MAIL1", "taro@b.jp");
  SaveSettings(path_, list);
  std::string raw = ReadBytes(path_);
  // タ 83 5E, ビ 83 72, 太 91 BE, 郎 98 59
  EXPECT_NE(raw.find("NAME1=\x83\x5E\x83\x72\x91\xBE\x98\x59\r\n"), std::string::npos);
  EXPECT_EQ(Read().Get("MAILLIST.NAME1"), "タビ太郎");
  // A second save through the file keeps the other names exactly.
  list.Set("MAILLIST.NAME2", "花子");
  SaveSettings(path_, list);
  SettingsList reread = Read();
  EXPECT_EQ(reread.Get("MAILLIST.NAME1"), "タビ太郎");
  EXPECT_EQ(reread.Get("MAILLIST.NAME2"), "花子");
}

TEST_F(SettingsFileTest, AFileThatCannotBeReadIsAnErrorNotAMissingFile) {
  std::filesystem::create_directory(U8Path(path_));  // a folder where the file should be
  SettingsList list;
  list.Set("SYSTEM.A", "1");
  try {
    ReadSettingsFile(path_, list);
    ADD_FAILURE() << "no error";
  } catch (const AppError& e) {
    EXPECT_STREQ(e.what(), "読み込みエラー(INIファイル)");
  }
  try {
    SaveSettings(path_, list);
    ADD_FAILURE() << "no error";
  } catch (const AppError& e) {
    EXPECT_STREQ(e.what(), "書き込みエラー(INIファイル)");
  }
  EXPECT_TRUE(std::filesystem::is_directory(U8Path(path_)));
}

}  // namespace
}  // namespace tavisnap
