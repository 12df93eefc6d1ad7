#include "support/reader_window_win.h"

#include "support/driver_win.h"

namespace tavisnap::testing {
namespace {

constexpr wchar_t kClass[] = L"TavisnapTestReaderWindow";

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

ReaderWindow::ReaderWindow(int x, int y) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kClass;
  RegisterClassW(&wc);  // a second registration fails harmlessly
  hwnd_ = CreateWindowExW(0, kClass, kTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, 420, 320,
                          nullptr, nullptr, instance, nullptr);
  int top = 10;
  auto add = [&](const wchar_t* cls, const wchar_t* text, DWORD style, int height = 24) {
    HWND child = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 10, top, 380, height,
                                 hwnd_, nullptr, instance, nullptr);
    top += height + 6;
    return child;
  };
  add(L"Static", L"氏名", SS_LEFT);
  nameEdit_ = add(L"Edit", L"山田太郎", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL);
  add(L"Static", L"暗証番号", SS_LEFT);
  add(L"Edit", kPassword, WS_BORDER | WS_TABSTOP | ES_PASSWORD | ES_AUTOHSCROLL);
  HWND box = add(L"Button", L"保存する", WS_TABSTOP | BS_AUTOCHECKBOX);
  SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
  add(L"Button", L"", WS_TABSTOP | BS_PUSHBUTTON);
  add(L"Static", L"色", SS_LEFT);
  HWND list = add(L"ListBox", L"", WS_BORDER | WS_TABSTOP | LBS_NOTIFY, 60);
  for (const wchar_t* item : {L"赤", L"緑", L"青"}) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  }
  SendMessageW(list, LB_SETCURSEL, 1, 0);
  Pump(200ms);
}

ReaderWindow::~ReaderWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool ReaderWindow::Activate() {
  SetForegroundWindow(hwnd_);
  SetActiveWindow(hwnd_);
  SetFocus(nameEdit_);
  return WaitUntil([&] { return GetForegroundWindow() == hwnd_ && GetFocus() == nameEdit_; }, 5s);
}

}  // namespace tavisnap::testing
