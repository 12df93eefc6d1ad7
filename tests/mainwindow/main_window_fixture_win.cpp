#include "main_window_fixture_win.h"

#include "core/define.h"
#include "support/globals.h"

namespace tavisnap::testing {

void MainWindowTest::SetUp() {
  ResetGlobals();
  RunMode = kRunModeOnline;
  // The address book reads system.ini again whenever it fills its lists.
  IniPath = MakeTempDir("tavisnap-main") + "system.ini";
  WriteFileBytes(IniPath, "[SYSTEM]\r\nMAILID=\r\n[MAILLIST]\r\n");
  window_ = std::make_unique<TFormMainTavisnap>(LoadIconW(nullptr, IDI_APPLICATION), send_);
  ASSERT_NE(window_->hwnd(), nullptr);
}

void MainWindowTest::TearDown() {
  window_.reset();
  DrainQuit();
  ResetGlobals();
}

void MainWindowTest::Command(int id) {
  PostCommand(Main(), id);
  Pump(150ms);
}

void MainWindowTest::OpenPage(MainPage page) {
  window_->ShowMainTab(page);
  ShowWindow(Main(), SW_SHOW);
  SetForegroundWindow(Main());
  Pump(100ms);
}

BoxAnswerer::BoxAnswerer(int answer, Millis timeout) {
  thread_ = std::thread([this, answer, timeout] {
    box_ = WaitForMessageBox(GetCurrentProcessId(), timeout);
    if (!box_) return;
    // Wine's DM_GETDEFID names the first button whatever the flags; the style and the
    // focus tell which one Enter presses.
    for (HWND child : Children(box_->hwnd)) {
      LONG type = GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK;
      if (ClassOf(child) == L"Button" && type == BS_DEFPUSHBUTTON) {
        defaultButton_ = GetDlgCtrlID(child);
      }
    }
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(box_->hwnd, nullptr), &gui)) {
      focusedButton_ = GetDlgCtrlID(gui.hwndFocus);
    }
    AnswerMessageBox(*box_, answer);
  });
}

BoxAnswerer::~BoxAnswerer() {
  if (thread_.joinable()) thread_.join();
}

std::optional<MessageBoxInfo> BoxAnswerer::Box() {
  if (thread_.joinable()) thread_.join();
  return box_;
}

int BoxAnswerer::DefaultButton() {
  if (thread_.joinable()) thread_.join();
  return defaultButton_;
}

int BoxAnswerer::FocusedButton() {
  if (thread_.joinable()) thread_.join();
  return focusedButton_;
}

int RunLoopFor(Millis timeout) {
  DWORD thread = GetCurrentThreadId();
  HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread guard([&] {
    if (WaitForSingleObject(stop, static_cast<DWORD>(timeout.count())) == WAIT_TIMEOUT) {
      PostThreadMessageW(thread, WM_QUIT, 99, 0);
    }
  });
  int code = RunMessageLoop();
  SetEvent(stop);
  guard.join();
  CloseHandle(stop);
  return code;
}

std::vector<MenuEntry> MenuEntries(HMENU menu) {
  std::vector<MenuEntry> entries;
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    wchar_t text[256] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 255;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    MenuEntry entry;
    entry.separator = (info.fType & MFT_SEPARATOR) != 0;
    entry.caption = entry.separator ? L"" : text;
    entry.enabled = (info.fState & (MFS_DISABLED | MFS_GRAYED)) == 0;
    entry.id = info.wID;
    entry.submenu = info.hSubMenu;
    entries.push_back(entry);
  }
  return entries;
}

std::vector<std::wstring> MenuOutline(HMENU menu, int depth) {
  std::vector<std::wstring> lines;
  std::wstring indent(static_cast<size_t>(depth) * 2, L' ');
  for (const MenuEntry& entry : MenuEntries(menu)) {
    if (entry.separator) {
      lines.push_back(indent + L"-");
      continue;
    }
    lines.push_back(indent + entry.caption + (entry.submenu ? L">" : L""));
    if (entry.submenu) {
      for (auto& line : MenuOutline(entry.submenu, depth + 1)) lines.push_back(line);
    }
  }
  return lines;
}

void DrainQuit() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

}  // namespace tavisnap::testing
