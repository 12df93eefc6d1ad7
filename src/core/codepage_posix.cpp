// Code page 932 through glibc's iconv, whose CP932 table is the Windows one.
#include <iconv.h>

#include <cerrno>
#include <string>

#include "core/codepage.h"

namespace tavisnap {
namespace {

class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  // Converts as much as it can; returns false at the first byte it cannot take.
  bool Convert(const char*& in, size_t& inLeft, std::string& out) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char buf[256];
    while (inLeft > 0) {
      char* dst = buf;
      size_t dstLeft = sizeof buf;
      size_t r = iconv(cd_, const_cast<char**>(&in), &inLeft, &dst, &dstLeft);
      out.append(buf, static_cast<size_t>(dst - buf));
      if (r == static_cast<size_t>(-1) && errno != E2BIG) return false;
    }
    return true;
  }

 private:
  iconv_t cd_;
};

bool EncodeOne(char32_t cp, std::string& out) {
  thread_local Iconv toCp932("CP932", "UTF-32LE");
  char in[4] = {static_cast<char>(cp & 0xFF), static_cast<char>((cp >> 8) & 0xFF),
                static_cast<char>((cp >> 16) & 0xFF), static_cast<char>((cp >> 24) & 0xFF)};
  const char* p = in;
  size_t left = sizeof in;
  std::string tmp;
  if (!toCp932.Convert(p, left, tmp) || tmp.empty()) return false;
  out += tmp;
  return true;
}

}  // namespace

bool IsCp932Representable(char32_t cp) {
  if (cp < 0x80) return true;
  std::string ignored;
  return EncodeOne(cp, ignored);
}

std::string Utf8ToCp932(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::u32string cps;
  if (!DecodeUtf8(utf8, cps)) {
    // Not UTF-8: nothing inside the program produces that; keep ASCII, mark the rest.
    for (char c : utf8) out.push_back(static_cast<unsigned char>(c) < 0x80 ? c : '?');
    return out;
  }
  for (char32_t cp : cps) {
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (!EncodeOne(cp, out)) {
      out.push_back('?');
    }
  }
  return out;
}

std::string Cp932ToUtf8(std::string_view cp932) {
  thread_local Iconv toUtf8("UTF-8", "CP932");
  std::string out;
  out.reserve(cp932.size() * 3 / 2);
  const char* p = cp932.data();
  size_t left = cp932.size();
  while (left > 0) {
    if (toUtf8.Convert(p, left, out)) break;
    AppendUtf8(out, U'\uFFFD');  // skip the byte iconv refused
    ++p;
    --left;
  }
  return out;
}

}  // namespace tavisnap
