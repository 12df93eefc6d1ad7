#include "addressbook/address_book.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "address_book_fixture.h"
#include "addressbook/address_texts.h"

namespace tavisnap {
namespace {

using testing::AddressBookTest;
using testing::Box;
using testing::Info;
using testing::SlotLines;
using testing::Warn;

// One change of the book, then a refresh: what system.ini holds, what the user was told
// and what the lists show.
struct SlotCase {
  const char* what;
  std::string maillist;
  std::function<void(AddressBook&, ChoiceItems&, ChoiceItems&)> change;
  std::map<int, std::string> fileSlots;
  std::vector<Box> boxes;
  std::vector<std::string> listed;  // the display list after the refresh, prompt left out
};

class AddressBookSlots : public AddressBookTest {};

TEST_F(AddressBookSlots, ChangesTakeTheRightSlotAndTheListsFollowTheFile) {
  const std::string two = SlotLines(2, "b@example.jp", "二郎");
  const std::string seven = SlotLines(7, "g@example.jp", "七子");
  const std::string three =
      SlotLines(1, "a@example.jp", "一郎") + two + SlotLines(3, "c@example.jp", "三郎");
  using Lists = ChoiceItems;
  const SlotCase cases[] = {
      {"index 2 of slots 2 and 7 is slot 7",
       two + seven,
       [](AddressBook& b, Lists& n, Lists& m) { b.UpdateAddress("h@example.jp", "八郎", n, m, 2); },
       {{2, "二郎(b@example.jp)"}, {7, "八郎(h@example.jp)"}},
       {Info(kAddressUpdated)},
       {"二郎(b@example.jp)", "八郎(h@example.jp)"}},
      {"deleting index 2 of slots 2 and 7 frees slot 7",
       two + seven,
       [](AddressBook& b, Lists& n, Lists& m) { b.DeleteAddress(n, m, 2, false); },
       {{2, "二郎(b@example.jp)"}},
       {Info(kAddressDeleted)},
       {"二郎(b@example.jp)"}},
      {"the next entry takes slot 1 and is listed first",
       two + seven,
       [](AddressBook& b, Lists&, Lists&) { b.AddAddress("a@example.jp", "一郎", true); },
       {{1, "一郎(a@example.jp)"}, {2, "二郎(b@example.jp)"}, {7, "七子(g@example.jp)"}},
       {Info(kAddressAdded)},
       {"一郎(a@example.jp)", "二郎(b@example.jp)", "七子(g@example.jp)"}},
      {"deleting slot 1 leaves slots 2 and 3 where they are",
       three,
       [](AddressBook& b, Lists& n, Lists& m) { b.DeleteAddress(n, m, 1, false); },
       {{2, "二郎(b@example.jp)"}, {3, "三郎(c@example.jp)"}},
       {Info(kAddressDeleted)},
       {"二郎(b@example.jp)", "三郎(c@example.jp)"}},
      {"an address already in the book is refused under any name",
       two,
       [](AddressBook& b, Lists&, Lists&) { b.AddAddress("b@example.jp", "別人", true); },
       {{2, "二郎(b@example.jp)"}},
       {Warn(kAddressExists)},
       {"二郎(b@example.jp)"}},
      {"the same address in other letter case is a new entry",
       two,
       [](AddressBook& b, Lists&, Lists&) { b.AddAddress("B@Example.jp", "二郎", false); },
       {{1, "二郎(B@Example.jp)"}, {2, "二郎(b@example.jp)"}},
       {},
       {"二郎(B@Example.jp)", "二郎(b@example.jp)"}},
      {"an entry without a name is shown and updated",
       SlotLines(4, "d@example.jp", ""),
       [](AddressBook& b, Lists& n, Lists& m) { b.UpdateAddress("e@example.jp", "", n, m, 1); },
       {{4, "(e@example.jp)"}},
       {Info(kAddressUpdated)},
       {"(e@example.jp)"}},
      {"an entry without a name is deleted",
       SlotLines(4, "d@example.jp", "") + two,
       [](AddressBook& b, Lists& n, Lists& m) { b.DeleteAddress(n, m, 2, false); },
       {{2, "二郎(b@example.jp)"}},
       {Info(kAddressDeleted)},
       {"二郎(b@example.jp)"}},
      {"an emptied name leaves the file",
       two,
       [](AddressBook& b, Lists& n, Lists& m) { b.UpdateAddress("b@example.jp", "", n, m, 1); },
       {{2, "(b@example.jp)"}},
       {Info(kAddressUpdated)},
       {"(b@example.jp)"}},
      {"of two equal addresses the one with the item's name changes",
       SlotLines(1, "b@example.jp", "甲") + SlotLines(2, "b@example.jp", "乙"),
       [](AddressBook& b, Lists& n, Lists& m) { b.DeleteAddress(n, m, 2, false); },
       {{1, "甲(b@example.jp)"}},
       {Info(kAddressDeleted)},
       {"甲(b@example.jp)"}},
      {"no item matches no slot, however empty the book",
       two,
       [](AddressBook& b, Lists& n, Lists& m) { b.UpdateAddress("x@example.jp", "", n, m, -1); },
       {{2, "二郎(b@example.jp)"}},
       {Info(kAddressUpdated)},
       {"二郎(b@example.jp)"}},
  };
  for (const SlotCase& c : cases) {
    SCOPED_TRACE(c.what);
    WriteIni(c.maillist);
    prompter.boxes.clear();
    ASSERT_TRUE(Fill());
    c.change(book, names, mailAdrs);
    EXPECT_EQ(FileSlots(), c.fileSlots);
    EXPECT_EQ(FileValue("SYSTEM", "DST_MAILADR").value_or(""), "");  // none before, none now
    EXPECT_EQ(prompter.boxes, c.boxes);
    ASSERT_TRUE(Fill());
    std::vector<std::string> listed(display.items().begin() + 1, display.items().end());
    EXPECT_EQ(listed, c.listed);
    EXPECT_EQ(display.items().front(), kListPrompt);
    EXPECT_EQ(names.Count(), display.Count());
    EXPECT_EQ(mailAdrs.Count(), display.Count());
  }
}

TEST_F(AddressBookSlots, DeletedKeysStayInTheFileWithEmptyValues) {
  WriteIni(SlotLines(1, "a@example.jp", "一郎") + SlotLines(2, "b@example.jp", "二郎"));
  ASSERT_TRUE(Fill());
  book.DeleteAddress(names, mailAdrs, 1, false);
  EXPECT_EQ(FileValue("MAILLIST", "MAIL1"), "");
  EXPECT_EQ(FileValue("MAILLIST", "NAME1"), "");
  // Until the file is read again the blank keeps the slot from being reused.
  EXPECT_EQ(settings.Get("MAILLIST.MAIL1"), " ");
  book.AddAddress("c@example.jp", "三郎", false);
  EXPECT_EQ(FileValue("MAILLIST", "MAIL3"), "c@example.jp");
}

TEST_F(AddressBookSlots, AFullBookRefusesUntilADeletionIsReadBack) {
  WriteIni(Slots(kAddressSlots));
  ASSERT_TRUE(Fill());
  EXPECT_EQ(book.AddAddress("new@example.jp", "新人", true), AddResult::Refused);
  EXPECT_EQ(prompter.boxes, std::vector<Box>{Warn(kAddressListFull)});
  EXPECT_EQ(FileSlots().size(), 300u);

  book.DeleteAddress(names, mailAdrs, 5, false);
  ASSERT_TRUE(Fill());
  EXPECT_EQ(book.AddAddress("new@example.jp", "新人", false), AddResult::Added);
  EXPECT_EQ(FileSlots().at(5), "新人(new@example.jp)");
  EXPECT_EQ(FileSlots().size(), 300u);
}

// The current recipient in system.ini and in SysInfo after a change of the book.
struct CurrentCase {
  const char* what;
  std::string dstName;  // the current recipient at the start (address a@example.jp)
  std::function<void(AddressBook&, ChoiceItems&, ChoiceItems&)> change;
  std::string name, mailAdr;  // afterwards, in SYSTEM and in SysInfo
};

TEST_F(AddressBookTest, TheCurrentRecipientFollowsUpdatesAndGoesWithItsEntry) {
  using Lists = ChoiceItems;
  const CurrentCase cases[] = {
      {"deleting it with the flag empties it", "一郎",
       [](AddressBook& b, Lists& n, Lists& m) { b.DeleteAddress(n, m, 1, true); }, "", ""},
      {"deleting another entry leaves it", "一郎",
       [](AddressBook& b, Lists& n, Lists& m) { b.DeleteAddress(n, m, 2, false); }, "一郎",
       "a@example.jp"},
      {"updating its address moves it", "一郎",
       [](AddressBook& b, Lists& n, Lists& m) { b.UpdateAddress("z@example.jp", "新", n, m, 1); },
       "新", "z@example.jp"},
      {"also when its stored name differs", "旧姓",
       [](AddressBook& b, Lists& n, Lists& m) { b.UpdateAddress("z@example.jp", "新", n, m, 1); },
       "新", "z@example.jp"},
      {"an update to no name empties its name", "一郎",
       [](AddressBook& b, Lists& n, Lists& m) { b.UpdateAddress("a@example.jp", "", n, m, 1); }, "",
       "a@example.jp"},
      {"updating another entry leaves it", "一郎",
       [](AddressBook& b, Lists& n, Lists& m) { b.UpdateAddress("z@example.jp", "新", n, m, 2); },
       "一郎", "a@example.jp"},
  };
  for (const CurrentCase& c : cases) {
    SCOPED_TRACE(c.what);
    WriteIni(SlotLines(1, "a@example.jp", "一郎") + SlotLines(2, "b@example.jp", "二郎"),
             "DST_NAME=" + c.dstName + "\r\nDST_MAILADR=a@example.jp\r\n");
    ASSERT_TRUE(Fill());
    c.change(book, names, mailAdrs);
    EXPECT_EQ(FileValue("SYSTEM", "DST_NAME").value_or(""), c.name);
    EXPECT_EQ(FileValue("SYSTEM", "DST_MAILADR"), c.mailAdr);
    EXPECT_EQ(sysInfo.DstName, c.name);
    EXPECT_EQ(sysInfo.DstMailAdr, c.mailAdr);
  }
}

TEST_F(AddressBookTest, SetCurrentRecipientStoresTheChosenPairOnly) {
  WriteIni(SlotLines(1, "a@example.jp", "一郎") + SlotLines(2, "b@example.jp", ""),
           "DST_NAME=一郎\r\nDST_MAILADR=a@example.jp\r\n");
  ASSERT_TRUE(Fill());
  for (int index : {0, -1, 3}) {
    EXPECT_FALSE(book.SetCurrentRecipient(names, mailAdrs, index, true)) << index;
  }
  EXPECT_EQ(prompter.boxes, std::vector<Box>(3, Warn(kChooseAddress)));
  EXPECT_EQ(FileValue("SYSTEM", "DST_MAILADR"), "a@example.jp");

  prompter.boxes.clear();
  EXPECT_TRUE(book.SetCurrentRecipient(names, mailAdrs, 2, true));
  EXPECT_EQ(prompter.boxes, std::vector<Box>{Info(kRecipientSet)});
  EXPECT_EQ(FileValue("SYSTEM", "DST_MAILADR"), "b@example.jp");
  EXPECT_EQ(FileValue("SYSTEM", "DST_NAME"), "");  // not the former recipient's name
  EXPECT_EQ(sysInfo.DstMailAdr, "a@example.jp");   // the caller's to set
}

TEST_F(AddressBookTest, AWriteFailureIsShownAndLeavesTheSettingsAsTheFileIs) {
  using Lists = ChoiceItems;
  struct Failing {
    const char* what;
    std::function<void(AddressBook&, Lists&, Lists&)> change;
    const char* key;
    const char* asTheFile;
  };
  const Failing cases[] = {
      {"add", [](AddressBook& b, Lists&, Lists&) { b.AddAddress("c@example.jp", "三", true); },
       "MAILLIST.MAIL2", ""},
      {"update",
       [](AddressBook& b, Lists& n, Lists& m) { b.UpdateAddress("z@example.jp", "", n, m, 1); },
       "SYSTEM.DST_MAILADR", "a@example.jp"},
      {"delete", [](AddressBook& b, Lists& n, Lists& m) { b.DeleteAddress(n, m, 1, true); },
       "MAILLIST.MAIL1", "a@example.jp"},
      {"choose", [](AddressBook& b, Lists& n, Lists& m) { b.SetCurrentRecipient(n, m, 1, true); },
       "SYSTEM.DST_NAME", ""},
  };
  namespace fs = std::filesystem;
  for (const Failing& c : cases) {
    SCOPED_TRACE(c.what);
    std::error_code ignored;  // the first case has no file yet
    fs::permissions(U8Path(iniPath), fs::perms::owner_write, fs::perm_options::add, ignored);
    WriteIni(SlotLines(1, "a@example.jp", "一郎"), "DST_MAILADR=a@example.jp\r\n");
    ASSERT_TRUE(Fill());
    std::string before = testing::ReadBytes(iniPath);
    fs::permissions(U8Path(iniPath), fs::perms::all, fs::perm_options::remove);
    prompter.boxes.clear();
    c.change(book, names, mailAdrs);
    EXPECT_EQ(settings.Get(c.key), c.asTheFile);
    EXPECT_EQ(testing::ReadBytes(iniPath), before);
    EXPECT_EQ(prompter.boxes, std::vector<Box>{Warn("書き込みエラー(INIファイル)")});
    EXPECT_EQ(sysInfo.DstMailAdr, "a@example.jp");
  }
}

TEST_F(AddressBookTest, ANamelessEntryDoesNotTakeTheNameAHandEditedSlotHeld) {
  WriteIni("NAME1=他人\r\n");
  ASSERT_EQ(book.AddAddress("a@example.jp", "", false), AddResult::Added);
  EXPECT_EQ(FileValue("MAILLIST", "NAME1"), "");
  EXPECT_EQ(settings.Get("MAILLIST.NAME1"), "") << "as a read of the file gives it";
}

TEST_F(AddressBookTest, FillAddressComboReadsTheFileAgainAndEndsWithoutIt) {
  WriteIni(SlotLines(1, "a@example.jp", "一郎"));
  testing::WriteBytes(iniPath, Utf8ToCp932("[MAILLIST]\r\nMAIL1=\r\nMAIL3=c@example.jp\r\n"));
  ASSERT_TRUE(Fill());
  EXPECT_EQ(display.items(), (std::vector<std::string>{kListPrompt, "(c@example.jp)"}));
  EXPECT_EQ(names.items(), (std::vector<std::string>{kListPrompt, ""}));
  EXPECT_EQ(mailAdrs.items(), (std::vector<std::string>{kListPrompt, "c@example.jp"}));
  EXPECT_EQ(display.Selected(), 0);
  EXPECT_EQ(settings.Get("SYSTEM.MAILID"), "me@example.jp");  // only in the list: it stays

  std::filesystem::remove(U8Path(iniPath));
  EXPECT_FALSE(Fill());
  EXPECT_EQ(fatalTexts, std::vector<std::string>{kCheckSystemFile});
  EXPECT_EQ(display.Count(), 2);
}

TEST_F(AddressBookTest, SendPanelListsComeFromMemoryAllSixAligned) {
  WriteIni(SlotLines(2, "b@example.jp", "二郎") + SlotLines(5, "e@example.jp", ""));
  testing::WriteBytes(iniPath, "");  // not read again
  ChoiceItems dst, to, cc, bcc;
  ASSERT_TRUE(book.FillSendPanelLists(dst, to, cc, bcc, names, mailAdrs));
  std::vector<std::string> shown{kListPrompt, "二郎(b@example.jp)", "(e@example.jp)"};
  for (ChoiceItems* list : {&dst, &to, &cc, &bcc}) {
    EXPECT_EQ(list->items(), shown);
    EXPECT_EQ(list->Selected(), 0);
  }
  EXPECT_EQ(names.items(), (std::vector<std::string>{kListPrompt, "二郎", ""}));
  EXPECT_EQ(mailAdrs.items(),
            (std::vector<std::string>{kListPrompt, "b@example.jp", "e@example.jp"}));
  EXPECT_EQ(mailAdrs.Selected(), 0);
}

}  // namespace
}  // namespace tavisnap
