#include "mainwindow/form_main_tavisnap_win.h"

namespace tavisnap {

TFormMainTavisnap::TFormMainTavisnap(HICON icon) {
  Create(kMainWindowClass, kMainWindowTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
         0, CW_USEDEFAULT, CW_USEDEFAULT, 624, 380, nullptr, nullptr, icon);
}

LRESULT TFormMainTavisnap::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLOSE:
      ShowWindow(hwnd(), SW_HIDE);  // the program lives on in the tray
      return 0;
  }
  return Default(msg, wp, lp);
}

}  // namespace tavisnap
