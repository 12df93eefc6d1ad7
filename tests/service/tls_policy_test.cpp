// What the transaction refuses: servers it cannot trust, old protocols, redirects away
// from https and endless redirects.
#include <curl/curl.h>
#include <gtest/gtest.h>

#include "service/post_form.h"
#include "service_test_base.h"

namespace tavisnap::testing {
namespace {

// A plain libcurl GET with the given settings: shows that what PostForm refuses works
// in itself.
long PlainGet(const std::string& url, const std::string& ca, bool tls11 = false) {
  CURL* easy = curl_easy_init();
  curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
  if (!ca.empty()) curl_easy_setopt(easy, CURLOPT_CAINFO, ca.c_str());
  curl_easy_setopt(
      easy, CURLOPT_WRITEFUNCTION, +[](char*, size_t s, size_t n, void*) { return s * n; });
  if (tls11) {
    curl_easy_setopt(easy, CURLOPT_SSLVERSION,
                     static_cast<long>(CURL_SSLVERSION_TLSv1_1) |
                         static_cast<long>(CURL_SSLVERSION_MAX_TLSv1_1));
    curl_easy_setopt(easy, CURLOPT_SSL_CIPHER_LIST, "DEFAULT:@SECLEVEL=0");
  }
  long status = 0;
  if (curl_easy_perform(easy) == CURLE_OK) curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
  curl_easy_cleanup(easy);
  return status;
}

// Posts to a second service started with the given options, trusting the main CA only.
HttpResult PostToService(const std::vector<std::string>& args, bool tls11_works = false) {
  LocalService other({args, ""});
  CaFile = other.CaFile();
  if (tls11_works) {
    EXPECT_EQ(PlainGet(other.Url() + "help.html", other.CaFile(), true), 200);
  }
  size_t before = other.RequestIds().size();
  SessionCookie.Set("TAVISSESSID=x");
  HttpResult result = PostForm(other.ActionUrl(), {Text("SubmitDelete", "1")});
  EXPECT_EQ(other.RequestIds().size(), before) << "the request reached the service";
  return result;
}

using TlsPolicyTest = ServiceTest;

TEST_F(TlsPolicyTest, ServerThatCannotBeTrustedIsNoAnswer) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"--cert", "untrusted"}, {"--cert", "mismatch"}, {"--max-tls", "1.1"}}) {
    HttpResult result = PostToService(args, args[0] == "--max-tls");
    EXPECT_EQ(result.status, -1) << args[1];
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(SessionCookie.Get(), "");
  }
}

TEST_F(TlsPolicyTest, ServiceAuthorityMustBeTrusted) {
  CaFile.clear();
  HttpResult result = PostForm(Service().ActionUrl(), {Text("SubmitDelete", "1")});
  EXPECT_EQ(result.status, -1);
  // With the authority the same request goes through.
  CaFile = Service().CaFile();
  EXPECT_EQ(PostForm(Service().ActionUrl(), {Text("SubmitDelete", "1")}).status, 200);
}

TEST_F(TlsPolicyTest, OnlyHttpsIsFollowed) {
  const std::string& plain = Service().PlainUrl();
  ASSERT_EQ(PlainGet(plain + "help.html", ""), 200);
  size_t before = Service().RequestIds().size();
  Service().SetBehaviour({{"redirect", plain + "help.html"}});
  HttpResult result = PostForm(Service().ActionUrl(), {Text("SubmitDelete", "1")});
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.status, 302);
  EXPECT_EQ(Service().RequestIds().size(), before + 1);

  result = PostForm(plain + "action.php", {Text("SubmitDelete", "1")});
  EXPECT_EQ(result.status, -1);
  EXPECT_EQ(Service().RequestIds().size(), before + 1);
}

TEST_F(TlsPolicyTest, AtMostTenRedirects) {
  Service().SetBehaviour({{"redirect", "/help.html"}, {"redirect_count", "10"}});
  EXPECT_TRUE(PostForm(Service().ActionUrl(), {Text("SubmitDelete", "1")}).ok);
  Service().Reset();
  Service().SetBehaviour({{"redirect", "/help.html"}, {"redirect_count", "-1"}});
  HttpResult result = PostForm(Service().ActionUrl(), {Text("SubmitDelete", "1")});
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.status, 302);
  EXPECT_EQ(Service().RequestIds().size(), 11u);
}

}  // namespace
}  // namespace tavisnap::testing
