#include "viewer/zoom.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>

#include "core/app_error.h"

namespace tavisnap {
namespace {

TEST(Zoom, SidesAreTruncatedInExtendedPrecision) {
  const struct {
    int side, level;
    int64_t want;
  } cases[] = {
      {1000, -9, 99},  // 0.1 in extended is a hair above a tenth: 1 - 0.9 falls below 0.1
      {1000, 0, 1000}, {1000, 10, 2000}, {1000, 50, 6000}, {300, 10, 600},
      {640, -5, 320},  {10, 1, 11},      {3, -9, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ZoomedSide(c.side, c.level), c.want) << c.side << " at " << c.level;
  }
}

// Against the processor's own 80-bit arithmetic, where long double is that format.
TEST(Zoom, MatchesTheX87FormatForEverySideAndLevel) {
  if constexpr (std::numeric_limits<long double>::digits != 64) {
    GTEST_SKIP() << "long double is not the 80-bit format here";
  } else {
    for (int level = kMinZoomLevel; level <= kMaxZoomLevel; ++level) {
      const long double scale = 1 + level * 0.1L;
      for (int side = 0; side <= kMaxPictureSide; ++side) {
        const int64_t want = static_cast<int64_t>(side * scale);
        if (ZoomedSide(side, level) != want) {
          FAIL() << side << " at level " << level << ": " << ZoomedSide(side, level)
                 << " instead of " << want;
        }
      }
    }
  }
}

TEST(Zoom, ThinPicturesKeepOnePixel) {
  EXPECT_EQ(ZoomedSize(1000, 3, -9), (PictureSize{99, 1}));
  EXPECT_EQ(ZoomedSize(0, 0, 10), (PictureSize{0, 0}));
}

Picture Row(std::initializer_list<uint32_t> colours) {
  Picture p(static_cast<int>(colours.size()), 1);
  int x = 0;
  for (uint32_t c : colours) p.SetPixel(x++, 0, Rgb{uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
  return p;
}

std::vector<uint32_t> Colours(const Picture& p, int y = 0) {
  std::vector<uint32_t> out;
  for (int x = 0; x < p.Width(); ++x) {
    Rgb c = p.Pixel(x, y);
    out.push_back(uint32_t{c.r} << 16 | uint32_t{c.g} << 8 | c.b);
  }
  return out;
}

TEST(Stretch, ReducingAndsTheSourcePixelsOfEachOutputPixel) {
  // 10 -> 3: output pixels take source pixels 0-3, 4-6 and 7-9.
  Picture p = Row({0xFFFFFF, 0xF0F0F0, 0x3C3CFF, 0xFFFF3C, 0x123456, 0xFFFFFF, 0xFFFFFF, 0x0F0F0F,
                   0xFFFFFF, 0xF0FFFF});
  Picture small = StretchBlackOnWhite(p, 3, 1);
  EXPECT_EQ(Colours(small),
            (std::vector<uint32_t>{0xF0F0F0 & 0x3C3CFF & 0xFFFF3C, 0x123456, 0x0F0F0F & 0xF0FFFF}));

  // Vertically as well: black wins over white in a 2 x 2 block.
  Picture block(2, 2);
  block.Fill(Rgb{255, 255, 255});
  block.SetPixel(1, 1, Rgb{0, 0, 0});
  EXPECT_EQ(StretchBlackOnWhite(block, 1, 1).Pixel(0, 0), (Rgb{0, 0, 0}));
}

TEST(Stretch, EnlargingRepeatsPixels) {
  Picture p = Row({0x102030, 0x405060, 0x708090});
  EXPECT_EQ(Colours(StretchBlackOnWhite(p, 6, 1)),
            (std::vector<uint32_t>{0x102030, 0x102030, 0x405060, 0x405060, 0x708090, 0x708090}));
  EXPECT_EQ(Colours(StretchBlackOnWhite(p, 4, 1)),
            (std::vector<uint32_t>{0x102030, 0x102030, 0x405060, 0x708090}));
  Picture tall = StretchBlackOnWhite(p, 3, 3);
  EXPECT_EQ(Colours(tall, 2), Colours(p));
}

// Every output pixel by the rule itself, against the row-wise implementation.
TEST(Stretch, FollowsThePixelRuleAtAnySize) {
  std::mt19937 random(3);
  const int sizes[][4] = {{7, 5, 16, 11}, {16, 11, 7, 5}, {1, 1, 9, 4}, {9, 4, 1, 1},
                          {40, 3, 44, 3}, {33, 21, 3, 2}, {5, 5, 5, 5}, {4, 9, 13, 29}};
  for (const auto& s : sizes) {
    Picture p(s[0], s[1]);
    for (int y = 0; y < s[1]; ++y) {
      for (int x = 0; x < s[0]; ++x) {
        uint32_t v = random();
        p.SetPixel(x, y, Rgb{uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16)});
      }
    }
    Picture want(s[2], s[3]);
    // The source pixels of output pixel d of a side of `from` going to `to`.
    auto sources = [](int d, int from, int to) {
      std::vector<int> out;
      if (to >= from) return std::vector<int>{int(int64_t{d} * from / to)};
      for (int i = 0; i < from; ++i) {
        if (int64_t{i} * to / from == d) out.push_back(i);
      }
      return out;
    };
    for (int y = 0; y < s[3]; ++y) {
      for (int x = 0; x < s[2]; ++x) {
        Rgb c{255, 255, 255};
        for (int sy : sources(y, s[1], s[3])) {
          for (int sx : sources(x, s[0], s[2])) {
            Rgb q = p.Pixel(sx, sy);
            c = Rgb{uint8_t(c.r & q.r), uint8_t(c.g & q.g), uint8_t(c.b & q.b)};
          }
        }
        want.SetPixel(x, y, c);
      }
    }
    EXPECT_EQ(StretchBlackOnWhite(p, s[2], s[3]), want)
        << s[0] << "x" << s[1] << " to " << s[2] << "x" << s[3];
  }
}

// A picture remade in the memory of the one it held before: stale bytes, padding included,
// leave no trace, whether the memory is kept (same or somewhat smaller) or replaced.
TEST(Stretch, IntoAnEarlierPictureGivesTheFreshResult) {
  Picture source(13, 7);
  for (int y = 0; y < 7; ++y) {
    for (int x = 0; x < 13; ++x) source.SetPixel(x, y, Rgb{uint8_t(x * 19), uint8_t(y * 37), 90});
  }
  const int sizes[][4] = {{26, 14, 26, 14}, {26, 14, 23, 13}, {23, 13, 25, 14},
                          {26, 14, 5, 3},   {5, 3, 26, 14},   {13, 7, 11, 7}};
  for (const auto& s : sizes) {
    Picture out = StretchBlackOnWhite(source, s[0], s[1]);
    std::memset(out.Data(), 0xAB, out.SizeBytes());  // memory as an earlier step left it
    StretchBlackOnWhite(source, s[2], s[3], out);
    EXPECT_EQ(out, StretchBlackOnWhite(source, s[2], s[3]))
        << s[0] << "x" << s[1] << " then " << s[2] << "x" << s[3];
  }
  Picture kept = StretchBlackOnWhite(source, 26, 14);
  EXPECT_THROW(StretchBlackOnWhite(source, kMaxPictureSide + 1, 1, kept), AppError);
  EXPECT_EQ(kept, StretchBlackOnWhite(source, 26, 14));
}

// Bands in any order, then the rest: each row as the whole stretch makes it, padding
// included, whether or not the row above it is rendered yet, and rows not asked for left as
// the memory held them.
TEST(LazyStretch, RendersBandsInAnyOrderAsTheWholeStretchDoes) {
  std::mt19937 random(5);
  Picture source(37, 23);  // most zoomed widths leave row padding
  for (int y = 0; y < 23; ++y) {
    for (int x = 0; x < 37; ++x) {
      uint32_t v = random();
      source.SetPixel(x, y, Rgb{uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16)});
    }
  }
  for (int level : {-9, -1, 0, 1, 10}) {
    const PictureSize size = ZoomedSize(37, 23, level);
    const int w = static_cast<int>(size.width), h = static_cast<int>(size.height);
    const Picture whole = StretchBlackOnWhite(source, w, h);
    Picture out(w, h);
    std::memset(out.Data(), 0xAB, out.SizeBytes());  // as an earlier picture left the memory
    LazyStretch stretch;
    stretch.Start(source, w, h, out);
    const int bands[][2] = {{h / 2, h / 2 + 1}, {h / 2 - 1, h / 2}, {h / 2 + 1, h + 9}, {-5, 1}};
    for (const auto& band : bands) stretch.Render(band[0], band[1]);
    for (int y = 0; y < h; ++y) {
      const bool asked = y == 0 || y >= h / 2 - 1;
      const std::vector<uint8_t> stale(out.Stride(), 0xAB);
      const uint8_t* want = asked ? whole.Row(y) : stale.data();
      EXPECT_EQ(std::memcmp(out.Row(y), want, out.Stride()), 0)
          << "level " << level << " row " << y;
    }
    stretch.Complete();
    EXPECT_EQ(out, whole) << "level " << level;
  }
}

}  // namespace
}  // namespace tavisnap
