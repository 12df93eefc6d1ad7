#include "win/wait_cursor_win.h"

#include <windows.h>

namespace tavisnap {
namespace {

int holders = 0;  // the user-interface thread's alone

// The window under the pointer, if it is one of this thread's, takes the cursor it
// should have now; the others' cursors are not ours to set.
void RefreshCursor() {
  POINT at;
  if (!GetCursorPos(&at)) return;
  HWND under = WindowFromPoint(at);
  if (!under || GetWindowThreadProcessId(under, nullptr) != GetCurrentThreadId()) return;
  LRESULT hit = SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
  SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
               MAKELPARAM(LOWORD(hit), WM_MOUSEMOVE));
}

}  // namespace

void WaitCursor::Hold() {
  if (held_) return;
  held_ = true;
  if (++holders == 1) RefreshCursor();
}

void WaitCursor::Release() {
  if (!held_) return;
  held_ = false;
  if (--holders == 0) RefreshCursor();
}

// A disabled window's HTERROR is left alone: it makes the window in front of it flash.
bool SetWaitCursorIfHeld(unsigned hitTest) {
  if (holders == 0 || static_cast<short>(hitTest) == HTERROR) return false;
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  return true;
}

}  // namespace tavisnap
