// ASCII-only text helpers for the settings store: names compare without regard to
// case, but only A-Z/a-z fold (the bytes of other characters never match by case).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tavisnap {

inline char FoldAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

inline std::string FoldAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = FoldAscii(c);
  return out;
}

// Upper-cases ASCII letters only; every other byte stays (a password holds nothing else
// that passes its check).
inline std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// A setting's flag as stored: "1" for on, "2" for off.
inline const char* SettingFlag(bool on) {
  return on ? "1" : "2";
}

inline bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

// Hash and equality for unordered containers keyed by names that match without regard
// to ASCII case; transparent, so that a lookup by string_view allocates nothing.
struct FoldedHash {
  using is_transparent = void;
  size_t operator()(std::string_view text) const {
    uint64_t h = 0xcbf29ce484222325ull;
    for (char c : text) {
      h ^= static_cast<unsigned char>(FoldAscii(c));
      h *= 0x100000001b3ull;  // FNV-1a
    }
    return static_cast<size_t>(h);
  }
};
struct FoldedEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const { return EqualsIgnoringCase(a, b); }
};

// Trims blanks and control characters (bytes 0x00-0x20) from both ends.
inline std::string_view TrimBlanks(std::string_view text) {
  size_t begin = 0, end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= 0x20) ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 0x20) --end;
  return text.substr(begin, end - begin);
}

}  // namespace tavisnap
