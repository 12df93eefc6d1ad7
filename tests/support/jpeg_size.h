// The picture size a JPEG file declares in its frame header, for checking what a
// program wrote or a service stored without decoding it.
#pragma once

#include <optional>
#include <string>

namespace tavisnap::testing {

struct JpegSize {
  int width = 0;
  int height = 0;
  bool operator==(const JpegSize&) const = default;
};

// The first start-of-frame segment's size; none when the bytes are no JPEG file.
inline std::optional<JpegSize> JpegSizeOf(const std::string& bytes) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
  if (bytes.size() < 4 || byte(0) != 0xFF || byte(1) != 0xD8) return std::nullopt;
  size_t at = 2;
  while (at + 4 <= bytes.size() && byte(at) == 0xFF) {
    unsigned marker = byte(at + 1);
    size_t length = (byte(at + 2) << 8) | byte(at + 3);
    bool frame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      if (at + 9 > bytes.size()) return std::nullopt;
      return JpegSize{(byte(at + 7) << 8) | byte(at + 8), (byte(at + 5) << 8) | byte(at + 6)};
    }
    at += 2 + length;
  }
  return std::nullopt;
}

}  // namespace tavisnap::testing
