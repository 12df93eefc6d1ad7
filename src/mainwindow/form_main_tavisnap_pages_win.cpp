// Showing one page at a time, and the recipient set-up that the send flow asks for.
#include "mainwindow/form_main_tavisnap_win.h"

#include <commctrl.h>

#include "core/define.h"
#include "mainwindow/mainwindow_resource.h"
#include "win/text_win.h"

namespace tavisnap {
namespace {

// The two edits of each page (0: none), in page order.
constexpr int kPageEdits[kMainPageCount][2] = {{0, 0},
                                               {IDC_Edit_add_name, IDC_Edit_add_mailadr},
                                               {IDC_Edit_upd_name, IDC_Edit_upd_mailadr},
                                               {0, 0},
                                               {0, 0},
                                               {IDC_Edit_idchg_userid, IDC_Edit_idchg_confrm},
                                               {IDC_Edit_pwdchg, IDC_Edit_pwdchg_confrm},
                                               {0, 0},
                                               {IDC_Edit_send_add_name, IDC_Edit_send_add_mail}};

}  // namespace

void TFormMainTavisnap::ShowMainTab(MainPage page) {
  paged_.Show(static_cast<size_t>(page));
  const MainPageInfo& info = PageInfo(page);
  std::wstring caption = Widen(info.tabCaption);
  HWND tab = GetDlgItem(hwnd(), IDC_Main_PageControlData);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = caption.data();
  SendMessageW(tab, TCM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  SetWindowTextW(tab, caption.c_str());  // the tab control's accessible name
  // A status bar cannot hold the focus: the page's first control takes it, so a screen
  // reader starts reading the page there.
  pendingFocus_ = Page(page).FirstTabStop();
  if (IsVisible()) PlaceFocus();
  currentTab_ = page;
  SetExecButton(info);
  if (info.clearsEdits) ClearPageEdits(page);
}

void TFormMainTavisnap::SetExecButton(const MainPageInfo& info) {
  HWND exec = GetDlgItem(hwnd(), IDC_Button_exec);
  if (!info.execCaption) {
    ShowWindow(exec, SW_HIDE);
    return;
  }
  SetWindowTextW(exec, Widen(info.execCaption).c_str());
  ShowWindow(exec, SW_SHOW);
}

void TFormMainTavisnap::ClearPageEdits(MainPage page) {
  for (int id : kPageEdits[static_cast<size_t>(page)]) {
    if (id) SetWindowTextW(Item(id), L"");
  }
}

void TFormMainTavisnap::ShowMainWindow() {
  ShowWindow(hwnd(), SW_SHOWNORMAL);
  SetForegroundWindow(hwnd());
  PlaceFocus();
  RedrawWindow(hwnd(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TFormMainTavisnap::PlaceFocus() {
  if (pendingFocus_ && IsWindow(pendingFocus_)) {
    SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pendingFocus_), TRUE);
  }
  pendingFocus_ = nullptr;
}

void TFormMainTavisnap::ShowRecipientSetup() {
  ShowMainWindow();
  RecipientPage page = addressPages_.ShowRecipientSetup();
  ShowMainTab(page == RecipientPage::DstSetting ? MainPage::DstSetting : MainPage::Dst);
}

void TFormMainTavisnap::SetAccountWindowVisibleQuery(std::function<bool()> query) {
  accountWindowVisible_ = query ? std::move(query) : [] { return false; };
}

}  // namespace tavisnap
