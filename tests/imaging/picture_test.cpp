#include "imaging/picture.h"

#include <gtest/gtest.h>

#include <climits>

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

// Pixels set by FillRect on a 4x4 picture, row by row ("#" filled).
std::string Filled(int x, int y, int width, int height) {
  Picture p(4, 4);
  p.FillRect(x, y, width, height, Rgb{1, 2, 3});
  std::string rows;
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 4; ++col) rows += p.Pixel(col, row) == Rgb{1, 2, 3} ? '#' : '.';
    rows += row < 3 ? "/" : "";
  }
  return rows;
}

TEST(Picture, FillRectClipsEvenTheMostExtremeRectangles) {
  constexpr const char* kNone = "..../..../..../....";
  constexpr const char* kAll = "####/####/####/####";
  struct Case {
    int x, y, width, height;
    const char* rows;
  } cases[] = {
      {1, 1, 2, 1, "..../.##./..../...."},
      {-2, 3, 3, 5, "..../..../..../#..."},
      {3, -1, 9, 2, "...#/..../..../...."},
      {INT_MIN, 0, -1, 1, kNone},  // x + width below INT_MIN
      {0, INT_MIN, 1, -1, kNone},
      {INT_MIN, INT_MIN, INT_MAX, INT_MAX, kNone},
      {INT_MIN, 0, INT_MAX, 4, kNone},  // ends at -1
      {-1, -1, INT_MAX, INT_MAX, kAll},
      {INT_MAX, INT_MAX, INT_MAX, INT_MAX, kNone},
      {3, 3, INT_MAX, INT_MAX, "..../..../..../...#"},
      {0, 0, INT_MIN, INT_MIN, kNone},
      {2, 2, -1, -1, kNone},
      {0, 0, 0, 4, kNone},
      {4, 0, 1, 4, kNone},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Filled(c.x, c.y, c.width, c.height), c.rows)
        << c.x << "," << c.y << " " << c.width << "x" << c.height;
  }
  Picture empty;
  empty.FillRect(INT_MIN, INT_MIN, -1, -1, Rgb{});
  EXPECT_EQ(empty.SizeBytes(), 0u);
}

}  // namespace
}  // namespace tavisnap
