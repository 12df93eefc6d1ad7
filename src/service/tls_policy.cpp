#include "service/tls_policy.h"

#include <curl/curl.h>

#include "core/define.h"
#include "core/file_util.h"

namespace tavisnap {
namespace {

constexpr long kConnectTimeoutSeconds = 15;
constexpr long kMaxRedirects = 10;

}  // namespace

std::string ReadExtraAuthorities() {
  if (CaFile.empty()) return {};
  auto pem = ReadWholeFile(CaFile);
  return pem ? std::move(*pem) : std::string();
}

void ApplyConnectionBasics(void* handle, const std::string& url) {
  CURL* easy = static_cast<CURL*>(handle);
  curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  curl_easy_setopt(easy, CURLOPT_USERAGENT, "Tavisnap");
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects);
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
}

void ApplyTlsPolicy(void* handle, const std::string& caPem) {
  CURL* easy = static_cast<CURL*>(handle);
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "https");
  curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "https");
  curl_easy_setopt(easy, CURLOPT_SSLVERSION, static_cast<long>(CURL_SSLVERSION_TLSv1_2));
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
#ifdef _WIN32
  // Windows keeps its trusted authorities in the system store, not in a file.
  curl_easy_setopt(easy, CURLOPT_SSL_OPTIONS, static_cast<long>(CURLSSLOPT_NATIVE_CA));
#endif
  if (!caPem.empty()) {
    // Added to the system's authorities (the blob replaces only a CA file, not the
    // system store nor the CA folder).
    curl_blob blob{const_cast<char*>(caPem.data()), caPem.size(), CURL_BLOB_COPY};
    curl_easy_setopt(easy, CURLOPT_CAINFO_BLOB, &blob);
  }
}

}  // namespace tavisnap
