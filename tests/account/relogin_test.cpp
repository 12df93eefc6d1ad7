// Relogin: the fresh sign-in before a command on the signed-in account.
#include <gtest/gtest.h>

#include "account/relogin.h"
#include "account_test_base.h"

namespace tavisnap::testing {
namespace {

constexpr char kUser[] = "saburo@example.jp";
constexpr char kPassword[] = "PW98765";

class ReloginTest : public AccountTest {
 protected:
  void SetUp() override {
    AccountTest::SetUp();
    SysInfo.MailId = kUser;
    SysInfo.Password = kPassword;
  }
  bool Run() {
    return Relogin(
        prompter, [this] { log.push_back("foreground"); }, PostForm);
  }
  // The Cookie line of the last request, or "(none)".
  static std::string SentCookieLine() {
    std::string raw = Service().LastRequest();
    std::string head = raw.substr(0, raw.find("\r\n\r\n"));
    size_t at = head.find("\r\nCookie:");
    if (at == std::string::npos) return "(none)";
    at += 2;
    return head.substr(at, head.find("\r\n", at) - at);
  }
};

TEST_F(ReloginTest, SignsInAfreshWithAnEmptyCookieAndKeepsTheNewSession) {
  Service().AddAccount(kUser, kPassword, /*basic_auth=*/true);
  SessionCookie.Set("TAVISSESSID=stale");
  EXPECT_TRUE(Run());
  std::string cookie = SentCookieLine();
  EXPECT_TRUE(cookie == "Cookie:" || cookie == "Cookie: ") << cookie;
  EXPECT_EQ(SentField("username"), kUser);
  EXPECT_EQ(SentField("password"), kPassword);
  EXPECT_EQ(SessionCookie.Get().rfind("TAVISSESSID=", 0), 0u) << SessionCookie.Get();
  EXPECT_NE(SessionCookie.Get(), "TAVISSESSID=stale");
  EXPECT_TRUE(prompter.boxes.empty());
  // It stores nothing, not even the basic-authentication flag of the answer.
  EXPECT_FALSE(SysInfo.BasicAuth);
  EXPECT_FALSE(SysInfo.SignedIn);
  EXPECT_TRUE(Settings.empty());
  EXPECT_FALSE(std::filesystem::exists(U8Path(IniPath)));
}

TEST_F(ReloginTest, AnyAnswerButARefusalCountsAsSignedIn) {
  for (const char* answer : {"", "0", "1", "4,1", "あ"}) {
    SCOPED_TRACE(answer);
    Service().SetBehaviour({{"answer", answer}});
    EXPECT_TRUE(Run());
  }
  EXPECT_TRUE(prompter.boxes.empty());
  EXPECT_TRUE(log.empty());
}

TEST_F(ReloginTest, RefusalsWarnAndFail) {
  EXPECT_FALSE(Run());  // no such account: "2"
  Service().AddAccount(kUser, "OTHER");
  EXPECT_FALSE(Run());  // "3"
  EXPECT_EQ(prompter.boxes,
            (std::vector<ShownBox>{
                {BoxKind::Warning, "ログインに失敗しました（ユーザーＩＤを確認してください）"},
                {BoxKind::Warning, "ログインに失敗しました（パスワードを確認してください）"}}));
  EXPECT_EQ(std::count(log.begin(), log.end(), "foreground"), 0);
}

TEST_F(ReloginTest, FailedTransactionBringsTheMainWindowForwardFirst) {
  MakeServiceUnreachable();
  EXPECT_FALSE(Run());
  EXPECT_EQ(log, (std::vector<std::string>{"foreground", "box 通信エラー"}));
  EXPECT_EQ(prompter.boxes[0].kind, BoxKind::Warning);
}

}  // namespace
}  // namespace tavisnap::testing
