#include "win/tray_icon_win.h"

#include <iterator>

namespace tavisnap {

bool TrayIcon::Add(HWND owner, UINT id, UINT callbackMessage, HICON icon, const std::wstring& tip) {
  if (wanted_ && added_) return true;
  wanted_ = true;
  data_ = {};
  // The whole modern record: the shell reads the version and the tip from its size.
  data_.cbSize = sizeof data_;
  data_.hWnd = owner;
  data_.uID = id;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = callbackMessage;
  data_.hIcon = icon;
  tip.copy(data_.szTip, std::size(data_.szTip) - 1);
  return AddToShell();
}

bool TrayIcon::AddToShell() {
  added_ = Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;
  if (!added_) return false;
  NOTIFYICONDATAW version = data_;
  version.uVersion = NOTIFYICON_VERSION_4;
  version4_ = Shell_NotifyIconW(NIM_SETVERSION, &version) != FALSE;
  return true;
}

void TrayIcon::Restore() {
  if (wanted_ && IsWindow(data_.hWnd)) AddToShell();
}

void TrayIcon::Remove() {
  if (!wanted_) return;
  Shell_NotifyIconW(NIM_DELETE, &data_);
  wanted_ = added_ = false;
}

}  // namespace tavisnap
