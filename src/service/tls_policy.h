// The one TLS policy of every connection the program makes: https only (redirects too),
// TLS 1.2 or later, the peer and its name verified against the system's authorities and
// the deployment's CA_FILE.
#pragma once

#include <string>

namespace tavisnap {

// The PEM text of CaFile, or empty when none is set or it cannot be read. Read it on the
// user-interface thread, before handing it to a worker.
std::string ReadExtraAuthorities();

// Applies the policy to a libcurl easy handle (a CURL*).
void ApplyTlsPolicy(void* easy, const std::string& caPem);

// What every request of the program shares besides the policy: the address, HTTP/1.1,
// the program's user agent, at most 10 redirects, 15 s to connect, no signals (workers).
void ApplyConnectionBasics(void* easy, const std::string& url);

}  // namespace tavisnap
