// tavisnap.exe as a whole: the tray icon added at the end of start-up, the double click
// held back while the account window is open, and a WM_QUIT posted from outside (as the setup
// launcher does) ending the program.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/installed_program_win.h"
#include "support/driver_win.h"

namespace tavisnap::testing {
namespace {

constexpr UINT kTrayCallback = WM_USER + 100;

TEST(Program, LivesInTheTrayAndEndsOnAQuitFromOutside) {
  InstalledProgram program;
  program.SetSystemValue("DST_NAME", "山田");
  program.SetSystemValue("DST_MAILADR", "yamada@example.jp");
  auto process = program.Start();
  HWND main = WaitForTopWindow(L"TFormMainTavisnap", L"タビスナップ", process->pid, 30s);
  ASSERT_NE(main, nullptr) << "no main window";
  ASSERT_TRUE(WaitUntil([&] { return TrayIconPresent(main); }, 30s)) << "no tray icon";
  EXPECT_FALSE(IsWindowVisible(main));

  // Online without automatic sign-in the account window is up, and while it is, the
  // double click leaves the main window alone (tests/app drives the signed-in case).
  ASSERT_TRUE(WaitUntil(
      [&] {
        for (HWND w : TopWindows(process->pid)) {
          if (w != main && IsWindowVisible(w) && TextOf(w) == L"タビスナップ") return true;
        }
        return false;
      },
      30s))
      << "no account window";
  PostMessageW(main, kTrayCallback, 1, WM_LBUTTONDBLCLK);
  Pump(700ms);
  EXPECT_FALSE(IsWindowVisible(main));
  SaveScreenshot("program-account-window");

  PostMessageW(main, WM_QUIT, 0, 0);
  auto code = process->Wait(15s);
  ASSERT_TRUE(code.has_value()) << "the program did not end";
  EXPECT_EQ(*code, 0u);
  EXPECT_FALSE(TrayIconPresent(main));
}

}  // namespace
}  // namespace tavisnap::testing
