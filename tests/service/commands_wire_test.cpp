// The commands' forms as they reach the service: field names, order and contents read
// back from the raw request, the cookie rule of Relogin, and answers of the service.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/define.h"
#include "service/commands.h"
#include "service/post_form.h"
#include "service_test_base.h"
#include "support/fake_prompter.h"

namespace tavisnap::testing {
namespace {

struct WirePart {
  std::string disposition;  // the Content-Disposition line
  std::string content;
};

std::string HeaderBlock(const std::string& raw) {
  return raw.substr(0, raw.find("\r\n\r\n"));
}

std::vector<WirePart> Parts(const std::string& raw) {
  std::string head = HeaderBlock(raw);
  size_t at = head.find("boundary=");
  if (at == std::string::npos) return {};
  std::string boundary = "--" + head.substr(at + 9, head.find("\r\n", at) - at - 9);
  std::string body = raw.substr(head.size() + 4);
  std::vector<WirePart> parts;
  for (size_t start = body.find(boundary + "\r\n"); start != std::string::npos;) {
    size_t headers = start + boundary.size() + 2;
    size_t content = body.find("\r\n\r\n", headers);
    size_t next = body.find("\r\n" + boundary, content);
    if (content == std::string::npos || next == std::string::npos) break;
    parts.push_back({body.substr(headers, body.find("\r\n", headers) - headers),
                     body.substr(content + 4, next - content - 4)});
    start = body.compare(next + 2, boundary.size() + 2, boundary + "\r\n") == 0 ? next + 2
                                                                                : std::string::npos;
  }
  return parts;
}

std::string Field(const std::string& name) {
  return "Content-Disposition: form-data; name=\"" + name + "\"";
}

class CommandWireTest : public ServiceTest {
 protected:
  void SetUp() override {
    ServiceTest::SetUp();
    BaseUrl = Service().Url();
  }
};

TEST_F(CommandWireTest, EveryFormReachesTheServiceFieldByFieldInOrder) {
  TempDir folder;
  std::string picture = folder.Write("capture.jpg", "JPEGBYTES");
  Service().SetBehaviour({{"answer", "1"}});
  struct Expect {
    TTypFormDataArray form;
    std::vector<std::pair<std::string, std::string>> fields;  // name, content
  };
  const Expect expected[] = {
      {LoginDoForm("a@b.jp", "PW12"),
       {{"username", "a@b.jp"}, {"password", "PW12"}, {"SubmitLoginDo", "1"}}},
      {MailRegistCompForm("a@b.jp", "a@b.jp"),
       {{"txtEmail", "a@b.jp"}, {"txtEmail2", "a@b.jp"}, {"SubmitMailRegistComp", "1"}}},
      {PwdReNotifyExpiredCompForm("a@b.jp"),
       {{"txtUsername", "a@b.jp"}, {"SubmitPwdReNotifyExpiredComp", "1"}}},
      {PwdReNotifyForm(), {{"SubmitPwdReNotify", "1"}}},
      {MailEditCompForm("n@b.jp", "n@b.jp"),
       {{"txtEmailNew1", "n@b.jp"}, {"txtEmailNew2", "n@b.jp"}, {"SubmitMailEditComp", "1"}}},
      {PwdEditCompForm("NEWPW1", "NEWPW1"),
       {{"txtPasswd1", "NEWPW1"}, {"txtPasswd2", "NEWPW1"}, {"SubmitPwdEditComp", "1"}}},
      {BasicAuthForm(false), {{"txtBasicAuth", "OFF"}, {"SubmitBasicAuth", "1"}}},
      {DeleteForm("a@b.jp"), {{"txtEmail", "a@b.jp"}, {"SubmitDelete", "1"}}},
      {CapUpCompForm("to@b.jp;", picture),
       {{"txtEmailTo[0]", "to@b.jp;"}, {"fileCapUp[0]", "JPEGBYTES"}, {"SubmitCapUpComp", "1"}}},
      {CapUpCompDetailForm("to@b.jp", "cc@b.jp;", "", "\x1b$B$3\x1b(B", picture),
       {{"txtEmailTo[0]", "to@b.jp"},
        {"txtEmailCc[0]", "cc@b.jp;"},
        {"txtEmailBcc[0]", ""},
        {"txtMessage", "\x1b$B$3\x1b(B"},
        {"fileCapUp[0]", "JPEGBYTES"},
        {"SubmitCapUpComp", "1"}}},
  };
  for (const Expect& e : expected) {
    std::string submit = e.fields.back().first;
    ASSERT_TRUE(PostForm(ActionUrl(), e.form).ok) << submit;
    std::vector<WirePart> parts = Parts(Service().LastRequest());
    ASSERT_EQ(parts.size(), e.fields.size()) << submit;
    for (size_t i = 0; i < parts.size(); ++i) {
      const auto& [name, content] = e.fields[i];
      if (name == "fileCapUp[0]") {
        EXPECT_EQ(parts[i].disposition, Field(name) + "; filename=\"" + picture + "\"");
      } else {
        EXPECT_EQ(parts[i].disposition, Field(name)) << submit;
      }
      EXPECT_EQ(parts[i].content, content) << submit << " field " << name;
    }
  }
}

TEST_F(CommandWireTest, ReloginsSignInSendsAnEmptyCookieAndTheNextCommandCarriesItsAnswer) {
  Service().AddAccount("user@example.jp", "PASSWORD1");
  SessionCookie.Set("STALE=1");
  // Relogin's first step empties the cookie.
  SessionCookie.Set("");
  HttpResult login = PostForm(ActionUrl(), LoginDoForm("user@example.jp", "PASSWORD1"));
  std::string head = HeaderBlock(Service().LastRequest());
  EXPECT_NE(head.find("\r\nCookie:"), std::string::npos) << "the header line is sent";
  size_t line = head.find("\r\nCookie:") + 2;
  std::string cookie_line = head.substr(line, head.find("\r\n", line) - line);
  EXPECT_TRUE(cookie_line == "Cookie:" || cookie_line == "Cookie: ") << cookie_line;
  ASSERT_TRUE(ReloginSucceeded(
      EvaluateAnswer(ServiceCommand::SubmitLoginDo, login, Column::Relogin).outcome));
  ASSERT_FALSE(login.cookie.empty());
  ASSERT_EQ(SessionCookie.Get(), login.cookie);

  FakePrompter prompter;
  HttpResult answer = PostForm(ActionUrl(), DeleteForm("user@example.jp"));
  std::string sent = HeaderBlock(Service().LastRequest());
  EXPECT_NE(sent.find("\r\nCookie: " + login.cookie.substr(0, login.cookie.find(';'))),
            std::string::npos);
  EXPECT_EQ(AnswerAndShow(ServiceCommand::SubmitDelete, answer, prompter), Outcome::Code2);
  EXPECT_EQ(prompter.boxes,
            (std::vector<ShownBox>{{BoxKind::Warning, "削除する画像はありません"}}));
}

TEST_F(CommandWireTest, AWrongPasswordAtReloginShowsItsWarningAndFailsIt) {
  Service().AddAccount("user@example.jp", "PASSWORD1");
  FakePrompter prompter;
  HttpResult login = PostForm(ActionUrl(), LoginDoForm("user@example.jp", "WRONG1"));
  Outcome outcome = AnswerAndShow(ServiceCommand::SubmitLoginDo, login, prompter, Column::Relogin);
  EXPECT_FALSE(ReloginSucceeded(outcome));
  EXPECT_EQ(prompter.boxes,
            (std::vector<ShownBox>{
                {BoxKind::Warning, "ログインに失敗しました（パスワードを確認してください）"}}));
}

}  // namespace
}  // namespace tavisnap::testing
