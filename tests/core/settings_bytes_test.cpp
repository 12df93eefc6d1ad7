// What a save does to the bytes of system.ini that it has no reason to touch. Built
// natively and as part of a Wine test, so that it runs with both conversions.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

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
  EXPECT_EQ(ReadBytes(path_), "[MAILLIST]\nNAME1=ab\x81\nNAME2=cd\nMAIL2=c@d.jp\n");
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
  EXPECT_EQ(ReadBytes(path_), "[SYSTEM]\r\nDST_NAME=\x81\xE0\xFA\x5C?\r\n");
}

// The file's lines as (content, line break), split as any reader splits them.
using Rows = std::vector<std::pair<std::string, std::string>>;
Rows SplitRows(const std::string& bytes) {
  Rows rows;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      rows.emplace_back(bytes.substr(start), "");
      break;
    }
    size_t size = bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1;
    rows.emplace_back(bytes.substr(start, end - start), bytes.substr(end, size));
    start = end + size;
  }
  return rows;
}

// The entries in any order: a read gives them in file order, the list in its own.
std::vector<std::string> Entries(const SettingsList& list) {
  std::vector<std::string> entries;
  for (const auto& e : list) entries.push_back(e.name + "=" + e.value);
  std::sort(entries.begin(), entries.end());
  return entries;
}

// A system.ini made of the kinds of lines a user's file holds, in any order, with any
// line breaks: headers (repeated, padded, Japanese), settings (padded, Japanese keys, a
// key ending in a lead byte and a blank, codes that come back under another code, bytes
// that are no text), comments, blank lines and lines without "=".
std::string GeneratedIni(std::mt19937& random) {
  static const char* const kLines[] = {"[S]",
                                       "[ s ]",
                                       "[T]",
                                       "[\x87\x90]",
                                       "[S\x81 ]",
                                       "K=1",
                                       " k2 = 2 ",
                                       "A=\x83\x5E",
                                       "B=\x87\x90\xED\x40",
                                       "C=\x80\xA0\xFD",
                                       "K\x81 =x",
                                       "\x83\x5E\x83\x72=v",
                                       "D=",
                                       "E=a=b",
                                       "F=\x85\x40\x81",
                                       "; c",
                                       ";K=9",
                                       "no equals",
                                       "",
                                       "",
                                       "  ",
                                       "\t"};
  static const char* const kBreaks[] = {"\r\n", "\r\n", "\n", "\r"};
  std::string file;
  int lines = std::uniform_int_distribution<int>(0, 14)(random);
  for (int i = 0; i < lines; ++i) {
    file += kLines[random() % std::size(kLines)];
    if (i + 1 < lines || random() % 3 != 0) file += kBreaks[random() % std::size(kBreaks)];
  }
  return file;
}

TEST_F(SettingsBytesTest, ASaveChangesOnlyTheLinesOfWhatItChanges) {
  std::mt19937 random(932);
  for (int round = 0; round < 64; ++round) {
    const std::string file = GeneratedIni(random);
    SCOPED_TRACE(::testing::PrintToString(file));
    WriteBytes(path_, file);
    SettingsList list = Read();
    SaveSettings(path_, list);
    ASSERT_EQ(ReadBytes(path_), file) << "saved unchanged";
    if (list.size() == 0) continue;

    // One value changed: that line alone differs, and reads back as set.
    auto changed = list.begin() + static_cast<std::ptrdiff_t>(random() % list.size());
    const std::string name = changed->name;
    list.Set(name, "new" + std::to_string(round));
    SaveSettings(path_, list);
    Rows before = SplitRows(file), after = SplitRows(ReadBytes(path_));
    ASSERT_EQ(after.size(), before.size());
    int differ = 0;
    for (size_t i = 0; i < before.size(); ++i) {
      differ += before[i] != after[i];
      EXPECT_EQ(after[i].second, before[i].second) << "line break of line " << i;
    }
    EXPECT_EQ(differ, 1);
    EXPECT_EQ(Entries(Read()), Entries(list));

    // One key added to the section: one more line, the others in their order.
    list.Set(name.substr(0, name.find('.')) + ".ADDED", "1");
    SaveSettings(path_, list);
    Rows added = SplitRows(ReadBytes(path_));
    ASSERT_EQ(added.size(), after.size() + 1);
    size_t at = 0;
    while (at < after.size() && added[at].first == after[at].first) ++at;
    EXPECT_EQ(added[at].first, "ADDED=1");
    for (size_t i = at; i < after.size(); ++i) EXPECT_EQ(added[i + 1], after[i]);
    EXPECT_EQ(Entries(Read()), Entries(list));
  }
}

}  // namespace
}  // namespace tavisnap
