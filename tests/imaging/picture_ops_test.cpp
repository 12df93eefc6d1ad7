#include "imaging/picture_ops.h"

#include <gtest/gtest.h>

#include <random>

namespace tavisnap {
namespace {

Picture Noise(int width, int height, unsigned seed) {
  Picture p(width, height);
  std::mt19937 random(seed);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint32_t v = random();
      p.SetPixel(x, y, Rgb{uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16)});
    }
  }
  return p;
}

TEST(Rotation, TurnsA300By200PictureAQuarter) {
  Picture p = Noise(300, 200, 1);
  const Rgb topLeft = p.Pixel(0, 0), topRight = p.Pixel(299, 0);

  Picture right = Rotate(p, RotateDirection::Right);
  EXPECT_EQ(right.Width(), 200);
  EXPECT_EQ(right.Height(), 300);
  EXPECT_EQ(right.Pixel(199, 0), topLeft) << "former top left at the top right";

  Picture left = Rotate(p, RotateDirection::Left);
  EXPECT_EQ(left.Width(), 200);
  EXPECT_EQ(left.Height(), 300);
  EXPECT_EQ(left.Pixel(0, 0), topRight) << "former top right at the top left";

  for (RotateDirection d : {RotateDirection::Right, RotateDirection::Left}) {
    Picture turned = p;
    for (int i = 0; i < 4; ++i) turned = Rotate(turned, d);
    EXPECT_EQ(turned, p) << "four quarter turns give the picture back";
  }
}

// The block kernel works on 4 x 4 pixels in strips of 16 columns and fetches ahead by 64
// rows; sizes around those edges must move every pixel where one-at-a-time copying would.
TEST(Rotation, MovesEveryPixelAtAnySize) {
  const int sizes[][2] = {{1, 1},  {1, 70},  {70, 1},  {4, 4},  {5, 3},   {8, 12},
                          {15, 9}, {16, 64}, {17, 65}, {31, 5}, {33, 69}, {259, 6}};
  for (const auto& s : sizes) {
    const int w = s[0], h = s[1];
    Picture p = Noise(w, h, unsigned(w * 1000 + h));
    Picture right = Rotate(p, RotateDirection::Right);
    Picture left = Rotate(p, RotateDirection::Left);
    Picture wantRight(h, w), wantLeft(h, w);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        wantRight.SetPixel(h - 1 - y, x, p.Pixel(x, y));
        wantLeft.SetPixel(y, w - 1 - x, p.Pixel(x, y));
      }
    }
    EXPECT_EQ(right, wantRight) << w << "x" << h;  // padding bytes included
    EXPECT_EQ(left, wantLeft) << w << "x" << h;
  }
}

TEST(TwoColour, SplitsAtThePackedValue0xA00000) {
  const Rgb yellow{255, 255, 0}, black{0, 0, 0};
  struct Case {
    Rgb in;
    Rgb out;
  } cases[] = {
      {{255, 255, 255}, black}, {{0, 0, 0}, yellow},       {{0, 0, 255}, black},
      {{255, 0, 0}, yellow},    {{0, 0, 160}, yellow},     {{1, 0, 160}, black},
      {{0, 1, 160}, black},     {{255, 255, 159}, yellow}, {{0, 0, 161}, black},
  };
  // 37 pixels a row: two blocks of sixteen and a tail of five.
  for (const Case& c : cases) {
    Picture p(37, 2);
    p.Fill(c.in);
    MakeTwoColour(p);
    Picture want(37, 2);
    want.Fill(c.out);
    EXPECT_EQ(p, want) << int(c.in.r) << "," << int(c.in.g) << "," << int(c.in.b);
  }
}

TEST(TwoColour, DecidesEveryPixelOfAMixedPictureByItself) {
  Picture p = Noise(101, 9, 7);
  // Blue exactly 160 beside other pixels in the same block, with and without red and green.
  p.SetPixel(3, 0, Rgb{0, 0, 160});
  p.SetPixel(4, 0, Rgb{0, 7, 160});
  p.SetPixel(50, 4, Rgb{0, 0, 160});
  Picture want = p;
  for (int y = 0; y < want.Height(); ++y) {
    for (int x = 0; x < want.Width(); ++x) {
      Rgb c = want.Pixel(x, y);
      uint32_t packed = uint32_t{c.b} * 65536 + uint32_t{c.g} * 256 + c.r;
      want.SetPixel(x, y, packed <= 0xA00000 ? Rgb{255, 255, 0} : Rgb{0, 0, 0});
    }
  }
  MakeTwoColour(p);
  EXPECT_EQ(p, want);
}

TEST(Invert, InvertsEachChannelAndTwiceGivesThePictureBack) {
  Picture p = Noise(13, 5, 3);  // rows padded by one byte
  Picture once = p;
  Invert(once);
  EXPECT_EQ(once.Pixel(6, 2).r, 255 - p.Pixel(6, 2).r);
  EXPECT_EQ(once.Pixel(12, 4).b, 255 - p.Pixel(12, 4).b);
  EXPECT_EQ(once.Row(0)[39], 0) << "padding stays zero";
  Invert(once);
  EXPECT_EQ(once, p);
}

}  // namespace
}  // namespace tavisnap
