// The program's icon in the notification area. Removing it is idempotent and also
// happens on destruction, so no dead icon stays behind however the program ends.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace tavisnap {

class TrayIcon {
 public:
  TrayIcon() = default;
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;
  ~TrayIcon() { Remove(); }

  // Adds the icon (nothing when it is there already). Asks for the version 4 callbacks,
  // which let the keyboard open the menu; returns whether the icon was added.
  bool Add(HWND owner, UINT id, UINT callbackMessage, HICON icon, const std::wstring& tip);
  // After the shell's taskbar was re-created: the old icon went with it. Nothing when
  // the icon was never added or has been removed.
  void Restore();
  void Remove();

  bool added() const { return added_; }
  // Whether the shell sends the version 4 callbacks (event in LOWORD(lParam)).
  bool version4() const { return version4_; }

 private:
  bool AddToShell();

  NOTIFYICONDATAW data_{};
  bool wanted_ = false;  // between Add and Remove
  bool added_ = false;   // the shell accepted it
  bool version4_ = false;
};

}  // namespace tavisnap
