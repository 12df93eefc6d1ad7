// The trampolines of the window framework: a window's user data is cleared before the
// window goes, so that its last messages never reach a destroyed object, an exception
// that escapes a handler (or a dialog's key hook) is swallowed at the boundary, with the
// window working on, and a held wait cursor is the cursor of every window.
#include "win/window_win.h"

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <memory>
#include <new>
#include <stdexcept>

#include "core/app_error.h"
#include "support/driver_win.h"
#include "win/wait_cursor_win.h"
#include "window_test_res.h"

namespace tavisnap::testing {
namespace {

constexpr UINT kThrow = WM_APP + 1;
constexpr UINT kPing = WM_APP + 2;

// The errors a handler may let escape.
const std::function<void()> kThrows[] = {
    [] { throw AppError("書き込みエラー(INIファイル)"); },
    [] { throw std::bad_alloc(); },
    [] { throw 42; },
};

class ProbeWindow : public Window {
 public:
  ProbeWindow() {
    Create(L"TTrampolineProbe", L"試験", WS_POPUP, 0, 0, 0, 100, 40, nullptr, nullptr);
  }
  std::function<void()> onThrow;
  int throws = 0;
  int pings = 0;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == kThrow) {
      ++throws;
      onThrow();
    }
    if (msg == kPing) return ++pings;
    return Default(msg, wp, lp);
  }
};

class ProbeDialog : public Dialog {
 public:
  ProbeDialog() { Create(IDD_TrampolineProbe, nullptr); }
  std::function<void()> onThrow;
  int throws = 0;
  int commands = 0;

  bool PreTranslateMessage(const MSG& msg) override {
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_F2) Throw();
    return false;
  }

 protected:
  bool OnCommand(int id, int code) override {
    if (id == IDC_TrampolineProbe_button) Throw();
    ++commands;
    return true;
  }

 private:
  void Throw() {
    ++throws;
    onThrow();
  }
};

// What the window's user data held when WM_DESTROY arrived, seen through a subclass
// procedure that runs before the trampoline.
struct DestroyWitness {
  static inline WNDPROC original = nullptr;
  static inline int slot = 0;
  static inline LONG_PTR seen = -1;
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) seen = GetWindowLongPtrW(hwnd, slot);
    return CallWindowProcW(original, hwnd, msg, wp, lp);
  }
  static void Watch(HWND hwnd, int userSlot) {
    slot = userSlot;
    seen = -1;
    original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure)));
  }
};

TEST(Trampoline, AWindowsUserDataIsGoneBeforeItsObject) {
  auto window = std::make_unique<ProbeWindow>();
  HWND hwnd = window->hwnd();
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(window.get()));
  DestroyWitness::Watch(hwnd, GWLP_USERDATA);
  window.reset();
  EXPECT_EQ(DestroyWitness::seen, 0) << "WM_DESTROY still found the object";
  EXPECT_FALSE(IsWindow(hwnd));

  // Destroyed from outside first: the object lets go of the handle and does not touch it.
  window = std::make_unique<ProbeWindow>();
  DestroyWindow(window->hwnd());
  EXPECT_EQ(window->hwnd(), nullptr);
  window.reset();
}

TEST(Trampoline, ADialogsUserDataIsGoneBeforeItsObject) {
  auto dialog = std::make_unique<ProbeDialog>();
  HWND hwnd = dialog->hwnd();
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(GetWindowLongPtrW(hwnd, DWLP_USER), reinterpret_cast<LONG_PTR>(dialog.get()));
  DestroyWitness::Watch(hwnd, DWLP_USER);
  dialog.reset();
  EXPECT_EQ(DestroyWitness::seen, 0) << "WM_DESTROY still found the object";
  EXPECT_FALSE(IsWindow(hwnd));

  dialog = std::make_unique<ProbeDialog>();
  DestroyWindow(dialog->hwnd());
  EXPECT_EQ(dialog->hwnd(), nullptr);
  EXPECT_FALSE(dialog->IsModal());
  dialog.reset();
}

TEST(Trampoline, AnErrorInAWindowsHandlerStopsThereAndTheWindowWorksOn) {
  ProbeWindow window;
  for (const auto& error : kThrows) {
    window.onThrow = error;
    EXPECT_EQ(SendMessageW(window.hwnd(), kThrow, 0, 0), 0);
    int before = window.pings;
    EXPECT_EQ(SendMessageW(window.hwnd(), kPing, 0, 0), before + 1);
  }
  EXPECT_EQ(window.throws, static_cast<int>(std::size(kThrows)));
}

TEST(Trampoline, AnErrorInADialogsHandlerOrKeyHookStopsThereAndTheDialogWorksOn) {
  ProbeDialog dialog;
  HWND button = GetDlgItem(dialog.hwnd(), IDC_TrampolineProbe_button);
  for (const auto& error : kThrows) {
    dialog.onThrow = error;
    SendMessageW(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_TrampolineProbe_button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
    // Through the program's message loop, which asks the dialog's key hook first.
    PostMessageW(button, WM_KEYDOWN, VK_F2, 0);
    ProcessPendingMessages();
    int before = dialog.commands;
    SendMessageW(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(dialog.commands, before + 1);
  }
  EXPECT_EQ(dialog.throws, 2 * static_cast<int>(std::size(kThrows)));
}

// The cursor a window's WM_SETCURSOR leaves, as the pointer moving over it asks for.
HCURSOR CursorAfterAMove(HWND window) {
  SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  return GetCursor();
}

// The hourglass used to be one SetCursor, gone at the pointer's next move, and a CSV
// import ending during an upload took the upload's hourglass with it.
TEST(WaitCursor, StaysOverEveryWindowUntilItsLastHolderLetsGo) {
  ProbeWindow window;
  ProbeDialog dialog;
  const HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
  WaitCursor upload, import;
  upload.Hold();
  import.Hold();
  import.Hold();  // counts once
  import.Release();
  EXPECT_EQ(CursorAfterAMove(window.hwnd()), wait);
  EXPECT_EQ(CursorAfterAMove(dialog.hwnd()), wait);
  upload.Release();
  EXPECT_NE(CursorAfterAMove(window.hwnd()), wait);
  EXPECT_NE(CursorAfterAMove(dialog.hwnd()), wait);
}

}  // namespace
}  // namespace tavisnap::testing
