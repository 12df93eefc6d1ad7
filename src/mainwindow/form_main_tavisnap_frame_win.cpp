// The window's messages: buttons and menus, hiding instead of closing or minimising,
// the tray callback and the shell's restart.
#include "mainwindow/form_main_tavisnap_win.h"

#include "mainwindow/mainwindow_resource.h"

namespace tavisnap {

INT_PTR TFormMainTavisnap::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kTrayCallbackMessage) {
    TrayCallback(wp, lp);
    return TRUE;
  }
  if (taskbarCreated_ != 0 && msg == taskbarCreated_) {
    tray_.Restore();
    return TRUE;
  }
  switch (msg) {
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) == SC_MINIMIZE) {
        AppOnMinimize();
        return TRUE;
      }
      return FALSE;
    case WM_SIZE:
      if (wp == SIZE_MINIMIZED) AppOnMinimize();  // minimised by other means than the box
      return FALSE;
    case WM_HELP:
      MenuHelpDispClick();
      return TRUE;
    case WM_HOTKEY:  // the identifier is the capture mode
      send_.CaptureSend(static_cast<int>(wp));
      return TRUE;
    case WM_ENDSESSION:
      if (wp) RemoveTrayIcon();
      return TRUE;
  }
  return FALSE;
}

bool TFormMainTavisnap::OnCommand(int id, int code) {
  if (code == CBN_SELCHANGE) {
    OnListSelect(id);
    return true;
  }
  switch (id) {
    case IDC_Button_exec:
      if (code == BN_CLICKED) Button_execClick();
      return true;
    case IDC_Main_Button_cancel:
    case IDCANCEL:  // Escape
      if (code == BN_CLICKED) Button_cancelClick();
      return true;
  }
  if (auto command = MenuCommandFor(id)) {
    OnMenuCommand(*command);
    return true;
  }
  return false;
}

}  // namespace tavisnap
