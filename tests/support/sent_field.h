// A text field of a recorded multipart request (the local service's records), as sent.
#pragma once

#include <string>

namespace tavisnap::testing {

// The field's value, or "<not sent>" when the request has no text field of that name.
inline std::string SentField(const std::string& rawRequest, const std::string& name) {
  std::string marker = "name=\"" + name + "\"\r\n\r\n";
  size_t at = rawRequest.find(marker);
  if (at == std::string::npos) return "<not sent>";
  at += marker.size();
  return rawRequest.substr(at, rawRequest.find("\r\n", at) - at);
}

}  // namespace tavisnap::testing
