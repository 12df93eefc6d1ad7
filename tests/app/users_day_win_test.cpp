// A user's day with the real tavisnap.exe and the local service, told as one story and
// driven from the keyboard: Tab, Enter, access keys and the tray's keyboard menu. After
// each step the files the program keeps and the service's records are what they must be.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "account/form_init_res.h"
#include "app/installed_program_win.h"
#include "app/keyboard_win.h"
#include "app/main_window_win.h"
#include "app/send_panel_win.h"
#include "app/service_behaviour.h"
#include "capture/form_send_panel_res.h"
#include "core/define.h"
#include "core/iso2022jp.h"
#include "mainwindow/mainwindow_resource.h"
#include "service/form_http_res.h"
#include "service/post_form.h"
#include "support/driver_win.h"
#include "support/front_window_win.h"
#include "support/jpeg_size.h"
#include "support/sent_field.h"
#include "win/text_win.h"

namespace tavisnap::testing {
namespace {

constexpr char kMail[] = "tsuki@example.jp";

HWND WaitForAccountWindow(DWORD pid) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND w : TopWindows(pid)) {
          if (IsWindowVisible(w) && FindChildById(w, IDC_Button_already_reg_do)) found = w;
        }
        return found != nullptr;
      },
      30s);
  return found;
}

// Tab to the simple page's 送信 and Enter; the result box, answered with Enter.
std::optional<MessageBoxInfo> PressSend(DWORD pid, HWND panel) {
  if (!BringToFront(panel) || !TabTo(FindChildById(panel, IDC_Button_send_exec))) {
    return std::nullopt;
  }
  PressKeys({VK_RETURN});
  return EnterOnBox(pid);
}

// Types text into an edit and its confirmation (Tab between them), Tab to 登録, Enter.
void ExecuteWithTwoEntries(HWND main, HWND edit, int confirmationId, const std::wstring& text) {
  ASSERT_TRUE(TabTo(edit));
  TypeText(text);
  ASSERT_TRUE(TabTo(FindChildById(main, confirmationId)));
  TypeText(text);
  ASSERT_TRUE(TabTo(FindChildById(main, IDC_Button_exec)));
  PressKeys({VK_RETURN});
}

TEST(UsersDay, FromTheFirstStartToTheEveningExit) {
  ASSERT_FALSE(Env("TAVISNAP_SERVICE_URL").empty()) << "runs with the local service";
  BaseUrl = Env("TAVISNAP_SERVICE_URL");
  CaFile = Env("TAVISNAP_CA_FILE");
  InstalledProgram program;
  const auto laidOut = program.Listing();
  const std::wstring mail = Widen(kMail);

  // Morning, first start: the account window, on its registration page, with the focus
  // in the address. Address, Tab to the confirmation, address, Tab to 登録, Enter.
  auto first = program.Start();
  HWND account = WaitForAccountWindow(first->pid);
  ASSERT_NE(account, nullptr);
  ASSERT_TRUE(BringToFront(account));
  HWND address = FindChildById(account, IDC_Edit_new_mailadr1);
  ASSERT_TRUE(TabTo(address));
  TypeText(mail);
  ASSERT_TRUE(TabTo(FindChildById(account, IDC_Edit_new_mailadr2)));
  TypeText(mail);
  ASSERT_TRUE(TabTo(FindChildById(account, IDC_Button_new_reg_do)));
  PressKeys({VK_RETURN});
  auto box = EnterOnBox(first->pid);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text, L"新規登録します、よろしいですか？");
  box = EnterOnBox(first->pid);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text,
            L"登録が完了しました、登録メールアドレス宛にログイン用のパスワードが送られてきます。");

  // The mailed password, typed where the focus already is; Tab to the automatic sign-in,
  // Space, Tab to ログイン実行, Enter.
  HWND password = FindChildById(account, IDC_Edit_already_password);
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(account) == password; }))
      << "the focus is not in the password";
  ASSERT_TRUE(BringToFront(account));
  TypeText(Widen(ServiceRecordedPassword(kMail)));
  ASSERT_TRUE(TabTo(FindChildById(account, IDC_CheckBox_AutoLogin)));
  PressKeys({VK_SPACE});
  ASSERT_TRUE(TabTo(FindChildById(account, IDC_Button_already_reg_do)));
  PressKeys({VK_RETURN});
  box = EnterOnBox(first->pid);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text, L"ログインできました");
  EXPECT_TRUE(program.SystemIniHas(std::string("MAILID=") + kMail));
  EXPECT_TRUE(program.SystemIniHas("AUTOLOGIN=1"));
  SaveScreenshot("day-signed-in");
  HWND main = WaitForMainWindow(first->pid);
  ASSERT_NE(main, nullptr);

  // The helper's address by hand, from the tray: 設定 → アドレス帳 → 新規登録.
  ASSERT_TRUE(TrayMenuKeys(main, {'S', 'A', 'N'}));
  HWND name = FindChildById(main, IDC_Edit_add_name);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(name) != FALSE; })) << "no address page";
  ASSERT_TRUE(BringToFront(main));
  ASSERT_TRUE(TabTo(name));
  TypeText(L"見守り担当");
  ASSERT_TRUE(TabTo(FindChildById(main, IDC_Edit_add_mailadr)));
  TypeText(L"helper@example.jp");
  ASSERT_TRUE(TabTo(FindChildById(main, IDC_Button_exec)));
  PressKeys({VK_RETURN});
  box = EnterOnBox(first->pid);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text, L"メールアドレスを追加しました");
  EXPECT_TRUE(program.SystemIniHas("NAME1=" + Cp932(L"見守り担当")));
  EXPECT_TRUE(program.SystemIniHas("MAIL1=helper@example.jp"));

  // Two more from a CSV file a friend sent, through the menu bar and the open dialog.
  const std::string csv = MakeTempDir("tavisnap-day") + "家族.csv";
  WriteFileBytes(csv, Cp932(L"長女,daughter@example.jp\r\n\"長男 次郎\",son@example.jp\r\n"));
  ASSERT_TRUE(MenuBarKeys(main, {'A', 'L'}));
  box = EnterOnBox(first->pid);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text,
            L"CSVファイル（カンマ区切り形式）よりアドレス帳へ一括登録します\r\nよろしいですか？");
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        dialog = GetForegroundWindow();
        return ClassOf(dialog) == L"#32770" && dialog != main && FindChildById(dialog, IDOK);
      },
      10s))
      << "no open dialog in front";
  TypeText(Widen(csv));
  PressKeys({VK_RETURN});
  box = EnterOnBox(first->pid);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text, L"メールアドレスを一括登録しました");
  EXPECT_TRUE(program.SystemIniHas("NAME3=" + Cp932(L"長男 次郎")));

  // The helper becomes the recipient: タビスナップ → 送信先設定, the list, Down, Enter.
  ASSERT_TRUE(MenuBarKeys(main, {'C', 'S'}));
  HWND list = FindChildById(main, IDC_Main_ComboBox_dst_list);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(list) != FALSE; }));
  ASSERT_TRUE(TabTo(list));
  PressKeys({VK_DOWN});
  ASSERT_TRUE(TabTo(FindChildById(main, IDC_Button_exec)));
  PressKeys({VK_RETURN});
  box = EnterOnBox(first->pid);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text, L"送信先を設定しました");
  EXPECT_TRUE(program.SystemIniHas("DST_MAILADR=helper@example.jp"));
  SaveScreenshot("day-recipient", main);

  // Closed from the keyboard; then the tray's 終了 and Enter on its question.
  ASSERT_TRUE(MenuBarKeys(main, {'C', 'C'}));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }));
  ASSERT_TRUE(TrayMenuKeys(main, {'X'}));
  box = EnterOnBox(first->pid, 1);  // Cancel is the default
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text, L"終了します、よろしいですか？");
  ASSERT_TRUE(first->Wait(15s).has_value()) << "the program did not end";
  EXPECT_FALSE(TrayIconPresent(main));

  // Next start: signed in by itself with the stored account, nothing to answer.
  const size_t signIns = ServiceSignInRequests().size();
  auto second = program.Start();
  HWND main2 = WaitForMainWindow(second->pid);
  ASSERT_NE(main2, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return ServiceSignInRequests().size() > signIns; }, 30s))
      << "no automatic sign-in";
  EXPECT_FALSE(WaitForMessageBox(second->pid, 1s).has_value()) << "a box at start-up";

  // A day of captures over the user's own window. The desktop, sent: Tab to 送信, Enter.
  FrontWindow work(200, 150, 720, 520);
  ASSERT_TRUE(work.Activate());
  const std::string capture = program.captureFile();
  HWND panel = PressHotKeyForPanel(second->pid, {VK_CONTROL, VK_SNAPSHOT});
  ASSERT_NE(panel, nullptr) << "Ctrl+PrintScreen opened no send panel";
  EXPECT_EQ(TextOf(panel, PanelText::DstMailAdr), L"helper@example.jp");
  box = PressSend(second->pid, panel);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text.substr(0, 6), L"送信しました");
  std::vector<std::string> uploads = ServiceUploads(kMail);
  ASSERT_EQ(uploads.size(), 1u);
  EXPECT_NE(ReadFileBytes(uploads[0] + "\\fields.txt").find("txtEmailTo[0]\thelper@example.jp"),
            std::string::npos);
  EXPECT_EQ(JpegSizeOf(ReadFileBytes(uploads[0] + "\\picture.jpg")),
            (JpegSize{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
  EXPECT_EQ(ReadFileBytes(capture), ReadFileBytes(uploads[0] + "\\picture.jpg"))
      << "the capture file is kept and is what was sent";

  // The window in front with a question for the helper: Ctrl+Tab to the detailed page,
  // Tab to the message, its text, Tab to 送信, Enter.
  ASSERT_TRUE(work.Activate());
  panel = PressHotKeyForPanel(second->pid, {VK_CONTROL, VK_SHIFT, VK_SNAPSHOT});
  ASSERT_NE(panel, nullptr);
  ASSERT_TRUE(BringToFront(panel));
  PressKeys({VK_CONTROL, VK_TAB});
  HWND memo = FindChildById(panel, IDC_Memo_Message);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(memo) != FALSE; })) << "no detailed page";
  ASSERT_TRUE(TabTo(memo));
  const std::wstring question = L"この画面には何と書いてありますか？";
  TypeText(question);
  ASSERT_TRUE(TabTo(FindChildById(panel, IDC_Button_d_Send_exec)));
  PressKeys({VK_RETURN});
  box = EnterOnBox(second->pid);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text.substr(0, 6), L"送信しました");
  uploads = ServiceUploads(kMail);
  ASSERT_EQ(uploads.size(), 2u);
  EXPECT_EQ(ReadFileBytes(uploads[1] + "\\message.iso2022jp"),
            ConvertCodePage(kCodePageShiftJis, kCodePageIso2022Jp, Narrow(question)));
  EXPECT_EQ(JpegSizeOf(ReadFileBytes(uploads[1] + "\\picture.jpg")),
            (JpegSize{work.Size().cx, work.Size().cy}));

  // Thought better of: Escape in the panel sends nothing (back on the simple page first,
  // which the next panels open on).
  ASSERT_TRUE(work.Activate());
  panel = PressHotKeyForPanel(second->pid, {VK_CONTROL, VK_SHIFT, VK_SNAPSHOT});
  ASSERT_NE(panel, nullptr);
  ASSERT_TRUE(BringToFront(panel));
  PressKeys({VK_CONTROL, VK_TAB});
  ASSERT_TRUE(WaitUntil(
      [&] { return IsWindowVisible(FindChildById(panel, IDC_Button_send_exec)) != FALSE; }));
  PressKeys({VK_ESCAPE});
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(panel); })) << "Escape left the panel";
  EXPECT_EQ(JpegSizeOf(ReadFileBytes(capture)), (JpegSize{work.Size().cx, work.Size().cy}));

  // The service is slow today; the user gives up in the transfer window.
  ASSERT_TRUE(work.Activate());
  panel = PressHotKeyForPanel(second->pid, {VK_CONTROL, VK_SNAPSHOT});
  ASSERT_NE(panel, nullptr);
  SetServiceBehaviour({{kFormText, "delay_ms", "8000"}});
  ASSERT_TRUE(TabTo(FindChildById(panel, IDC_Button_send_exec)));
  PressKeys({VK_RETURN});
  HWND transfer = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] { return (transfer = FindTopWindow(L"", L"タビスナップ送信中", second->pid, true)); }));
  ASSERT_TRUE(BringToFront(transfer));
  ASSERT_TRUE(TabTo(FindChildById(transfer, IDC_ButtonCancel)));
  PressKeys({VK_RETURN});
  box = EnterOnBox(second->pid);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text, L"送信をキャンセルしました");
  SetServiceBehaviour({});

  // A refusal and an unreachable service: "通信エラー" each time, the picture kept.
  for (const TTypFormDataArray& behaviour :
       {TTypFormDataArray{{kFormText, "answer", "2"}},
        TTypFormDataArray{{kFormText, "redirect", "https://127.0.0.1:1/action.php"},
                          {kFormText, "redirect_count", "-1"}}}) {
    ASSERT_TRUE(work.Activate());
    panel = PressHotKeyForPanel(second->pid, {VK_CONTROL, VK_SNAPSHOT});
    ASSERT_NE(panel, nullptr);
    SetServiceBehaviour(behaviour);  // the sign-in before the capture went through
    box = PressSend(second->pid, panel);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, L"タビスナップ（警告）");
    EXPECT_EQ(box->text,
              L"通信エラー\n画像は保存しました。「未送信の画像を再送信」で送り直せます。");
    EXPECT_TRUE(FileExists(capture));
    SetServiceBehaviour({});
  }
  EXPECT_EQ(ServiceUploads(kMail).size(), 2u) << "only the first two pictures arrived";

  // The viewer round trip: the panel's Viewer, a turn to the right, sent from the viewer.
  ASSERT_TRUE(work.Activate());
  panel = PressHotKeyForPanel(second->pid, {VK_CONTROL, VK_SNAPSHOT});
  ASSERT_NE(panel, nullptr);
  ASSERT_TRUE(BringToFront(panel));
  ASSERT_TRUE(TabTo(FindChildById(panel, IDC_Button_viewer)));
  PressKeys({VK_RETURN});
  HWND viewer = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    return (viewer = FindTopWindow(L"", L"タビスナップ-画像viewer-", second->pid, true));
  })) << "the viewer did not open";
  ASSERT_TRUE(MenuBarKeys(viewer, {'O', 'R'}));
  ASSERT_TRUE(WaitUntilIdle(viewer));
  ASSERT_TRUE(MenuBarKeys(viewer, {'F', 'S'}));
  panel = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (panel = SendPanelWindow(second->pid)) != nullptr; }));
  EXPECT_EQ(TextOf(panel, PanelText::Mode), L"画像送信モード【VIEWER画面】（1080×1920ピクセル）")
      << "the turned picture's receipt";
  box = PressSend(second->pid, panel);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text.substr(0, 6), L"送信しました");
  uploads = ServiceUploads(kMail);
  ASSERT_EQ(uploads.size(), 3u);
  EXPECT_EQ(JpegSizeOf(ReadFileBytes(uploads[2] + "\\picture.jpg")),
            (JpegSize{GetSystemMetrics(SM_CYSCREEN), GetSystemMetrics(SM_CXSCREEN)}))
      << "the turned picture";
  ASSERT_TRUE(MenuBarKeys(viewer, {'F', 'X'}));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(viewer); }));

  // A new address and a new password, from the tray's 設定 → ユーザー情報.
  const std::wstring newMail = L"tsuki.new@example.jp";
  ASSERT_TRUE(TrayMenuKeys(main2, {'S', 'U', 'I'}));
  HWND idEdit = FindChildById(main2, IDC_Edit_idchg_userid);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(idEdit) != FALSE; }));
  ASSERT_TRUE(BringToFront(main2));
  ExecuteWithTwoEntries(main2, idEdit, IDC_Edit_idchg_confrm, newMail);
  box = EnterOnBox(second->pid);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text, L"ユーザーID変更完了");
  EXPECT_TRUE(program.SystemIniHas("MAILID=" + Narrow(newMail)));
  ASSERT_TRUE(TrayMenuKeys(main2, {'S', 'U', 'P'}));
  HWND pwdEdit = FindChildById(main2, IDC_Edit_pwdchg);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(pwdEdit) != FALSE; }));
  ASSERT_TRUE(BringToFront(main2));
  ExecuteWithTwoEntries(main2, pwdEdit, IDC_Edit_pwdchg_confrm, L"moon8");
  box = EnterOnBox(second->pid);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text, L"パスワード変更完了");
  EXPECT_EQ(ServiceRecordedPassword(Narrow(newMail)), "MOON8");

  // Basic authentication on and off again, from the tray's その他.
  for (const wchar_t* result : {L"BASIC認証を設定しました", L"BASIC認証を解除しました"}) {
    ASSERT_TRUE(TrayMenuKeys(main2, {'S', 'O', 'B'}));
    ASSERT_TRUE(EnterOnBox(second->pid).has_value());
    box = EnterOnBox(second->pid);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, result);
  }
  EXPECT_TRUE(program.SystemIniHas("BASIC_AUTH=2"));

  // The evening: the pictures sent today deleted at the service, then none left.
  for (const wchar_t* result : {L"削除しました", L"削除する画像はありません"}) {
    ASSERT_TRUE(TrayMenuKeys(main2, {'D'}));
    ASSERT_TRUE(EnterOnBox(second->pid).has_value());
    box = EnterOnBox(second->pid);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, result);
  }

  // Ctrl+PrintScreen clashes with another program: the capture key becomes Ctrl+Alt+O, and
  // the next capture signs in with the new address and password.
  ASSERT_TRUE(TrayMenuKeys(main2, {'S', 'K', 'O'}));
  ASSERT_TRUE(EnterOnBox(second->pid).has_value());
  box = EnterOnBox(second->pid);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text, L"送信キーを変更しました");
  EXPECT_TRUE(program.SystemIniHas("HOTKEY=O"));
  ASSERT_TRUE(work.Activate());
  const size_t signInsBefore = ServiceSignInRequests().size();
  panel = PressHotKeyForPanel(second->pid, {VK_CONTROL, VK_MENU, 'O'});
  ASSERT_NE(panel, nullptr) << "Ctrl+Alt+O opened no send panel";
  std::vector<std::string> requests = ServiceRequests();
  ASSERT_GT(ServiceSignInRequests().size(), signInsBefore);
  for (auto it = requests.rbegin(); it != requests.rend(); ++it) {
    if (SentField(*it, "SubmitLoginDo") != "1") continue;
    EXPECT_EQ(SentField(*it, "username"), Narrow(newMail));
    EXPECT_EQ(SentField(*it, "password"), "MOON8");
    break;
  }
  ASSERT_TRUE(BringToFront(panel));
  PressKeys({VK_ESCAPE});
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(panel); }));

  ASSERT_TRUE(TrayMenuKeys(main2, {'X'}));
  ASSERT_TRUE(EnterOnBox(second->pid, 1).has_value());
  ASSERT_TRUE(second->Wait(15s).has_value()) << "the program did not end";

  // Next morning an update is offered; the user declines (Enter: Cancel is the default)
  // and the day begins as usual.
  ASSERT_EQ(PostForm(BaseUrl + "_control/update", {{kFormText, "version", "2.0.2"}}).status, 200);
  const size_t signInsBeforeThird = ServiceSignInRequests().size();
  auto third = program.Start();
  box = EnterOnBox(third->pid);
  ASSERT_TRUE(box.has_value()) << "no update offered";
  EXPECT_EQ(box->caption, L"自動アップデート確認");
  HWND main3 = WaitForMainWindow(third->pid);
  ASSERT_NE(main3, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return TrayIconPresent(main3); }, 30s)) << "declined, no start";
  EXPECT_FALSE(FileExists(UserFolder(false) + "AutoUpdate.exe"));

  // Yesterday's two pictures that did not go out are still there; each goes out again
  // through the panel, from the tray's 未送信の画像を再送信, and leaves the outbox.
  ASSERT_TRUE(WaitUntil([&] { return ServiceSignInRequests().size() > signInsBeforeThird; }, 30s));
  Pump(2s);  // the sign-in's answer enables the entry
  const std::string outbox = program.outboxDir();
  for (const char* kept : {"000001.jpg", "000002.jpg"}) {
    ASSERT_TRUE(FileExists(outbox + kept)) << kept << " was lost";
    const std::string picture = ReadFileBytes(outbox + kept);
    ASSERT_TRUE(TrayMenuKeys(main3, {'R'}));
    panel = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (panel = SendPanelWindow(third->pid)) != nullptr; }))
        << "the resend opened no panel";
    box = PressSend(third->pid, panel);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, L"送信しました\n送信先：helper@example.jp");
    uploads = ServiceUploads(Narrow(newMail));
    ASSERT_FALSE(uploads.empty());
    EXPECT_EQ(ReadFileBytes(uploads.back() + "\\picture.jpg"), picture);
    EXPECT_FALSE(FileExists(outbox + kept));
  }
  EXPECT_EQ(ReadFileBytes(outbox + "outbox.txt"), "");
  ASSERT_TRUE(TrayMenuKeys(main3, {'X'}));
  ASSERT_TRUE(EnterOnBox(third->pid, 1).has_value());
  EXPECT_TRUE(third->Wait(15s).has_value());
  // A whole day, an update declined and the outbox used: the program folder could have
  // been read-only.
  EXPECT_EQ(program.Listing(), laidOut) << "the program folder was written";
}

}  // namespace
}  // namespace tavisnap::testing
