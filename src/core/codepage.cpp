#include "core/codepage.h"

namespace tavisnap {

char32_t Cp932Counterpart(char32_t cp) {
  switch (cp) {
    case U'\u301C':  // 〜 wave dash
      return U'\uFF5E';
    case U'\u2016':  // ‖ double vertical line
      return U'\u2225';
    case U'\u2212':  // − minus sign
      return U'\uFF0D';
    case U'\u00A2':  // ¢
      return U'\uFFE0';
    case U'\u00A3':  // £
      return U'\uFFE1';
    case U'\u00AC':  // ¬
      return U'\uFFE2';
    default:
      return cp;
  }
}

char32_t NextUtf8(std::string_view in, size_t& i) {
  auto b = static_cast<unsigned char>(in[i++]);
  if (b < 0x80) return b;
  int extra;
  char32_t cp;
  unsigned char low = 0x80, high = 0xBF;  // range of the first continuation byte
  if (b >= 0xC2 && b <= 0xDF) {
    extra = 1;
    cp = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    extra = 2;
    cp = b & 0x0F;
    if (b == 0xE0) low = 0xA0;   // overlong below
    if (b == 0xED) high = 0x9F;  // surrogates above
  } else if (b >= 0xF0 && b <= 0xF4) {
    extra = 3;
    cp = b & 0x07;
    if (b == 0xF0) low = 0x90;   // overlong below
    if (b == 0xF4) high = 0x8F;  // past U+10FFFF above
  } else {
    return kBadUtf8;
  }
  for (int k = 0; k < extra; ++k) {
    if (i >= in.size()) return kBadUtf8;
    auto c = static_cast<unsigned char>(in[i]);
    if (c < low || c > high) return kBadUtf8;  // the byte starts the next sequence
    low = 0x80;
    high = 0xBF;
    cp = (cp << 6) | (c & 0x3F);
    ++i;
  }
  return cp;
}

bool DecodeUtf8(std::string_view in, std::u32string& out) {
  out.clear();
  for (size_t i = 0; i < in.size();) {
    char32_t cp = NextUtf8(in, i);
    if (cp == kBadUtf8) return false;
    out.push_back(cp);
  }
  return true;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::u32string Cp932LostCharacters(std::string_view utf8) {
  std::u32string lost;
  for (size_t i = 0; i < utf8.size();) {
    size_t start = i;
    char32_t cp = NextUtf8(utf8, i);
    if (cp == U'?') continue;
    // Each character through the conversion itself, so that what it maps changes this too.
    if (Utf8ToCp932(utf8.substr(start, i - start)).find('?') == std::string::npos) continue;
    if (cp == kBadUtf8) cp = U'\uFFFD';
    if (lost.find(cp) == std::u32string::npos) lost.push_back(cp);
  }
  return lost;
}

}  // namespace tavisnap
