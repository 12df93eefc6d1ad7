#include "core/validation.h"

namespace tavisnap {
namespace {

bool IsMailCharacter(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
         c == '-' || c == '.' || c == '@';
}

}  // namespace

bool IsValidMailAddress(std::string_view text) {
  if (text.empty()) return false;
  bool sawAt = false, sawDot = false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    bool atEdge = i == 0 || i + 1 == text.size();
    if (c == '@' || c == '.') {
      if (atEdge) return false;
      (c == '@' ? sawAt : sawDot) = true;
    } else if (!IsMailCharacter(c)) {
      return false;
    }
  }
  return sawAt && sawDot;
}

bool IsValidPassword(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < 0x21 || c > 0x7E) return false;  // also every byte of a non-ASCII character
  }
  return true;
}

}  // namespace tavisnap
