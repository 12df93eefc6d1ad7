// Code page 932 as Windows converts it, from tables built once from glibc's CP932. The
// double-byte codes of the two agree; they part on a few characters, fixed here:
// - glibc gives no character for the bytes 0x80, 0xA0 and 0xFD-0xFF; Windows maps them
//   to U+0080 and U+F8F0-U+F8F3 and back.
// - glibc writes ¢ £ ¥ ¬ — ‖ ‾ − 〜 as look-alike codes (¥ as "\", 〜 as ～'s code);
//   Windows without best fit writes "?". Only characters that some code decodes to are
//   written, which leaves those out; six of them come in again as their counterparts
//   (Cp932Counterpart), as on Windows.
// - Bytes that are no character become "・" (U+30FB), Windows' default character.
#include <iconv.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "core/codepage.h"

namespace tavisnap {
namespace {

constexpr char16_t kDefaultChar = u'\u30FB';
constexpr uint16_t kNoCode = 0xFFFF;  // no code page 932 code is FF xx

struct SingleByteException {
  unsigned char byte;
  char16_t unit;
};
constexpr SingleByteException kSingleByteExceptions[] = {
    {0x80, u'\u0080'}, {0xA0, u'\uF8F0'}, {0xFD, u'\uF8F1'}, {0xFE, u'\uF8F2'}, {0xFF, u'\uF8F3'}};

int LeadIndex(unsigned char lead) {
  return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31;
}
constexpr int kLeadBytes = 31 + 29;

struct Tables {
  std::array<char16_t, 256> single{};                        // 0 for lead bytes
  std::array<std::array<char16_t, 256>, kLeadBytes> pair{};  // 0: not a character
  std::array<uint16_t, 0x10000> code{};                      // UTF-16 unit -> code, or kNoCode
};

class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (ok()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // The whole input converted, or "" when iconv refuses any of it.
  std::string Convert(std::string_view in) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char buf[16];
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = buf;
    size_t dstLeft = sizeof buf;
    if (iconv(cd_, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1) || srcLeft != 0) {
      return {};
    }
    return std::string(buf, static_cast<size_t>(dst - buf));
  }

 private:
  iconv_t cd_;
};

// One UTF-16 unit from iconv's UTF-16LE output, 0 unless it is exactly one.
char16_t OneUnit(const std::string& utf16) {
  if (utf16.size() != 2) return 0;
  return static_cast<char16_t>(static_cast<unsigned char>(utf16[0]) |
                               static_cast<unsigned char>(utf16[1]) << 8);
}

std::unique_ptr<Tables> BuildTables() {
  auto t = std::make_unique<Tables>();
  t->code.fill(kNoCode);
  Iconv decoder("UTF-16LE", "CP932");
  Iconv encoder("CP932", "UTF-16LE");
  if (!decoder.ok() || !encoder.ok()) return t;  // no CP932 module: everything is "?"

  for (int b = 0; b < 256; ++b) {
    auto byte = static_cast<unsigned char>(b);
    if (IsCp932LeadByte(byte)) continue;
    char16_t unit = static_cast<char16_t>(b);
    if (b >= 0x80) unit = OneUnit(decoder.Convert({reinterpret_cast<const char*>(&byte), 1}));
    for (const auto& e : kSingleByteExceptions) {
      if (e.byte == byte) unit = e.unit;
    }
    if (unit == 0 && b != 0) unit = kDefaultChar;
    t->single[b] = unit;
    if (unit != kDefaultChar) t->code[unit] = static_cast<uint16_t>(b);
  }
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsCp932LeadByte(static_cast<unsigned char>(lead))) continue;
    auto& row = t->pair[LeadIndex(static_cast<unsigned char>(lead))];
    for (int trail = 0x40; trail <= 0xFC; ++trail) {  // no code has its trail byte elsewhere
      const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      char16_t unit = OneUnit(decoder.Convert({bytes, 2}));
      row[trail] = unit;
      if (unit == 0 || t->code[unit] != kNoCode) continue;
      // Several codes may give the same character (NEC and IBM duplicates); which one
      // it is written as is glibc's choice, the same as Windows'.
      char16_t le[1] = {unit};
      std::string preferred = encoder.Convert({reinterpret_cast<const char*>(le), 2});
      t->code[unit] = preferred.size() == 2
                          ? static_cast<uint16_t>(static_cast<unsigned char>(preferred[0]) << 8 |
                                                  static_cast<unsigned char>(preferred[1]))
                          : static_cast<uint16_t>(lead << 8 | trail);
    }
  }
  return t;
}

const Tables& GetTables() {
  static const std::unique_ptr<Tables> tables = BuildTables();
  return *tables;
}

uint16_t CodeOf(char32_t cp) {
  return cp > 0xFFFF ? kNoCode : GetTables().code[cp];
}

}  // namespace

bool IsCp932Representable(char32_t cp) {
  return cp < 0x80 || CodeOf(cp) != kNoCode;
}

std::string Utf8ToCp932(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    char32_t cp = NextUtf8(utf8, i);
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
      continue;
    }
    uint16_t code = cp == kBadUtf8 ? kNoCode : CodeOf(Cp932Counterpart(cp));
    if (code == kNoCode) {
      if (cp > 0xFFFF && cp != kBadUtf8) out.push_back('?');  // one for each UTF-16 unit
      out.push_back('?');
    } else {
      if (code > 0xFF) out.push_back(static_cast<char>(code >> 8));
      out.push_back(static_cast<char>(code & 0xFF));
    }
  }
  return out;
}

std::string Cp932ToUtf8(std::string_view cp932) {
  size_t ascii = 0;
  while (ascii < cp932.size() && static_cast<unsigned char>(cp932[ascii]) < 0x80) ++ascii;
  if (ascii == cp932.size()) return std::string(cp932);
  // No byte becomes more than three; short texts (a line of system.ini) on the stack.
  char small[768];
  std::string large;
  char* begin = small;
  if (cp932.size() * 3 > sizeof small) {
    large.resize(cp932.size() * 3);
    begin = large.data();
  }
  const Tables& t = GetTables();
  char* p = std::copy_n(cp932.data(), ascii, begin);
  for (size_t i = ascii; i < cp932.size();) {
    auto b = static_cast<unsigned char>(cp932[i]);
    if (b < 0x80) {
      *p++ = static_cast<char>(b);
      ++i;
      continue;
    }
    char16_t unit;
    if (Cp932CharSize(cp932, i) == 2) {
      unit = t.pair[LeadIndex(b)][static_cast<unsigned char>(cp932[i + 1])];
      if (unit == 0) unit = kDefaultChar;
      i += 2;
    } else {
      unit = IsCp932LeadByte(b) ? kDefaultChar : t.single[b];
      ++i;
    }
    if (unit < 0x800) {
      *p++ = static_cast<char>(0xC0 | (unit >> 6));
    } else {
      *p++ = static_cast<char>(0xE0 | (unit >> 12));
      *p++ = static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
    }
    *p++ = static_cast<char>(0x80 | (unit & 0x3F));
  }
  return std::string(begin, p);
}

}  // namespace tavisnap
