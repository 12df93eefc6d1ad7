#include "addressbook/address_pages.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "address_book_fixture.h"
#include "addressbook/address_texts.h"

namespace tavisnap {
namespace {

using testing::Ask;
using testing::Box;
using testing::Info;
using testing::SlotLines;
using testing::Warn;

class FakePagesView : public AddressPagesView {
 public:
  FakePagesView(ChoiceItems& names, ChoiceItems& mailAdrs) : names_(names), mailAdrs_(mailAdrs) {}

  std::string Text(AddressField field) const override {
    auto it = texts.find(field);
    return it == texts.end() ? std::string() : it->second;
  }
  void SetText(AddressField field, const std::string& text) override { texts[field] = text; }
  ChoiceList& List(AddressListId id) override {
    switch (id) {
      case AddressListId::DstList:
        return dst;
      case AddressListId::UpdMaillist:
        return upd;
      case AddressListId::DelMaillist:
        return del;
      case AddressListId::Name:
        return names_;
      case AddressListId::MailAdr:
        return mailAdrs_;
    }
    return dst;
  }
  void HideWindow() override { hidden = true; }

  std::map<AddressField, std::string> texts;
  ChoiceItems dst, upd, del;
  bool hidden = false;

 private:
  ChoiceItems& names_;
  ChoiceItems& mailAdrs_;
};

class AddressPagesTest : public testing::AddressBookTest {
 protected:
  void SetUp() override {
    WriteIni(SlotLines(2, "b@example.jp", "二郎") + SlotLines(4, "d@example.jp", "四郎"),
             "DST_NAME=四郎\r\nDST_MAILADR=d@example.jp\r\n");
  }

  FakePagesView view{names, mailAdrs};
  AddressPages pages{view, book, prompter};
};

TEST_F(AddressPagesTest, AnAddressThatFailsTheCheckOrANameTheFileCannotHoldChangesNothing) {
  struct Page {
    AddressField name, mail;
    void (AddressPages::*exec)();
  };
  const Page typed[] = {
      {AddressField::AddName, AddressField::AddMailAdr, &AddressPages::ExecAddressAdd},
      {AddressField::UpdName, AddressField::UpdMailAdr, &AddressPages::ExecAddressEdit},
      {AddressField::SendAddName, AddressField::SendAddMail, &AddressPages::ExecDstSetting}};
  const struct {
    const char *name, *mail;
    Box box;
  } inputs[] = {
      {"一郎", "山田@example.jp", Warn(kCheckAddress)},
      {"𠮷田😀", "new@example.jp", Warn("名前の「𠮷」「😀」はアドレス帳に保存できません。")}};
  pages.OpenAddressEdit();
  view.upd.Select(1);
  std::string before = testing::ReadBytes(iniPath);
  for (const auto& input : inputs) {
    for (const Page& page : typed) {
      SCOPED_TRACE(input.name);
      prompter.boxes.clear();
      view.texts[page.name] = input.name;
      view.texts[page.mail] = input.mail;
      (pages.*page.exec)();
      EXPECT_EQ(prompter.boxes, std::vector<Box>{input.box});
      EXPECT_EQ(view.texts[page.name], input.name);
    }
  }
  EXPECT_EQ(testing::ReadBytes(iniPath), before);
  EXPECT_FALSE(view.hidden);
}

TEST_F(AddressPagesTest, AddAnnouncesTheNewEntry) {
  view.texts[AddressField::AddName] = "一郎";
  view.texts[AddressField::AddMailAdr] = "a@example.jp";
  pages.ExecAddressAdd();
  EXPECT_EQ(prompter.boxes, std::vector<Box>{Info(kAddressAdded)});
  EXPECT_EQ(FileSlots().at(1), "一郎(a@example.jp)");
}

TEST_F(AddressPagesTest, EditFillsTheFieldsFromTheChoiceAndRefusesThePrompt) {
  pages.OpenAddressEdit();
  EXPECT_EQ(view.upd.items(),
            (std::vector<std::string>{kListPrompt, "二郎(b@example.jp)", "四郎(d@example.jp)"}));
  view.upd.Select(1);
  pages.UpdMaillistSelect();
  EXPECT_EQ(view.texts[AddressField::UpdName], "二郎");
  EXPECT_EQ(view.texts[AddressField::UpdMailAdr], "b@example.jp");

  view.upd.Select(0);
  pages.UpdMaillistSelect();
  EXPECT_EQ(view.texts[AddressField::UpdName], "");
  EXPECT_EQ(view.texts[AddressField::UpdMailAdr], "");

  // A valid address typed with the prompt chosen: nothing to update.
  std::string before = testing::ReadBytes(iniPath);
  view.texts[AddressField::UpdMailAdr] = "x@example.jp";
  pages.ExecAddressEdit();
  EXPECT_EQ(prompter.boxes, std::vector<Box>{Warn(kChooseAddress)});
  EXPECT_EQ(testing::ReadBytes(iniPath), before);

  prompter.boxes.clear();
  view.upd.Select(2);
  pages.ExecAddressEdit();
  EXPECT_EQ(prompter.boxes, std::vector<Box>{Info(kAddressUpdated)});
  EXPECT_EQ(FileSlots().at(4), "(x@example.jp)");
  EXPECT_EQ(sysInfo.DstMailAdr, "x@example.jp");  // it was the current recipient
  EXPECT_EQ(view.upd.items().back(), "(x@example.jp)");
  EXPECT_EQ(view.upd.Selected(), 0);
  EXPECT_EQ(view.texts[AddressField::UpdMailAdr], "x@example.jp");
}

TEST_F(AddressPagesTest, DeleteAsksTheQuestionThatFitsAndGoesOnOnlyOnOk) {
  struct Case {
    int index;
    bool ok;
    std::vector<Box> boxes;
    std::map<int, std::string> slots;
    std::string current;
  };
  const std::string b = "二郎(b@example.jp)", d = "四郎(d@example.jp)";
  const Case cases[] = {
      {0, true, {}, {{2, b}, {4, d}}, "d@example.jp"},
      {1, false, {Ask(kDeleteQuestion)}, {{2, b}, {4, d}}, "d@example.jp"},
      {1, true, {Ask(kDeleteQuestion), Info(kAddressDeleted)}, {{4, d}}, "d@example.jp"},
      {2, false, {Ask(kDeleteCurrentQuestion)}, {{2, b}, {4, d}}, "d@example.jp"},
      {2, true, {Ask(kDeleteCurrentQuestion), Info(kAddressDeleted)}, {{2, b}}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.index) + (c.ok ? " OK" : " Cancel"));
    SetUp();
    prompter.boxes.clear();
    prompter.answers = {c.ok};
    pages.OpenAddressDel();
    view.del.Select(c.index);
    pages.ExecAddressDel();
    EXPECT_EQ(prompter.boxes, c.boxes);
    EXPECT_EQ(FileSlots(), c.slots);
    EXPECT_EQ(sysInfo.DstMailAdr, c.current);
    EXPECT_EQ(view.del.Count(), static_cast<int>(c.slots.size()) + 1);  // refreshed
  }
}

TEST_F(AddressPagesTest, ChoosingARecipientShowsItAndTheSetupPageFollowsTheBook) {
  EXPECT_EQ(pages.ShowRecipientSetup(), RecipientPage::Dst);
  EXPECT_EQ(view.texts[AddressField::DstNameDsp], "四郎");
  view.dst.Select(1);
  pages.ExecDst();
  EXPECT_EQ(prompter.boxes, std::vector<Box>{Info(kRecipientSet)});
  EXPECT_EQ(sysInfo.DstName, "二郎");
  EXPECT_EQ(view.texts[AddressField::DstMailAdrDsp], "b@example.jp");
  EXPECT_EQ(FileValue("SYSTEM", "DST_MAILADR"), "b@example.jp");

  WriteIni("");
  view.texts[AddressField::SendAddMail] = "left@example.jp";
  EXPECT_EQ(pages.ShowRecipientSetup(), RecipientPage::DstSetting);
  EXPECT_EQ(view.texts[AddressField::SendAddMail], "");
}

TEST_F(AddressPagesTest, TheFirstRecipientIsTheTypedOneAndTheWindowHides) {
  for (const char* maillist : {"", "MAIL1=a@example.jp\r\nNAME1=一郎\r\n"}) {
    SCOPED_TRACE(maillist);
    WriteIni(maillist);
    view.hidden = false;
    prompter.boxes.clear();
    view.texts[AddressField::SendAddName] = "初子";
    view.texts[AddressField::SendAddMail] = "first@example.jp";
    pages.ExecDstSetting();
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_EQ(FileValue("SYSTEM", "DST_MAILADR"), "first@example.jp");
    EXPECT_EQ(FileValue("SYSTEM", "DST_NAME"), "初子");
    EXPECT_EQ(sysInfo.DstMailAdr, "first@example.jp");
    EXPECT_EQ(view.texts[AddressField::DstNameDsp], "初子");
    EXPECT_TRUE(view.hidden);
  }
  // A full book: the warning, and the page stays with nothing chosen.
  WriteIni(Slots(kAddressSlots), "DST_MAILADR=friend9@example.jp\r\n");
  view.hidden = false;
  prompter.boxes.clear();
  pages.ExecDstSetting();
  EXPECT_EQ(prompter.boxes, std::vector<Box>{Warn(kAddressListFull)});
  EXPECT_EQ(FileValue("SYSTEM", "DST_MAILADR"), "friend9@example.jp");
  EXPECT_FALSE(view.hidden);
}

}  // namespace
}  // namespace tavisnap
