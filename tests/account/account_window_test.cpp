// Registration, password notice, page choice, cancel and close of the account window.
#include <gtest/gtest.h>

#include <filesystem>

#include "account_test_base.h"

namespace tavisnap::testing {
namespace {

constexpr char kNewUser[] = "hanako@example.jp";
constexpr char kCheckMail[] = "メールアドレスを確認してください";
constexpr char kConfirmRegist[] = "新規登録します、よろしいですか？";
constexpr char kRegistered[] =
    "登録が完了しました、登録メールアドレス宛にログイン用のパスワードが送られてきます。";
constexpr char kConfirmExit[] = "終了します、よろしいですか？";

class Registration : public AccountTest {
 protected:
  void Fill(const std::string& mail1, const std::string& mail2) {
    view.texts[InitField::NewMailAdr1] = mail1;
    view.texts[InitField::NewMailAdr2] = mail2;
  }
};

TEST_F(Registration, StoresTheAddressAndOpensTheSignInPage) {
  Fill(kNewUser, kNewUser);
  logic.Button_new_reg_doClick();
  EXPECT_EQ(prompter.boxes, (std::vector<ShownBox>{{BoxKind::Confirmation, kConfirmRegist},
                                                   {BoxKind::Information, kRegistered}}));
  EXPECT_EQ(SentField("txtEmail"), kNewUser);
  EXPECT_EQ(SentField("txtEmail2"), kNewUser);
  EXPECT_FALSE(Service().Password(kNewUser).empty()) << "the service registered the address";
  EXPECT_EQ(SysInfo.MailId, kNewUser);
  EXPECT_NE(IniText().find("MAILID=hanako@example.jp"), std::string::npos) << IniText();
  EXPECT_EQ(view.texts[InitField::AlreadyMailAdr], kNewUser);
  EXPECT_EQ(view.page, kPageAlreadyReg);
  EXPECT_TRUE(view.pageMenuItems) << "the page entries stay enabled";
  EXPECT_EQ(log.back(), "focus password");
  EXPECT_FALSE(SysInfo.SignedIn);
}

TEST_F(Registration, RefusesAddressesThatAreBadOrDifferEvenInLetterCase) {
  const std::pair<const char*, const char*> cases[] = {{"Hanako@example.jp", "hanako@example.jp"},
                                                       {"hanako@example.jp", "hanako@example.JP"},
                                                       {"hanako@example.jp", ""},
                                                       {"", ""},
                                                       {"hanako@example", "hanako@example"},
                                                       {"hanako@example.jp", "hanako@example.jp "}};
  for (const auto& [mail1, mail2] : cases) {
    SCOPED_TRACE(std::string(mail1) + " / " + mail2);
    prompter.boxes.clear();
    Fill(mail1, mail2);
    logic.Button_new_reg_doClick();
    EXPECT_EQ(prompter.boxes, (std::vector<ShownBox>{{BoxKind::Warning, kCheckMail}}));
  }
  EXPECT_EQ(RequestCount(), 0u);
  EXPECT_TRUE(Settings.empty());
}

TEST_F(Registration, CancelAtTheQuestionSendsNothing) {
  prompter.answers = {false};
  Fill(kNewUser, kNewUser);
  logic.Button_new_reg_doClick();
  EXPECT_EQ(prompter.boxes.size(), 1u);
  EXPECT_EQ(RequestCount(), 0u);
}

TEST_F(Registration, AnswersOtherThanRegisteredStoreNothing) {
  Fill(kNewUser, kNewUser);
  logic.Button_new_reg_doClick();  // registers
  prompter.boxes.clear();
  Settings.Clear();
  SysInfo.MailId.clear();
  logic.Button_new_reg_doClick();  // the address is taken now: "2"
  EXPECT_EQ(prompter.boxes.back(),
            (ShownBox{BoxKind::Warning, "既に登録されています、ログインへお進みください"}));

  Service().SetBehaviour({{"answer", "1,0"}});  // tested on the whole text: no code
  prompter.boxes.clear();
  logic.Button_new_reg_doClick();
  EXPECT_EQ(prompter.boxes.size(), 1u) << "only the question";

  Service().SetBehaviour({{"status", "503"}});
  prompter.boxes.clear();
  logic.Button_new_reg_doClick();
  EXPECT_EQ(prompter.boxes.back(), (ShownBox{BoxKind::Warning, "新規登録失敗"}));
  EXPECT_TRUE(Settings.empty());
  EXPECT_TRUE(SysInfo.MailId.empty());
}

TEST_F(Registration, UnwritableSettingsFileIsShownAndTheSignInPageOffersTheAddress) {
  IniPath = dir_ / "missing-folder/system.ini";
  Fill(kNewUser, kNewUser);
  logic.Button_new_reg_doClick();
  EXPECT_EQ(prompter.boxes, (std::vector<ShownBox>{{BoxKind::Confirmation, kConfirmRegist},
                                                   {BoxKind::Information, kRegistered},
                                                   {BoxKind::Warning, kIniWriteBox}}));
  EXPECT_EQ(SysInfo.MailId, kNewUser);
  EXPECT_TRUE(Settings.empty()) << "as the file is";
  EXPECT_EQ(view.texts[InitField::AlreadyMailAdr], kNewUser);
  EXPECT_EQ(view.page, kPageAlreadyReg);
}

using PasswordNotice = AccountTest;

TEST_F(PasswordNotice, ShowsTheServicesAnswer) {
  Service().AddAccount(kNewUser, "PW123456");
  view.texts[InitField::AlreadyMailAdr] = kNewUser;
  logic.Button_already_reg_PasswordClick();
  EXPECT_EQ(SentField("txtUsername"), kNewUser);
  EXPECT_EQ(SentField("SubmitPwdReNotifyExpiredComp"), "1");

  view.texts[InitField::AlreadyMailAdr] = "nobody@example.jp";
  logic.Button_already_reg_PasswordClick();
  Service().SetBehaviour({{"answer", "3"}});
  logic.Button_already_reg_PasswordClick();
  Service().SetBehaviour({{"answer", ""}});
  logic.Button_already_reg_PasswordClick();
  MakeServiceUnreachable();
  logic.Button_already_reg_PasswordClick();

  EXPECT_EQ(prompter.boxes,
            (std::vector<ShownBox>{{BoxKind::Information, "パスワードを再通知しました"},
                                   {BoxKind::Warning, "ユーザーが存在しません"},
                                   {BoxKind::Warning, "パスワードの再通知ができません"},
                                   {BoxKind::Warning, "通信エラー"}}));
  EXPECT_TRUE(Settings.empty());
  EXPECT_FALSE(std::filesystem::exists(U8Path(IniPath)));
}

TEST_F(PasswordNotice, BadAddressIsRefusedAndTheWindowShown) {
  view.texts[InitField::AlreadyMailAdr] = "hanako@@";
  logic.Button_already_reg_PasswordClick();
  EXPECT_EQ(prompter.boxes, (std::vector<ShownBox>{{BoxKind::Warning, kCheckMail}}));
  EXPECT_TRUE(view.visible);
  EXPECT_EQ(RequestCount(), 0u);
}

struct PageCase {
  const char* mailId;
  const char* password;
  bool autoLogin;
  int page;
  const char* shownMail;
  const char* shownPassword;
};

class PageChoice : public AccountTest, public ::testing::WithParamInterface<PageCase> {};

TEST_P(PageChoice, FollowsTheStoredAccount) {
  const PageCase& c = GetParam();
  SysInfo.MailId = c.mailId;
  SysInfo.Password = c.password;
  SysInfo.AutoLogin = c.autoLogin;
  logic.FormCreate();
  EXPECT_EQ(view.page, c.page);
  EXPECT_EQ(view.texts[InitField::AlreadyMailAdr], c.shownMail);
  EXPECT_EQ(view.texts[InitField::AlreadyPassword], c.shownPassword);
  EXPECT_EQ(view.pageMenuItems, c.page == kPageNewReg);
  EXPECT_EQ(view.autoLogin, c.page == kPageAlreadyReg && c.autoLogin);
  EXPECT_EQ(services.refreshes, 1);
  EXPECT_TRUE(logic.ConfirmExitOnClose());
  EXPECT_TRUE(prompter.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    AccountWindow, PageChoice,
    ::testing::Values(PageCase{"", "", true, kPageNewReg, "", ""},
                      PageCase{"a@example.jp", "", true, kPageAlreadyReg, "a@example.jp", ""},
                      PageCase{"a@example.jp", "PW", true, kPageAlreadyReg, "a@example.jp", "PW"},
                      PageCase{"a@example.jp", "PW", false, kPageAlreadyReg, "a@example.jp", ""},
                      PageCase{"", "PW", true, kPageNewReg, "", ""}));

using LeavingTheWindow = AccountTest;

TEST_F(LeavingTheWindow, CancelButtonsAskAndExitOnlyOnOk) {
  prompter.answers = {false, true};
  logic.CancelClick();
  EXPECT_EQ(services.exitsUnasked + services.exitsAsked, 0);
  logic.CancelClick();
  EXPECT_EQ(services.exitsUnasked, 1) << "no second question on the exit path";
  EXPECT_EQ(prompter.boxes, (std::vector<ShownBox>{{BoxKind::Confirmation, kConfirmExit},
                                                   {BoxKind::Confirmation, kConfirmExit}}));
}

TEST_F(LeavingTheWindow, ClosingBeforeSignInAsksAndCancelKeepsTheWindow) {
  prompter.answers = {false, true};
  EXPECT_FALSE(logic.FormClose());
  EXPECT_EQ(services.exitsUnasked, 0);
  EXPECT_TRUE(logic.FormClose());
  EXPECT_EQ(services.exitsUnasked, 1);
  EXPECT_EQ(prompter.boxes.size(), 2u);
}

TEST_F(LeavingTheWindow, ClosingAfterSignInOnlyHides) {
  Service().AddAccount("jiro@example.jp", "PW123456");
  view.texts[InitField::AlreadyMailAdr] = "jiro@example.jp";
  view.texts[InitField::AlreadyPassword] = "PW123456";
  logic.Button_already_reg_doClick();
  prompter.boxes.clear();
  EXPECT_TRUE(logic.FormClose());
  EXPECT_TRUE(prompter.boxes.empty());
  EXPECT_EQ(services.exitsUnasked + services.exitsAsked, 0);
}

TEST_F(LeavingTheWindow, MenuEntries) {
  SysInfo.AutoLogin = true;
  logic.INiMenuLoginClick();
  EXPECT_EQ(view.page, kPageAlreadyReg);
  EXPECT_TRUE(view.autoLogin);
  logic.IniMenuNewRegClick();
  EXPECT_EQ(view.page, kPageNewReg);
  logic.IniMenuEndClick();
  EXPECT_EQ(services.exitsAsked, 1) << "the exit path asks its own question";
  EXPECT_TRUE(prompter.boxes.empty());
}

}  // namespace
}  // namespace tavisnap::testing
