// Run by tests/app/run_command_test.sh in the prefix of scripts/run.sh: finds the
// tavisnap.exe that the run command started and registers and signs in through its
// account window, so that the program has to reach the local service both times.
#include <gtest/gtest.h>

#include "app/account_window_win.h"
#include "support/driver_win.h"

namespace tavisnap::testing {
namespace {

TEST(RunCommand, TheStartedProgramRegistersAndSignsIn) {
  HWND main = WaitForTopWindow(L"TFormMainTavisnap", L"タビスナップ", 0, 60s);
  ASSERT_NE(main, nullptr) << "no running Tavisnap";
  DWORD pid = 0;
  GetWindowThreadProcessId(main, &pid);
  HWND account = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (account = AccountWindow(pid)) != nullptr; }, 30s))
      << "the account window is not open";
  RegisterThenSignIn(pid, account, Env("TAVISNAP_TEST_MAIL"), false);
}

}  // namespace
}  // namespace tavisnap::testing
