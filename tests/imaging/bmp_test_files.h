// BMP files put together field by field, well-formed or not, and the table of odd and
// hostile files the viewer's tests, the fuzzer's seed corpus and the table of outcomes use.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "imaging/picture.h"

namespace tavisnap::testing {

struct BmpLayout {
  uint32_t headerSize = 40;  // 12 writes the OS/2 1.x header
  int32_t width = 0;
  int32_t height = 0;  // negative: top-down
  uint16_t bits = 24;
  uint32_t compression = 0;
  uint32_t colorsUsed = 0;
  std::vector<Rgb> palette;             // 4 bytes an entry, 3 with the 12-byte header
  std::vector<uint32_t> masks;          // after a 40-byte header, inside a larger one
  std::string pixels;                   // as stored
  std::optional<uint32_t> pixelOffset;  // else right after the palette
};

std::string BuildBmp(const BmpLayout& wanted);

// Rows as stored, bottom-up unless topDown, each padded to 4 bytes. value(x, y) is a palette
// index (1, 4, 8 bits) or the stored pixel (16, 24, 32 bits, little-endian).
std::string PackRows(int width, int height, int bits, bool topDown,
                     const std::function<uint32_t(int x, int y)>& value);

struct BmpCase {
  std::string name;
  std::string bytes;
  std::optional<Picture> picture;  // what it decodes to, or nothing when refused
  std::string error;               // the refusal's text
};

std::vector<BmpCase> BmpCases();

}  // namespace tavisnap::testing
