// The nine commands of the service at POST /action.php.
#pragma once

#include <string>
#include <vector>

#include "form.h"
#include "service_state.h"

namespace tavisnap::local_service {

inline constexpr const char* kSessionCookieName = "TAVISSESSID";

struct Answer {
  std::string text;
  std::vector<std::string> set_cookies;
};

// Runs the command the form's submit field names. cookie_header is the request's Cookie
// header; answer "0" means no command, bad input or no valid session.
Answer RunCommand(ServiceState& state, Form& form, const std::string& cookie_header);

// The session identifier in a Cookie header, or empty.
std::string SessionFromCookie(const std::string& cookie_header);

}  // namespace tavisnap::local_service
