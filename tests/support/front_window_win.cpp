#include "support/front_window_win.h"

#include "support/driver_win.h"

namespace tavisnap::testing {
namespace {

constexpr wchar_t kClass[] = L"TavisnapTestFrontWindow";

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    // Stripes, so that a picture of it is not one colour.
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    for (int x = 0; x < client.right; x += 40) {
      RECT stripe{x, 0, x + 20, client.bottom};
      HBRUSH brush = CreateSolidBrush(RGB((x * 7) & 0xFF, 0x40, 0xC0));
      FillRect(dc, &stripe, brush);
      DeleteObject(brush);
    }
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

FrontWindow::FrontWindow(int x, int y, int width, int height) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kClass;
  RegisterClassW(&wc);  // a second registration fails harmlessly
  hwnd_ = CreateWindowExW(0, kClass, L"作業中の文書", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, width,
                          height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  Pump(200ms);
}

FrontWindow::~FrontWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool FrontWindow::Activate() {
  SetForegroundWindow(hwnd_);
  SetActiveWindow(hwnd_);
  SetFocus(hwnd_);
  return WaitUntil([&] { return GetForegroundWindow() == hwnd_; }, 5s);
}

SIZE FrontWindow::Size() const {
  RECT r;
  GetWindowRect(hwnd_, &r);
  return {r.right - r.left, r.bottom - r.top};
}

}  // namespace tavisnap::testing
