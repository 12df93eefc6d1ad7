#include "app/form_splash_win.h"

#include "core/startup.h"
#include "win/layout_win.h"

namespace tavisnap {
namespace {

constexpr int kClientWidth = 310;
constexpr int kClientHeight = 181;

}  // namespace

TFormSplash::TFormSplash(HBITMAP logo) : logo_(logo) {
  Create(L"TFormSplash", L"タビスナップ", WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, 0, 0,
         kClientWidth, kClientHeight, nullptr, nullptr);
  // Borderless, so the client area is the whole window.
  const UINT dpi = GetDpiForWindow(hwnd());
  SizeClientArea(hwnd(), ScaleForDpi(kClientWidth, dpi), ScaleForDpi(kClientHeight, dpi));
}

TFormSplash::~TFormSplash() {
  if (logo_) DeleteObject(logo_);
}

void TFormSplash::ShowAnimated() {
  RECT frame;
  GetWindowRect(hwnd(), &frame);
  Origin o = CentredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                           frame.right - frame.left, frame.bottom - frame.top);
  SetWindowPos(hwnd(), HWND_TOPMOST, o.left, o.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  if (!AnimateWindow(hwnd(), 800, AW_CENTER)) ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
  UpdateWindow(hwnd());
}

void TFormSplash::Close() {
  ShowWindow(hwnd(), SW_HIDE);
}

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
        // The logo's pixels are 96-dpi pixels: scaled with the window, clipped by it.
        const UINT dpi = GetDpiForWindow(hwnd());
        BITMAP info{};
        GetObjectW(logo_, sizeof info, &info);
        HDC mem = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(mem, logo_);
        SetStretchBltMode(dc, HALFTONE);
        StretchBlt(dc, 0, 0, ScaleForDpi(info.bmWidth, dpi), ScaleForDpi(info.bmHeight, dpi), mem,
                   0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
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
