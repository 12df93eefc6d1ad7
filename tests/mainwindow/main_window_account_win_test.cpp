// Account maintenance through the real main window and its menus, against the local
// service: each entry's boxes, what the service and the settings file then hold, and
// the captions of both menus.
#include <windows.h>
#include <oleacc.h>

#include <thread>

#include "account/relogin.h"
#include "core/define.h"
#include "core/file_util.h"
#include "core/settings_file.h"
#include "core/settings_list.h"
#include "main_window_fixture_win.h"
#include "mainwindow/mainwindow_resource.h"
#include "service/commands.h"
#include "service/http_client_init.h"
#include "service/post_form.h"
#include "service/session_cookie.h"
#include "support/accessibility_win.h"
#include "support/fake_prompter.h"
#include "win/text_win.h"

namespace tavisnap::testing {
namespace {

// Answers a run of message boxes in order from a second thread and keeps
// "caption|text" of each.
class BoxRun {
 public:
  explicit BoxRun(std::vector<int> answers)
      : thread_([this, answers] {
          for (int answer : answers) {
            auto box = WaitForMessageBox(GetCurrentProcessId(), 20s);
            if (!box) return;
            boxes_.push_back(box->caption + L"|" + box->text);
            AnswerMessageBox(*box, answer);
          }
        }) {}
  ~BoxRun() {
    if (thread_.joinable()) thread_.join();
  }
  std::vector<std::wstring> Boxes() {
    if (thread_.joinable()) thread_.join();
    return boxes_;
  }

 private:
  std::vector<std::wstring> boxes_;
  std::thread thread_;
};

std::wstring MenuText(HMENU menu, int id) {
  wchar_t text[128] = {};
  GetMenuStringW(menu, id, text, 128, MF_BYCOMMAND);
  return text;
}

std::wstring Description(HWND control) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // S_FALSE when it already was
  IAccessible* object = nullptr;
  // __uuidof: MinGW's IID_IAccessible symbol does not hold the interface's identifier.
  if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                        __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&object)))) {
    return L"(no object)";
  }
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR text = nullptr;
  std::wstring result;
  if (SUCCEEDED(object->get_accDescription(self, &text)) && text) result = text;
  SysFreeString(text);
  object->Release();
  return result;
}

constexpr char kUser[] = "rokuro@example.jp";
constexpr char kNewUser[] = "shichiro@example.jp";
constexpr char kPassword[] = "PW6666";
const std::wstring kInfo = L"タビスナップ|";
const std::wstring kWarn = L"タビスナップ（警告）|";
const std::wstring kAsk = L"タビスナップ（確認）|";

class AccountMaintenanceWindow : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    InitHttpClient();
    BaseUrl = Env("TAVISNAP_SERVICE_URL");
    CaFile = Env("TAVISNAP_CA_FILE");
    ASSERT_FALSE(BaseUrl.empty()) << "runs with the local service";
    ASSERT_TRUE(PostForm(BaseUrl + "_control/reset", {{kFormText, "x", "1"}}).ok);
    ASSERT_TRUE(PostForm(BaseUrl + "_control/account",
                         {{kFormText, "user", kUser}, {kFormText, "password", kPassword}})
                    .ok);
    SysInfo.MailId = kUser;
    SysInfo.Password = kPassword;
    SysInfo.SignedIn = true;
    SysInfo.AutoLogin = true;
    Settings.Set("SYSTEM.MAILID", kUser);
    Settings.Set("SYSTEM.AUTOLOGIN", "1");
    window_->RefreshMenuStates();
  }
  void TearDown() override {
    SessionCookie.Set("");
    MainWindowTest::TearDown();
  }
  // Runs a menu entry or the execute button, answering its boxes.
  std::vector<std::wstring> Run(int id, std::vector<int> answers) {
    BoxRun run(std::move(answers));
    Command(id);
    std::vector<std::wstring> boxes = run.Boxes();
    Pump(100ms);
    return boxes;
  }
  std::string Ini() const { return ReadWholeFile(IniPath).value_or(""); }
  void ExpectCaptions(int mainId, int trayId, const std::wstring& caption) {
    EXPECT_EQ(MenuText(window_->MainMenu(), mainId), caption);
    EXPECT_EQ(MenuText(window_->TrayMenu(), trayId), caption);
  }
};

TEST_F(AccountMaintenanceWindow, AddressAndPasswordChangeAndTheNextSignInUsesThem) {
  Command(IDM_MenuSetPersonalUserIdEdit);
  ASSERT_EQ(window_->CurrentTab(), MainPage::UserIdChg);
  SetWindowTextW(Ctl(IDC_Edit_idchg_userid), Widen(kNewUser).c_str());
  SetWindowTextW(Ctl(IDC_Edit_idchg_confrm), Widen(kNewUser).c_str());
  EXPECT_EQ(Run(IDC_Button_exec, {IDOK}),
            (std::vector<std::wstring>{kInfo + L"ユーザーID変更完了"}));
  EXPECT_EQ(SysInfo.MailId, kNewUser);
  EXPECT_EQ(TextOf(Ctl(IDC_StaticTextuserinfo_userid_dsp)), Widen(kNewUser));
  EXPECT_NE(Ini().find(std::string("MAILID=") + kNewUser), std::string::npos) << Ini();

  // The password page's Relogin signs in with the new address.
  Command(IDM_MenuSetPersonalUserPwdEdit);
  ASSERT_EQ(window_->CurrentTab(), MainPage::PwdChg);
  const std::string iniBefore = Ini();
  SetWindowTextW(Ctl(IDC_Edit_pwdchg), L"new8");
  SetWindowTextW(Ctl(IDC_Edit_pwdchg_confrm), L"new8");
  EXPECT_EQ(TextOf(Ctl(IDC_Edit_pwdchg)), L"NEW8") << "typed letters become upper case";
  EXPECT_EQ(Run(IDC_Button_exec, {IDOK}),
            (std::vector<std::wstring>{kInfo + L"パスワード変更完了"}));
  EXPECT_EQ(SysInfo.Password, "NEW8");
  EXPECT_EQ(Ini(), iniBefore);

  FakePrompter prompter;
  EXPECT_TRUE(Relogin(
      prompter, [] {}, PostForm))
      << "the new address and password sign in";
  EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(AccountMaintenanceWindow, PasswordEditsAreNamedByTheirGroupAndDescribedByTheText) {
  Command(IDM_PMenuTraySetPersonalUserPwdEdit);
  EXPECT_EQ(Description(Ctl(IDC_Edit_pwdchg)), L"新しいパスワードを入力");
  EXPECT_EQ(Description(Ctl(IDC_Edit_pwdchg_confrm)), L"確認のため再度入力");
  EXPECT_EQ(GetWindowLongW(Ctl(IDC_Edit_pwdchg), GWL_STYLE) & ES_PASSWORD, 0) << "in clear";
  Command(IDM_MenuSetPersonalUserIdEdit);
  EXPECT_EQ(Description(Ctl(IDC_Edit_idchg_userid)), L"メールアドレスを入力");
  EXPECT_EQ(DescribeAccessible(Ctl(IDC_Edit_idchg_userid)).name, L"ユーザーID");
  EXPECT_EQ(DescribeAccessible(Ctl(IDC_Edit_idchg_confrm)).name, L"確認入力");
}

TEST_F(AccountMaintenanceWindow, BasicAuthenticationOnAndOffWithBothCaptions) {
  ExpectCaptions(IDM_MenuSetBasicOnOff, IDM_PMenuTrayBasicAuthOnOff, L"BASIC認証を設定する(&B)");
  EXPECT_EQ(Run(IDM_MenuSetBasicOnOff, {IDOK, IDOK}),
            (std::vector<std::wstring>{kAsk + L"BASIC認証設定を行います、よろしいですか？",
                                       kInfo + L"BASIC認証を設定しました"}));
  EXPECT_TRUE(SysInfo.BasicAuth);
  ExpectCaptions(IDM_MenuSetBasicOnOff, IDM_PMenuTrayBasicAuthOnOff, L"BASIC認証を解除する(&B)");
  EXPECT_NE(Ini().find("BASIC_AUTH=1"), std::string::npos) << Ini();

  EXPECT_EQ(Run(IDM_PMenuTrayBasicAuthOnOff, {IDOK, IDOK}),
            (std::vector<std::wstring>{kAsk + L"BASIC認証設定を解除します、よろしいですか？",
                                       kInfo + L"BASIC認証を解除しました"}));
  EXPECT_FALSE(SysInfo.BasicAuth);
  ExpectCaptions(IDM_MenuSetBasicOnOff, IDM_PMenuTrayBasicAuthOnOff, L"BASIC認証を設定する(&B)");
  EXPECT_NE(Ini().find("BASIC_AUTH=2"), std::string::npos) << Ini();
}

TEST_F(AccountMaintenanceWindow, DeletionOfTheSentPictures) {
  FakePrompter prompter;
  ASSERT_TRUE(Relogin(
      prompter, [] {}, PostForm));
  const std::string picture = MakeTempDir("tavisnap-delete") + "cap.jpg";
  WriteFileBytes(picture, "\xFF\xD8\xFF\xD9");
  HttpResult sent = PostForm(ActionUrl(), CapUpCompForm("to@example.jp", picture));
  ASSERT_EQ(sent.body, "1");

  const std::wstring ask = kAsk + L"送信した画像を削除します、よろしいですか？";
  EXPECT_EQ(Run(IDM_PMenuTrayDelete, {IDOK, IDOK}),
            (std::vector<std::wstring>{ask, kInfo + L"削除しました"}));
  EXPECT_EQ(Run(IDM_MenuDelete, {IDOK, IDOK}),
            (std::vector<std::wstring>{ask, kWarn + L"削除する画像はありません"}));
}

TEST_F(AccountMaintenanceWindow, AutomaticSignInOffAndOnWithBothCaptions) {
  EXPECT_EQ(Run(IDM_MenuSetOtherAutologin, {IDOK, IDOK}),
            (std::vector<std::wstring>{kAsk + L"自動ログイン設定を解除します、よろしいですか？",
                                       kInfo + L"自動ログインを解除しました"}));
  EXPECT_FALSE(SysInfo.AutoLogin);
  ExpectCaptions(IDM_MenuSetOtherAutologin, IDM_PMenuTraySetOtherAutologin,
                 L"自動ログインを設定する(&A)");
  EXPECT_NE(Ini().find("AUTOLOGIN=2"), std::string::npos) << Ini();

  EXPECT_EQ(Run(IDM_PMenuTraySetOtherAutologin, {IDOK, IDOK}),
            (std::vector<std::wstring>{kAsk + L"自動ログイン設定を行います、よろしいですか？",
                                       kInfo + L"自動ログインを設定しました"}));
  EXPECT_TRUE(SysInfo.AutoLogin);
  ExpectCaptions(IDM_MenuSetOtherAutologin, IDM_PMenuTraySetOtherAutologin,
                 L"自動ログインを解除する(&A)");
  EXPECT_NE(Ini().find("AUTOLOGIN=1"), std::string::npos) << Ini();
}

}  // namespace
}  // namespace tavisnap::testing
