// The synthetic 1920x1080 screen the capture benchmarks work on, and the bare
// libjpeg-turbo encode and decode they are measured against.
#pragma once

#include <chrono>
#include <cstdio>  // jpeglib.h needs FILE and size_t first
#include <cstdlib>
#include <string>

#include <jpeglib.h>

#include "imaging/picture.h"

namespace tavisnap::bench {

using Clock = std::chrono::steady_clock;

// A gradient desktop, windows with flat areas and title bars, lines of text-like glyphs,
// coloured icons.
inline Picture ScreenLike() {
  Picture p(1920, 1080);
  for (int y = 0; y < 1080; ++y) {
    for (int x = 0; x < 1920; ++x) {
      p.SetPixel(x, y, Rgb{uint8_t(20 + y / 8), uint8_t(60 + x / 16), uint8_t(140 + y / 12)});
    }
  }
  const int windows[][4] = {{80, 60, 1100, 700}, {700, 300, 1150, 720}, {1300, 100, 560, 500}};
  for (const auto& w : windows) {
    p.FillRect(w[0], w[1], w[2], w[3], Rgb{240, 240, 240});
    p.FillRect(w[0], w[1], w[2], 30, Rgb{0, 90, 180});  // title bar
    p.FillRect(w[0] + 8, w[1] + 40, w[2] - 16, w[3] - 48, Rgb{255, 255, 255});
    // Lines of text: 7x12 glyph cells with strokes varying by position.
    for (int line = w[1] + 50; line + 14 < w[1] + w[3] - 10; line += 18) {
      for (int cell = w[0] + 14; cell + 8 < w[0] + w[2] - 14; cell += 8) {
        unsigned seed = unsigned(cell * 31 + line * 17);
        for (int dy = 0; dy < 12; ++dy) {
          for (int dx = 0; dx < 7; ++dx) {
            if ((seed >> ((dx + dy * 3) % 24)) & 1 && (dx == 0 || dy % 4 == 0 || dx == 5)) {
              p.SetPixel(cell + dx, line + dy, Rgb{20, 20, 20});
            }
          }
        }
      }
    }
  }
  for (int i = 0; i < 12; ++i) {  // icons on the desktop
    p.FillRect(20, 760 + i * 26, 22, 22, Rgb{uint8_t(i * 20), uint8_t(200 - i * 15), 60});
  }
  return p;
}

// Memory destination, quality 100, defaults otherwise: the capture's settings.
inline std::string BareEncode(const Picture& p) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = p.Width();
  c.image_height = p.Height();
  c.input_components = 3;
  c.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 100, TRUE);
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(p.Row(static_cast<int>(c.next_scanline)));
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::string bytes(reinterpret_cast<char*>(out), size);
  std::free(out);
  return bytes;
}

inline Picture BareDecode(const std::string& bytes) {
  jpeg_decompress_struct d;
  jpeg_error_mgr err;
  d.err = jpeg_std_error(&err);
  jpeg_create_decompress(&d);
  jpeg_mem_src(&d, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  jpeg_read_header(&d, TRUE);
  d.out_color_space = JCS_EXT_BGR;
  jpeg_start_decompress(&d);
  Picture p(static_cast<int>(d.output_width), static_cast<int>(d.output_height));
  while (d.output_scanline < d.output_height) {
    JSAMPROW row = p.Row(static_cast<int>(d.output_scanline));
    jpeg_read_scanlines(&d, &row, 1);
  }
  jpeg_finish_decompress(&d);
  jpeg_destroy_decompress(&d);
  return p;
}

template <typename Work>
double Millis(Work work) {
  auto start = Clock::now();
  work();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace tavisnap::bench
