#include "core/password_store.h"

#include "core/base64.h"
#include "core/codepage.h"

namespace tavisnap {

std::string EncodePasswordText(std::string_view password) {
  return EncodeBase64String(Utf8ToCp932(password));
}

std::string DecodePasswordBytes(std::string_view stored) {
  return DecodeBase64String(Utf8ToCp932(stored));
}

std::string DecodePasswordText(std::string_view stored) {
  return Cp932ToUtf8(DecodePasswordBytes(stored));
}

}  // namespace tavisnap
