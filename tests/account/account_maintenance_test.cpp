// Account maintenance from the main window against the local service: each operation's
// checks, messages and box kinds, and what it stores where.
#include "account/account_maintenance.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>

#include "account_test_base.h"
#include "core/base64.h"
#include "core/settings_file.h"

namespace tavisnap::testing {
namespace {

constexpr char kUser[] = "shiro@example.jp";
constexpr char kPassword[] = "PW4444";
constexpr char kNewUser[] = "goro@example.jp";
constexpr char kWrongPasswordBox[] = "ログインに失敗しました（パスワードを確認してください）";

class FakeMaintenanceView : public MaintenanceView {
 public:
  std::string Text(MaintenanceField field) const override {
    auto at = texts.find(field);
    return at == texts.end() ? "" : at->second;
  }
  void SetText(MaintenanceField field, const std::string& text) override { texts[field] = text; }
  void ShowMailId(const std::string& mailId) override { shownMailId = mailId; }

  std::map<MaintenanceField, std::string> texts;
  std::string shownMailId = "(unchanged)";
};

// How the service treats the command after a successful Relogin.
enum class Case { Code1, Code2, Other, Failed, ReloginFailed };

const char* Name(Case c) {
  switch (c) {
    case Case::Code1:
      return "code 1";
    case Case::Code2:
      return "code 2";
    case Case::Other:
      return "another text";
    case Case::Failed:
      return "failed transaction";
    case Case::ReloginFailed:
      return "failed Relogin";
  }
  return "";
}

struct Row {
  Case c;
  std::vector<ShownBox> boxes;  // after any confirmation
  bool stored;
};

class Maintenance : public AccountTest {
 protected:
  void SetUp() override {
    AccountTest::SetUp();
    Start();
  }
  void Start() {
    Service().AddAccount(kUser, kPassword);
    SysInfo.MailId = kUser;
    SysInfo.Password = kPassword;
    SysInfo.SignedIn = true;
    Settings.Set("SYSTEM.MAILID", kUser);
    Settings.Set("SYSTEM.AUTOLOGIN", "1");
    Settings.Set("SYSTEM.BASIC_AUTH", "2");
    ASSERT_TRUE(SaveSettings(IniPath, Settings));
    iniBefore = IniText();
  }
  // Back to the start for the next row of a table.
  void Restart(Case c) {
    Service().Reset();
    ResetServiceGlobals();
    CaFile = Service().CaFile();
    BaseUrl = Service().Url();
    IniPath = dir_ / "system.ini";
    std::filesystem::remove(U8Path(IniPath));
    prompter.boxes.clear();
    savedPasswords.clear();
    services.refreshes = 0;
    mview.shownMailId = "(unchanged)";
    Start();
    commandSwitches.reset();
    switch (c) {
      case Case::Code1:
        commandSwitches = ControlParams{{"answer", "1"}};
        break;
      case Case::Code2:
        commandSwitches = ControlParams{{"answer", "2"}};
        break;
      case Case::Other:
        commandSwitches = ControlParams{{"answer", "0"}};
        break;
      case Case::Failed:
        commandSwitches = ControlParams{{"status", "500"}};
        break;
      case Case::ReloginFailed:
        SysInfo.Password = "WRONG";
        break;
    }
  }
  // Relogin goes to the service as it is; the command meets the switches of the row.
  HttpResult Post(const std::string& url, const TTypFormDataArray& form) {
    const bool login = !form.empty() && form.back().Name == "SubmitLoginDo";
    if (login || !commandSwitches) return PostForm(url, form);
    ++commandsSent;
    Service().SetBehaviour(*commandSwitches);
    HttpResult result = PostForm(url, form);
    Service().ClearBehaviour();
    return result;
  }
  std::vector<ShownBox> ExpectedBoxes(const Row& row, std::vector<ShownBox> before = {}) {
    if (row.c == Case::ReloginFailed) before.push_back({BoxKind::Warning, kWrongPasswordBox});
    before.insert(before.end(), row.boxes.begin(), row.boxes.end());
    return before;
  }
  void FillMail(const std::string& mail, const std::string& again) {
    mview.texts[MaintenanceField::NewMail] = mail;
    mview.texts[MaintenanceField::NewMailAgain] = again;
  }
  void FillPassword(const std::string& password, const std::string& again) {
    mview.texts[MaintenanceField::NewPassword] = password;
    mview.texts[MaintenanceField::NewPasswordAgain] = again;
  }

  FakeMaintenanceView mview;
  std::optional<ControlParams> commandSwitches;
  int commandsSent = 0;
  std::string iniBefore;
  AccountMaintenance maintenance{
      mview,
      prompter,
      services,
      [this](const std::string& url, const TTypFormDataArray& form) { return Post(url, form); },
      [this](const std::string& encoded) { SavePassword(encoded); },
      [this] { log.push_back("foreground"); }};
};

TEST_F(Maintenance, MailAddressChecksInOrderAndSendNothing) {
  const struct {
    const char* mail;
    const char* again;
    const char* box;
  } rows[] = {
      {"not-an-address", "also bad", "メールアドレスを確認してください"},
      {kNewUser, "", "（確認用）メールアドレスを確認してください"},
      {kNewUser, "Goro@example.jp", "メールアドレス不一致です"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.box);
    prompter.boxes.clear();
    FillMail(row.mail, row.again);
    maintenance.UserIdChange();
    EXPECT_EQ(prompter.boxes, (std::vector<ShownBox>{{BoxKind::Warning, row.box}}));
  }
  EXPECT_EQ(RequestCount(), 0u);
}

TEST_F(Maintenance, MailAddressChange) {
  const Row rows[] = {
      {Case::Code1, {{BoxKind::Information, "ユーザーID変更完了"}}, true},
      {Case::Code2, {{BoxKind::Information, "ユーザーIDが変更できませんでした"}}, false},
      {Case::Other, {}, false},
      {Case::Failed, {{BoxKind::Information, "通信エラー"}}, false},
      {Case::ReloginFailed, {{BoxKind::Warning, "ユーザーIDが変更できませんでした"}}, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(Name(row.c));
    Restart(row.c);
    FillMail(kNewUser, kNewUser);
    maintenance.UserIdChange();
    EXPECT_EQ(prompter.boxes, ExpectedBoxes(row));
    EXPECT_EQ(SysInfo.MailId, row.stored ? kNewUser : kUser);
    EXPECT_EQ(Settings.Get("SYSTEM.MAILID"), row.stored ? kNewUser : kUser);
    EXPECT_EQ(mview.shownMailId, row.stored ? kNewUser : "(unchanged)");
    EXPECT_EQ(IniText().find(kNewUser) != std::string::npos, row.stored);
    if (row.c != Case::ReloginFailed) {
      EXPECT_EQ(SentField("txtEmailNew1"), kNewUser);
      EXPECT_EQ(SentField("txtEmailNew2"), kNewUser);
    }
  }
}

TEST_F(Maintenance, NewAddressSignsInNextAndIsKeptInTheSettingsFile) {
  FillMail(kNewUser, kNewUser);
  maintenance.UserIdChange();
  ASSERT_EQ(prompter.boxes, (std::vector<ShownBox>{{BoxKind::Information, "ユーザーID変更完了"}}));
  EXPECT_NE(IniText().find(std::string("MAILID=") + kNewUser), std::string::npos) << IniText();
  EXPECT_TRUE(Relogin(
      prompter, [] {}, PostForm));
  EXPECT_EQ(SentField("username"), kNewUser);
  EXPECT_EQ(prompter.boxes.size(), 1u);
}

TEST_F(Maintenance, MailAddressChangeWithUnwritableSettingsFileGoesOnWithTheNewAddressAndSaysSo) {
  IniPath = dir_ / "missing-folder/system.ini";
  FillMail(kNewUser, kNewUser);
  maintenance.UserIdChange();
  EXPECT_EQ(SysInfo.MailId, kNewUser);
  EXPECT_EQ(mview.shownMailId, kNewUser);
  EXPECT_EQ(Settings.Get("SYSTEM.MAILID"), kUser) << "as the file is";
  EXPECT_EQ(prompter.boxes, (std::vector<ShownBox>{{BoxKind::Information, "ユーザーID変更完了"},
                                                   {BoxKind::Warning, kIniWriteBox}}));
  EXPECT_EQ(ReadWholeFile(dir_ / "system.ini").value_or(""), iniBefore);
}

TEST_F(Maintenance, PasswordChecksInOrderAndSendNothing) {
  const struct {
    const char* password;
    const char* again;
    const char* box;
  } rows[] = {
      {"", "PW1", "パスワードを確認してください"},
      {"PW 1", "PW1", "パスワードを確認してください"},
      {"PW1", "", "（確認用）パスワードを確認してください"},
      {"PW1", "PW2", "パスワード不一致です"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.box);
    prompter.boxes.clear();
    FillPassword(row.password, row.again);
    maintenance.PasswordChange();
    EXPECT_EQ(prompter.boxes, (std::vector<ShownBox>{{BoxKind::Warning, row.box}}));
  }
  EXPECT_EQ(RequestCount(), 0u);
  EXPECT_TRUE(savedPasswords.empty());
}

TEST_F(Maintenance, PasswordChange) {
  const Row rows[] = {
      {Case::Code1, {{BoxKind::Information, "パスワード変更完了"}}, true},
      {Case::Code2, {{BoxKind::Warning, "パスワードが変更できませんでした"}}, false},
      {Case::Other, {}, false},
      {Case::Failed, {{BoxKind::Warning, "通信エラー"}}, false},
      {Case::ReloginFailed, {{BoxKind::Warning, "パスワードが変更できませんでした"}}, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(Name(row.c));
    Restart(row.c);
    const std::string oldPassword = SysInfo.Password;
    FillPassword("NEW77", "NEW77");
    maintenance.PasswordChange();
    EXPECT_EQ(prompter.boxes, ExpectedBoxes(row));
    EXPECT_EQ(SysInfo.Password, row.stored ? "NEW77" : oldPassword);
    EXPECT_EQ(savedPasswords, row.stored ? std::vector<std::string>{EncodeBase64String("NEW77")}
                                         : std::vector<std::string>{});
    EXPECT_EQ(IniText(), iniBefore);
  }
}

TEST_F(Maintenance, ChangedPasswordIsUpperCasedAndUsedByTheNextRelogin) {
  FillPassword("new77", "new77");
  maintenance.PasswordChange();
  ASSERT_EQ(prompter.boxes, (std::vector<ShownBox>{{BoxKind::Information, "パスワード変更完了"}}));
  EXPECT_EQ(mview.Text(MaintenanceField::NewPassword), "NEW77");
  EXPECT_EQ(mview.Text(MaintenanceField::NewPasswordAgain), "NEW77");
  EXPECT_EQ(SentField("txtPasswd1"), "NEW77");
  EXPECT_EQ(SentField("txtPasswd2"), "NEW77");
  EXPECT_EQ(Service().Password(kUser), "NEW77");
  EXPECT_EQ(SysInfo.Password, "NEW77");
  EXPECT_TRUE(Relogin(
      prompter, [] {}, PostForm));
  EXPECT_EQ(SentField("password"), "NEW77");
  EXPECT_EQ(prompter.boxes.size(), 1u);
  EXPECT_EQ(IniText(), iniBefore);
}

TEST_F(Maintenance, APasswordTheRegistryRefusesIsUsedForThisRunAndTheFailureShown) {
  registryFails = true;
  FillPassword("NEW77", "NEW77");
  maintenance.PasswordChange();
  EXPECT_EQ(SysInfo.Password, "NEW77");
  EXPECT_EQ(prompter.boxes,
            (std::vector<ShownBox>{{BoxKind::Information, "パスワード変更完了"},
                                   {BoxKind::Warning, "書き込みエラー(レジストリ)"}}));
}

TEST_F(Maintenance, PasswordNotice) {
  const Row rows[] = {
      {Case::Code1, {{BoxKind::Information, "パスワードを再通知しました"}}, true},
      {Case::Code2, {{BoxKind::Warning, "パスワードの再通知ができません"}}, false},
      {Case::Other, {}, false},
      {Case::Failed, {{BoxKind::Warning, "通信エラー"}}, false},
      {Case::ReloginFailed, {{BoxKind::Warning, "パスワードの再通知ができません"}}, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(Name(row.c));
    Restart(row.c);
    commandsSent = 0;
    maintenance.PasswordReNotify();
    EXPECT_EQ(prompter.boxes, ExpectedBoxes(row));
    EXPECT_EQ(commandsSent, row.c == Case::ReloginFailed ? 0 : 1);
    EXPECT_EQ(IniText(), iniBefore);
  }
}

TEST_F(Maintenance, BasicAuthentication) {
  for (bool wasOn : {false, true}) {
    const char* on = wasOn ? "解除" : "設定";
    const std::string done = std::string("BASIC認証を") + on + "しました";
    const std::string refused =
        std::string("BASIC認証が") + (wasOn ? "解除" : "設定") + "できませんでした";
    const Row rows[] = {
        {Case::Code1, {{BoxKind::Information, done}}, true},
        {Case::Code2, {{BoxKind::Warning, refused}}, false},
        {Case::Other, {}, false},
        {Case::Failed, {{BoxKind::Warning, "通信エラー"}}, false},
        {Case::ReloginFailed, {{BoxKind::Warning, "BASIC認証（認証エラー）"}}, false},
    };
    const ShownBox question{BoxKind::Confirmation,
                            std::string("BASIC認証") +
                                (wasOn ? "設定を解除します" : "設定を行います") +
                                "、よろしいですか？"};
    for (const Row& row : rows) {
      SCOPED_TRACE(std::string(on) + " " + Name(row.c));
      Restart(row.c);
      SysInfo.BasicAuth = wasOn;
      maintenance.Button_basic_authClick();
      EXPECT_EQ(prompter.boxes, ExpectedBoxes(row, {question}));
      if (row.c != Case::ReloginFailed) EXPECT_EQ(SentField("txtBasicAuth"), wasOn ? "OFF" : "ON");
      const bool nowOn = row.stored ? !wasOn : wasOn;
      EXPECT_EQ(SysInfo.BasicAuth, nowOn);
      EXPECT_EQ(services.refreshes, row.stored ? 1 : 0);
      if (row.stored) {
        EXPECT_EQ(Settings.Get("SYSTEM.BASIC_AUTH"), nowOn ? "1" : "2");
        EXPECT_NE(IniText().find(std::string("BASIC_AUTH=") + (nowOn ? "1" : "2")),
                  std::string::npos);
      } else {
        EXPECT_EQ(IniText(), iniBefore);
      }
    }
  }
}

TEST_F(Maintenance, BasicAuthenticationCancelledOrWithUnwritableSettingsFile) {
  prompter.answers = {false};
  maintenance.Button_basic_authClick();
  EXPECT_EQ(RequestCount(), 0u);
  EXPECT_FALSE(SysInfo.BasicAuth);

  prompter.boxes.clear();
  IniPath = dir_ / "missing-folder/system.ini";
  maintenance.Button_basic_authClick();
  EXPECT_TRUE(SysInfo.BasicAuth) << "the service has switched";
  EXPECT_EQ(services.refreshes, 1);
  EXPECT_EQ(Settings.Get("SYSTEM.BASIC_AUTH"), "2") << "as the file is";
  EXPECT_EQ(
      prompter.boxes,
      (std::vector<ShownBox>{{BoxKind::Confirmation, "BASIC認証設定を行います、よろしいですか？"},
                             {BoxKind::Information, "BASIC認証を設定しました"},
                             {BoxKind::Warning, kIniWriteBox}}));
  EXPECT_EQ(ReadWholeFile(dir_ / "system.ini").value_or(""), iniBefore);
  EXPECT_EQ(
      Service().Get("_control/account?user=" + std::string(kUser)).body.find("basic_auth=1") !=
          std::string::npos,
      true);
}

TEST_F(Maintenance, DeletionOfTheSentPictures) {
  const Row rows[] = {
      {Case::Code1, {{BoxKind::Information, "削除しました"}}, true},
      {Case::Code2, {{BoxKind::Warning, "削除する画像はありません"}}, false},
      {Case::Other, {}, false},
      {Case::Failed, {{BoxKind::Warning, "通信エラー"}}, false},
      {Case::ReloginFailed, {{BoxKind::Warning, "削除できませんでした"}}, false},
  };
  const ShownBox question{BoxKind::Confirmation, "送信した画像を削除します、よろしいですか？"};
  for (const Row& row : rows) {
    SCOPED_TRACE(Name(row.c));
    Restart(row.c);
    maintenance.PMenuTrayDeleteClick();
    EXPECT_EQ(prompter.boxes, ExpectedBoxes(row, {question}));
    if (row.c != Case::ReloginFailed) EXPECT_EQ(SentField("txtEmail"), kUser);
    EXPECT_EQ(IniText(), iniBefore);
  }
  prompter.boxes.clear();
  prompter.answers = {false};
  const size_t before = RequestCount();
  maintenance.PMenuTrayDeleteClick();
  EXPECT_EQ(RequestCount(), before);
}

TEST_F(Maintenance, AutomaticSignInToggle) {
  SysInfo.AutoLogin = true;
  maintenance.MenuSetOtherAutologinClick();
  EXPECT_EQ(prompter.boxes,
            (std::vector<ShownBox>{
                {BoxKind::Confirmation, "自動ログイン設定を解除します、よろしいですか？"},
                {BoxKind::Information, "自動ログインを解除しました"}}));
  EXPECT_FALSE(SysInfo.AutoLogin);
  EXPECT_EQ(services.refreshes, 1);
  EXPECT_NE(IniText().find("AUTOLOGIN=2"), std::string::npos) << IniText();

  prompter.boxes.clear();
  maintenance.MenuSetOtherAutologinClick();
  EXPECT_EQ(prompter.boxes,
            (std::vector<ShownBox>{
                {BoxKind::Confirmation, "自動ログイン設定を行います、よろしいですか？"},
                {BoxKind::Information, "自動ログインを設定しました"}}));
  EXPECT_TRUE(SysInfo.AutoLogin);
  EXPECT_NE(IniText().find("AUTOLOGIN=1"), std::string::npos) << IniText();
  EXPECT_EQ(RequestCount(), 0u) << "a local setting";
}

TEST_F(Maintenance, AutomaticSignInToggleCancelledOrWithUnwritableSettingsFile) {
  SysInfo.AutoLogin = true;
  prompter.answers = {false};
  maintenance.MenuSetOtherAutologinClick();
  EXPECT_TRUE(SysInfo.AutoLogin);
  EXPECT_EQ(Settings.Get("SYSTEM.AUTOLOGIN"), "1");

  prompter.boxes.clear();
  IniPath = dir_ / "missing-folder/system.ini";
  maintenance.MenuSetOtherAutologinClick();
  EXPECT_EQ(Settings.Get("SYSTEM.AUTOLOGIN"), "1") << "as the file is";
  EXPECT_TRUE(SysInfo.AutoLogin);
  EXPECT_EQ(services.refreshes, 0);
  EXPECT_EQ(prompter.boxes.back(), (ShownBox{BoxKind::Warning, kIniWriteBox}));
  EXPECT_EQ(prompter.boxes.size(), 2u) << "the question and the warning";
}

}  // namespace
}  // namespace tavisnap::testing
