#include "imaging/bmp_test_files.h"

#include "imaging/bmp_codec.h"

namespace tavisnap::testing {
namespace {

void Put16(std::string& s, uint32_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>(v >> 8 & 0xFF);
}

void Put32(std::string& s, uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

// 3 x 2 (rows padded by 3 bytes): the picture most cases store.
const Rgb kColours[6] = {{255, 0, 0},   {0, 255, 0},   {0, 0, 255},
                         {255, 255, 0}, {0, 255, 255}, {40, 80, 120}};

Picture Expected(int w, int h, const std::function<Rgb(int x, int y)>& colour) {
  Picture p(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) p.SetPixel(x, y, colour(x, y));
  }
  return p;
}

Picture Six() {
  return Expected(3, 2, [](int x, int y) { return kColours[y * 3 + x]; });
}

uint32_t Bgr(Rgb c) {
  return uint32_t{c.r} << 16 | uint32_t{c.g} << 8 | c.b;
}

BmpLayout Six24(bool topDown = false) {
  BmpLayout s;
  s.width = 3;
  s.height = topDown ? -2 : 2;
  s.pixels = PackRows(3, 2, 24, topDown, [](int x, int y) { return Bgr(kColours[y * 3 + x]); });
  return s;
}

BmpLayout SixIndexed(int bits) {
  BmpLayout s;
  s.width = 3;
  s.height = 2;
  s.bits = static_cast<uint16_t>(bits);
  s.palette.assign(kColours, kColours + 6);
  s.colorsUsed = 6;
  s.pixels = PackRows(3, 2, bits, false, [](int x, int y) { return uint32_t(y * 3 + x); });
  return s;
}

std::string Rle(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s += static_cast<char>(b);
  return s;
}

}  // namespace

std::string BuildBmp(const BmpLayout& wanted) {
  std::string info;
  Put32(info, wanted.headerSize);
  if (wanted.headerSize == 12) {
    Put16(info, static_cast<uint32_t>(wanted.width));
    Put16(info, static_cast<uint32_t>(wanted.height));
    Put16(info, 1);
    Put16(info, wanted.bits);
  } else {
    Put32(info, static_cast<uint32_t>(wanted.width));
    Put32(info, static_cast<uint32_t>(wanted.height));
    Put16(info, 1);
    Put16(info, wanted.bits);
    Put32(info, wanted.compression);
    Put32(info, static_cast<uint32_t>(wanted.pixels.size()));
    Put32(info, 2835);
    Put32(info, 2835);
    Put32(info, wanted.colorsUsed);
    Put32(info, 0);
    if (wanted.headerSize > 40) {
      for (uint32_t m : wanted.masks) Put32(info, m);
    }
    info.resize(std::min<size_t>(wanted.headerSize, 4096), '\0');
  }
  if (wanted.headerSize == 40) {
    for (uint32_t m : wanted.masks) Put32(info, m);
  }
  for (const Rgb& c : wanted.palette) {
    info += static_cast<char>(c.b);
    info += static_cast<char>(c.g);
    info += static_cast<char>(c.r);
    if (wanted.headerSize != 12) info += '\0';
  }
  std::string file = "BM";
  const uint32_t offset = wanted.pixelOffset.value_or(static_cast<uint32_t>(14 + info.size()));
  Put32(file, static_cast<uint32_t>(14 + info.size() + wanted.pixels.size()));
  Put32(file, 0);
  Put32(file, offset);
  return file + info + wanted.pixels;
}

std::string PackRows(int width, int height, int bits, bool topDown,
                     const std::function<uint32_t(int x, int y)>& value) {
  const size_t rowBytes = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
  std::string out;
  for (int i = 0; i < height; ++i) {
    const int y = topDown ? i : height - 1 - i;
    std::string row(rowBytes, '\0');
    for (int x = 0; x < width; ++x) {
      const uint32_t v = value(x, y);
      if (bits < 8) {
        const size_t bit = static_cast<size_t>(x) * bits;
        row[bit / 8] = static_cast<char>(row[bit / 8] | v << (8 - bits - bit % 8));
      } else {
        for (int b = 0; b < bits / 8; ++b) {
          row[static_cast<size_t>(x) * (bits / 8) + b] = static_cast<char>(v >> (8 * b));
        }
      }
    }
    out += row;
  }
  return out;
}

std::vector<BmpCase> BmpCases() {
  std::vector<BmpCase> cases;
  auto ok = [&](std::string name, const BmpLayout& wanted, Picture want) {
    cases.push_back({std::move(name), BuildBmp(wanted), std::move(want), ""});
  };
  auto refused = [&](std::string name, std::string bytes, const char* error) {
    cases.push_back({std::move(name), std::move(bytes), std::nullopt, error});
  };
  auto refusedLayout = [&](std::string name, const BmpLayout& wanted, const char* error) {
    refused(std::move(name), BuildBmp(wanted), error);
  };

  // ---- Opened ----
  ok("24-bit bottom-up", Six24(), Six());
  ok("24-bit top-down", Six24(true), Six());
  {
    BmpLayout s = Six24();
    s.pixels.resize(s.pixels.size() - 3);  // the last row without its padding
    ok("24-bit, last row unpadded", s, Six());
  }
  ok("8-bit palette", SixIndexed(8), Six());
  ok("4-bit palette", SixIndexed(4), Six());
  {
    BmpLayout s;  // 10 pixels span two bytes of a row
    s.width = 10;
    s.height = 1;
    s.bits = 1;
    s.palette = {{0, 0, 0}, {255, 255, 255}};
    s.pixels = PackRows(10, 1, 1, false, [](int x, int) { return uint32_t(x % 3 == 0); });
    ok("1-bit palette", s, Expected(10, 1, [](int x, int) {
         return x % 3 == 0 ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
       }));
  }
  {
    BmpLayout s = SixIndexed(8);  // no count given: the palette ends where the pixels start
    s.colorsUsed = 0;
    ok("8-bit palette, shorter than 256", s, Six());
  }
  {
    BmpLayout s = SixIndexed(8);
    s.colorsUsed = 0xFFFFFFFF;
    ok("8-bit palette, count far too high", s, Six());
  }
  {
    BmpLayout s = SixIndexed(8);
    s.palette.resize(4);
    s.colorsUsed = 4;
    ok("8-bit indices past the palette are black", s, Expected(3, 2, [](int x, int y) {
         return y * 3 + x < 4 ? kColours[y * 3 + x] : Rgb{0, 0, 0};
       }));
  }
  {
    BmpLayout s = SixIndexed(8);
    s.headerSize = 12;
    s.colorsUsed = 0;
    ok("OS/2 header, 3-byte palette", s, Six());
  }
  {
    BmpLayout s = SixIndexed(8);
    s.headerSize = 124;
    ok("V5 header, 8-bit", s, Six());
  }
  {
    BmpLayout s = SixIndexed(8);
    s.compression = 1;
    // Bottom row: a run of two, one pixel alone; top row: three as they are (padded to even).
    s.pixels = Rle({2, 3, 1, 4, 0, 0, 0, 3, 0, 1, 2, 0, 0, 1});
    ok("RLE8", s,
       Expected(3, 2, [](int x, int y) { return kColours[y == 1 ? (x < 2 ? 3 : 4) : x]; }));
  }
  {
    BmpLayout s = SixIndexed(8);
    s.compression = 1;
    // A move two right and one up, then end of picture: the rest stays black.
    s.pixels = Rle({1, 5, 0, 2, 1, 1, 1, 2, 0, 1});
    ok("RLE8 with a move and an early end", s, Expected(3, 2, [](int x, int y) {
         if (y == 1 && x == 0) return kColours[5];
         if (y == 0 && x == 2) return kColours[2];
         return Rgb{0, 0, 0};
       }));
  }
  {
    BmpLayout s = SixIndexed(4);
    s.compression = 2;
    // Bottom row: indices 3 4 3 from one run; top row: 0 1 2 as they are.
    s.pixels = Rle({3, 0x34, 0, 0, 0, 3, 0x01, 0x20, 0, 1});
    ok("RLE4", s,
       Expected(3, 2, [](int x, int y) { return kColours[y == 1 ? (x == 1 ? 4 : 3) : x]; }));
  }
  {
    BmpLayout s = SixIndexed(8);
    s.compression = 1;
    s.width = 2000;
    s.height = 1000;
    s.pixels = Rle({0, 1});
    ok("RLE8, a large picture from a tiny file", s, Picture(2000, 1000));
  }
  {
    BmpLayout s;
    s.width = 2;
    s.height = 1;
    s.bits = 16;  // 5-5-5
    s.pixels =
        PackRows(2, 1, 16, false, [](int x, int) { return x ? 0x7C00u : 0x001Fu | 0x0200u; });
    ok("16-bit 5-5-5", s, Expected(2, 1, [](int x, int) {
         return x ? Rgb{255, 0, 0} : Rgb{0, 132, 255};
       }));
  }
  {
    BmpLayout s;
    s.width = 2;
    s.height = 1;
    s.bits = 16;
    s.compression = 3;
    s.masks = {0xF800, 0x07E0, 0x001F};  // 5-6-5
    s.pixels = PackRows(2, 1, 16, false, [](int x, int) { return x ? 0x07E0u : 0xF81Fu; });
    ok("16-bit bit fields 5-6-5", s, Expected(2, 1, [](int x, int) {
         return x ? Rgb{0, 255, 0} : Rgb{255, 0, 255};
       }));
  }
  {
    BmpLayout s;
    s.width = 3;
    s.height = 2;
    s.bits = 32;
    s.pixels = PackRows(3, 2, 32, false, [](int x, int y) {
      return Bgr(kColours[y * 3 + x]) | 0xAB000000u;  // the fourth byte is not alpha
    });
    ok("32-bit", s, Six());
  }
  {
    BmpLayout s;
    s.width = 2;
    s.height = 1;
    s.bits = 32;
    s.compression = 3;
    s.masks = {0x3FF00000, 0x000FFC00, 0x000003FF};  // 10-10-10
    s.pixels = PackRows(2, 1, 32, false,
                        [](int x, int) { return x ? 0x3FF00000u | 0x200u : 0x000FFC00u; });
    ok("32-bit bit fields 10-10-10", s, Expected(2, 1, [](int x, int) {
         return x ? Rgb{255, 0, 128} : Rgb{0, 255, 0};
       }));
  }
  {
    BmpLayout s;
    s.headerSize = 108;
    s.width = 1;
    s.height = -1;
    s.bits = 32;
    s.compression = 3;
    s.masks = {0x0000FF00, 0x00FF0000, 0, 0};  // red and green swapped, no blue
    s.pixels = PackRows(1, 1, 32, true, [](int, int) { return 0x00112233u | 0x000000FFu; });
    ok("V4 header, 32-bit fields, a mask of 0", s, Expected(1, 1, [](int, int) {
         return Rgb{0x22, 0x11, 0};
       }));
  }

  // ---- Refused ----
  refused("empty file", "", kBmpTruncated);
  refused("file header only", BuildBmp(Six24()).substr(0, 14), kBmpTruncated);
  refused("not BM", "PM" + BuildBmp(Six24()).substr(2), kBmpBroken);
  refused("info header cut short", BuildBmp(Six24()).substr(0, 40), kBmpTruncated);
  {
    std::string bytes = BuildBmp(Six24());
    refused("pixels one byte short", bytes.substr(0, bytes.size() - 4), kBmpTruncated);
  }
  {
    std::string bytes = BuildBmp(SixIndexed(8));
    refused("palette cut short", bytes.substr(0, 14 + 40 + 10), kBmpTruncated);
  }
  {
    BmpLayout s = Six24();
    s.headerSize = 64;  // OS/2 2.x
    refusedLayout("64-byte header", s, kBmpUnsupported);
  }
  {
    BmpLayout s = Six24();
    s.compression = 4;
    refusedLayout("JPEG inside", s, kBmpUnsupported);
  }
  {
    BmpLayout s = SixIndexed(8);
    s.bits = 2;
    refusedLayout("2 bits a pixel", s, kBmpUnsupported);
  }
  {
    BmpLayout s = Six24();
    s.bits = 24;
    s.compression = 3;
    s.masks = {0xFF0000, 0xFF00, 0xFF};
    refusedLayout("bit fields with 24 bits", s, kBmpBroken);
  }
  for (int32_t w : {0, -3}) {
    BmpLayout s = Six24();
    s.width = w;
    refusedLayout("width " + std::to_string(w), s, kBmpBroken);
  }
  {
    BmpLayout s = Six24();
    s.height = 0;
    refusedLayout("height 0", s, kBmpBroken);
  }
  {
    BmpLayout s = Six24();
    s.height = INT32_MIN;
    refusedLayout("height -2^31", s, kBmpTooLarge);
  }
  {
    BmpLayout s = Six24();
    s.width = 40000;
    s.height = 1;
    refusedLayout("width 40000", s, kBmpTooLarge);
  }
  {
    BmpLayout s = Six24();
    s.width = 20000;
    s.height = 20000;
    refusedLayout("400 million pixels", s, kBmpTooLarge);
  }
  {
    BmpLayout s = Six24();
    s.width = 65536;
    s.height = 65536;  // 2^32: 0 in 32 bits
    refusedLayout("width x height overflowing 32 bits", s, kBmpTooLarge);
  }
  {
    BmpLayout s = Six24();
    s.width = INT32_MAX;
    s.height = 1;
    refusedLayout("width 2^31 - 1", s, kBmpTooLarge);
  }
  {
    BmpLayout s = Six24();
    s.width = 30000;
    s.height = 3000;  // within the limits, but the file holds 18 bytes of pixels
    refusedLayout("90 million pixels declared, 18 bytes stored", s, kBmpTruncated);
  }
  {
    BmpLayout s = Six24();
    s.pixelOffset = 100000;
    refusedLayout("pixels past the end", s, kBmpTruncated);
  }
  {
    BmpLayout s = Six24();
    s.pixelOffset = 20;
    refusedLayout("pixels inside the header", s, kBmpBroken);
  }
  {
    BmpLayout s = SixIndexed(8);
    s.palette.clear();
    s.colorsUsed = 0;
    refusedLayout("8-bit without a palette", s, kBmpBroken);
  }
  {
    BmpLayout s = SixIndexed(8);
    s.compression = 1;
    s.height = -2;
    s.pixels = Rle({0, 1});
    refusedLayout("RLE8 top-down", s, kBmpBroken);
  }
  {
    BmpLayout s = SixIndexed(4);
    s.compression = 1;
    s.pixels = Rle({0, 1});
    refusedLayout("RLE8 with 4 bits", s, kBmpBroken);
  }
  {
    BmpLayout s = SixIndexed(8);
    s.compression = 1;
    s.pixels = Rle({3, 1, 0, 0, 2, 2});
    refusedLayout("RLE8 without its end", s, kBmpTruncated);
  }
  {
    BmpLayout s = SixIndexed(8);
    s.compression = 1;
    s.pixels = Rle({0, 40, 1, 2, 3});
    refusedLayout("RLE8 literal past the end", s, kBmpTruncated);
  }
  {
    BmpLayout s = SixIndexed(8);
    s.compression = 1;
    s.width = 30000;
    s.height = 3000;
    s.pixels = Rle({0, 2, 255});
    refusedLayout("RLE8 move cut short", s, kBmpTruncated);
  }
  return cases;
}

}  // namespace tavisnap::testing
