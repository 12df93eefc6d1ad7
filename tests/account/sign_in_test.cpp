// Sign-in from the account window and at start-up, against the local service.
#include <gtest/gtest.h>

#include "account_test_base.h"
#include "core/base64.h"

namespace tavisnap::testing {
namespace {

constexpr char kUser[] = "taro@example.jp";
constexpr char kPassword[] = "AB12CD34";
constexpr char kNoSuchUser[] = "ログインに失敗しました（ユーザーＩＤを確認してください）";
constexpr char kWrongPassword[] = "ログインに失敗しました（パスワードを確認してください）";

class SignIn : public AccountTest {
 protected:
  void Fill(const std::string& mail, const std::string& password, bool autoLogin = true) {
    view.texts[InitField::AlreadyMailAdr] = mail;
    view.texts[InitField::AlreadyPassword] = password;
    view.autoLogin = autoLogin;
  }
  void ExpectNothingStored() {
    EXPECT_TRUE(savedPasswords.empty());
    EXPECT_FALSE(SysInfo.SignedIn);
    EXPECT_TRUE(Settings.empty());
    EXPECT_EQ(services.trayEnabled, 0);
    EXPECT_EQ(HotKeyReady, "OFF");
    EXPECT_TRUE(logic.ConfirmExitOnClose());
  }
};

TEST_F(SignIn, LowerCasePasswordIsSentStoredAndShownInUpperCase) {
  Service().AddAccount(kUser, kPassword, /*basic_auth=*/true);
  view.visible = true;
  Fill(kUser, "ab12cd34", /*autoLogin=*/true);

  logic.Button_already_reg_doClick();

  EXPECT_EQ(view.texts[InitField::AlreadyPassword], kPassword);
  EXPECT_EQ(SentField("username"), kUser);
  EXPECT_EQ(SentField("password"), kPassword);
  EXPECT_EQ(SentField("SubmitLoginDo"), "1");
  EXPECT_EQ(savedPasswords, std::vector<std::string>{EncodeBase64String(kPassword)});
  EXPECT_TRUE(SysInfo.SignedIn);
  EXPECT_EQ(SysInfo.MailId, kUser);
  EXPECT_EQ(SysInfo.Password, kPassword);
  EXPECT_TRUE(SysInfo.AutoLogin);
  EXPECT_TRUE(SysInfo.BasicAuth);
  std::string ini = IniText();
  EXPECT_NE(ini.find("MAILID=taro@example.jp"), std::string::npos) << ini;
  EXPECT_NE(ini.find("AUTOLOGIN=1"), std::string::npos) << ini;
  EXPECT_NE(ini.find("BASIC_AUTH=1"), std::string::npos) << ini;
  EXPECT_EQ(ini.find(kPassword), std::string::npos) << "the password stays out of the file";
  EXPECT_EQ(services.trayEnabled, 1);
  EXPECT_EQ(services.refreshes, 1);
  EXPECT_EQ(HotKeyReady, "ON");
  EXPECT_FALSE(logic.ConfirmExitOnClose());
  EXPECT_EQ(log, (std::vector<std::string>{"box ログインできました", "hide"}));
  EXPECT_EQ(prompter.boxes[0].kind, BoxKind::Information);
}

TEST_F(SignIn, ClearedCheckBoxTurnsAutomaticSignInOffButThePasswordIsStored) {
  Service().AddAccount(kUser, kPassword);
  SysInfo.AutoLogin = true;
  Fill(kUser, kPassword, /*autoLogin=*/false);

  logic.Button_already_reg_doClick();

  EXPECT_FALSE(SysInfo.AutoLogin);
  EXPECT_FALSE(SysInfo.BasicAuth);
  EXPECT_NE(IniText().find("AUTOLOGIN=2"), std::string::npos) << IniText();
  EXPECT_NE(IniText().find("BASIC_AUTH=2"), std::string::npos) << IniText();
  EXPECT_EQ(savedPasswords.size(), 1u);
}

TEST_F(SignIn, BasicAuthenticationFollowsTheThirdCharacterOfTheAnswer) {
  const struct {
    const char* answer;
    bool on;
  } cases[] = {{"1", false}, {"1,1", true}, {"1,0", false}, {"1x1yz", true}, {"11", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    Service().SetBehaviour({{"answer", c.answer}});
    SysInfo.BasicAuth = !c.on;
    Fill(kUser, kPassword);
    logic.Button_already_reg_doClick();
    EXPECT_TRUE(SysInfo.SignedIn);
    EXPECT_EQ(SysInfo.BasicAuth, c.on);
    EXPECT_NE(IniText().find(c.on ? "BASIC_AUTH=1" : "BASIC_AUTH=2"), std::string::npos);
  }
}

TEST_F(SignIn, RefusalsShowTheirWarningAndStoreNothing) {
  Fill("nobody@example.jp", kPassword);
  logic.Button_already_reg_doClick();  // the service knows no such user: "2"
  EXPECT_EQ(prompter.boxes, (std::vector<ShownBox>{{BoxKind::Warning, kNoSuchUser}}));
  EXPECT_FALSE(view.visible) << "a hidden window stays hidden";
  EXPECT_EQ(view.page, kPageNewReg);
  ExpectNothingStored();

  const char* noMatch[] = {"", "0", "9,1", "あ"};
  for (const char* answer : noMatch) {
    SCOPED_TRACE(answer);
    Service().SetBehaviour({{"answer", answer}});
    prompter.boxes.clear();
    logic.Button_already_reg_doClick();
    EXPECT_TRUE(prompter.boxes.empty());
    ExpectNothingStored();
  }
  EXPECT_FALSE(view.visible);
}

TEST_F(SignIn, WrongPasswordBringsTheSignInPageForward) {
  Service().AddAccount(kUser, kPassword);
  SysInfo.AutoLogin = true;
  Fill(kUser, "WRONG", /*autoLogin=*/false);
  logic.Button_already_reg_doClick();
  EXPECT_EQ(prompter.boxes, (std::vector<ShownBox>{{BoxKind::Warning, kWrongPassword}}));
  EXPECT_EQ(view.page, kPageAlreadyReg);
  EXPECT_FALSE(view.pageMenuItems);
  EXPECT_TRUE(view.autoLogin) << "the check box follows the stored setting";
  EXPECT_EQ(log, (std::vector<std::string>{"box " + std::string(kWrongPassword), "page 1",
                                           "visible", "front"}));
  ExpectNothingStored();
}

TEST_F(SignIn, FailedTransactionShowsCommunicationErrorAndKeepsVisibility) {
  Fill(kUser, kPassword);
  Service().SetBehaviour({{"status", "500"}});
  logic.Button_already_reg_doClick();
  MakeServiceUnreachable();
  view.visible = true;
  logic.Button_already_reg_doClick();
  EXPECT_EQ(prompter.boxes, (std::vector<ShownBox>{{BoxKind::Warning, "通信エラー"},
                                                   {BoxKind::Warning, "通信エラー"}}));
  EXPECT_TRUE(view.visible);
  ExpectNothingStored();
}

TEST_F(SignIn, BadInputIsRefusedBeforeAnythingIsSent) {
  const struct {
    const char* mail;
    const char* password;
    const char* message;
  } cases[] = {{"", kPassword, "メールアドレスを確認してください"},
               {"taro@example", kPassword, "メールアドレスを確認してください"},
               {"たろう@example.jp", kPassword, "メールアドレスを確認してください"},
               {kUser, "", "パスワードを確認してください"},
               {kUser, "AB 12", "パスワードを確認してください"},
               {kUser, "ＡＢ12", "パスワードを確認してください"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.mail) + " / " + c.password);
    prompter.boxes.clear();
    view.visible = false;
    Fill(c.mail, c.password);
    logic.Button_already_reg_doClick();
    EXPECT_EQ(prompter.boxes, (std::vector<ShownBox>{{BoxKind::Warning, c.message}}));
    EXPECT_TRUE(view.visible);
  }
  EXPECT_EQ(RequestCount(), 0u);
  ExpectNothingStored();
}

TEST_F(SignIn, UnwritableSettingsFileIsShownAndStoresNothing) {
  Service().AddAccount(kUser, kPassword);
  IniPath = dir_ / "missing-folder/system.ini";
  view.visible = true;
  Fill(kUser, kPassword);
  logic.Button_already_reg_doClick();
  EXPECT_EQ(prompter.boxes, (std::vector<ShownBox>{{BoxKind::Warning, kIniWriteBox}}));
  ExpectNothingStored();
  EXPECT_EQ(SysInfo.MailId, "");
  EXPECT_TRUE(view.visible);
}

TEST_F(SignIn, APasswordTheRegistryRefusesIsUsedForThisRunAndTheFailureShown) {
  Service().AddAccount(kUser, kPassword);
  registryFails = true;
  Fill(kUser, kPassword);
  logic.Button_already_reg_doClick();
  EXPECT_EQ(prompter.boxes,
            (std::vector<ShownBox>{{BoxKind::Warning, "書き込みエラー(レジストリ)"}}));
  EXPECT_EQ(SysInfo.Password, kPassword);
  EXPECT_EQ(services.trayEnabled, 1);
}

TEST_F(SignIn, AutomaticSignInWithoutStoredPasswordOpensTheWindow) {
  SysInfo.MailId = kUser;
  SysInfo.AutoLogin = true;
  logic.FormCreate();
  logic.AutoSignIn();
  EXPECT_EQ(prompter.boxes,
            (std::vector<ShownBox>{{BoxKind::Warning, "パスワードを確認してください"}}));
  EXPECT_TRUE(view.visible);
  EXPECT_EQ(view.page, kPageAlreadyReg);
  EXPECT_EQ(services.refreshes, 2);
  EXPECT_EQ(RequestCount(), 0u);
}

TEST_F(SignIn, AutomaticSignInWithTheStoredAccount) {
  Service().AddAccount(kUser, kPassword);
  SysInfo.MailId = kUser;
  SysInfo.Password = kPassword;
  SysInfo.AutoLogin = true;
  logic.FormCreate();
  logic.AutoSignIn();
  EXPECT_TRUE(SysInfo.SignedIn);
  EXPECT_TRUE(prompter.boxes.empty()) << "the hidden window signs in silently";
  EXPECT_FALSE(view.visible);
  EXPECT_EQ(services.trayEnabled, 1);
}

TEST_F(SignIn, AutomaticSignInReportsAnUnwritableSettingsFileAndGoesOn) {
  Service().AddAccount(kUser, kPassword);
  SysInfo.MailId = kUser;
  SysInfo.Password = kPassword;
  SysInfo.AutoLogin = true;
  IniPath = dir_ / "missing-folder/system.ini";
  logic.FormCreate();
  EXPECT_NO_THROW(logic.AutoSignIn());
  EXPECT_EQ(prompter.boxes, (std::vector<ShownBox>{{BoxKind::Warning, kIniWriteBox}}));
  EXPECT_TRUE(savedPasswords.empty());
  EXPECT_EQ(SysInfo.MailId, kUser);
  EXPECT_EQ(services.trayEnabled, 0);
  EXPECT_FALSE(view.visible);
}

}  // namespace
}  // namespace tavisnap::testing
