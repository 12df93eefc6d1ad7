// What the send panel's logic reads from and does to TFormSendPanel, and what it needs
// of the address book, so that the logic runs without a window in tests.
#pragma once

#include <string>

#include "imaging/gradation.h"

namespace tavisnap {

enum class PanelField {
  DstNameDsp,       // StaticText_dst_name_dsp
  DstMailAdrDsp,    // StaticText_dst_mailadr_dsp
  MailToEmail,      // Edit_MailTo_Email
  CcEmail,          // Edit_Cc_Email
  BccEmail,         // Edit_Bcc_Email
  Message,          // Memo_Message; lines end in CR LF
  ImageMode,        // StaticText_Image
  DetailImageMode,  // StaticText_d_Image
};

// The visible drop-down lists; item 0 is the prompt, item i the i-th address-book entry.
enum class PanelList {
  DstList,     // ComboBox_dst_list
  MailToList,  // ComboBox_MailTo_list
  CcList,      // ComboBox_Cc_list
  BccList,     // ComboBox_Bcc_list
};

// The four buttons Button_chgmadrClick serves.
enum class PanelButton {
  ChgMadr,    // Button_chgmadr
  ChgMailTo,  // Button_ChgMailTo
  CcAdd,      // Button_Cc_Add
  BccAdd,     // Button_Bcc_Add
};

// The page whose Send button was pressed.
enum class PanelPage {
  Easy,      // Button_send_exec on TabSheet_easy
  Detailed,  // Button_d_Send_exec on TabSheet_detailed
};

class SendPanelView {
 public:
  virtual ~SendPanelView() = default;
  virtual std::string Text(PanelField field) const = 0;
  virtual void SetText(PanelField field, const std::string& text) = 0;
  // -1 when nothing is selected.
  virtual int SelectedIndex(PanelList list) const = 0;
  virtual void Select(PanelList list, int index) = 0;
  // Image_Image and Image_d_image take the picture, stretched to their placement in
  // Panel_image and Panel_d_image.
  virtual void ShowPreview(const PreviewPictures& previews) = 0;
  // Both previews empty.
  virtual void ClearPreview() = 0;
  // Ends the modal showing.
  virtual void Close() = 0;
  // Puts the page on show, as if the user had chosen its tab, without the page change's
  // own steps.
  virtual void ShowPage(PanelPage page) {}
  // Button_d_reader can be pressed.
  virtual void EnableReaderButton(bool enabled) {}
  // The keyboard focus into Memo_Message, at the end of its text.
  virtual void FocusMessageEnd() {}
};

// The address book as the panel uses it (FillSendPanelLists and SetCurrentRecipient
// with the panel's own lists).
class SendPanelAddressBook {
 public:
  virtual ~SendPanelAddressBook() = default;
  // The four visible lists and the hidden ComboBox_name and ComboBox_mailadr refilled
  // from the address book, the prompt item first and selected in each.
  virtual void FillLists() = 0;
  // Item index of the hidden lists.
  virtual std::string NameAt(int index) const = 0;
  virtual std::string AddressAt(int index) const = 0;
  // The entry at index becomes the current recipient in system.ini and is announced;
  // the prompt item is refused with its warning (false). SysInfo is the caller's to set.
  virtual bool SetCurrentRecipient(int index) = 0;
};

}  // namespace tavisnap
