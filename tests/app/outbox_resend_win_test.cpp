// A picture that did not go out is sent on a later day: tavisnap.exe against the local
// service, driven from outside. The upload fails (the service answers with an error),
// the picture and its address stay in the outbox across the exit, and after the next
// start "未送信の画像を再送信(&R)" sends it again through the panel to the service, which
// stores that picture; the outbox is empty afterwards. An upload whose thread the system
// refuses ends the same way, and the hotkey works on.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/account_window_win.h"
#include "app/installed_program_win.h"
#include "app/main_window_win.h"
#include "app/send_panel_win.h"
#include "app/service_behaviour.h"
#include "capture/form_send_panel_res.h"
#include "core/define.h"
#include "mainwindow/mainwindow_resource.h"
#include "service/http_client_init.h"
#include "service/post_form.h"
#include "support/driver_win.h"
#include "support/front_window_win.h"
#include "win/text_win.h"

namespace tavisnap::testing {
namespace {

constexpr wchar_t kPanelTitle[] = L"タビスナップ－送信パネル－";
constexpr wchar_t kKeptAfterCommunicationError[] =
    L"通信エラー\n画像は保存しました。「未送信の画像を再送信」で送り直せます。";

// The panel of the process once it is on show; the blank-picture question of a test
// screen with no window on it is answered with OK on the way.
HWND WaitForPanel(DWORD pid) {
  HWND panel = nullptr;
  WaitUntil(
      [&] {
        panel = FindTopWindow(L"#32770", kPanelTitle, pid);
        if (panel && IsWindowVisible(panel)) return true;
        if (auto box = WaitForMessageBox(pid, 0ms)) {
          EXPECT_EQ(box->text.rfind(L"取り込んだ画像は全体が一色で", 0), 0u) << Narrow(box->text);
          AnswerMessageBox(*box, IDOK);
        }
        return false;
      },
      60s);
  return panel && IsWindowVisible(panel) ? panel : nullptr;
}

// Answers every box until one whose text starts with `wanted` (the blank-picture question
// of an empty test screen comes before the panel); returns its text.
std::wstring AnswerUntil(DWORD pid, const std::wstring& wanted) {
  for (int i = 0; i < 3; ++i) {
    auto box = WaitForMessageBox(pid, 60s);
    if (!box) return L"(no box)";
    AnswerMessageBox(*box, IDOK);
    if (box->text.rfind(wanted, 0) == 0) return box->text;
  }
  return L"(not shown)";
}

void PressSend(HWND panel) {
  for (int id : {IDC_Button_send_exec, IDC_Button_d_Send_exec}) {
    HWND button = FindChildById(panel, id);
    if (button && IsWindowVisible(button)) return Click(button);
  }
  ADD_FAILURE() << "no Send button on show";
}

std::string Uploads(const std::string& mail) {
  std::string all;
  std::error_code ec;
  std::filesystem::path folder =
      std::filesystem::path(Widen(Env("TAVISNAP_SERVICE_STATE"))) / L"uploads" / Widen(mail);
  for (const auto& upload : std::filesystem::directory_iterator(folder, ec)) {
    all += ReadFileBytes(Narrow((upload.path() / L"picture.jpg").wstring()));
  }
  return all;
}

TEST(Outbox, AFailedUploadIsSentAgainAfterARestart) {
  InitHttpClient();
  BaseUrl = Env("TAVISNAP_SERVICE_URL");
  CaFile = Env("TAVISNAP_CA_FILE");
  ASSERT_FALSE(BaseUrl.empty()) << "runs with the local service";
  InstalledProgram program;
  program.SetSystemValue("DST_NAME", "山田");
  program.SetSystemValue("DST_MAILADR", "yamada@example.jp");
  const std::string mail = "outbox-user@example.jp";
  const std::string outbox = program.outboxDir();

  auto first = program.Start();
  HWND main = RegisterOnFirstStart(first->pid, mail, true);
  if (HasFatalFailure()) return;

  PostCommand(main, IDM_PMenuTraySend);
  HWND panel = WaitForPanel(first->pid);
  ASSERT_NE(panel, nullptr) << "no send panel";
  SetServiceBehaviour({{kFormText, "status", "500"}});
  PressSend(panel);
  EXPECT_EQ(AnswerUntil(first->pid, L"通信エラー"), kKeptAfterCommunicationError);
  SetServiceBehaviour({});  // back to normal
  ASSERT_TRUE(WaitUntil([&] { return FileExists(outbox + "000001.jpg"); }, 10s)) << "nothing kept";
  const std::string kept = ReadFileBytes(outbox + "000001.jpg");
  EXPECT_NE(ReadFileBytes(outbox + "outbox.txt").find("yamada@example.jp"), std::string::npos);
  ExitThroughTheTray(main, *first);
  if (HasFatalFailure()) return;

  // The next start signs in by itself; the kept picture goes out through the panel.
  auto second = program.Start();
  HWND main2 = WaitForTopWindow(L"TFormMainTavisnap", L"タビスナップ", second->pid, 30s);
  ASSERT_NE(main2, nullptr);
  Pump(3s);  // the automatic sign-in
  PostCommand(main2, IDM_PMenuTrayResend);
  HWND panel2 = WaitForPanel(second->pid);
  ASSERT_NE(panel2, nullptr) << "the resend opened no panel";
  Pump(500ms);  // painted
  SaveScreenshot("outbox-resend-panel", panel2);
  const std::wstring mode = TextOf(panel2, PanelText::Mode);
  EXPECT_EQ(mode.rfind(L"画像送信モード【デスクトップ画面】（", 0), 0u) << Narrow(mode);
  EXPECT_NE(mode.find(L"ピクセル）"), std::wstring::npos) << "the receipt: " << Narrow(mode);
  PressSend(panel2);
  EXPECT_EQ(AnswerUntil(second->pid, L"送信しました"), L"送信しました\n送信先：yamada@example.jp");
  EXPECT_EQ(Uploads(mail), kept) << "the service stored the kept picture";
  EXPECT_FALSE(FileExists(outbox + "000001.jpg"));
  EXPECT_EQ(ReadFileBytes(outbox + "outbox.txt"), "");
  ExitThroughTheTray(main2, *second);
}

// The program's one test hook stands in for a system that refuses a thread: nothing
// outside the program can bring that about.
TEST(Outbox, AnUploadWhoseThreadCannotStartIsKeptAndTheHotkeyWorksOn) {
  InitHttpClient();
  BaseUrl = Env("TAVISNAP_SERVICE_URL");
  CaFile = Env("TAVISNAP_CA_FILE");
  ASSERT_FALSE(BaseUrl.empty()) << "runs with the local service";
  InstalledProgram program;
  program.SetSystemValue("DST_NAME", "山田");
  program.SetSystemValue("DST_MAILADR", "yamada@example.jp");
  const std::string outbox = program.outboxDir();
  SetEnvironmentVariableW(L"TAVISNAP_TEST_REFUSE_UPLOAD_THREAD", L"1");
  auto process = program.Start();
  SetEnvironmentVariableW(L"TAVISNAP_TEST_REFUSE_UPLOAD_THREAD", nullptr);
  HWND main = RegisterOnFirstStart(process->pid, "no-thread-user@example.jp", false);
  if (HasFatalFailure()) return;
  FrontWindow work(200, 150, 640, 480);
  ASSERT_TRUE(work.Activate());

  HWND panel = PressHotKeyForPanel(process->pid, {VK_CONTROL, VK_SNAPSHOT});
  ASSERT_NE(panel, nullptr) << "no send panel";
  PressSend(panel);
  auto box = WaitForMessageBox(process->pid, 30s);
  ASSERT_TRUE(box.has_value()) << "no result";
  EXPECT_EQ(box->caption, L"タビスナップ（警告）");
  EXPECT_EQ(box->text, kKeptAfterCommunicationError);
  EXPECT_EQ(FindTopWindow(L"", L"タビスナップ送信中", process->pid, true), nullptr)
      << "the transfer window waits for nothing";
  AnswerMessageBox(*box, IDOK);
  EXPECT_TRUE(FileExists(outbox + "000001.jpg")) << "nothing kept";
  EXPECT_NE(ReadFileBytes(outbox + "outbox.txt").find("yamada@example.jp"), std::string::npos);

  ASSERT_TRUE(work.Activate());
  panel = PressHotKeyForPanel(process->pid, {VK_CONTROL, VK_SNAPSHOT});
  EXPECT_NE(panel, nullptr) << "the hotkey is dead after the failure";
  if (panel) PressPanelButton(panel, true, false);
  EXPECT_TRUE(WaitUntil([&] { return SendPanelWindow(process->pid) == nullptr; }));
  ExitThroughTheTray(main, *process);
}

}  // namespace
}  // namespace tavisnap::testing
