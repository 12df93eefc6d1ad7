// The execute button's dispatch, and the actions behind pages and menu entries that
// later work fills in. Until then each one does nothing, and says nothing.
#include "mainwindow/form_main_tavisnap_win.h"

namespace tavisnap {

void TFormMainTavisnap::Button_execClick() {
  switch (currentTab_) {
    case MainPage::Dst: return ChooseRecipient();
    case MainPage::AddressAdd: return AddAddressEntry();
    case MainPage::AddressEdit: return UpdateAddressEntry();
    case MainPage::AddressDel: return DeleteAddressEntry();
    case MainPage::UserInfo: return;  // an information page: nothing to execute
    case MainPage::UserIdChg: return UserIdChange();
    case MainPage::PwdChg: return PasswordChange();
    case MainPage::PwdNotify: return PasswordReNotify();
    case MainPage::DstSetting: return AddFirstRecipient();
  }
}

// Address book: fills the page's list with the hidden name and address lists.
void TFormMainTavisnap::FillAddressCombo(int visibleListId) {}
void TFormMainTavisnap::ChooseRecipient() {}
void TFormMainTavisnap::AddAddressEntry() {}
void TFormMainTavisnap::UpdateAddressEntry() {}
void TFormMainTavisnap::DeleteAddressEntry() {}
void TFormMainTavisnap::AddFirstRecipient() {}
void TFormMainTavisnap::CsvLumpClick() {}
void TFormMainTavisnap::exportClick() {}

// Account maintenance.
void TFormMainTavisnap::UserIdChange() {}
void TFormMainTavisnap::PasswordChange() {}
void TFormMainTavisnap::PasswordReNotify() {}
void TFormMainTavisnap::PMenuTrayDeleteClick() {}
void TFormMainTavisnap::Button_basic_authClick() {}

// Hotkeys and the capture-send flow.
void TFormMainTavisnap::RegisterHotKeyPair() {}
void TFormMainTavisnap::CaptureSend(int mode) {}
void TFormMainTavisnap::PMenuTraySetHotKeyClick(int choice) {}

// Viewer, preference toggle, help.
void TFormMainTavisnap::PMenuViewerClick() {}
void TFormMainTavisnap::MenuSetOtherAutologinClick() {}
void TFormMainTavisnap::MenuHelpDispClick() {}
void TFormMainTavisnap::MenuReadmeClick() {}
void TFormMainTavisnap::MenuVersionClick() {}

}  // namespace tavisnap
