// The execute button's dispatch to the page on show, and the viewer and help entries.
#include "mainwindow/form_main_tavisnap_win.h"

#include "update/help_entries_win.h"

namespace tavisnap {

void TFormMainTavisnap::Button_execClick() {
  switch (currentTab_) {
    case MainPage::Dst:
      return addressPages_.ExecDst();
    case MainPage::AddressAdd:
      return addressPages_.ExecAddressAdd();
    case MainPage::AddressEdit:
      return addressPages_.ExecAddressEdit();
    case MainPage::AddressDel:
      return addressPages_.ExecAddressDel();
    case MainPage::UserInfo:
      return;  // an information page: nothing to execute
    case MainPage::UserIdChg:
      return UserIdChange();
    case MainPage::PwdChg:
      return PasswordChange();
    case MainPage::PwdNotify:
      return PasswordReNotify();
    case MainPage::DstSetting:
      return addressPages_.ExecDstSetting();
  }
}

// Viewer and help.
void TFormMainTavisnap::PMenuViewerClick() {
  if (showViewer_) showViewer_(true);
}

void TFormMainTavisnap::ShowViewerModeless() {
  if (showViewer_) showViewer_(false);
}

void TFormMainTavisnap::MenuHelpDispClick() {
  OpenHelpPage(hwnd());
}
void TFormMainTavisnap::MenuReadmeClick() {
  OpenReadme(hwnd());
}
void TFormMainTavisnap::MenuVersionClick() {
  ShowVersionBox();
}

}  // namespace tavisnap
