#include "service/http_client_init.h"

#include <curl/curl.h>

#include <mutex>

namespace tavisnap {

void InitHttpClient() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace tavisnap
