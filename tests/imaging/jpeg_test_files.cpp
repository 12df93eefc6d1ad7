#include "imaging/jpeg_test_files.h"

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace tavisnap::testing {

std::string LibjpegEncode(LibjpegKind kind, int width, int height,
                          const std::vector<uint8_t>& samples) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = static_cast<JDIMENSION>(width);
  c.image_height = static_cast<JDIMENSION>(height);
  switch (kind) {
    case LibjpegKind::kGrey:
      c.input_components = 1;
      c.in_color_space = JCS_GRAYSCALE;
      break;
    case LibjpegKind::kAdobeCmyk:
      c.input_components = 4;
      c.in_color_space = JCS_CMYK;
      break;
    case LibjpegKind::kProgressive:
      c.input_components = 3;
      c.in_color_space = JCS_RGB;
      break;
  }
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 100, TRUE);
  if (kind == LibjpegKind::kProgressive) jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  size_t rowBytes = static_cast<size_t>(width) * static_cast<size_t>(c.input_components);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(samples.data() + c.next_scanline * rowBytes);
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::string bytes(reinterpret_cast<char*>(out), size);
  std::free(out);
  return bytes;
}

std::vector<Segment> HeaderSegments(std::string_view jpeg) {
  std::vector<Segment> segments;
  auto byte = [&](size_t i) { return static_cast<uint8_t>(jpeg[i]); };
  if (jpeg.size() < 2 || byte(0) != 0xFF || byte(1) != 0xD8) return segments;
  segments.push_back(Segment{0xD8, 0, ""});
  size_t pos = 2;
  while (pos + 4 <= jpeg.size() && byte(pos) == 0xFF) {
    uint8_t marker = byte(pos + 1);
    size_t length = static_cast<size_t>(byte(pos + 2)) << 8 | byte(pos + 3);
    if (length < 2 || pos + 2 + length > jpeg.size()) break;
    segments.push_back(Segment{marker, pos, std::string(jpeg.substr(pos + 4, length - 2))});
    if (marker == 0xDA) break;
    pos += 2 + length;
  }
  return segments;
}

}  // namespace tavisnap::testing
