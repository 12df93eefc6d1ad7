#include "service/response_text.h"

#include "core/codepage.h"

namespace tavisnap {

std::string CleanResponseText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c != '?') out.push_back(c);
  }
  return out;
}

std::string DecodeResponseText(std::string_view bytes) {
  std::u32string chars;
  if (!DecodeUtf8(bytes, chars)) return {};
  std::string text;
  text.reserve(bytes.size());
  for (char32_t c : chars) {
    // The answer used to pass through code page 932, which turned what it lacked into "?"
    // and the JIS forms of six characters into their counterparts.
    char32_t kept = Cp932Counterpart(c);
    if (IsCp932Representable(kept)) AppendUtf8(text, kept);
  }
  return CleanResponseText(text);
}

std::string_view TrimPartialUtf8(std::string_view bytes) {
  // Look back at most three bytes for the lead byte of the last sequence.
  size_t n = bytes.size();
  for (size_t back = 1; back <= 3 && back <= n; ++back) {
    auto b = static_cast<unsigned char>(bytes[n - back]);
    if ((b & 0xC0) == 0x80) continue;  // continuation byte
    size_t need = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    return need > back ? bytes.substr(0, n - back) : bytes;
  }
  return bytes;
}

}  // namespace tavisnap
