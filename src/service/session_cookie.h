// The session cookie the next request sends. The upload worker and the user-interface
// thread both read and replace it, so it is guarded.
#pragma once

#include <mutex>
#include <string>

namespace tavisnap {

class SessionCookieStore {
 public:
  std::string Get() const;
  void Set(std::string value);

 private:
  mutable std::mutex mutex_;
  std::string value_;
};

extern SessionCookieStore SessionCookie;

}  // namespace tavisnap
