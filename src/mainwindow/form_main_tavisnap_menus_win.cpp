// Both menus: the entries that open a page, hide or exit, and the menu state, the
// resend entries and the hotkey captions included.
#include "mainwindow/form_main_tavisnap_win.h"

#include "capture/outbox.h"
#include "core/define.h"
#include "core/prompter_win.h"
#include "core/settings_list.h"
#include "mainwindow/mainwindow_resource.h"
#include "win/text_win.h"

namespace tavisnap {
namespace {

constexpr char kExitQuestion[] = "終了します、よろしいですか？";

// Top-level positions of the tray menu that follow the sign-in state.
constexpr UINT kTraySendPos = 0;
constexpr UINT kTrayDeletePos = 2;
constexpr UINT kTraySetPos = 4;
constexpr UINT kTrayViewerPos = 6;

}  // namespace

void TFormMainTavisnap::OnMenuCommand(const MenuCommand& command) {
  switch (command.action) {
    case MenuAction::SetTo:
      return PMenuTraySetToClick();
    case MenuAction::AddrAdd:
    case MenuAction::AddrEdit:
    case MenuAction::AddrDel:
    case MenuAction::UserInfo:
    case MenuAction::UserIdEdit:
    case MenuAction::PwdEdit:
    case MenuAction::PwdNotify:
      return OpenPageFromMenu(command.action);
    case MenuAction::Close:
      return HideMainWindow();
    case MenuAction::Exit:
      ExitProgram(true);
      return;
    case MenuAction::Send:
      return send_.CaptureSend(1);
    case MenuAction::Resend:
      return send_.ResendOldest();
    case MenuAction::Delete:
      return PMenuTrayDeleteClick();
    case MenuAction::Viewer:
      return PMenuViewerClick();
    case MenuAction::CsvImport:
      return CsvLumpClick();
    case MenuAction::CsvExport:
      return exportClick();
    case MenuAction::HotKey:
      return send_.ChangeHotKey(command.hotKeyChoice);
    case MenuAction::BasicAuth:
      return Button_basic_authClick();
    case MenuAction::AutoLogin:
      return MenuSetOtherAutologinClick();
    case MenuAction::HelpDisp:
      return MenuHelpDispClick();
    case MenuAction::Readme:
      return MenuReadmeClick();
    case MenuAction::Version:
      return MenuVersionClick();
  }
}

void TFormMainTavisnap::PMenuTraySetToClick() {
  addressPages_.OpenDst();
  ShowMainTab(MainPage::Dst);
  ShowMainWindow();
}

void TFormMainTavisnap::OpenPageFromMenu(MenuAction action) {
  switch (action) {
    case MenuAction::AddrAdd:
      ShowMainTab(MainPage::AddressAdd);
      break;
    case MenuAction::AddrEdit:
      addressPages_.OpenAddressEdit();
      ShowMainTab(MainPage::AddressEdit);
      break;
    case MenuAction::AddrDel:
      addressPages_.OpenAddressDel();
      ShowMainTab(MainPage::AddressDel);
      break;
    case MenuAction::UserInfo:
      ShowMainTab(MainPage::UserInfo);
      SetControlText(IDC_StaticTextuserinfo_userid_dsp, SysInfo.MailId);
      break;
    case MenuAction::UserIdEdit:
      ShowMainTab(MainPage::UserIdChg);
      break;
    case MenuAction::PwdEdit:
      ShowMainTab(MainPage::PwdChg);
      break;
    case MenuAction::PwdNotify:
      ShowMainTab(MainPage::PwdNotify);
      break;
    default:
      return;
  }
  ShowMainWindow();
}

void TFormMainTavisnap::RefreshMenuStates() {
  trayItems_.Refresh(SysInfo.SignedIn);
  ApplyTrayItemStates();
  MenuIdPair autoLogin = MenuIdsOf(MenuAction::AutoLogin);
  SetMenuCaption(autoLogin.mainId, AutoLoginCaption(SysInfo.AutoLogin));
  SetMenuCaption(autoLogin.trayId, AutoLoginCaption(SysInfo.AutoLogin));
  MenuIdPair basicAuth = MenuIdsOf(MenuAction::BasicAuth);
  SetMenuCaption(basicAuth.mainId, BasicAuthCaption(SysInfo.BasicAuth));
  SetMenuCaption(basicAuth.trayId, BasicAuthCaption(SysInfo.BasicAuth));
  send_.MarkCurrentHotKey();
  RefreshResendEntries();
}

void TFormMainTavisnap::EnableSignedInTrayItems() {
  trayItems_.EnableSignedInItems();
  ApplyTrayItemStates();
  RefreshResendEntries();
}

void TFormMainTavisnap::EnableViewerEntry() {
  trayItems_.EnableViewer();
  ApplyTrayItemStates();
}

void TFormMainTavisnap::ApplyTrayItemStates() {
  HMENU tray = TrayMenu();
  auto apply = [tray](UINT position, bool enabled) {
    EnableMenuItem(tray, position, MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
  };
  apply(kTraySendPos, trayItems_.send);
  apply(kTrayDeletePos, trayItems_.del);
  apply(kTraySetPos, trayItems_.set);
  apply(kTrayViewerPos, trayItems_.viewer);
}

void TFormMainTavisnap::RefreshResendEntries() {
  // Read from the folder each time: it is the one record of what is kept.
  bool kept = Outbox(DefaultOutboxDir()).HasEntries();
  UINT state = ResendEnabled(RunMode, SysInfo.SignedIn, kept) ? MF_ENABLED : MF_GRAYED;
  EnableMenuItem(MainMenu(), IDM_MenuResend, MF_BYCOMMAND | state);
  EnableMenuItem(trayMenu_.get(), IDM_PMenuTrayResend, MF_BYCOMMAND | state);
}

void TFormMainTavisnap::SetHotKeyCaption(const HotKeyMenuEntry& entry, const std::string& caption) {
  MenuIdPair ids = MenuIdsOf(MenuAction::HotKey, entry.choice);
  SetMenuCaption(entry.tray ? ids.trayId : ids.mainId, caption);
}

void TFormMainTavisnap::SetMenuCaption(int id, const std::string& caption) {
  std::wstring text = Widen(caption);
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING;
  info.dwTypeData = text.data();
  // An id lives in one of the two menus; the search goes through their submenus.
  if (!SetMenuItemInfoW(MainMenu(), static_cast<UINT>(id), FALSE, &info)) {
    SetMenuItemInfoW(trayMenu_.get(), static_cast<UINT>(id), FALSE, &info);
  }
}

bool TFormMainTavisnap::ExitProgram(bool ask) {
  if (ask && !Win32Prompter().ConfirmCancelDefault(kExitQuestion)) return false;
  RemoveTrayIcon();
  send_.StopHotKeys();
  Settings.Clear();  // not written: every change was saved when it was made
  PostQuitMessage(0);
  return true;
}

}  // namespace tavisnap
