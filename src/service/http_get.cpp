#include "service/http_get.h"

#include <curl/curl.h>

#include <memory>
#include <string_view>

#include "service/http_client_init.h"
#include "service/tls_policy.h"

namespace tavisnap {
namespace {

struct EasyFree {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};

struct Receiver {
  CURL* easy;
  const BodySink* sink;
  size_t maxBytes;
  size_t received = 0;
  bool refused = false;
};

// Every response's body counts against the limit; only a final 200's reaches the sink
// (a redirect hop may carry a body of its own).
size_t OnBody(char* data, size_t size, size_t count, void* arg) {
  auto* r = static_cast<Receiver*>(arg);
  size_t length = size * count;
  if (r->maxBytes > 0 && length > r->maxBytes - r->received) {
    r->refused = true;
    return 0;
  }
  r->received += length;
  long status = 0;  // of the response being read
  curl_easy_getinfo(r->easy, CURLINFO_RESPONSE_CODE, &status);
  if (status != 200) return length;
  bool taken = false;
  try {
    taken = (*r->sink)(data, length);
  } catch (...) {
    taken = false;  // out of memory: the request fails, libcurl's C code sees no exception
  }
  if (!taken) {
    r->refused = true;
    return 0;
  }
  return length;
}

// Each status line starts a response; what is counted belongs to the one being read.
size_t OnHeader(char* data, size_t size, size_t count, void* arg) {
  if (std::string_view(data, size * count).substr(0, 5) == "HTTP/") {
    static_cast<Receiver*>(arg)->received = 0;
  }
  return size * count;
}

}  // namespace

bool HttpGet(const std::string& url, const std::string& caPem, const HttpGetLimits& limits,
             const BodySink& sink) {
  InitHttpClient();
  std::unique_ptr<CURL, EasyFree> easy(curl_easy_init());
  if (!easy) return false;
  CURL* e = easy.get();
  Receiver receiver{e, &sink, limits.maxBytes};
  ApplyConnectionBasics(e, url);
  if (limits.totalMillis > 0) curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, limits.totalMillis);
  if (limits.stallSeconds > 0) {
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, limits.stallSeconds);
  }
  if (limits.maxBytes > 0) {
    curl_easy_setopt(e, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBytes));
  }
  ApplyTlsPolicy(e, caPem);
  curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(e, CURLOPT_HEADERDATA, &receiver);
  curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(e, CURLOPT_WRITEDATA, &receiver);
  if (curl_easy_perform(e) != CURLE_OK || receiver.refused) return false;
  long status = 0;
  curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &status);
  return status == 200;
}

std::optional<std::string> HttpGetText(const std::string& url, const std::string& caPem,
                                       const HttpGetLimits& limits) {
  std::string body;
  bool ok = HttpGet(url, caPem, limits, [&body](const char* data, size_t size) {
    body.append(data, size);
    return true;
  });
  if (!ok) return std::nullopt;
  return body;
}

}  // namespace tavisnap
