// What the address-book pages of the main window read from and do to the window, so that
// their decisions run without one in tests. The window side maps each field to its edit
// or static text and each list to a ChoiceList over its combo box (the hidden name and
// address lists may be in-memory ChoiceItems).
#pragma once

#include <string>

#include "addressbook/choice_list.h"

namespace tavisnap {

enum class AddressField {
  AddName,        // Edit_add_name
  AddMailAdr,     // Edit_add_mailadr
  UpdName,        // Edit_upd_name
  UpdMailAdr,     // Edit_upd_mailadr
  SendAddName,    // Edit_send_add_name
  SendAddMail,    // Edit_send_add_mail
  DstNameDsp,     // StaticText_dst_name_dsp
  DstMailAdrDsp,  // StaticText_dst_meailadr_dsp
};

enum class AddressListId {
  DstList,      // ComboBox_dst_list
  UpdMaillist,  // ComboBox_upd_maillist
  DelMaillist,  // ComboBox_del_maillist
  Name,         // ComboBox_name (hidden)
  MailAdr,      // ComboBox_mailadr (hidden)
};

class AddressPagesView {
 public:
  virtual ~AddressPagesView() = default;

  virtual std::string Text(AddressField field) const = 0;
  virtual void SetText(AddressField field, const std::string& text) = 0;
  virtual ChoiceList& List(AddressListId list) = 0;
  // The main window hides (it stays alive in the tray).
  virtual void HideWindow() = 0;
};

}  // namespace tavisnap
