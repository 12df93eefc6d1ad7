#include "core/password_store.h"

#include "core/base64.h"
#include "core/codepage.h"

namespace tavisnap {

std::string EncodePasswordText(std::string_view password) {
  return EncodeBase64String(Utf8ToCp932(password));
}

std::string DecodePasswordText(std::string_view stored) {
  return Cp932ToUtf8(DecodeBase64String(stored));
}

}  // namespace tavisnap
