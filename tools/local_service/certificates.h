// The service's own certificate authorities and server certificates, made with OpenSSL on
// first start and kept in the state folder.
#pragma once

#include <openssl/evp.h>
#include <openssl/x509.h>

#include <memory>
#include <string>

namespace tavisnap::local_service {

struct PkeyFree {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct X509Free {
  void operator()(X509* cert) const { X509_free(cert); }
};

struct KeyAndCert {
  std::unique_ptr<EVP_PKEY, PkeyFree> key;
  std::unique_ptr<X509, X509Free> cert;
};

// The certificate the server presents for kind "good" (127.0.0.1, ::1 and localhost,
// issued by DIR/ca.pem), "mismatch" (issued by the same authority for another name) or
// "untrusted" (the right names, issued by DIR/untrusted-ca.pem, which no client trusts).
// Files that exist are reused. Throws std::runtime_error.
KeyAndCert ServerCertificate(const std::string& state_dir, const std::string& kind);

}  // namespace tavisnap::local_service
