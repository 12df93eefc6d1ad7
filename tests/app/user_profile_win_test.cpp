// Where a user's files live, through the installed tavisnap.exe and the local service:
// the first start copies the installed system.ini into the user's roaming profile byte
// for byte; the account, the address book, the picture and the outbox go to the user's
// profile; the installed file and every other file of the program folder stay as they
// were laid out; a service address planted in the user's file is not used.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/account_window_win.h"
#include "app/installed_program_win.h"
#include "app/main_window_win.h"
#include "app/send_panel_win.h"
#include "app/service_behaviour.h"
#include "core/define.h"
#include "support/driver_win.h"
#include "support/front_window_win.h"
#include "win/text_win.h"

namespace tavisnap::testing {
namespace {

constexpr char kMail[] = "profile-user@example.jp";

// Ctrl+PrintScreen over the test's window, Send on the panel with the service answering
// as `answer` says; what the result box said.
std::wstring CaptureAndSend(DWORD pid, FrontWindow& front, const TTypFormDataArray& answer = {}) {
  EXPECT_TRUE(front.Activate());
  HWND panel = PressHotKeyForPanel(pid, {VK_CONTROL, VK_SNAPSHOT});
  if (!panel) return L"(no panel)";
  SetServiceBehaviour(answer);  // after the sign-in that comes before the panel
  SendOutcome outcome = SendAndWaitForResult(pid, panel, false);
  SetServiceBehaviour({});
  return outcome.result ? outcome.result->text : L"(no result)";
}

TEST(UserProfile, TheUsersFilesLiveInTheProfileAndTheProgramFolderStaysAsLaidOut) {
  BaseUrl = Env("TAVISNAP_SERVICE_URL");
  CaFile = Env("TAVISNAP_CA_FILE");
  ASSERT_FALSE(BaseUrl.empty()) << "runs with the local service";
  InstalledProgram program;
  const auto laidOut = program.Listing();
  const std::string installed = ReadFileBytes(program.installedIni());
  ASSERT_FALSE(FileExists(program.systemIni()));

  auto first = program.Start();
  ASSERT_TRUE(WaitUntil([&] { return AccountWindow(first->pid) != nullptr; }, 60s));
  EXPECT_EQ(ReadFileBytes(program.systemIni()), installed) << "not a copy of the installed file";
  HWND main = RegisterOnFirstStart(first->pid, kMail, true);
  ASSERT_NE(main, nullptr);
  AddAddress(first->pid, main, L"見守り担当", L"helper@example.jp");
  ChooseRecipient(first->pid, main, 1);
  if (HasFatalFailure()) return;
  EXPECT_TRUE(program.SystemIniHas(std::string("MAILID=") + kMail));
  EXPECT_TRUE(program.SystemIniHas("MAIL1=helper@example.jp"));

  FrontWindow front(200, 150, 720, 520);
  EXPECT_EQ(CaptureAndSend(first->pid, front), L"送信しました\n送信先：helper@example.jp");
  EXPECT_TRUE(FileExists(program.captureFile()));
  const std::wstring failed = CaptureAndSend(first->pid, front, {{kFormText, "status", "500"}});
  EXPECT_EQ(failed.rfind(L"通信エラー", 0), 0u) << Narrow(failed);
  EXPECT_TRUE(FileExists(program.outboxDir() + "000001.jpg")) << "the picture was not kept";
  ExitThroughTheTray(main, *first);
  if (HasFatalFailure()) return;

  // Whoever can write the user's file cannot send the user's password elsewhere: the
  // next start signs in at the installation's service.
  program.SetSystemValue("SERVICE_URL", "https://127.0.0.1:9/");
  const size_t signIns = ServiceSignInRequests().size();
  auto second = program.Start();
  HWND main2 = WaitForMainWindow(second->pid);
  ASSERT_NE(main2, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return ServiceSignInRequests().size() > signIns; }, 30s))
      << "the planted address was used";
  EXPECT_TRUE(WaitUntil([&] { return TrayIconPresent(main2); }, 30s));
  EXPECT_EQ(AccountWindow(second->pid), nullptr) << "the automatic sign-in failed";
  ExitThroughTheTray(main2, *second);

  EXPECT_EQ(ReadFileBytes(program.installedIni()), installed);
  EXPECT_EQ(program.Listing(), laidOut) << "the program folder was written";
}

}  // namespace
}  // namespace tavisnap::testing
