#include "certificates.h"

#include <openssl/bio.h>
#include <openssl/bn.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <stdexcept>
#include <vector>

#include "core/file_util.h"

namespace tavisnap::local_service {
namespace {

constexpr const char* kSansOfThisHost = "IP:127.0.0.1,IP:::1,DNS:localhost";
constexpr const char* kSansOfAnotherHost = "DNS:wrong.invalid";

[[noreturn]] void Fail(const std::string& what) {
  throw std::runtime_error("certificates: " + what);
}

struct BioFree {
  void operator()(BIO* bio) const { BIO_free(bio); }
};
using Bio = std::unique_ptr<BIO, BioFree>;

std::string BioText(BIO* bio) {
  char* data = nullptr;
  long size = BIO_get_mem_data(bio, &data);
  return std::string(data, static_cast<size_t>(size));
}

void AddExtension(X509* cert, X509* issuer, int nid, const char* value) {
  X509V3_CTX ctx;
  X509V3_set_ctx_nodb(&ctx);
  X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
  X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
  if (!ext || !X509_add_ext(cert, ext, -1)) Fail("extension " + std::string(value));
  X509_EXTENSION_free(ext);
}

void SetSerialAndValidity(X509* cert) {
  std::unique_ptr<BIGNUM, decltype(&BN_free)> serial(BN_new(), BN_free);
  if (!serial || !BN_rand(serial.get(), 120, BN_RAND_TOP_ANY, BN_RAND_BOTTOM_ANY) ||
      !BN_to_ASN1_INTEGER(serial.get(), X509_get_serialNumber(cert))) {
    Fail("serial number");
  }
  X509_gmtime_adj(X509_getm_notBefore(cert), -24 * 3600L);
  X509_gmtime_adj(X509_getm_notAfter(cert), 10 * 365 * 24 * 3600L);
}

// A certificate for key, issued by issuer (itself when issuer is null).
KeyAndCert Issue(const std::string& common_name, const KeyAndCert* issuer, const char* sans) {
  KeyAndCert made;
  made.key.reset(EVP_EC_gen("P-256"));
  made.cert.reset(X509_new());
  X509* cert = made.cert.get();
  if (!made.key || !cert || !X509_set_version(cert, 2)) Fail("new certificate");
  SetSerialAndValidity(cert);
  X509_NAME* name = X509_get_subject_name(cert);
  X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>("Tavisnap local service"), -1,
                             -1, 0);
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>(common_name.c_str()), -1, -1,
                             0);
  X509* issuer_cert = issuer ? issuer->cert.get() : cert;
  EVP_PKEY* issuer_key = issuer ? issuer->key.get() : made.key.get();
  X509_set_issuer_name(cert, X509_get_subject_name(issuer_cert));
  X509_set_pubkey(cert, made.key.get());
  AddExtension(cert, issuer_cert, NID_subject_key_identifier, "hash");
  AddExtension(cert, issuer_cert, NID_authority_key_identifier, "keyid:always");
  if (!issuer) {
    AddExtension(cert, cert, NID_basic_constraints, "critical,CA:TRUE");
    AddExtension(cert, cert, NID_key_usage, "critical,keyCertSign,cRLSign");
  } else {
    AddExtension(cert, issuer_cert, NID_basic_constraints, "critical,CA:FALSE");
    AddExtension(cert, issuer_cert, NID_key_usage, "critical,digitalSignature,keyEncipherment");
    AddExtension(cert, issuer_cert, NID_ext_key_usage, "serverAuth");
    AddExtension(cert, issuer_cert, NID_subject_alt_name, sans);
  }
  if (!X509_sign(cert, issuer_key, EVP_sha256())) Fail("signing " + common_name);
  return made;
}

void Save(const KeyAndCert& pair, const std::string& base) {
  Bio cert_bio(BIO_new(BIO_s_mem()));
  Bio key_bio(BIO_new(BIO_s_mem()));
  if (!cert_bio || !key_bio || !PEM_write_bio_X509(cert_bio.get(), pair.cert.get()) ||
      !PEM_write_bio_PrivateKey(key_bio.get(), pair.key.get(), nullptr, nullptr, 0, nullptr,
                                nullptr)) {
    Fail("PEM of " + base);
  }
  if (!AtomicWriteFile(base + ".key", BioText(key_bio.get())) ||
      !AtomicWriteFile(base + ".pem", BioText(cert_bio.get()))) {
    Fail("cannot write " + base + ".pem");
  }
}

// The pair stored at base.pem and base.key, or nothing when either is missing or unreadable.
bool Load(const std::string& base, KeyAndCert& pair) {
  auto cert_text = ReadWholeFile(base + ".pem");
  auto key_text = ReadWholeFile(base + ".key");
  if (!cert_text || !key_text) return false;
  Bio cert_bio(BIO_new_mem_buf(cert_text->data(), static_cast<int>(cert_text->size())));
  Bio key_bio(BIO_new_mem_buf(key_text->data(), static_cast<int>(key_text->size())));
  pair.cert.reset(PEM_read_bio_X509(cert_bio.get(), nullptr, nullptr, nullptr));
  pair.key.reset(PEM_read_bio_PrivateKey(key_bio.get(), nullptr, nullptr, nullptr));
  return pair.cert && pair.key;
}

KeyAndCert LoadOrIssue(const std::string& base, const std::string& common_name,
                       const KeyAndCert* issuer, const char* sans) {
  KeyAndCert pair;
  // A certificate from an authority that has since been replaced is made anew.
  if (Load(base, pair) &&
      (!issuer || X509_check_issued(issuer->cert.get(), pair.cert.get()) == X509_V_OK)) {
    return pair;
  }
  pair = Issue(common_name, issuer, sans);
  Save(pair, base);
  return pair;
}

}  // namespace

KeyAndCert ServerCertificate(const std::string& state_dir, const std::string& kind) {
  std::string dir = state_dir + "/";
  bool untrusted = kind == "untrusted";
  std::string ca_base = dir + (untrusted ? "untrusted-ca" : "ca");
  std::string server_base = dir + (kind == "good" ? "server" : kind);
  // Clients take their trusted authority from ca.pem, so it exists in every mode.
  KeyAndCert trusted = LoadOrIssue(dir + "ca", "Tavisnap local test CA", nullptr, nullptr);
  KeyAndCert other;
  if (untrusted) other = LoadOrIssue(ca_base, "Tavisnap untrusted test CA", nullptr, nullptr);
  const KeyAndCert& ca = untrusted ? other : trusted;
  const char* sans = kind == "mismatch" ? kSansOfAnotherHost : kSansOfThisHost;
  std::string name = kind == "mismatch" ? "wrong.invalid" : "127.0.0.1";
  return LoadOrIssue(server_base, name, &ca, sans);
}

}  // namespace tavisnap::local_service
