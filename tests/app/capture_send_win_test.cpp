// The main job through the real tavisnap.exe and the local service, with real key
// presses: a signed-in user with a recipient presses the capture hotkey over a window of
// his own, confirms in the send panel and the picture arrives at the service with its
// addresses; the detailed page with copies and a Japanese message; the window in front;
// a hotkey while the panel is open; and a changed hotkey. One started program serves
// every case, in order.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/account_window_win.h"
#include "app/installed_program_win.h"
#include "app/main_window_win.h"
#include "app/send_panel_win.h"
#include "app/service_behaviour.h"
#include "core/define.h"
#include "core/iso2022jp.h"
#include "capture/form_send_panel_res.h"
#include "mainwindow/mainwindow_resource.h"
#include "service/post_form.h"
#include "support/driver_win.h"
#include "support/front_window_win.h"
#include "support/jpeg_size.h"
#include "support/reader_window_win.h"
#include "support/sent_field.h"
#include "win/text_win.h"

namespace tavisnap::testing {
namespace {

constexpr char kMail[] = "daily-user@example.jp";

struct Session {
  InstalledProgram program;
  std::unique_ptr<Process> process;
  HWND main = nullptr;
  std::unique_ptr<FrontWindow> front;
  bool ready = false;
};

// The fields of a stored upload in the order they arrived: "name<TAB>value" lines.
std::vector<std::string> FieldLines(const std::string& upload) {
  std::istringstream in(ReadFileBytes(upload + "\\fields.txt"));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class CaptureSendRoad : public ::testing::Test {
 protected:
  static void TearDownTestSuite() {
    if (session_ && session_->main) PostMessageW(session_->main, WM_QUIT, 0, 0);
    if (session_ && session_->process) session_->process->Wait(10s);
    session_.reset();
  }

  // The first case starts the program, registers, signs in and keeps an address book of
  // three with the first as recipient; the others reuse it.
  void SetUp() override {
    if (!session_) {
      ASSERT_FALSE(Env("TAVISNAP_SERVICE_URL").empty()) << "runs with the local service";
      BaseUrl = Env("TAVISNAP_SERVICE_URL");
      CaFile = Env("TAVISNAP_CA_FILE");
      session_ = std::make_unique<Session>();
      Session& s = *session_;
      s.process = s.program.Start();
      s.main = RegisterOnFirstStart(s.process->pid, kMail, false);
      if (HasFatalFailure()) return;
      for (auto [name, mail] : {std::pair{L"山田太郎", L"yamada@example.jp"},
                                std::pair{L"佐藤花子", L"sato@example.jp"},
                                std::pair{L"鈴木一郎", L"suzuki@example.jp"}}) {
        AddAddress(s.process->pid, s.main, name, mail);
        if (HasFatalFailure()) return;
      }
      ChooseRecipient(s.process->pid, s.main, 1);
      if (HasFatalFailure()) return;
      s.front = std::make_unique<FrontWindow>(200, 150, 720, 520);
      s.ready = true;
    }
    ASSERT_TRUE(session_->ready) << "the program could not be set up";
    ASSERT_TRUE(session_->front->Activate()) << "the test's window is not in front";
  }

  DWORD Pid() const { return session_->process->pid; }
  // The upload the last send stored, after checking that exactly one arrived.
  std::string NewUpload(size_t before) {
    std::vector<std::string> uploads = ServiceUploads(kMail);
    EXPECT_EQ(uploads.size(), before + 1);
    return uploads.empty() ? std::string() : uploads.back();
  }

  static std::unique_ptr<Session> session_;
};

std::unique_ptr<Session> CaptureSendRoad::session_;

TEST_F(CaptureSendRoad, CtrlPrintScreenSendsTheDesktopToTheRecipient) {
  const size_t uploads = ServiceUploads(kMail).size();
  HWND panel = PressHotKeyForPanel(Pid(), {VK_CONTROL, VK_SNAPSHOT});
  ASSERT_NE(panel, nullptr) << "Ctrl+PrintScreen opened no send panel";
  EXPECT_EQ(TextOf(panel, PanelText::Mode),
            L"画像送信モード【デスクトップ画面】（1920×1080ピクセル）");
  EXPECT_EQ(TextOf(panel, PanelText::DstName), L"山田太郎");
  EXPECT_EQ(TextOf(panel, PanelText::DstMailAdr), L"yamada@example.jp");
  EXPECT_TRUE(PreviewShown(panel)) << "no preview";
  SaveScreenshot("capture-send-panel", panel);

  // Pressed again while the panel is open: dropped, no sign-in, no second panel.
  const size_t signIns = ServiceSignInRequests().size();
  PressKeys({VK_CONTROL, VK_SNAPSHOT});
  PressKeys({VK_CONTROL, VK_SHIFT, VK_SNAPSHOT});
  Pump(1500ms);
  EXPECT_EQ(ServiceSignInRequests().size(), signIns);
  EXPECT_FALSE(WaitForMessageBox(Pid(), 0ms).has_value());
  EXPECT_EQ(SendPanelWindow(Pid()), panel);

  // Slow enough to see the transfer window.
  SetServiceBehaviour({{kFormText, "delay_ms", "1500"}});
  SendOutcome sent = SendAndWaitForResult(Pid(), panel, false);
  SetServiceBehaviour({});
  EXPECT_TRUE(sent.transferWindowSeen) << "no transfer window";
  ASSERT_TRUE(sent.result.has_value()) << "no result box";
  EXPECT_EQ(sent.result->caption, L"タビスナップ");
  EXPECT_EQ(sent.result->text, L"送信しました\n送信先：yamada@example.jp");

  std::string upload = NewUpload(uploads);
  ASSERT_FALSE(upload.empty());
  std::vector<std::string> fields = FieldLines(upload);
  ASSERT_EQ(fields.size(), 3u);  // the simple page sends only To, the picture, the command
  EXPECT_EQ(fields[0], "txtEmailTo[0]\tyamada@example.jp");
  EXPECT_EQ(fields[1].substr(0, fields[1].find('\t')), "fileCapUp[0]");
  EXPECT_EQ(fields[2], "SubmitCapUpComp\t1");
  EXPECT_EQ(JpegSizeOf(ReadFileBytes(upload + "\\picture.jpg")),
            (JpegSize{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
}

TEST_F(CaptureSendRoad, TheDetailedPageSendsCopiesAndAJapaneseMessage) {
  const size_t uploads = ServiceUploads(kMail).size();
  HWND panel = PressHotKeyForPanel(Pid(), {VK_CONTROL, VK_SNAPSHOT});
  ASSERT_NE(panel, nullptr);
  ShowPanelPage(panel, true);
  EXPECT_EQ(TextOf(panel, PanelText::MailTo), L"yamada@example.jp");
  AddCopyFromList(panel, false, 2);
  AddCopyFromList(panel, true, 3);
  AddCopyFromList(panel, true, 2);
  const std::wstring message = L"明日の会議の資料です。\r\nよろしくお願いします。ｶﾀｶﾅ①";
  TypeMessage(panel, message);
  SaveScreenshot("capture-send-detailed", panel);
  SendOutcome sent = SendAndWaitForResult(Pid(), panel, true);
  ASSERT_TRUE(sent.result.has_value());
  EXPECT_EQ(sent.result->text,
            L"送信しました\n送信先：yamada@example.jp\nCC：sato@example.jp;\n"
            L"BCC：suzuki@example.jp;sato@example.jp;");

  std::string upload = NewUpload(uploads);
  ASSERT_FALSE(upload.empty());
  std::vector<std::string> fields = FieldLines(upload);
  ASSERT_EQ(fields.size(), 6u);
  EXPECT_EQ(fields[0], "txtEmailTo[0]\tyamada@example.jp");
  EXPECT_EQ(fields[1], "txtEmailCc[0]\tsato@example.jp;");
  EXPECT_EQ(fields[2], "txtEmailBcc[0]\tsuzuki@example.jp;sato@example.jp;");
  EXPECT_EQ(fields[3], "txtMessage\tmessage.iso2022jp");
  EXPECT_EQ(fields[4].substr(0, fields[4].find('\t')), "fileCapUp[0]");
  EXPECT_EQ(fields[5], "SubmitCapUpComp\t1");
  std::string arrived = ReadFileBytes(upload + "\\message.iso2022jp");
  EXPECT_EQ(arrived, ConvertCodePage(kCodePageShiftJis, kCodePageIso2022Jp, Narrow(message)));
  EXPECT_EQ(arrived.substr(0, 7), "\x1b$BL@F|") << "明日 in JIS X 0208";
  EXPECT_EQ(arrived.substr(arrived.size() - 3), "\x1b(B") << "ends in ASCII";
}

TEST_F(CaptureSendRoad, CtrlShiftPrintScreenSendsTheWindowInFront) {
  const size_t uploads = ServiceUploads(kMail).size();
  HWND panel = PressHotKeyForPanel(Pid(), {VK_CONTROL, VK_SHIFT, VK_SNAPSHOT});
  ASSERT_NE(panel, nullptr) << "Ctrl+Shift+PrintScreen opened no send panel";
  EXPECT_EQ(TextOf(panel, PanelText::DetailMode),
            L"画像送信モード【アクティブウィンドウ】（「作業中の文書」、720×520ピクセル）");
  ShowPanelPage(panel, false);  // the detailed page stayed from the last send
  EXPECT_EQ(TextOf(panel, PanelText::Mode),
            L"画像送信モード【アクティブウィンドウ】（「作業中の文書」、720×520ピクセル）");
  SendOutcome sent = SendAndWaitForResult(Pid(), panel, false);
  ASSERT_TRUE(sent.result.has_value());
  EXPECT_EQ(sent.result->text, L"送信しました\n送信先：yamada@example.jp");
  std::string upload = NewUpload(uploads);
  ASSERT_FALSE(upload.empty());
  SIZE front = session_->front->Size();
  EXPECT_EQ(JpegSizeOf(ReadFileBytes(upload + "\\picture.jpg")),
            (JpegSize{static_cast<int>(front.cx), static_cast<int>(front.cy)}));
}

// What the screen reader heard in the window in front goes to the helper in the message,
// the password's value never.
TEST_F(CaptureSendRoad, TheReaderTextOfTheWindowInFrontTravelsInTheMessage) {
  ReaderWindow reader(240, 180);
  ASSERT_TRUE(reader.Activate());
  const size_t uploads = ServiceUploads(kMail).size();
  HWND panel = PressHotKeyForPanel(Pid(), {VK_CONTROL, VK_SNAPSHOT});
  ASSERT_NE(panel, nullptr);
  ShowPanelPage(panel, true);
  TypeMessage(panel, L"この画面です。");
  HWND memo = ControlOf(panel, PanelText::Message);
  Click(FindChildById(panel, IDC_Button_d_reader));
  ASSERT_TRUE(WaitUntil([&] { return TextOf(memo) != L"この画面です。"; }))
      << "nothing added; a box: "
      << Narrow(WaitForMessageBox(Pid(), 0ms).value_or(MessageBoxInfo{}).text);
  const std::wstring text = TextOf(memo);
  EXPECT_EQ(text,
            L"この画面です。\r\n"
            L"【読み上げ内容】読み上げの確認\r\n"
            L"フォーカス：テキスト「氏名」 値「山田太郎」\r\n"
            L"静的テキスト「氏名」\r\n"
            L"テキスト「氏名」 値「山田太郎」\r\n"
            L"静的テキスト「暗証番号」\r\n"
            L"テキスト「暗証番号」 パスワード欄（内容は含めません）\r\n"
            L"チェック ボタン「保存する」 （チェックあり）\r\n"
            L"プッシュ ボタン（名前なし）\r\n"
            L"静的テキスト「色」\r\n"
            L"リスト（名前なし）\r\n"
            L"  リスト項目「赤」\r\n"
            L"  リスト項目「緑」 （選択）\r\n"
            L"  リスト項目「青」");
  EXPECT_EQ(text.find(ReaderWindow::kPassword), std::wstring::npos);
  SendOutcome sent = SendAndWaitForResult(Pid(), panel, true);
  ASSERT_TRUE(sent.result.has_value());
  std::string upload = NewUpload(uploads);
  ASSERT_FALSE(upload.empty());
  EXPECT_EQ(FieldLines(upload).at(3), "txtMessage\tmessage.iso2022jp");
  EXPECT_EQ(ReadFileBytes(upload + "\\message.iso2022jp"),
            ConvertCodePage(kCodePageShiftJis, kCodePageIso2022Jp, Narrow(text)));
}

TEST_F(CaptureSendRoad, AChangedHotKeyTakesOverFromTheOldOne) {
  EXPECT_EQ(ChooseHotKeyEntry(Pid(), session_->main, IDM_MenuSetHotKey_O),
            (std::vector<std::wstring>{L"送信キーを変更します、よろしいですか？",
                                       L"送信キーを変更しました"}));
  EXPECT_TRUE(session_->program.SystemIniHas("HOTKEY=O"));
  ASSERT_TRUE(session_->front->Activate());
  const size_t signIns = ServiceSignInRequests().size();
  EXPECT_EQ(PressHotKeyForPanel(Pid(), {VK_CONTROL, VK_SNAPSHOT}, 1500ms), nullptr)
      << "the old combination still works";
  EXPECT_EQ(ServiceSignInRequests().size(), signIns);

  HWND panel = PressHotKeyForPanel(Pid(), {VK_CONTROL, VK_MENU, 'O'});
  ASSERT_NE(panel, nullptr) << "Ctrl+Alt+O opened no send panel";
  EXPECT_EQ(TextOf(panel, PanelText::Mode).rfind(L"画像送信モード【デスクトップ画面】", 0), 0u);
  PressPanelButton(panel, true, false);
  EXPECT_TRUE(WaitUntil([&] { return SendPanelWindow(Pid()) == nullptr; }));
  auto box = WaitForMessageBox(Pid(), 500ms);
  EXPECT_FALSE(box.has_value()) << "Cancel said: " << Narrow(box ? box->text : L"");
}

}  // namespace
}  // namespace tavisnap::testing
