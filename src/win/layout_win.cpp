#include "win/layout_win.h"

namespace tavisnap {

HFONT LayoutFonts::Get(const LayoutFont& wanted, UINT dpi) {
  Key key{wanted.face, wanted.pixels, dpi};
  if (auto it = fonts_.find(key); it != fonts_.end()) return it->second;
  HFONT font = CreateFontW(-ScaleForDpi(wanted.pixels, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                           FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, wanted.face);
  if (font) fonts_.emplace(key, font);
  return font;
}

void LayoutFonts::Clear() {
  for (auto& [key, font] : fonts_) DeleteObject(font);
  fonts_.clear();
}

void ApplyPlacements(HWND window, const DialogLayout& layout, UINT dpi, LayoutFonts& fonts) {
  if (HFONT font = fonts.Get(layout.font, dpi)) {
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
  }
  for (const Placement& p : layout.controls) {
    HWND control = GetDlgItem(window, p.id);
    if (!control) continue;
    if (p.fontPixels) {
      if (HFONT own = fonts.Get(LayoutFont{layout.font.face, p.fontPixels}, dpi)) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(own), FALSE);
      }
    }
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (p.width == 0 && p.height == 0) flags |= SWP_NOSIZE;
    SetWindowPos(control, nullptr, ScaleForDpi(p.x, dpi), ScaleForDpi(p.y, dpi),
                 ScaleForDpi(p.width, dpi), ScaleForDpi(p.height, dpi), flags);
  }
}

void SizeClientArea(HWND window, int width, int height) {
  // Twice: the first pass may change how many lines the menu bar takes.
  for (int pass = 0; pass < 2; ++pass) {
    RECT frame, client;
    GetWindowRect(window, &frame);
    GetClientRect(window, &client);
    const int frameWidth = (frame.right - frame.left) - client.right;
    const int frameHeight = (frame.bottom - frame.top) - client.bottom;
    if (client.right == width && client.bottom == height && pass > 0) break;
    SetWindowPos(window, nullptr, 0, 0, width + frameWidth, height + frameHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void CentreOnWorkArea(HWND window) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
  RECT frame;
  GetWindowRect(window, &frame);
  const RECT& work = monitor.rcWork;
  SetWindowPos(window, nullptr,
               work.left + (work.right - work.left - (frame.right - frame.left)) / 2,
               work.top + (work.bottom - work.top - (frame.bottom - frame.top)) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tavisnap
