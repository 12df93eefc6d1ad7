#include "win/window_win.h"

#include <set>

#include "win/text_win.h"

namespace tavisnap {
namespace {

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

std::set<HWND>& ModelessDialogs() {
  static std::set<HWND> dialogs;
  return dialogs;
}

bool RouteToDialog(MSG& msg) {
  for (HWND dlg = msg.hwnd; dlg; dlg = GetParent(dlg)) {
    if (ModelessDialogs().count(dlg)) return IsDialogMessageW(dlg, &msg);
  }
  return false;
}

}  // namespace

void ApplicationErrorHandler() noexcept {
  // Deliberately silent: the operation that failed has already told the user what
  // they need to know, or it is one whose failure is not reported.
}

Window::~Window() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void Window::Create(const wchar_t* className, const std::wstring& title, DWORD style,
                    DWORD exStyle, int x, int y, int width, int height, HWND owner, HMENU menu,
                    HICON icon) {
  WNDCLASSEXW wc{};
  if (!GetClassInfoExW(Instance(), className, &wc)) {
    wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = Procedure;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = className;
    wc.hIcon = icon;
    wc.hIconSm = icon;
    RegisterClassExW(&wc);
  }
  CreateWindowExW(exStyle, className, title.c_str(), style, x, y, width, height, owner, menu,
                  Instance(), this);
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return Default(msg, wp, lp); }

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  try {
    return self->HandleMessage(msg, wp, lp);
  } catch (...) {
    ApplicationErrorHandler();
    return 0;
  }
}

Dialog::~Dialog() {
  if (hwnd_) {
    ModelessDialogs().erase(hwnd_);
    SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
    DestroyWindow(hwnd_);
  }
}

void Dialog::Create(int templateId, HWND owner) {
  CreateDialogParamW(Instance(), MAKEINTRESOURCEW(templateId), owner, Procedure,
                     reinterpret_cast<LPARAM>(this));
  if (hwnd_) ModelessDialogs().insert(hwnd_);
}

std::string Dialog::ItemText(int id) const {
  HWND item = Item(id);
  int len = GetWindowTextLengthW(item);
  std::wstring text(static_cast<size_t>(len) + 1, L'\0');
  GetWindowTextW(item, text.data(), len + 1);
  text.resize(static_cast<size_t>(len));
  return Narrow(text);
}

void Dialog::SetItemText(int id, const std::string& utf8) {
  SetDlgItemTextW(hwnd_, id, Widen(utf8).c_str());
}

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (msg == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lp);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
  }
  if (!self) return FALSE;
  if (msg == WM_NCDESTROY) {
    ModelessDialogs().erase(hwnd);
    self->hwnd_ = nullptr;
    return FALSE;
  }
  try {
    return self->HandleMessage(msg, wp, lp);
  } catch (...) {
    ApplicationErrorHandler();
    return TRUE;
  }
}

int RunMessageLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (RouteToDialog(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

void ProcessPendingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the real loop
      return;
    }
    if (RouteToDialog(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace tavisnap
