#include "service/http_transaction.h"

#include <curl/curl.h>

#include <memory>
#include <new>
#include <string_view>
#include <utility>

#include "core/define.h"
#include "core/file_util.h"
#include "service/http_client_init.h"
#include "service/multipart_body.h"
#include "service/response_text.h"
#include "service/session_cookie.h"
#include "service/tls_policy.h"

namespace tavisnap {
namespace {

constexpr long kReadTimeoutSeconds = 60;  // longest wait for the next byte
constexpr long kUploadBufferBytes = 512 * 1024;
constexpr int kPollMillis = 1000;

struct EasyFree {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiFree {
  void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct SlistFree {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using Easy = std::unique_ptr<CURL, EasyFree>;
using Multi = std::unique_ptr<CURLM, MultiFree>;
using Slist = std::unique_ptr<curl_slist, SlistFree>;

// What the response being read has delivered; each status line (a redirect's next
// response) starts it over, so that what is left belongs to the final response.
struct Response {
  std::string body;
  std::string cookie;
  bool has_cookie = false;
  bool cut = false;
};

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

std::string_view Trim(std::string_view text) {
  const char* blanks = " \t\r\n";
  size_t begin = text.find_first_not_of(blanks);
  if (begin == std::string_view::npos) return {};
  return text.substr(begin, text.find_last_not_of(blanks) - begin + 1);
}

size_t OnHeader(char* data, size_t size, size_t count, void* arg) {
  auto* response = static_cast<Response*>(arg);
  std::string_view line(data, size * count);
  if (line.substr(0, 5) == "HTTP/") {
    *response = Response{};
  } else if (!response->has_cookie && StartsWithNoCase(line, "set-cookie:")) {
    response->cookie = std::string(Trim(line.substr(11)));
    response->has_cookie = true;
  }
  return size * count;
}

size_t OnBody(char* data, size_t size, size_t count, void* arg) {
  auto* response = static_cast<Response*>(arg);
  size_t length = size * count;
  size_t room = HttpTransaction::kMaxAnswerBytes - response->body.size();
  if (length > room) {
    response->body.append(data, room);
    response->cut = true;
    return 0;  // ends the transfer: nothing beyond the limit is read
  }
  response->body.append(data, length);
  return length;
}

Slist RequestHeaders(const std::string& cookie) {
  // "Cookie;" is libcurl's way to send the header with an empty value.
  std::string line = cookie.empty() ? "Cookie;" : "Cookie: " + cookie;
  curl_slist* list = curl_slist_append(nullptr, line.c_str());
  if (!list) throw std::bad_alloc();
  Slist headers(list);
  // The body follows the headers at once; no waiting for "100 Continue".
  if (!curl_slist_append(list, "Expect:")) throw std::bad_alloc();
  return headers;
}

void SetTransfer(CURL* easy, const std::string& url) {
  ApplyConnectionBasics(easy, url);
  curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, kReadTimeoutSeconds);
  curl_easy_setopt(easy, CURLOPT_UPLOAD_BUFFERSIZE, kUploadBufferBytes);
}

HttpResult AbortedResult() {
  HttpResult result;
  result.status = -1;
  result.aborted = true;
  return result;
}

}  // namespace

struct TransactionCallbacks {
  static int OnProgress(void* arg, curl_off_t, curl_off_t, curl_off_t total, curl_off_t sent) {
    return static_cast<HttpTransaction*>(arg)->OnSendProgress(total, sent) ? 0 : 1;
  }
};

HttpTransaction::HttpTransaction(std::string url, TTypFormDataArray form)
    : url_(std::move(url)), form_(std::move(form)) {
  caPem_ = ReadExtraAuthorities();
}

bool HttpTransaction::OnSendProgress(int64_t total, int64_t sent) {
  if (aborted_.load()) return false;
  if (progress_ && total > 0 && sent != lastSent_) {
    lastSent_ = sent;
    progress_(total, sent);
  }
  return true;
}

HttpResult HttpTransaction::Run() {
  if (aborted_.load()) return AbortedResult();
  InitHttpClient();
  // Declared first, freed last: the easy handle refers to the body and the headers.
  std::unique_ptr<MultipartBody> body;
  Slist headers = RequestHeaders(SessionCookie.Get());
  Easy easy(curl_easy_init());
  Multi multi(curl_multi_init());
  if (!easy || !multi) throw std::bad_alloc();
  body = std::make_unique<MultipartBody>(easy.get(), form_);
  Response response;

  SetTransfer(easy.get(), url_);
  ApplyTlsPolicy(easy.get(), caPem_);
  curl_easy_setopt(easy.get(), CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(easy.get(), CURLOPT_MIMEPOST, body->Mime());
  curl_easy_setopt(easy.get(), CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(easy.get(), CURLOPT_HEADERDATA, &response);
  curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(easy.get(), CURLOPT_WRITEDATA, &response);
  curl_easy_setopt(easy.get(), CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(easy.get(), CURLOPT_XFERINFOFUNCTION, TransactionCallbacks::OnProgress);
  curl_easy_setopt(easy.get(), CURLOPT_XFERINFODATA, this);

  curl_multi_add_handle(multi.get(), easy.get());
  {
    std::lock_guard<std::mutex> lock(mutex_);
    multi_ = multi.get();
  }
  int running = 1;
  while (running && !aborted_.load()) {
    if (curl_multi_perform(multi.get(), &running) != CURLM_OK || !running) break;
    curl_multi_poll(multi.get(), nullptr, 0, kPollMillis, nullptr);
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    multi_ = nullptr;
  }
  curl_multi_remove_handle(multi.get(), easy.get());
  if (aborted_.load()) return AbortedResult();

  long status = 0;
  curl_easy_getinfo(easy.get(), CURLINFO_RESPONSE_CODE, &status);
  HttpResult result;
  result.status = status > 0 ? static_cast<int>(status) : -1;
  result.ok = result.status == 200;
  if (result.status > 0) {
    std::string_view bytes = response.body;
    result.body = DecodeResponseText(response.cut ? TrimPartialUtf8(bytes) : bytes);
    result.cookie = std::move(response.cookie);
  }
  return result;
}

void HttpTransaction::Abort() {
  std::lock_guard<std::mutex> lock(mutex_);
  aborted_.store(true);
  if (multi_) curl_multi_wakeup(static_cast<CURLM*>(multi_));
}

bool HttpTransaction::PublishCookie(const HttpResult& result) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (aborted_.load() || result.aborted) return false;
  SessionCookie.Set(result.cookie);
  return true;
}

}  // namespace tavisnap
