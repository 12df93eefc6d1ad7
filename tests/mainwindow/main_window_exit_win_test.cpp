// The exit path, the tray icon's lifetime however the loop ends, and the tray callback:
// double click, the menu from the mouse and the keyboard.
#include <windows.h>

#include <shellapi.h>
#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <thread>

#include "core/define.h"
#include "core/settings_list.h"
#include "main_window_fixture_win.h"
#include "mainwindow/mainwindow_resource.h"

namespace tavisnap::testing {
namespace {

// Key combinations no one else uses, registered as the hotkey pair would be.
constexpr UINT kMods = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
constexpr UINT kKey1 = VK_F11;
constexpr UINT kKey2 = VK_F12;

bool CombinationFree(UINT vk, UINT mods = kMods) {
  if (!RegisterHotKey(nullptr, 0x7777, mods, vk)) return false;
  UnregisterHotKey(nullptr, 0x7777);
  return true;
}

void PostTray(HWND main, UINT event, WPARAM wp = 0) {
  // The version 4 form: event in the low word, icon id in the high word.
  PostMessageW(main, kTrayCallbackMessage, wp, MAKELPARAM(event, kTrayIconId));
}

class ExitPath : public MainWindowTest {
 protected:
  void Arm() {
    window_->AddTrayIcon();
    ASSERT_TRUE(TrayIconPresent(Main(), kTrayIconId));
    ASSERT_TRUE(RegisterHotKey(Main(), 1, kMods, kKey1));
    ASSERT_TRUE(RegisterHotKey(Main(), 2, kMods, kKey2));
    ASSERT_FALSE(CombinationFree(kKey1)) << "the check cannot see a taken combination";
    Settings.Set("SYSTEM.MAILID", "user@example.jp");
  }
};

TEST_F(ExitPath, BothEntriesAskAndCancelKeepsTheProgramRunning) {
  Arm();
  for (int id : {IDM_PMenuTrayExit, IDM_MenuProgEnd}) {
    BoxAnswerer answer(IDCANCEL);
    Command(id);
    auto box = answer.Box();
    ASSERT_TRUE(box.has_value()) << id;
    EXPECT_EQ(box->caption, L"タビスナップ（確認）");
    EXPECT_EQ(box->text, L"終了します、よろしいですか？");
    EXPECT_EQ(box->buttons.size(), 2u);
    EXPECT_EQ(answer.DefaultButton(), IDCANCEL) << "Cancel is the default button";
    EXPECT_EQ(answer.FocusedButton(), IDCANCEL);
  }
  EXPECT_TRUE(TrayIconPresent(Main(), kTrayIconId));
  EXPECT_FALSE(CombinationFree(kKey1));
  EXPECT_EQ(Settings.Get("SYSTEM.MAILID"), "user@example.jp");
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST_F(ExitPath, OkRemovesTheIconFreesTheHotKeysReleasesTheSettingsAndEndsTheLoop) {
  Arm();
  BoxAnswerer answer(IDOK);
  PostCommand(Main(), IDM_PMenuTrayExit);
  EXPECT_EQ(RunLoopFor(15s), 0) << "99: the loop did not end";
  ASSERT_TRUE(answer.Box().has_value());
  EXPECT_FALSE(TrayIconPresent(Main(), kTrayIconId));
  EXPECT_TRUE(CombinationFree(kKey1));
  EXPECT_TRUE(CombinationFree(kKey2));
  EXPECT_TRUE(Settings.empty());
}

TEST_F(ExitPath, WithoutTheQuestionItGoesStraightOn) {
  Arm();
  EXPECT_TRUE(window_->ExitProgram(false));
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 0u);
  EXPECT_FALSE(TrayIconPresent(Main(), kTrayIconId));
  EXPECT_TRUE(CombinationFree(kKey1));
  EXPECT_TRUE(Settings.empty());
  EXPECT_FALSE(WaitForMessageBox(GetCurrentProcessId(), 300ms).has_value());
}

TEST_F(ExitPath, ThePairTheWindowRegisteredGoesWithIt) {
  // HOTKEY "PS": the window's creation took Ctrl+PrintScreen.
  ASSERT_FALSE(CombinationFree(VK_SNAPSHOT, MOD_CONTROL));
  window_->ExitProgram(false);
  DrainQuit();
  EXPECT_TRUE(CombinationFree(VK_SNAPSHOT, MOD_CONTROL));
}

// The icon goes with its owner object, while the window still lives: a window that is
// never destroyed, or a process that ends at once, leaves no icon behind.
TEST(TrayIconLifetime, TheIconGoesWithItsObjectWhileTheWindowLives) {
  HWND plain = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
  {
    TrayIcon tray;
    ASSERT_TRUE(tray.Add(plain, 5, WM_APP, icon, L"タビスナップ"));
    EXPECT_TRUE(tray.Add(plain, 5, WM_APP, icon, L"タビスナップ")) << "a second add is harmless";
    EXPECT_TRUE(TrayIconPresent(plain, 5));
    tray.Remove();
    EXPECT_FALSE(TrayIconPresent(plain, 5));
    tray.Remove();   // idempotent
    tray.Restore();  // a new taskbar brings back no removed icon
    EXPECT_FALSE(TrayIconPresent(plain, 5));
    ASSERT_TRUE(tray.Add(plain, 5, WM_APP, icon, L"タビスナップ"));
  }
  EXPECT_TRUE(IsWindow(plain));
  EXPECT_FALSE(TrayIconPresent(plain, 5));
  DestroyWindow(plain);
}

// Whether the window's icon is still there at the moment the window is destroyed.
std::optional<bool> iconAtDestroy;
HWND watched = nullptr;

LRESULT CALLBACK WatchDestroy(int code, WPARAM wp, LPARAM lp) {
  auto* msg = reinterpret_cast<CWPSTRUCT*>(lp);
  if (code == HC_ACTION && msg->hwnd == watched && msg->message == WM_DESTROY) {
    iconAtDestroy = TrayIconPresent(watched, kTrayIconId);
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

TEST_F(ExitPath, AQuitFromOutsideStillRemovesTheIcon) {
  window_->AddTrayIcon();
  // What the setup launcher does to a running program.
  PostMessageW(Main(), WM_QUIT, 0, 0);
  EXPECT_EQ(RunLoopFor(15s), 0);
  EXPECT_TRUE(TrayIconPresent(Main(), kTrayIconId)) << "the loop ended without the exit path";
  // Destroying the window would take the icon along on some systems but not on others;
  // the icon must be gone before.
  watched = Main();
  iconAtDestroy.reset();
  HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, WatchDestroy, nullptr, GetCurrentThreadId());
  window_.reset();  // as the program does once its loop has returned
  UnhookWindowsHookEx(hook);
  ASSERT_TRUE(iconAtDestroy.has_value()) << "the window was not destroyed";
  EXPECT_FALSE(*iconAtDestroy) << "the icon outlived the loop until the window went";
}

TEST_F(ExitPath, TheIconReturnsWithANewTaskbarButNotAfterTheExit) {
  window_->AddTrayIcon();
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = Main();
  data.uID = kTrayIconId;
  Shell_NotifyIconW(NIM_DELETE, &data);  // the shell lost it
  ASSERT_FALSE(TrayIconPresent(Main(), kTrayIconId));
  UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
  SendMessageW(Main(), taskbarCreated, 0, 0);
  EXPECT_TRUE(TrayIconPresent(Main(), kTrayIconId));
  window_->ExitProgram(false);
  DrainQuit();
  SendMessageW(Main(), taskbarCreated, 0, 0);
  EXPECT_FALSE(TrayIconPresent(Main(), kTrayIconId));
}

using TrayClicks = MainWindowTest;

TEST_F(TrayClicks, DoubleClickOfflineWarnsAndKeepsTheWindowClosed) {
  RunMode = kRunModeOffline;
  for (LPARAM form :
       {static_cast<LPARAM>(WM_LBUTTONDBLCLK), MAKELPARAM(WM_LBUTTONDBLCLK, kTrayIconId)}) {
    BoxAnswerer answer(IDOK);
    PostMessageW(Main(), kTrayCallbackMessage, kTrayIconId, form);
    Pump(300ms);
    auto box = answer.Box();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, L"タビスナップ（警告）");
    EXPECT_EQ(box->text, L"オフラインモードです\r\n（viewer機能のみ利用できます）");
    EXPECT_EQ(box->buttons.size(), 1u);
    EXPECT_FALSE(IsWindowVisible(Main()));
  }
}

TEST_F(TrayClicks, DoubleClickWhileTheAccountWindowIsOpenDoesNothing) {
  bool accountOpen = true;
  window_->SetAccountWindowVisibleQuery([&] { return accountOpen; });
  PostTray(Main(), WM_LBUTTONDBLCLK);
  Pump(300ms);
  EXPECT_FALSE(WaitForMessageBox(GetCurrentProcessId(), 300ms).has_value());
  EXPECT_FALSE(IsWindowVisible(Main()));

  accountOpen = false;
  SysInfo.DstName = "山田";
  window_->ShowMainTab(MainPage::PwdChg);
  PostTray(Main(), WM_LBUTTONDBLCLK);
  Pump(300ms);
  EXPECT_TRUE(IsWindowVisible(Main()));
  EXPECT_EQ(GetForegroundWindow(), Main());
  EXPECT_EQ(window_->CurrentTab(), MainPage::Dst);
  EXPECT_EQ(TextOf(Ctl(IDC_Main_StaticText_dst_name_dsp)), L"山田");
  EXPECT_EQ(GetFocus(), Ctl(IDC_Main_StaticText_dst_name_dsp));
}

// Plays the user at an open tray menu from a second thread: waits for the menu, keeps
// a picture of it, then presses a key in it.
class MenuUser {
 public:
  MenuUser(UINT msg, WPARAM key, const char* screenshot = nullptr) {
    thread_ = std::thread([=, this] {
      HWND menu = WaitForTopWindow(L"#32768", L"", GetCurrentProcessId(), 5s, true);
      if (!menu) return;
      seen_ = true;
      if (screenshot) SaveScreenshot(screenshot);
      PostMessageW(menu, msg, key, 0);
      if (!WaitUntil([&] { return !IsWindowVisible(menu); }, 3s)) {
        PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);  // do not leave the test inside the menu
      }
    });
  }
  ~MenuUser() { Seen(); }
  bool Seen() {
    if (thread_.joinable()) thread_.join();
    return seen_;
  }

 private:
  std::thread thread_;
  std::atomic<bool> seen_{false};
};

TEST_F(TrayClicks, TheMenuOpensFromTheMouseAndTheKeyboard) {
  window_->AddTrayIcon();
  window_->EnableSignedInTrayItems();
  std::vector<UINT> events = {WM_CONTEXTMENU, NIN_KEYSELECT};
  if (!window_->Tray().version4()) events.push_back(WM_RBUTTONDOWN);
  for (UINT event : events) {
    MenuUser user(WM_KEYDOWN, VK_ESCAPE, event == WM_CONTEXTMENU ? "tray-menu" : nullptr);
    PostTray(Main(), event, MAKEWPARAM(200, 200));
    Pump(300ms);
    EXPECT_TRUE(user.Seen()) << "event " << event;
  }
  if (window_->Tray().version4()) {
    // The right button is followed by WM_CONTEXTMENU: one menu, not two.
    PostTray(Main(), WM_RBUTTONDOWN);
    Pump(200ms);
    EXPECT_EQ(FindTopWindow(L"#32768", L"", GetCurrentProcessId(), true), nullptr);
  }
  // A single click does nothing, however long one waits; the double click that may
  // follow it opens the recipient page.
  PostTray(Main(), NIN_SELECT);
  Pump(1500ms);
  EXPECT_EQ(FindTopWindow(L"#32768", L"", GetCurrentProcessId(), true), nullptr);
  EXPECT_FALSE(IsWindowVisible(Main()));
  PostTray(Main(), WM_LBUTTONDBLCLK);
  Pump(500ms);
  EXPECT_EQ(FindTopWindow(L"#32768", L"", GetCurrentProcessId(), true), nullptr);
  EXPECT_TRUE(IsWindowVisible(Main()));
}

TEST_F(TrayClicks, AnEntryChosenByItsAccessKeyRuns) {
  window_->AddTrayIcon();
  BoxAnswerer answer(IDCANCEL);
  MenuUser user(WM_CHAR, L'x');  // タビスナップ終了(&X)
  PostTray(Main(), WM_CONTEXTMENU);
  Pump(300ms);
  ASSERT_TRUE(user.Seen());
  Pump(300ms);
  auto box = answer.Box();
  ASSERT_TRUE(box.has_value()) << "the exit entry did not run";
  EXPECT_EQ(box->text, L"終了します、よろしいですか？");
  EXPECT_TRUE(TrayIconPresent(Main(), kTrayIconId));
}

}  // namespace
}  // namespace tavisnap::testing
