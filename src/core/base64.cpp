#include "core/base64.h"

#include <cstdint>

namespace tavisnap {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr int kFill = 64;

int ValueOf(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '=') return kFill;
  return 63;  // "/" and every character outside the alphabet
}

}  // namespace

std::string EncodeBase64String(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    uint32_t group = static_cast<uint8_t>(bytes[i]) << 16 |
                     static_cast<uint8_t>(bytes[i + 1]) << 8 | static_cast<uint8_t>(bytes[i + 2]);
    for (int shift = 18; shift >= 0; shift -= 6) out += kAlphabet[(group >> shift) & 63];
  }
  size_t rest = bytes.size() - i;
  if (rest > 0) {
    uint32_t group = static_cast<uint8_t>(bytes[i]) << 16;
    if (rest == 2) group |= static_cast<uint8_t>(bytes[i + 1]) << 8;
    out += kAlphabet[(group >> 18) & 63];
    out += kAlphabet[(group >> 12) & 63];
    out += rest == 2 ? kAlphabet[(group >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

std::string DecodeBase64String(std::string_view text) {
  std::string out;
  out.reserve(text.size() / 4 * 3 + 1);
  int position = 1;     // within the group of four
  uint8_t pending = 0;  // high bits of the next byte
  for (char c : text) {
    int v = ValueOf(c);
    if (v == kFill) {
      if (position > 1 && pending != 0) out += static_cast<char>(pending);
      break;
    }
    switch (position) {
      case 1:
        pending = static_cast<uint8_t>(v << 2);
        break;
      case 2:
        out += static_cast<char>(pending | ((v >> 4) & 3));
        pending = static_cast<uint8_t>((v & 15) << 4);
        break;
      case 3:
        out += static_cast<char>(pending | ((v >> 2) & 15));
        pending = static_cast<uint8_t>((v & 3) << 6);
        break;
      default:
        out += static_cast<char>(pending | (v & 63));
        break;
    }
    position = position == 4 ? 1 : position + 1;
  }
  return out;
}

}  // namespace tavisnap
