// The program's whole code page 932 conversion, condensed into digests that the native
// test and the Wine test both compare with the same recorded values: the native
// converter must give what Windows gives. Every byte alone, every two-byte sequence
// that starts with a byte of 0x80 or more, and every UTF-16 code unit but the
// surrogates and the six JIS forms, each through Cp932ToUtf8 or Utf8ToCp932 and
// IsCp932Representable. The JIS forms are written as their counterparts, which Windows
// does only without WC_NO_BEST_FIT_CHARS; Codepage tests them on their own.
//
// The recorded values are Windows' (the Wine test). A block that differs is written out
// as text (one "input -> output" per line), so that the two sides can be compared.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "core/codepage.h"
#include "core/file_util.h"

namespace tavisnap::testing {

// Blocks: 0 every single byte; 1-16 the pairs by lead byte 0x80-0x87, ..., 0xF8-0xFF;
// 17-32 the code units U+0000-U+0FFF, ..., U+F000-U+FFFF.
inline constexpr int kCp932Blocks = 33;

// The JIS forms left out of the blocks of code units.
inline constexpr char32_t kJisForms[] = {U'\u00A2', U'\u00A3', U'\u00AC',
                                         U'\u2016', U'\u2212', U'\u301C'};

// Recorded from Wine 8's code page 932 (MultiByteToWideChar and WideCharToMultiByte with
// WC_NO_BEST_FIT_CHARS); blocks 17, 19 and 20 again without the JIS forms.
inline constexpr std::array<uint64_t, kCp932Blocks> kWindowsCp932Digests = {
    0xee963d015611d31aull, 0x23635b8a77296aaaull, 0xbb8415a53135fd78ull, 0x7b9d27832c6b10ceull,
    0x1017d137f95cec14ull, 0x4bfb5bf1338550edull, 0x17c49cc2a1c38e9dull, 0x065aef0f085758fdull,
    0x372c2db9185a78bdull, 0xcbb58e499c38095dull, 0x8dfc5f9fd114fcfdull, 0x8a7c5f532f5309fdull,
    0x18a5b737369a279dull, 0x0c881eb1eaac21aaull, 0x34e3fe9cb5dc3775ull, 0xd90037af45fbef1dull,
    0x3447f54abe934610ull, 0x21c31600f60b6392ull, 0xfb2f50baf0af2c25ull, 0xba6bb9d343c788bcull,
    0x7f7848de5ea4b628ull, 0xc8b9f5e908d23354ull, 0x5aa3cae18163dfb7ull, 0x16f365020a03416dull,
    0x989461d27f6e2472ull, 0x335ca7a204dfce2dull, 0xcfb0d52b4b06a506ull, 0x58312e3492a5ee25ull,
    0x8432f50dd0a2aa25ull, 0x7d5332ec66ac4e25ull, 0x34ca54022d2b5ea5ull, 0xa00669f425f7c0adull,
    0x1fb357a4b6a76221ull,
};

class Cp932Block {
 public:
  explicit Cp932Block(bool keepText) : keepText_(keepText) {}
  void Add(std::string_view in, std::string_view out) {
    Mix(in);
    Mix(out);
    if (keepText_) text_ += Hex(in) + " -> " + Hex(out) + "\n";
  }
  uint64_t digest() const { return hash_; }
  const std::string& text() const { return text_; }

 private:
  void Mix(std::string_view bytes) {
    Byte(static_cast<unsigned char>(bytes.size()));
    for (char c : bytes) Byte(static_cast<unsigned char>(c));
  }
  void Byte(unsigned char b) {
    hash_ ^= b;
    hash_ *= 0x100000001b3ull;  // FNV-1a
  }
  static std::string Hex(std::string_view bytes) {
    std::string out;
    char buf[4];
    for (char c : bytes) {
      std::snprintf(buf, sizeof buf, "%02X", static_cast<unsigned char>(c));
      out += buf;
    }
    return out.empty() ? "-" : out;
  }

  bool keepText_;
  uint64_t hash_ = 0xcbf29ce484222325ull;
  std::string text_;
};

inline Cp932Block ConvertCp932Block(int block, bool keepText) {
  Cp932Block b(keepText);
  if (block == 0) {
    for (int byte = 0; byte < 256; ++byte) {
      std::string in(1, static_cast<char>(byte));
      b.Add(in, Cp932ToUtf8(in));
    }
  } else if (block <= 16) {
    for (int lead = 0x80 + (block - 1) * 8; lead < 0x80 + block * 8; ++lead) {
      for (int trail = 0; trail < 256; ++trail) {
        std::string in{static_cast<char>(lead), static_cast<char>(trail)};
        b.Add(in, Cp932ToUtf8(in));
      }
    }
  } else {
    for (char32_t unit = (block - 17) * 0x1000u; unit < (block - 16) * 0x1000u; ++unit) {
      if (unit >= 0xD800 && unit <= 0xDFFF) continue;
      if (std::find(std::begin(kJisForms), std::end(kJisForms), unit) != std::end(kJisForms)) {
        continue;
      }
      std::string in;
      AppendUtf8(in, unit);
      std::string out = Utf8ToCp932(in);
      b.Add(in, IsCp932Representable(unit) ? out : "no " + out);
    }
  }
  return b;
}

// Compares every block with the recorded digests; a block that differs is written to
// folder/cp932-<side>-<block>.txt. Prints the digests it found when any differs.
inline void ExpectWindowsCp932(const std::filesystem::path& folder, const std::string& side) {
  std::string found;
  bool same = true;
  for (int block = 0; block < kCp932Blocks; ++block) {
    uint64_t digest = ConvertCp932Block(block, false).digest();
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%016llxull,", static_cast<unsigned long long>(digest));
    found += std::string(block % 3 ? " " : "\n    ") + buf;
    if (digest == kWindowsCp932Digests[block]) continue;
    same = false;
    std::filesystem::path file = folder / ("cp932-" + side + "-" + std::to_string(block) + ".txt");
    std::ofstream(file, std::ios::binary) << ConvertCp932Block(block, true).text();
    ADD_FAILURE() << "block " << block << " differs from Windows; written to " << PathToUtf8(file);
  }
  if (!same) std::printf("digests found:%s\n", found.c_str());
}

}  // namespace tavisnap::testing
