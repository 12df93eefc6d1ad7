// PostForm against the local service: what the answer, its status and its cookie become.
#include <unistd.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include "service/post_form.h"
#include "service_test_base.h"

namespace tavisnap::testing {
namespace {

class PostFormAnswerTest : public ServiceTest {
 protected:
  HttpResult Post() { return PostForm(Service().ActionUrl(), {Text("SubmitDelete", "1")}); }
};

TEST_F(PostFormAnswerTest, AnswerTextIsCleaned) {
  struct Case {
    std::string answer;
    std::string body;
  } cases[] = {
      {"\x31\x3F", "1"},
      {"送信しました①", "送信しました①"},
      {"送信😀しました", "送信しました"},
      {"\xEF\xBB\xBF"
       "1,1",
       "1,1"},
      {"", ""},
  };
  for (const Case& c : cases) {
    Service().SetBehaviour({{"answer", c.answer}});
    HttpResult result = Post();
    EXPECT_TRUE(result.ok) << c.answer;
    EXPECT_EQ(result.status, 200);
    EXPECT_EQ(result.body, c.body) << c.answer;
  }
}

TEST_F(PostFormAnswerTest, AnswerThatIsNotUtf8GivesEmptyBodyButOk) {
  Service().SetBehaviour({{"answer", "\x82\xA0\x31"}});
  HttpResult result = Post();
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.body, "");
}

TEST_F(PostFormAnswerTest, FirstSetCookieReplacesSessionCookieWhole) {
  SessionCookie.Set("OLD=1");
  Service().SetBehaviour(
      {{"answer", "1"}, {"set_cookie", "FIRST=abc; path=/"}, {"set_cookie", "SECOND=def; path=/"}});
  HttpResult result = Post();
  EXPECT_EQ(result.cookie, "FIRST=abc; path=/");
  EXPECT_EQ(SessionCookie.Get(), "FIRST=abc; path=/");
  // The next request sends it back as it is, attributes included.
  Post();
  EXPECT_NE(Service().LastRequest().find("\r\nCookie: FIRST=abc; path=/\r\n"), std::string::npos);
}

TEST_F(PostFormAnswerTest, AnswerWithoutCookieEmptiesItAndTheNextRequestSendsItEmpty) {
  SessionCookie.Set("TAVISSESSID=x; path=/");
  Service().SetBehaviour({{"answer", "1"}, {"no_cookie", "1"}});
  HttpResult result = Post();
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.cookie, "");
  EXPECT_EQ(SessionCookie.Get(), "");
  Post();
  std::string request = Service().LastRequest();
  EXPECT_NE(request.find("\r\nCookie:\r\n"), std::string::npos) << request;
}

TEST_F(PostFormAnswerTest, OtherStatusIsNoSuccessButItsCookieCounts) {
  Service().SetBehaviour({{"status", "500"}, {"answer", "1"}, {"set_cookie", "S=5"}});
  HttpResult result = Post();
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.status, 500);
  EXPECT_EQ(SessionCookie.Get(), "S=5");
}

TEST_F(PostFormAnswerTest, RedirectIsFollowedAndTheLastResponseCounts) {
  // The hop answers with a cookie of its own, the help page with none.
  Service().SetBehaviour({{"redirect", "/help.html"}});
  HttpResult result = Post();
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.status, 200);
  EXPECT_NE(result.body.find("タビスナップ ヘルプ"), std::string::npos);
  EXPECT_EQ(SessionCookie.Get(), "");

  Service().SetBehaviour({{"redirect", "/missing.html"}});
  result = Post();
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.status, 404);
}

TEST_F(PostFormAnswerTest, AnswerCutShortAfterTheStatusLineKeepsWhatCame) {
  Service().SetBehaviour({{"answer", "1234567890"}, {"stall_after", "4"}, {"set_cookie", "C=1"}});
  HttpResult result = Post();
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.status, 200);
  EXPECT_EQ(result.body, "1234");
  EXPECT_EQ(SessionCookie.Get(), "C=1");

  Service().SetBehaviour(
      {{"status", "503"}, {"answer", "2abc"}, {"stall_after", "1"}, {"stall_ms", "300"}});
  result = Post();
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.status, 503);
  EXPECT_EQ(result.body, "2");
}

TEST_F(PostFormAnswerTest, UnreachableServerGivesMinusOneAndEmptiesTheCookie) {
  // A port that was free a moment ago.
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  close(fd);
  SessionCookie.Set("TAVISSESSID=x");
  std::string url = "https://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/action.php";
  HttpResult result = PostForm(url, {Text("SubmitDelete", "1")});
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.status, -1);
  EXPECT_EQ(result.body, "");
  EXPECT_EQ(SessionCookie.Get(), "");

  result = PostForm("https://name.invalid/action.php", {});
  EXPECT_EQ(result.status, -1);
}

}  // namespace
}  // namespace tavisnap::testing
