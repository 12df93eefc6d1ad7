// The tray icon and its callback: the double click opens the recipient page, the
// right button, Shift+F10, the application key and Enter open the menu. A single click
// does nothing: the program's users expect that of it. The keyboard's way to the menu
// and the icon's return after the shell restarts (form_main_tavisnap_frame_win.cpp) are
// deliberate: without them a tray-only program is out of reach.
#include "mainwindow/form_main_tavisnap_win.h"

#include <shellapi.h>
#include <windowsx.h>

#include "core/define.h"
#include "core/prompter_win.h"

namespace tavisnap {
namespace {

constexpr char kOfflineWarning[] = "オフラインモードです\r\n（viewer機能のみ利用できます）";

}  // namespace

void TFormMainTavisnap::AddTrayIcon() {
  tray_.Add(hwnd(), kTrayIconId, kTrayCallbackMessage, icon_, kMainWindowTitle);
}

void TFormMainTavisnap::RemoveTrayIcon() {
  tray_.Remove();
}

void TFormMainTavisnap::TrayCallback(WPARAM wp, LPARAM lp) {
  // The old callbacks carry the mouse message in lParam, version 4 in its low word.
  switch (LOWORD(lp)) {
    case WM_LBUTTONDBLCLK:
      OnTrayDoubleClick();
      return;
    case WM_RBUTTONDOWN:
      // Version 4 follows the right button with WM_CONTEXTMENU, which opens the menu.
      if (!tray_.version4()) OpenTrayMenu(TrayAnchor(wp));
      return;
    case WM_CONTEXTMENU:
      OpenTrayMenu(TrayAnchor(wp));
      return;
    case NIN_KEYSELECT:
      // Enter may arrive twice; the second one was queued while the menu was open.
      if (static_cast<LONG>(static_cast<DWORD>(GetMessageTime()) - trayMenuClosedAt_) < 0) return;
      OpenTrayMenu(TrayAnchor(wp));
      return;
  }
}

POINT TFormMainTavisnap::TrayAnchor(WPARAM wp) const {
  POINT at{};
  if (tray_.version4()) {
    at = {GET_X_LPARAM(wp), GET_Y_LPARAM(wp)};
  } else {
    GetCursorPos(&at);
  }
  return at;
}

void TFormMainTavisnap::OnTrayDoubleClick() {
  switch (DecideTrayDoubleClick(RunMode, accountWindowVisible_())) {
    case TrayDoubleClick::OfflineWarning:
      Win32Prompter().Warning(kOfflineWarning);
      return;
    case TrayDoubleClick::Ignore:
      return;
    case TrayDoubleClick::OpenRecipientPage:
      PMenuTraySetToClick();  // shows the window in front and repaints it
      return;
  }
}

void TFormMainTavisnap::OpenTrayMenu(POINT at) {
  if (trackingTrayMenu_) return;
  trackingTrayMenu_ = true;
  // The menu closes on a click elsewhere only when its owner is in front.
  SetForegroundWindow(hwnd());
  UINT align = GetSystemMetrics(SM_MENUDROPALIGNMENT) ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
  TrackPopupMenuEx(TrayMenu(), align | TPM_RIGHTBUTTON, at.x, at.y, hwnd(), nullptr);
  PostMessageW(hwnd(), WM_NULL, 0, 0);
  trayMenuClosedAt_ = GetTickCount();
  trackingTrayMenu_ = false;
}

}  // namespace tavisnap
