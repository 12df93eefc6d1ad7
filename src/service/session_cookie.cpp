#include "service/session_cookie.h"

#include <utility>

namespace tavisnap {

SessionCookieStore SessionCookie;

std::string SessionCookieStore::Get() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return value_;
}

void SessionCookieStore::Set(std::string value) {
  std::lock_guard<std::mutex> lock(mutex_);
  value_ = std::move(value);
}

}  // namespace tavisnap
