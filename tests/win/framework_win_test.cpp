// The window framework of src/win in a real (Wine) window system: layouts at the
// window's dpi, the hooks, modal runs, the message loop's key hook and pages (the
// trampolines' guarantees are window_win_test.cpp's).
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "framework_test_res.h"
#include "support/driver_win.h"
#include "win/window_win.h"

namespace tavisnap::testing {
namespace {

constexpr Placement kPlacements[] = {
    {IDC_Test_Label, 10, 12, 80, 16},
    {IDC_Test_Edit, 100, 10, 180, 22},
    {IDC_Test_Button, 180, 150, 100, 30, 20},
};
constexpr DialogLayout kLayout{300, 200, LayoutFont{L"MS UI Gothic", 12}, kPlacements};

constexpr Placement kPagePlacements[] = {{IDC_Test_PageButton, 5, 5, 120, 28}};
constexpr DialogLayout kPageLayout{0, 0, LayoutFont{L"MS UI Gothic", 12}, kPagePlacements};

constexpr UINT kEndModal = WM_APP + 1;
constexpr UINT kQuitWhileModal = WM_APP + 2;

class TestFrame : public Dialog {
 public:
  TestFrame() { Create(IDD_TestFrame, nullptr); }
  const DialogLayout* Layout() const override { return &kLayout; }

  std::vector<int> commands;
  std::vector<UINT_PTR> timers;
  std::vector<WPARAM> keys;
  bool consumeKeys = false;
  HWND otherWindow = nullptr;
  bool otherEnabledWhileModal = true;

  bool PreTranslateMessage(const MSG& msg) override {
    if (msg.message != WM_KEYDOWN) return false;
    keys.push_back(msg.wParam);
    return consumeKeys;
  }

 protected:
  bool OnCommand(int id, int code) override {
    if (code != BN_CLICKED) return false;  // the edit's notifications
    commands.push_back(id);
    return true;
  }
  void OnTimer(UINT_PTR id) override {
    timers.push_back(id);
    KillTimer(hwnd(), id);
  }
  INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == kEndModal) {
      otherEnabledWhileModal = IsWindowEnabled(otherWindow) != FALSE;
      EndModal(static_cast<INT_PTR>(wp));
      return TRUE;
    }
    if (msg == kQuitWhileModal) {
      PostQuitMessage(7);
      return TRUE;
    }
    return FALSE;
  }
};

class PlainWindow : public Window {
 public:
  PlainWindow() {
    Create(L"TFrameworkPlain", L"窓", WS_OVERLAPPEDWINDOW, 0, 0, 0, 100, 100, nullptr, nullptr);
  }
};

TEST(Framework, TheLayoutIsAppliedAtTheWindowsDpiAndCentred) {
  TestFrame frame;
  const UINT dpi = GetDpiForWindow(frame.hwnd());
  RECT client;
  GetClientRect(frame.hwnd(), &client);
  EXPECT_EQ(client.right, ScaleForDpi(300, dpi));
  EXPECT_EQ(client.bottom, ScaleForDpi(200, dpi));
  for (const Placement& p : kPlacements) {
    RECT r = RectIn(frame.Item(p.id), frame.hwnd());
    EXPECT_EQ(r.left, ScaleForDpi(p.x, dpi)) << p.id;
    EXPECT_EQ(r.top, ScaleForDpi(p.y, dpi)) << p.id;
    EXPECT_EQ(r.right - r.left, ScaleForDpi(p.width, dpi)) << p.id;
    EXPECT_EQ(r.bottom - r.top, ScaleForDpi(p.height, dpi)) << p.id;
  }
  // The button has a font of its own, the others the layout's.
  auto fontHeight = [](HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font,
               &font);
    return -font.lfHeight;
  };
  EXPECT_EQ(fontHeight(frame.Item(IDC_Test_Edit)), ScaleForDpi(12, dpi));
  EXPECT_EQ(fontHeight(frame.Item(IDC_Test_Button)), ScaleForDpi(20, dpi));

  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(frame.hwnd(), MONITOR_DEFAULTTOPRIMARY), &monitor);
  RECT frameRect;
  GetWindowRect(frame.hwnd(), &frameRect);
  EXPECT_NEAR(frameRect.left + frameRect.right, monitor.rcWork.left + monitor.rcWork.right, 1);
  EXPECT_NEAR(frameRect.top + frameRect.bottom, monitor.rcWork.top + monitor.rcWork.bottom, 1);
}

TEST(Framework, HooksGetTheirMessagesAndCloseHidesAModelessWindow) {
  TestFrame frame;
  ShowWindow(frame.hwnd(), SW_SHOW);
  SendMessageW(frame.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_Test_Button, BN_CLICKED), 0);
  SetTimer(frame.hwnd(), 3, 10, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return !frame.timers.empty(); }, 2s));
  EXPECT_EQ(frame.commands, std::vector<int>{IDC_Test_Button});
  EXPECT_EQ(frame.timers, std::vector<UINT_PTR>{3});
  SendMessageW(frame.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(frame.hwnd()));
  EXPECT_TRUE(IsWindow(frame.hwnd()));
}

TEST(Framework, AModalRunDisablesTheOtherWindowsAndReturnsItsResult) {
  PlainWindow other;
  ShowWindow(other.hwnd(), SW_SHOW);
  TestFrame frame;
  frame.otherWindow = other.hwnd();
  PostMessageW(frame.hwnd(), kEndModal, 42, 0);
  EXPECT_EQ(frame.RunModal(), 42);
  EXPECT_FALSE(frame.otherEnabledWhileModal);
  EXPECT_TRUE(IsWindowEnabled(other.hwnd()));
  EXPECT_FALSE(IsWindowVisible(frame.hwnd()));

  // The close box ends a modal run with Cancel.
  PostMessageW(frame.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(frame.RunModal(), IDCANCEL);

  // A quit request ends it too, and stays for the outer loop.
  PostMessageW(frame.hwnd(), kQuitWhileModal, 0, 0);
  EXPECT_EQ(frame.RunModal(), IDCANCEL);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_TRUE(IsWindowEnabled(other.hwnd()));
}

TEST(Framework, KeysPassTheWindowsHookBeforeTheDialogManager) {
  TestFrame frame;
  ShowWindow(frame.hwnd(), SW_SHOW);
  SetForegroundWindow(frame.hwnd());
  HWND edit = frame.Item(IDC_Test_Edit);
  SetFocus(edit);
  for (bool consume : {true, false}) {
    frame.consumeKeys = consume;
    frame.keys.clear();
    SetFocus(edit);
    PostMessageW(edit, WM_KEYDOWN, VK_TAB, 0);
    ProcessPendingMessages();
    EXPECT_EQ(frame.keys, std::vector<WPARAM>{VK_TAB}) << consume;
    // Taken by the hook, Tab does not move the focus; passed on, the dialog moves it.
    EXPECT_EQ(GetFocus() == edit, consume) << consume;
  }
}

TEST(Framework, APageSendsItsCommandsToItsOwnerWhoFindsItsControls) {
  TestFrame frame;
  PageDialog page(IDD_TestPage, frame.hwnd(), kPageLayout);
  HWND button = frame.Item(IDC_Test_PageButton);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(GetParent(button), page.hwnd());
  SendMessageW(page.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_Test_PageButton, BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
  EXPECT_EQ(frame.commands, std::vector<int>{IDC_Test_PageButton});
  frame.SetItemText(IDC_Test_PageButton, "押す");
  EXPECT_EQ(frame.ItemText(IDC_Test_PageButton), "押す");
  ShowWindow(page.hwnd(), SW_SHOW);
  EXPECT_EQ(page.FirstTabStop(), button);
}

}  // namespace
}  // namespace tavisnap::testing
