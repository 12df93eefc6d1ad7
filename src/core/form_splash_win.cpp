#include "core/form_splash_win.h"

#include "core/startup.h"

namespace tavisnap {
namespace {

constexpr int kClientWidth = 310;
constexpr int kClientHeight = 181;

}  // namespace

TFormSplash::TFormSplash(HBITMAP logo) : logo_(logo) {
  // Borderless, so the client area is the whole window.
  Create(L"TFormSplash", L"タビスナップ", WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, 0, 0,
         kClientWidth, kClientHeight, nullptr, nullptr);
}

TFormSplash::~TFormSplash() {
  if (logo_) DeleteObject(logo_);
}

void TFormSplash::ShowAnimated() {
  Origin o = CentredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                           kClientWidth, kClientHeight);
  SetWindowPos(hwnd(), HWND_TOPMOST, o.left, o.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  if (!AnimateWindow(hwnd(), 800, AW_CENTER)) ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
  UpdateWindow(hwnd());
}

void TFormSplash::Close() { ShowWindow(hwnd(), SW_HIDE); }

LRESULT TFormSplash::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PRINTCLIENT:
    case WM_PAINT: {
      PAINTSTRUCT ps{};
      HDC dc = msg == WM_PAINT ? BeginPaint(hwnd(), &ps) : reinterpret_cast<HDC>(wp);
      RECT rc;
      GetClientRect(hwnd(), &rc);
      FillRect(dc, &rc, GetSysColorBrush(COLOR_WINDOW));
      if (logo_) {
        HDC mem = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(mem, logo_);
        BitBlt(dc, 0, 0, rc.right, rc.bottom, mem, 0, 0, SRCCOPY);  // the window clips the logo
        SelectObject(mem, old);
        DeleteDC(mem);
      }
      if (msg == WM_PAINT) EndPaint(hwnd(), &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
  }
  return Default(msg, wp, lp);
}

}  // namespace tavisnap
