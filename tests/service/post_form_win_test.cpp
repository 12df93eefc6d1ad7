// PostForm built for Windows, under Wine, against the local service: it signs in over
// TLS with the service's authority, sends a file found by a Japanese path, and refuses
// the service without that authority.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/app_error.h"
#include "core/define.h"
#include "core/file_util.h"
#include "service/http_client_init.h"
#include "service/post_form.h"
#include "service/session_cookie.h"
#include "support/driver_win.h"
#include "support/globals.h"

namespace tavisnap {
namespace {

using testing::Env;
using testing::ResetServiceGlobals;

TTypFormData Text(std::string name, std::string value) {
  return {kFormText, std::move(name), std::move(value)};
}

class PostFormWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitHttpClient();
    url_ = Env("TAVISNAP_SERVICE_URL");
    ASSERT_FALSE(url_.empty()) << "run with the local service (tools/wine-run --service)";
    ResetServiceGlobals();
    CaFile = Env("TAVISNAP_CA_FILE");
  }
  void TearDown() override { ResetServiceGlobals(); }

  // Registers user and signs in with the password the service recorded.
  void SignIn(const std::string& user) {
    HttpResult result = PostForm(
        url_ + "action.php",
        {Text("txtEmail", user), Text("txtEmail2", user), Text("SubmitMailRegistComp", "1")});
    ASSERT_TRUE(result.ok) << result.status;
    ASSERT_EQ(result.body, "1");
    HttpResult password = PostForm(url_ + "_control/password", {Text("user", user)});
    ASSERT_EQ(password.status, 200);
    result = PostForm(url_ + "action.php", {Text("username", user), Text("password", password.body),
                                            Text("SubmitLoginDo", "1")});
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.body.substr(0, 1), "1");
    EXPECT_EQ(SessionCookie.Get().rfind("TAVISSESSID=", 0), 0u) << SessionCookie.Get();
  }

  std::string url_;
};

TEST_F(PostFormWinTest, SignsInAndSendsAFileFromAJapanesePath) {
  SignIn("wine@example.jp");
  std::string folder = testing::MakeTempDir();
  std::string path = folder + "\\画像フォルダ\\キャプチャ.jpg";
  std::filesystem::create_directories(U8Path(folder + "\\画像フォルダ"));
  std::string bytes = "\xFF\xD8 picture from Wine \xFF\xD9";
  std::ofstream(U8Path(path), std::ios::binary) << bytes;

  HttpResult result = PostForm(url_ + "action.php", {Text("txtEmailTo[0]", "to@example.jp"),
                                                     {kFormFile, "fileCapUp[0]", path},
                                                     Text("SubmitCapUpComp", "1")});
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.body, "1");
  std::string stored = Env("TAVISNAP_SERVICE_STATE") + "\\uploads\\wine@example.jp\\000001";
  EXPECT_EQ(ReadWholeFile(stored + "\\picture.jpg"), bytes);
  // The service got the whole path; it keeps it converted back to UTF-8.
  auto fields = ReadWholeFile(stored + "\\fields.txt");
  ASSERT_TRUE(fields);
  EXPECT_NE(fields->find(path), std::string::npos) << *fields;

  std::string missing = folder + "\\無い.jpg";
  EXPECT_THROW(PostForm(url_ + "action.php", {{kFormFile, "fileCapUp[0]", missing}}), AppError);
}

TEST_F(PostFormWinTest, WithoutTheServiceAuthorityThereIsNoAnswer) {
  CaFile.clear();
  SessionCookie.Set("TAVISSESSID=x");
  HttpResult result = PostForm(url_ + "action.php", {Text("SubmitLoginDo", "1")});
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.status, -1);
  EXPECT_EQ(SessionCookie.Get(), "");
}

}  // namespace
}  // namespace tavisnap
