// The local service's commands, driven by PostForm as the client will drive them: the
// account and upload tests of other subsystems rely on this behaviour.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "core/file_util.h"
#include "service/post_form.h"
#include "service_test_base.h"

namespace tavisnap::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::MatchesRegex;

class LocalServiceTest : public ServiceTest {
 protected:
  std::string Command(const TTypFormDataArray& form) {
    HttpResult result = PostForm(Service().ActionUrl(), form);
    EXPECT_TRUE(result.ok);
    return result.body;
  }
  std::string Login(const std::string& user, const std::string& password) {
    return Command(
        {Text("username", user), Text("password", password), Text("SubmitLoginDo", "1")});
  }
  // Signs in first, as the client does before every command of a signed-in account.
  std::string Signed(const TTypFormDataArray& form) {
    SessionCookie.Set("");
    EXPECT_EQ(Login(user_, password_).substr(0, 1), "1");
    return Command(form);
  }

  std::string user_ = "user@example.jp";
  std::string password_ = "PASS1";
};

TEST_F(LocalServiceTest, RegistrationRecordsAPasswordToSignInWith) {
  TTypFormDataArray form = {Text("txtEmail", user_), Text("txtEmail2", user_),
                            Text("SubmitMailRegistComp", "1")};
  EXPECT_EQ(Command(form), "1");
  EXPECT_EQ(Command(form), "2");
  EXPECT_EQ(Command({Text("txtEmail", "a@example.jp"), Text("txtEmail2", "b@example.jp"),
                     Text("SubmitMailRegistComp", "1")}),
            "0");
  std::string password = Service().Password(user_);
  EXPECT_THAT(password, MatchesRegex("[A-Z0-9]{8}"));
  auto mail = ReadWholeFile(Service().StateDir() + "/mail/000001.txt");
  ASSERT_TRUE(mail);
  EXPECT_THAT(*mail, HasSubstr(password));

  EXPECT_EQ(Login(user_, password), "1,0");
  EXPECT_THAT(SessionCookie.Get(), MatchesRegex("TAVISSESSID=[0-9a-f]{32}; path=/"));
  EXPECT_EQ(Login(user_, "wrong"), "3");
  EXPECT_EQ(Login("nobody@example.jp", password), "2");
}

TEST_F(LocalServiceTest, AccountCommandsNeedASession) {
  Service().AddAccount(user_, password_);
  for (const char* command : {"SubmitPwdReNotify", "SubmitBasicAuth", "SubmitDelete",
                              "SubmitPwdEditComp", "SubmitMailEditComp", "SubmitCapUpComp"}) {
    SessionCookie.Set("");
    EXPECT_EQ(Command({Text(command, "1")}), "0") << command;
    SessionCookie.Set("TAVISSESSID=0123; path=/");
    EXPECT_EQ(Command({Text(command, "1")}), "0") << command;
  }
}

TEST_F(LocalServiceTest, AccountMaintenance) {
  Service().AddAccount(user_, password_);
  EXPECT_EQ(Signed({Text("txtBasicAuth", "ON"), Text("SubmitBasicAuth", "1")}), "1");
  EXPECT_EQ(Login(user_, password_), "1,1");
  EXPECT_EQ(Signed({Text("txtBasicAuth", "MAYBE"), Text("SubmitBasicAuth", "1")}), "2");

  EXPECT_EQ(Signed({Text("txtPasswd1", "NEW1"), Text("txtPasswd2", "NEW2"),
                    Text("SubmitPwdEditComp", "1")}),
            "2");
  EXPECT_EQ(Signed({Text("txtPasswd1", "NEW1"), Text("txtPasswd2", "NEW1"),
                    Text("SubmitPwdEditComp", "1")}),
            "1");
  EXPECT_EQ(Login(user_, password_), "3");
  password_ = "NEW1";

  EXPECT_EQ(Signed({Text("SubmitPwdReNotify", "1")}), "1");
  EXPECT_EQ(Command({Text("txtUsername", "nobody@example.jp"),
                     Text("SubmitPwdReNotifyExpiredComp", "1")}),
            "2");
  EXPECT_EQ(Command({Text("txtUsername", user_), Text("SubmitPwdReNotifyExpiredComp", "1")}), "1");
  EXPECT_THAT(Service().Get("_control/account?user=" + user_).body, HasSubstr("notices=2\n"));

  std::string moved = "moved@example.jp";
  EXPECT_EQ(Signed({Text("txtEmailNew1", moved), Text("txtEmailNew2", "other@example.jp"),
                    Text("SubmitMailEditComp", "1")}),
            "2");
  EXPECT_EQ(Signed({Text("txtEmailNew1", moved), Text("txtEmailNew2", moved),
                    Text("SubmitMailEditComp", "1")}),
            "1");
  EXPECT_EQ(Login(user_, password_), "2");
  EXPECT_EQ(Login(moved, password_), "1,1");
}

TEST_F(LocalServiceTest, UploadsAreStoredAndDeleted) {
  Service().AddAccount(user_, password_);
  TempDir folder;
  std::string picture_bytes = "\xFF\xD8 picture \xFF\xD9";
  std::string picture = folder.Write("capture.jpg", picture_bytes);
  std::string message = "\x1B$B$3$s$K$A$O\x1B(B";  // ISO-2022-JP
  EXPECT_EQ(Signed({Text("txtEmail", user_), Text("SubmitDelete", "1")}), "2");
  EXPECT_EQ(Signed({Text("txtEmailTo[0]", "to@example.jp"), Text("txtEmailCc[0]", ""),
                    Text("txtEmailBcc[0]", ""), Text("txtMessage", message),
                    File("fileCapUp[0]", picture), Text("SubmitCapUpComp", "1")}),
            "1");
  std::string stored = Service().StateDir() + "/uploads/" + user_ + "/000001";
  EXPECT_EQ(ReadWholeFile(stored + "/picture.jpg"), picture_bytes);
  EXPECT_EQ(ReadWholeFile(stored + "/message.iso2022jp"), message);
  EXPECT_THAT(*ReadWholeFile(stored + "/fields.txt"), HasSubstr("txtEmailTo[0]\tto@example.jp\n"));
  EXPECT_EQ(Signed({Text("txtEmailTo[0]", "to@example.jp"), Text("SubmitCapUpComp", "1")}), "2");

  EXPECT_EQ(Signed({Text("txtEmail", "other@example.jp"), Text("SubmitDelete", "1")}), "0");
  EXPECT_EQ(Signed({Text("txtEmail", user_), Text("SubmitDelete", "1")}), "1");
  EXPECT_FALSE(std::filesystem::exists(stored));
  EXPECT_EQ(Signed({Text("txtEmail", user_), Text("SubmitDelete", "1")}), "2");
}

TEST_F(LocalServiceTest, UpdateFilesAndHelpPage) {
  auto version = Service().Get("update/version.xml");
  EXPECT_EQ(version.status, 200);
  // The version is a grandchild of the document element.
  EXPECT_THAT(version.body,
              MatchesRegex("(.|\n)*<[a-z]+>\\s*<[a-z]+>\\s*<version>[0-9.]+</version>(.|\n)*"));
  EXPECT_EQ(Service().Get("update/AutoUpdate.exe").status, 200);
  EXPECT_THAT(Service().Get("help.html").body, HasSubstr("タビスナップ"));
  EXPECT_EQ(Service().Get("update/other.txt").status, 404);
}

}  // namespace
}  // namespace tavisnap::testing
