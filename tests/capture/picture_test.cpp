#include "capture/picture.h"

#include <gtest/gtest.h>

#include "core/app_error.h"

namespace tavisnap {
namespace {

// GDI draws the bytes as they are, so the layout is part of the contract.
TEST(Picture, HasTheLayoutOfATopDown24BitDib) {
  Picture p(5, 2);
  EXPECT_EQ(p.Stride(), 16u);  // 15 bytes of pixels, padded to 4
  EXPECT_EQ(p.SizeBytes(), 32u);
  EXPECT_EQ(Picture(4, 1).Stride(), 12u);
  p.SetPixel(1, 1, Rgb{10, 20, 30});
  const uint8_t* at = p.Data() + 16 + 3;  // second row, second pixel
  EXPECT_EQ(at[0], 30);                   // blue first
  EXPECT_EQ(at[1], 20);
  EXPECT_EQ(at[2], 10);
  EXPECT_EQ(p.Pixel(1, 1), (Rgb{10, 20, 30}));
  EXPECT_EQ(p.Pixel(0, 0), (Rgb{0, 0, 0})) << "starts black";
}

TEST(Picture, RefusesSizesBeyondTheLimits) {
  EXPECT_TRUE(IsSupportedPictureSize(32767, 3051));
  EXPECT_FALSE(IsSupportedPictureSize(32767, 3052));  // over 100 million pixels
  EXPECT_FALSE(IsSupportedPictureSize(32768, 1));
  EXPECT_FALSE(IsSupportedPictureSize(-1, 10));
  EXPECT_THROW(Picture(40000, 1), AppError);
  EXPECT_TRUE(Picture(0, 7).Empty());
}

}  // namespace
}  // namespace tavisnap
