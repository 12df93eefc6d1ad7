// JPEG streams made with libjpeg itself, of kinds the program never writes, and a reader
// of a stream's marker segments.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavisnap::testing {

enum class LibjpegKind {
  kGrey,         // one sample per pixel
  kAdobeCmyk,    // four samples per pixel, inverted as Adobe writes them
  kProgressive,  // three samples per pixel (RGB), progressive scans
};

std::string LibjpegEncode(LibjpegKind kind, int width, int height,
                          const std::vector<uint8_t>& samples);

struct Segment {
  uint8_t marker = 0;   // the byte after 0xFF
  size_t offset = 0;    // of the 0xFF
  std::string payload;  // without the length field
};

// The segments from SOI up to and including SOS; stops early at malformed data.
std::vector<Segment> HeaderSegments(std::string_view jpeg);

}  // namespace tavisnap::testing
