#include "addressbook/address_pages.h"

#include <string>

#include "addressbook/address_texts.h"
#include "core/codepage.h"
#include "core/validation.h"

namespace tavisnap {
namespace {

// system.ini is code page 932: a character it lacks would be stored as "?" without a word.
// Refused with a warning that names each such character; true when the name can be stored.
bool IsStorableName(const std::string& name, Prompter& prompter) {
  std::u32string lost = Cp932LostCharacters(name);
  if (lost.empty()) return true;
  std::string text = kNameLostPrefix;
  for (char32_t c : lost) {
    text += "「";
    AppendUtf8(text, c);
    text += "」";
  }
  prompter.Warning(text + kNameLostSuffix);
  return false;
}

}  // namespace

AddressPages::AddressPages(AddressPagesView& view, AddressBook& book, Prompter& prompter)
    : view_(view), book_(book), prompter_(prompter) {}

bool AddressPages::Fill(AddressListId visible) {
  return book_.FillAddressCombo(List(visible), List(AddressListId::Name),
                                List(AddressListId::MailAdr));
}

void AddressPages::TakeRecipient(int index) {
  TTypSysInfo& info = book_.sysInfo();
  info.DstName = List(AddressListId::Name).Item(index);
  info.DstMailAdr = List(AddressListId::MailAdr).Item(index);
  view_.SetText(AddressField::DstNameDsp, info.DstName);
  view_.SetText(AddressField::DstMailAdrDsp, info.DstMailAdr);
}

void AddressPages::OpenDst() {
  Fill(AddressListId::DstList);
  view_.SetText(AddressField::DstNameDsp, book_.sysInfo().DstName);
  view_.SetText(AddressField::DstMailAdrDsp, book_.sysInfo().DstMailAdr);
}

void AddressPages::OpenAddressEdit() {
  Fill(AddressListId::UpdMaillist);
}

void AddressPages::OpenAddressDel() {
  Fill(AddressListId::DelMaillist);
}

RecipientPage AddressPages::ShowRecipientSetup() {
  Fill(AddressListId::DstList);
  if (List(AddressListId::Name).Count() <= 1) {
    view_.SetText(AddressField::SendAddName, "");
    view_.SetText(AddressField::SendAddMail, "");
    return RecipientPage::DstSetting;
  }
  view_.SetText(AddressField::DstNameDsp, book_.sysInfo().DstName);
  view_.SetText(AddressField::DstMailAdrDsp, book_.sysInfo().DstMailAdr);
  return RecipientPage::Dst;
}

void AddressPages::UpdMaillistSelect() {
  int index = List(AddressListId::UpdMaillist).Selected();
  // The prompt item's hidden texts are the prompt itself: choosing it empties both.
  bool entry = index >= 1;
  view_.SetText(AddressField::UpdName, entry ? List(AddressListId::Name).Item(index) : "");
  view_.SetText(AddressField::UpdMailAdr, entry ? List(AddressListId::MailAdr).Item(index) : "");
}

void AddressPages::ExecDst() {
  int index = List(AddressListId::DstList).Selected();
  if (book_.SetCurrentRecipient(List(AddressListId::Name), List(AddressListId::MailAdr), index,
                                true)) {
    TakeRecipient(index);
  }
}

void AddressPages::ExecAddressAdd() {
  std::string mailAdr = view_.Text(AddressField::AddMailAdr);
  if (!IsValidMailAddress(mailAdr)) {
    prompter_.Warning(kCheckAddress);
    return;
  }
  std::string name = view_.Text(AddressField::AddName);
  if (!IsStorableName(name, prompter_)) return;
  book_.AddAddress(mailAdr, name, true);
}

void AddressPages::ExecAddressEdit() {
  int index = List(AddressListId::UpdMaillist).Selected();
  // The prompt item matches no entry; updating it would only claim a change.
  if (index < 1 || index >= List(AddressListId::MailAdr).Count()) {
    prompter_.Warning(kChooseAddress);
    return;
  }
  std::string mailAdr = view_.Text(AddressField::UpdMailAdr);
  if (!IsValidMailAddress(mailAdr)) {
    prompter_.Warning(kCheckAddress);
    return;
  }
  std::string name = view_.Text(AddressField::UpdName);
  if (!IsStorableName(name, prompter_)) return;
  if (book_.UpdateAddress(mailAdr, name, List(AddressListId::Name), List(AddressListId::MailAdr),
                          index)) {
    Fill(AddressListId::UpdMaillist);
  }
}

void AddressPages::ExecAddressDel() {
  int index = List(AddressListId::DelMaillist).Selected();
  if (index < 1 || index >= List(AddressListId::MailAdr).Count()) return;
  bool current = List(AddressListId::MailAdr).Item(index) == book_.sysInfo().DstMailAdr;
  if (!prompter_.Confirm(current ? kDeleteCurrentQuestion : kDeleteQuestion)) return;
  if (book_.DeleteAddress(List(AddressListId::Name), List(AddressListId::MailAdr), index,
                          current)) {
    Fill(AddressListId::DelMaillist);
  }
}

void AddressPages::ExecDstSetting() {
  std::string mailAdr = view_.Text(AddressField::SendAddMail);
  if (!IsValidMailAddress(mailAdr)) {
    prompter_.Warning(kCheckAddress);
    return;
  }
  std::string name = view_.Text(AddressField::SendAddName);
  if (!IsStorableName(name, prompter_)) return;
  if (book_.AddAddress(mailAdr, name, false) == AddResult::NotSaved) return;
  if (!Fill(AddressListId::DelMaillist)) return;
  // The typed address, not simply the first entry: the book may have been filled from
  // another page meanwhile, and a capture must not go to somebody else.
  ChoiceList& mailAdrs = List(AddressListId::MailAdr);
  int index = 1;
  while (index < mailAdrs.Count() && mailAdrs.Item(index) != mailAdr) ++index;
  if (index >= mailAdrs.Count()) return;  // refused: the book is full
  if (!book_.SetCurrentRecipient(List(AddressListId::Name), mailAdrs, index, false)) return;
  TakeRecipient(index);
  view_.HideWindow();
}

}  // namespace tavisnap
