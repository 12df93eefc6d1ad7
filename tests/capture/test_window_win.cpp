#include "capture/test_window_win.h"

#include "support/driver_win.h"

namespace tavisnap::testing {
namespace {

const wchar_t kClass[] = L"TCaptureBlocks";
const Rgb kColours[] = {{220, 20, 30}, {20, 180, 40}, {30, 40, 210}, {20, 20, 20}};

COLORREF Ref(Rgb c) {
  return RGB(c.r, c.g, c.b);
}

}  // namespace

template <typename Function>
Function User32(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

bool MakeProcessDpiAware() {
  auto set = User32<BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT)>("SetProcessDpiAwarenessContext");
  auto get = User32<DPI_AWARENESS_CONTEXT(WINAPI*)()>("GetThreadDpiAwarenessContext");
  auto awareness =
      User32<DPI_AWARENESS(WINAPI*)(DPI_AWARENESS_CONTEXT)>("GetAwarenessFromDpiAwarenessContext");
  if (!set || !get || !awareness) return false;
  // Wine 8 knows no v2 context (and starts processes per-monitor aware already).
  if (!set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2))
    set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
  return awareness(get()) == DPI_AWARENESS_PER_MONITOR_AWARE;
}

BlockWindow::BlockWindow(int x, int y) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kClass;
  RegisterClassW(&wc);  // fails harmlessly for the second window
  hwnd_ = CreateWindowExW(WS_EX_TOPMOST, kClass, L"capture blocks", WS_POPUP, x, y, kWidth, kHeight,
                          nullptr, nullptr, wc.hInstance, this);
}

BlockWindow::~BlockWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
}

Block BlockWindow::BlockAt(int index) const {
  RECT r{40 + index * 150, 40, 40 + index * 150 + 120, 200};
  return Block{r, kColours[(index + palette_) % kBlocks]};
}

POINT BlockWindow::Origin() const {
  RECT r;
  GetWindowRect(hwnd_, &r);
  return POINT{r.left, r.top};
}

void BlockWindow::MoveTo(int x, int y) {
  SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void BlockWindow::SetCursorShape(const wchar_t* id) {
  HCURSOR cursor = LoadCursorW(nullptr, id);
  SetClassLongPtrW(hwnd_, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cursor));
  SetCursor(cursor);
}

bool BlockWindow::Show(int palette) {
  palette_ = palette;
  ShowWindow(hwnd_, SW_SHOW);
  InvalidateRect(hwnd_, nullptr, TRUE);
  UpdateWindow(hwnd_);
  SetForegroundWindow(hwnd_);
  return WaitUntil([&] { return ScreenShowsBlocks() && GetForegroundWindow() == hwnd_; });
}

bool BlockWindow::ScreenShowsBlocks() const {
  HDC screen = GetDC(nullptr);
  POINT o = Origin();
  bool all = true;
  for (int i = 0; i < kBlocks && all; ++i) {
    Block b = BlockAt(i);
    int x = o.x + (b.rect.left + b.rect.right) / 2, y = o.y + (b.rect.top + b.rect.bottom) / 2;
    if (x >= GetSystemMetrics(SM_CXSCREEN) || y >= GetSystemMetrics(SM_CYSCREEN)) continue;
    all = GetPixel(screen, x, y) == Ref(b.colour);
  }
  ReleaseDC(nullptr, screen);
  return all;
}

void BlockWindow::Paint(HDC dc) const {
  RECT all{0, 0, kWidth, kHeight};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  for (int i = 0; i < kBlocks; ++i) {
    Block b = BlockAt(i);
    HBRUSH brush = CreateSolidBrush(Ref(b.colour));
    FillRect(dc, &b.rect, brush);
    DeleteObject(brush);
  }
}

LRESULT CALLBACK BlockWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<BlockWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == WM_PAINT && self) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    self->Paint(dc);
    EndPaint(hwnd, &ps);
    return 0;
  }
  if (msg == WM_ERASEBKGND) return 1;
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace tavisnap::testing
