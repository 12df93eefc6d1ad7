#include "app/keyboard_win.h"

#include <vector>

namespace tavisnap::testing {

HWND FocusOf(HWND window) {
  GUITHREADINFO info{sizeof info};
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

bool BringToFront(HWND window) {
  SetForegroundWindow(window);
  return WaitUntil([&] { return GetForegroundWindow() == window; }, 5s);
}

void TypeText(const std::wstring& text) {
  std::vector<INPUT> inputs;
  for (wchar_t c : text) {
    for (DWORD flags : {DWORD{KEYEVENTF_UNICODE}, DWORD{KEYEVENTF_UNICODE | KEYEVENTF_KEYUP}}) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = c;
      input.ki.dwFlags = flags;
      inputs.push_back(input);
    }
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  Pump(100ms);
}

bool TabTo(HWND control, int most) {
  for (int i = 0; i <= most; ++i) {
    if (WaitUntil([&] { return FocusOf(control) == control; }, 300ms)) return true;
    PressKeys({VK_TAB});
  }
  return false;
}

std::optional<MessageBoxInfo> EnterOnBox(DWORD pid, int backTabs) {
  auto box = WaitForMessageBox(pid, 15s);
  if (!box) return box;
  if (!BringToFront(box->hwnd)) return std::nullopt;
  for (int i = 0; i < backTabs; ++i) PressKeys({VK_SHIFT, VK_TAB});
  PressKeys({VK_RETURN});
  if (!WaitUntil([&] { return !IsWindow(box->hwnd); }, 5s)) return std::nullopt;
  return box;
}

namespace {

constexpr UINT kTrayCallback = WM_USER + 100;

void PressInOrder(std::initializer_list<WORD> keys) {
  for (WORD key : keys) {
    PressKeys({key});
    Pump(200ms);
  }
}

}  // namespace

bool TrayMenuKeys(HWND main, std::initializer_list<WORD> accessKeys) {
  DWORD pid = 0;
  GetWindowThreadProcessId(main, &pid);
  PostMessageW(main, kTrayCallback, MAKEWPARAM(400, 300), MAKELPARAM(WM_CONTEXTMENU, 1));
  HWND popup = WaitForTopWindow(L"#32768", L"", pid, 5s, true);
  if (!popup) return false;
  Pump(200ms);
  PressInOrder(accessKeys);
  return true;
}

bool MenuBarKeys(HWND window, std::initializer_list<WORD> accessKeys) {
  if (!BringToFront(window)) return false;
  PressKeys({VK_MENU});
  Pump(200ms);
  PressInOrder(accessKeys);
  return true;
}

bool WaitUntilIdle(HWND window) {
  Pump(1s);  // the keys reach the thread's queue
  DWORD_PTR result = 0;
  // A message sent to a busy thread is handled when it next looks at its queue.
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result) != 0;
}

}  // namespace tavisnap::testing
