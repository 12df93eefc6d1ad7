// Run by scripts/run.sh without a display, in its Wine prefix: shows the main job on the
// tavisnap.exe the command started. It registers the demo account at the local service
// (or signs in with it when an earlier run registered it), chooses a recipient, presses
// Ctrl+PrintScreen over a window, sends from the send panel and waits for the result,
// with a screenshot of each step (screenshot-*.bmp in TAVISNAP_TEST_OUTPUT). The last
// line it prints names the folder where the service stored the picture.
#include <gtest/gtest.h>

#include <cstdio>

#include "app/account_window_win.h"
#include "app/main_window_win.h"
#include "app/send_panel_win.h"
#include "support/driver_win.h"
#include "support/front_window_win.h"

namespace tavisnap::testing {
namespace {

TEST(RunCommand, TheStartedProgramSendsACaptureToTheLocalService) {
  const std::string mail = Env("TAVISNAP_DEMO_MAIL");
  ASSERT_FALSE(mail.empty()) << "TAVISNAP_DEMO_MAIL names the demo account";
  HWND main = WaitForMainWindow(0, 60s);
  ASSERT_NE(main, nullptr) << "no running Tavisnap";
  DWORD pid = 0;
  GetWindowThreadProcessId(main, &pid);

  // The account window, unless an earlier run turned the automatic sign-in on.
  HWND account = nullptr;
  WaitUntil([&] { return (account = AccountWindow(pid)) != nullptr; }, 20s);
  if (account) {
    if (OnRegistrationPage(account)) {
      RegisterThenSignIn(pid, account, mail, false);
    } else {
      SignIn(pid, account, mail, false);
    }
    if (HasFatalFailure()) return;
  }

  const std::size_t stored = ServiceUploads(mail).size();
  if (CurrentRecipient(main).empty()) {
    AddAddress(pid, main, L"見守り担当", L"helper@example.jp");
    if (HasFatalFailure()) return;
    ChooseRecipient(pid, main, 1, "screenshot-recipient");
    if (HasFatalFailure()) return;
  }

  FrontWindow work(160, 120, 720, 480);
  ASSERT_TRUE(work.Activate());
  HWND panel = PressHotKeyForPanel(pid, {VK_CONTROL, VK_SNAPSHOT});
  ASSERT_NE(panel, nullptr) << "Ctrl+PrintScreen opened no send panel";
  SaveScreenshot("screenshot-panel");
  SendOutcome sent =
      SendAndWaitForResult(pid, panel, false, 30s, "screenshot-transfer", "screenshot-sent");
  ASSERT_TRUE(sent.result.has_value()) << "no result after Send";
  ASSERT_EQ(sent.result->text, L"送信しました\n送信先：helper@example.jp");
  std::vector<std::string> uploads = ServiceUploads(mail);
  ASSERT_EQ(uploads.size(), stored + 1) << "the service stored no picture";
  std::printf("stored: %s\n", uploads.back().c_str());
}

}  // namespace
}  // namespace tavisnap::testing
