#include <gtest/gtest.h>

#include "core/app_error.h"
#include "imaging/gradation.h"
#include "imaging/jpeg_codec.h"
#include "imaging/picture.h"
#include "imaging/reduce_size.h"

namespace tavisnap {
namespace {

struct ScaleCase {
  const char* what;
  int pictureWidth, pictureHeight;
  int percent;
};

TEST(ReduceSize, ScaleInThe512By384Panel) {
  const ScaleCase cases[] = {
      {"smaller", 300, 200, 100},
      {"exactly the panel", 512, 384, 100},
      {"wider only", 1024, 300, 50},
      {"higher only", 400, 768, 50},
      {"both, height exceeds less: by the width", 1024, 768, 50},
      {"both, width exceeds less: by the height", 600, 1000, 38},
      {"equal excess: by the height", 612, 484, 79},
      {"truncated, not rounded", 1280, 720, 40},
      {"by the width although the height then overflows", 1000, 870, 51},
  };
  for (const ScaleCase& c : cases) {
    EXPECT_EQ(ReduceSize(512, 384, c.pictureWidth, c.pictureHeight), c.percent) << c.what;
  }
}

struct FitCase {
  const char* what;
  int panelWidth, panelHeight, pictureWidth, pictureHeight;
  PreviewPlacement placement;
};

TEST(FitPreview, ScaledAndCentred) {
  const FitCase cases[] = {
      {"1024 x 768 at 50 %", 512, 384, 1024, 768, {0, 0, 512, 384}},
      {"1280 at 40 % is 511 wide", 512, 384, 1280, 720, {0, 48, 511, 287}},
      {"a small picture keeps its size", 512, 384, 300, 200, {106, 92, 300, 200}},
      {"the detailed panel", 269, 296, 1024, 768, {1, 48, 266, 199}},
      {"overflow is centred too", 512, 384, 1000, 870, {1, -29, 510, 443}},
  };
  for (const FitCase& c : cases) {
    EXPECT_EQ(FitPreview(c.panelWidth, c.panelHeight, c.pictureWidth, c.pictureHeight), c.placement)
        << c.what;
  }
}

TEST(SmoothPicture, OneColourIsUnchanged) {
  Picture p(40, 30);
  p.Fill(Rgb{12, 200, 255});
  Picture before = p;
  SmoothPicture(p);
  EXPECT_EQ(p, before);
}

TEST(SmoothPicture, BordersAreUntouchedAndTooSmallPicturesLeftAlone) {
  Picture p(7, 5);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 7; ++x) {
      p.SetPixel(x, y, Rgb{uint8_t(x * x * 13), uint8_t(y * y * 29), uint8_t(x * y * 7)});
    }
  }
  Picture before = p;
  SmoothPicture(p);
  for (int x = 0; x < 7; ++x) {
    EXPECT_EQ(p.Pixel(x, 0), before.Pixel(x, 0));
    EXPECT_EQ(p.Pixel(x, 4), before.Pixel(x, 4));
  }
  for (int y = 0; y < 5; ++y) {
    EXPECT_EQ(p.Pixel(0, y), before.Pixel(0, y));
    EXPECT_EQ(p.Pixel(6, y), before.Pixel(6, y));
  }
  EXPECT_NE(p, before) << "the inner pixels do change";

  for (auto [w, h] : {std::pair{2, 9}, std::pair{9, 2}}) {
    Picture small(w, h);
    small.SetPixel(1, 1, Rgb{255, 0, 0});
    Picture copy = small;
    SmoothPicture(small);
    EXPECT_EQ(small, copy) << w << "x" << h;
  }
}

// Worked by hand: everything 0 but the first inner pixel, 200. Each pass reads the
// start of the pass: the first three inner pixels are 100, 25, 0 after pass 1, then
// 53, 25, 3, then 29, 19, 4.
TEST(SmoothPicture, ThreePassesEachReadingTheStartOfThePass) {
  Picture p(12, 3);
  p.SetPixel(1, 1, Rgb{200, 200, 200});
  SmoothPicture(p);
  EXPECT_EQ(p.Pixel(1, 1), (Rgb{29, 29, 29}));
  EXPECT_EQ(p.Pixel(2, 1), (Rgb{19, 19, 19}));
  EXPECT_EQ(p.Pixel(3, 1), (Rgb{4, 4, 4}));
  EXPECT_EQ(p.Pixel(4, 1), (Rgb{0, 0, 0}));
}

// The rule pixel by pixel against the smoothing, on pictures of odd widths whose rows end
// between two groups of channels, and heights from the smallest to more rows than the
// passes keep at a time.
TEST(SmoothPicture, EveryInnerPixelFollowsTheRule) {
  const struct {
    int width, height;
  } sizes[] = {{3, 3}, {37, 3}, {3, 37}, {4, 4}, {37, 5}, {37, 9}, {61, 17}};
  for (const auto& size : sizes) {
    const int w = size.width, h = size.height;
    Picture p(w, h);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        p.SetPixel(x, y,
                   Rgb{uint8_t(x * 97 + y * 13), uint8_t(x * x + y * 151), uint8_t(x ^ (y * 29))});
      }
    }
    Picture expected = p;
    for (int pass = 0; pass < 3; ++pass) {
      Picture start = expected;
      for (int y = 1; y < h - 1; ++y) {
        for (int x = 1; x < w - 1; ++x) {
          auto mix = [&](uint8_t Rgb::*c) {
            int n = (start.Pixel(x, y - 1).*c + start.Pixel(x + 1, y).*c +
                     start.Pixel(x, y + 1).*c + start.Pixel(x - 1, y).*c) /
                    4;
            return uint8_t((start.Pixel(x, y).*c + n) / 2);
          };
          expected.SetPixel(x, y, Rgb{mix(&Rgb::r), mix(&Rgb::g), mix(&Rgb::b)});
        }
      }
    }
    SmoothPicture(p);
    EXPECT_EQ(p, expected) << w << "x" << h;
  }
}

// The panel's previews, smoothed on a second thread behind the decoder, are those of the
// decoded picture smoothed afterwards; a file that breaks off is refused, however far
// the smoothing got.
TEST(DecodePreview, IsTheDecodedPictureSmoothed) {
  const struct {
    int width, height;
  } sizes[] = {{1, 1}, {2, 40}, {3, 3}, {640, 3}, {97, 130}, {1024, 768}};
  for (const auto& size : sizes) {
    Picture p(size.width, size.height);
    for (int y = 0; y < size.height; ++y) {
      for (int x = 0; x < size.width; ++x) {
        p.SetPixel(x, y, Rgb{uint8_t(x * 7 + y), uint8_t((x / 9 + y / 5) * 40), uint8_t(x ^ y)});
      }
    }
    std::string jpeg = EncodeJpeg(p);
    PreviewPictures expected = PictureGradation(DecodeJpeg(jpeg));
    PreviewPictures previews = DecodePreview(jpeg);
    EXPECT_EQ(previews.picture, expected.picture) << size.width << "x" << size.height;
    EXPECT_EQ(previews.easy, expected.easy);
    EXPECT_EQ(previews.detailed, expected.detailed);
    for (size_t cut : {size_t{0}, jpeg.size() / 2, jpeg.size() - 2}) {
      EXPECT_THROW(DecodePreview(jpeg.substr(0, cut)), AppError) << cut;
    }
  }
}

}  // namespace
}  // namespace tavisnap
