#include "core/iso2022jp.h"

#include <array>
#include <utility>

#include "core/codepage.h"

namespace tavisnap {
namespace {

constexpr std::string_view kToJis0208 = "\x1b$B";
constexpr std::string_view kToAscii = "\x1b(B";

// Half-width katakana (code page 932 bytes 0xA1 to 0xDF) as the JIS X 0208 codes of the
// full-width letters.
constexpr std::array<uint16_t, 63> kHalfWidthKanaToJis = {
    0x2123, 0x2156, 0x2157, 0x2122, 0x2126, 0x2572, 0x2521, 0x2523, 0x2525, 0x2527, 0x2529,
    0x2563, 0x2565, 0x2567, 0x2543, 0x213C, 0x2522, 0x2524, 0x2526, 0x2528, 0x252A, 0x252B,
    0x252D, 0x252F, 0x2531, 0x2533, 0x2535, 0x2537, 0x2539, 0x253B, 0x253D, 0x253F, 0x2541,
    0x2544, 0x2546, 0x2548, 0x254A, 0x254B, 0x254C, 0x254D, 0x254E, 0x254F, 0x2552, 0x2555,
    0x2558, 0x255B, 0x255E, 0x255F, 0x2560, 0x2561, 0x2562, 0x2564, 0x2566, 0x2568, 0x2569,
    0x256A, 0x256B, 0x256C, 0x256D, 0x256F, 0x2573, 0x212B, 0x212C,
};

bool IsLeadByte(unsigned lead) {
  return (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0);
}
bool IsTrailByte(unsigned trail) {
  return trail >= 0x40 && trail <= 0xFC && trail != 0x7F;
}

// The IBM extensions (0xFA40 to 0xFC4B) lie past the rows JIS can hold; each has a twin
// among the NEC special characters or the NEC-selected IBM extensions, which it can.
uint16_t IbmToNecTwin(uint16_t code) {
  if (code <= 0xFA49) return static_cast<uint16_t>(code - 0x0B51);  // small roman numerals
  if (code <= 0xFA53) return static_cast<uint16_t>(code - 0x72F6);  // roman numerals
  if (code <= 0xFA57) return static_cast<uint16_t>(code - 0x0B5B);
  switch (code) {
    case 0xFA58:
      return 0x878A;
    case 0xFA59:
      return 0x8782;
    case 0xFA5A:
      return 0x8784;
    case 0xFA5B:
      return 0x879A;
  }
  // The kanji: the same order, shifted by a distance that changes where the trail bytes
  // of the two ranges wrap.
  unsigned trail = code & 0xFF;
  if (trail < 0x5C) return static_cast<uint16_t>(code - 0x0D5F);
  if (trail >= 0x80 && trail <= 0x9B) return static_cast<uint16_t>(code - 0x0D1D);
  return static_cast<uint16_t>(code - 0x0D1C);
}

class JisWriter {
 public:
  void Ascii(char c) {
    if (inJis_) {
      out_ += kToAscii;
      inJis_ = false;
    }
    out_ += c;
  }
  void Jis(uint16_t code) {
    if (!inJis_) {
      out_ += kToJis0208;
      inJis_ = true;
    }
    out_ += static_cast<char>(code >> 8);
    out_ += static_cast<char>(code & 0xFF);
  }
  std::string Finish() {
    if (inJis_) out_ += kToAscii;
    return std::move(out_);
  }

 private:
  std::string out_;
  bool inJis_ = false;
};

// One character that is not ASCII, a JIS form as its code page 932 counterpart. Only a
// code that comes back as the same character counts: a near match (U+00A5 as the
// backslash) is no conversion.
void WriteCharacter(char32_t cp, JisWriter& out) {
  std::string utf8;
  AppendUtf8(utf8, Cp932Counterpart(cp));
  std::string bytes = Utf8ToCp932(utf8);
  if (Cp932ToUtf8(bytes) != utf8) return out.Ascii(kIso2022JpDefaultChar);
  auto first = static_cast<unsigned char>(bytes[0]);
  if (bytes.size() == 1) {
    if (first >= 0xA1 && first <= 0xDF) return out.Jis(kHalfWidthKanaToJis[first - 0xA1]);
    return out.Ascii(kIso2022JpDefaultChar);  // a control byte of the code page
  }
  auto code = static_cast<uint16_t>(first << 8 | static_cast<unsigned char>(bytes[1]));
  if (auto jis = Cp932ToJis(code)) return out.Jis(*jis);
  out.Ascii(kIso2022JpDefaultChar);
}

}  // namespace

std::optional<uint16_t> Cp932ToJis(uint16_t code) {
  unsigned lead = code >> 8;
  unsigned trail = code & 0xFF;
  if (!IsLeadByte(lead) || !IsTrailByte(trail)) return std::nullopt;
  if (lead >= 0xF0 && lead <= 0xF9) return std::nullopt;  // user-defined
  if (lead >= 0xFA) {
    if (code < 0xFA40 || code > 0xFC4B) return std::nullopt;
    code = IbmToNecTwin(code);
    lead = code >> 8;
    trail = code & 0xFF;
  }
  unsigned row = (lead - (lead > 0x9F ? 0xB1 : 0x71)) * 2 + 1;
  if (trail > 0x9E) {
    trail -= 0x7E;
    ++row;
  } else {
    if (trail > 0x7E) --trail;
    trail -= 0x1F;
  }
  return static_cast<uint16_t>(row << 8 | trail);
}

std::string Utf8ToIso2022Jp(std::string_view utf8) {
  JisWriter out;
  std::u32string text;
  if (!DecodeUtf8(utf8, text)) {
    // Nothing in the program hands over such text; ASCII is kept, the rest marked.
    for (char c : utf8) out.Ascii(static_cast<unsigned char>(c) < 0x80 ? c : kIso2022JpDefaultChar);
    return out.Finish();
  }
  for (char32_t cp : text) {
    if (cp < 0x80) {
      out.Ascii(static_cast<char>(cp));
    } else {
      WriteCharacter(cp, out);
    }
  }
  return out.Finish();
}

std::string ConvertCodePage(int sourceCodePage, int targetCodePage, std::string_view text) {
  if (sourceCodePage != kCodePageShiftJis || targetCodePage != kCodePageIso2022Jp) return {};
  return Utf8ToIso2022Jp(text);
}

}  // namespace tavisnap
