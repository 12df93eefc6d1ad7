#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "address_book_fixture.h"
#include "addressbook/address_texts.h"
#include "addressbook/csv_export.h"
#include "addressbook/csv_import.h"
#include "addressbook/csv_lines.h"

namespace tavisnap {
namespace {

using namespace std::string_literals;
using testing::Ask;
using testing::Box;
using testing::Info;
using testing::Warn;

class CsvTest : public testing::AddressBookTest {
 protected:
  // Runs the import of the file at path, answering OK to the question.
  bool Import(const std::string& path) {
    return CsvLumpClick(
        book, prompter, [&] { return std::optional<std::string>(path); }, hourglass);
  }
  bool Export(const std::string& path) {
    return ExportClick(
        settings, prompter, [&] { return std::optional<std::string>(path); }, hourglass);
  }

  testing::CountingHourglass hourglass;
};

TEST(HasCsvExtension, TheLastExtensionOfTheFileNameInAnyCase) {
  for (const char* yes : {"a.csv", "C:\\データ\\住所.CSV", "/tmp/a.b.Csv", ".csv"}) {
    EXPECT_TRUE(HasCsvExtension(yes)) << yes;
  }
  for (const char* no : {"a.csv.txt", "a", "a.csvx", "a.cs", "dir.csv\\a", "dir.csv/a", "a.csv "}) {
    EXPECT_FALSE(HasCsvExtension(no)) << no;
  }
}

// One import into a book whose slots 1 to `used` hold friend<n>@example.jp.
struct ImportCase {
  const char* what;
  int used;
  std::string bytes;                 // the CSV file as it is on disk
  std::vector<Box> boxes;            // after the question
  std::map<int, std::string> added;  // new slots in system.ini; none: the file is unchanged
};

std::string Cp932(const std::string& utf8) {
  return Utf8ToCp932(utf8);
}

std::string Lines(int from, int to, const char* domain) {
  std::string text;
  for (int n = from; n <= to; ++n) {
    text += "名前" + std::to_string(n) + ",friend" + std::to_string(n) + "@" + domain + "\r\n";
  }
  return text;
}

TEST_F(CsvTest, ImportChecksTheWholeFileBeforeAddingAnything) {
  const ImportCase cases[] = {
      {"a quoted name keeps its blank",
       0,
       Cp932("\"山田 太郎\",taro@example.jp\r\n"),
       {Info(kImportDone)},
       {{1, "山田 太郎(taro@example.jp)"}}},
      {"an unquoted blank moves the address",
       0,
       Cp932("山田 太郎,taro@example.jp\r\n"),
       {Warn(kImportBadAddress)},
       {}},
      {"a header line is data",
       0,
       Cp932("名前,メール\r\n一郎,a@example.jp\r\n"),
       {Warn(kImportBadAddress)},
       {}},
      {"an empty last line has no name",
       0,
       Cp932("一郎,a@example.jp\r\n\r\n"),
       {Warn(kImportBadName)},
       {}},
      {"a name without an address", 0, Cp932("一郎\r\n"), {Warn(kImportBadAddress)}, {}},
      {"the first failing line decides",
       0,
       Cp932("一郎,bad\r\n,b@example.jp\r\n"),
       {Warn(kImportBadAddress)},
       {}},
      {"duplicates in other letter case",
       0,
       Cp932("一郎,a@example.jp\r\n二郎,A@EXAMPLE.JP\r\n"),
       {Warn(kImportDuplicate)},
       {}},
      {"other letter case than the book is new",
       1,
       Cp932("友,FRIEND1@example.jp"),
       {Info(kImportDone)},
       {{2, "友(FRIEND1@example.jp)"}}},
      {"CR, LF and CR LF end lines",
       0,
       Cp932("一郎,a@example.jp\r二郎,b@example.jp\n三郎,c@x.jp"),
       {Info(kImportDone)},
       {{1, "一郎(a@example.jp)"}, {2, "二郎(b@example.jp)"}, {3, "三郎(c@x.jp)"}}},
      {"an empty file adds nothing", 0, "", {Info(kImportDone)}, {}},
      {"295 used and 6 lines, all in the book",
       295,
       Cp932(Lines(1, 6, "example.jp")),
       {Warn(kImportTooMany)},
       {}},
      {"295 used and 5 lines, 2 in the book",
       295,
       Cp932(Lines(1, 1, "example.jp") + Lines(2, 3, "new.jp") + Lines(2, 2, "example.jp") +
             Lines(4, 4, "new.jp")),
       {Warn(kAddressExists), Warn(kAddressExists), Info(kImportDone)},
       {{296, "名前2(friend2@new.jp)"},
        {297, "名前3(friend3@new.jp)"},
        {298, "名前4(friend4@new.jp)"}}},
      // Bad input: the file is refused as unreadable and the book is not touched. Which
      // bytes are text is DecodeCp932Line's to say; here a file is split before decoding.
      {"UTF-8 with its byte order mark",
       0,
       "\xEF\xBB\xBF"
       "山田,a@example.jp\r\n",
       {Warn(kFileUnreadable)},
       {}},
      {"a lead byte before the line break",
       0,
       "a\x82\r\n,a@example.jp\r\n",
       {Warn(kFileUnreadable)},
       {}},
      {"a NUL byte", 0, Cp932("一郎,a@example.jp") + "\0\r\n"s, {Warn(kFileUnreadable)}, {}},
      {"a 1 MB line",
       0,
       Cp932("一郎,a@example.jp,") + std::string(1 << 20, 'x'),
       {Warn(kFileUnreadable)},
       {}},
  };
  for (const ImportCase& c : cases) {
    SCOPED_TRACE(c.what);
    WriteIni(Slots(c.used));
    std::map<int, std::string> slots = FileSlots();
    std::string before = testing::ReadBytes(iniPath);
    prompter.boxes.clear();
    hourglass = testing::CountingHourglass();
    Import(dir.Write("book.csv", c.bytes));
    std::vector<Box> boxes{Ask(kImportQuestion)};
    boxes.insert(boxes.end(), c.boxes.begin(), c.boxes.end());
    EXPECT_EQ(prompter.boxes, boxes);
    slots.insert(c.added.begin(), c.added.end());
    EXPECT_EQ(FileSlots(), slots);
    if (c.added.empty()) {
      EXPECT_EQ(testing::ReadBytes(iniPath), before);
    }
    EXPECT_EQ(hourglass.shown, 1);
    EXPECT_EQ(hourglass.depth, 0);
  }
}

TEST_F(CsvTest, AWriteFailureEndsTheImportWithTheSavesMessage) {
  WriteIni("");
  std::string csv = dir.Write("book.csv", Cp932("一,a@example.jp\r\n二,b@example.jp\r\n"));
  std::filesystem::permissions(U8Path(iniPath), std::filesystem::perms::all,
                               std::filesystem::perm_options::remove);
  EXPECT_FALSE(Import(csv));
  EXPECT_EQ(settings.Get("MAILLIST.MAIL1"), "") << "as the file is";
  EXPECT_EQ(prompter.boxes,
            (std::vector<Box>{Ask(kImportQuestion), Warn("書き込みエラー(INIファイル)")}));
  EXPECT_EQ(hourglass.depth, 0);
}

TEST_F(CsvTest, ImportStopsBeforeReadingWhenTheChoiceIsNoCsvFile) {
  WriteIni(Slots(1));
  std::filesystem::create_directory(U8Path(dir / "folder.csv"));
  std::string mem = dir / "mem.csv";
  std::filesystem::create_symlink("/proc/self/mem", U8Path(mem));
  const struct {
    std::string path;
    std::vector<Box> boxes;
    int hourglass;
  } cases[] = {
      {dir.Write("book.txt", "一郎,a@example.jp\r\n"), {Warn(kChooseCsvFile)}, 0},
      {dir / "missing.csv", {Warn(kFileNotFound)}, 0},
      {dir / "folder.csv", {Warn(kFileNotFound)}, 0},
      {mem, {Warn(kFileUnreadable)}, 1},  // exists, and every read fails
  };
  std::string before = testing::ReadBytes(iniPath);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    prompter.boxes.clear();
    hourglass = testing::CountingHourglass();
    EXPECT_FALSE(Import(c.path));
    std::vector<Box> boxes{Ask(kImportQuestion)};
    boxes.insert(boxes.end(), c.boxes.begin(), c.boxes.end());
    EXPECT_EQ(prompter.boxes, boxes);
    EXPECT_EQ(hourglass.shown, c.hourglass);
    EXPECT_EQ(hourglass.depth, 0);
  }
  EXPECT_EQ(testing::ReadBytes(iniPath), before);
}

TEST_F(CsvTest, ImportEndsOnCancelOfTheQuestionOrTheDialog) {
  WriteIni("");
  int dialogs = 0;
  auto cancel = [&] {
    ++dialogs;
    return std::optional<std::string>();
  };
  prompter.answers = {false};
  EXPECT_FALSE(CsvLumpClick(book, prompter, cancel, hourglass));
  EXPECT_EQ(dialogs, 0);
  EXPECT_FALSE(CsvLumpClick(book, prompter, cancel, hourglass));
  EXPECT_EQ(dialogs, 1);
  EXPECT_EQ(prompter.boxes, std::vector<Box>(2, Ask(kImportQuestion)));
  EXPECT_EQ(hourglass.shown, 0);
}

TEST_F(CsvTest, ExportAppendsTheBookAndImportsBackIntoAnEmptyOne) {
  WriteIni(testing::SlotLines(2, "b@example.jp", "二郎") +
           testing::SlotLines(5, "e@example.jp", "五郎"));
  std::string csv = dir.Write("book.csv", "old\r\n");
  int busyDuringDialog = 0;
  auto choose = [&] {
    busyDuringDialog = hourglass.depth;
    return std::optional<std::string>(csv);
  };
  EXPECT_TRUE(ExportClick(settings, prompter, choose, hourglass));
  EXPECT_TRUE(ExportClick(settings, prompter, choose, hourglass));
  std::string lines = Cp932("二郎,b@example.jp\r\n五郎,e@example.jp\r\n");
  EXPECT_EQ(testing::ReadBytes(csv), "old\r\n" + lines + lines);
  EXPECT_EQ(prompter.boxes, std::vector<Box>(2, Info(kExportDone)));
  EXPECT_EQ(busyDuringDialog, 1);
  EXPECT_EQ(hourglass.depth, 0);

  std::map<int, std::string> exported = FileSlots();
  WriteIni("");
  EXPECT_TRUE(Import(dir.Write("again.csv", lines)));
  EXPECT_EQ(FileSlots(), (std::map<int, std::string>{{1, exported[2]}, {2, exported[5]}}));
}

TEST_F(CsvTest, ExportWritesANamelessEntryAfterAComma) {
  settings.Set("MAILLIST.MAIL3", "c@example.jp");
  EXPECT_EQ(CsvExportText(settings), ",c@example.jp\r\n");
}

TEST_F(CsvTest, ExportRefusesOtherNamesAndReportsAFileItCannotWrite) {
  WriteIni(testing::SlotLines(1, "a@example.jp", "一郎"));
  std::filesystem::create_directory(U8Path(dir / "folder.csv"));
  const struct {
    std::string path;
    const char* message;
  } cases[] = {
      {dir / "book.txt", kChooseCsvFile},
      {dir / "folder.csv", kFileUnwritable},
      {dir / "no-such-folder/book.csv", kFileUnwritable},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    prompter.boxes.clear();
    EXPECT_FALSE(Export(c.path));
    EXPECT_EQ(prompter.boxes, std::vector<Box>{Warn(c.message)});
    EXPECT_EQ(hourglass.depth, 0);
  }
  EXPECT_FALSE(std::filesystem::exists(U8Path(dir / "book.txt")));
}

}  // namespace
}  // namespace tavisnap
