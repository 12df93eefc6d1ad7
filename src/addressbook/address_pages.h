// The decisions of the main window's address-book pages: what opening a page fills in,
// the edit page's choice of an entry, and the execute button of each page. The window
// keeps its own page switching (ShowMainTab): it calls an Open function, then shows the
// page; Button_exec on a page calls that page's Exec function. A typed name with
// characters system.ini cannot hold is refused with a warning naming them; the page keeps
// what was typed.
#pragma once

#include "addressbook/address_book.h"
#include "addressbook/address_pages_view.h"
#include "core/prompter.h"

namespace tavisnap {

// Where a capture without a recipient sends the user.
enum class RecipientPage {
  Dst,         // TabSheet_dst: choose one of the book's entries
  DstSetting,  // TabSheet_dst_setting: type the first recipient
};

class AddressPages {
 public:
  AddressPages(AddressPagesView& view, AddressBook& book, Prompter& prompter);

  // Menu entries, before ShowMainTab of their page.
  void OpenDst();          // "送信先設定(&S)": TabSheet_dst
  void OpenAddressEdit();  // "編集(&U)": TabSheet_Address_edit
  void OpenAddressDel();   // "削除(&D)": TabSheet_Address_del
  // After the window has been shown; the window then shows the page returned.
  RecipientPage ShowRecipientSetup();

  // OnSelect of ComboBox_upd_maillist.
  void UpdMaillistSelect();

  // Button_exec on each page.
  void ExecDst();
  void ExecAddressAdd();
  void ExecAddressEdit();
  void ExecAddressDel();
  void ExecDstSetting();

 private:
  ChoiceList& List(AddressListId id) { return view_.List(id); }
  bool Fill(AddressListId visible);
  // The pair at item index of the hidden lists becomes the current recipient on show.
  void TakeRecipient(int index);

  AddressPagesView& view_;
  AddressBook& book_;
  Prompter& prompter_;
};

}  // namespace tavisnap
