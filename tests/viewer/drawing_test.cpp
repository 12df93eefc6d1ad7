#include "viewer/drawing.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>

namespace tavisnap {
namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kRed{255, 0, 0};

Picture White(int w, int h) {
  Picture p(w, h);
  p.Fill(kWhite);
  return p;
}

// The pixels a drawing changed, as a picture of '#' and '.'.
std::string Changed(const Picture& before, const Picture& after) {
  std::string out;
  for (int y = 0; y < after.Height(); ++y) {
    for (int x = 0; x < after.Width(); ++x)
      out += before.Pixel(x, y) == after.Pixel(x, y) ? '.' : '#';
    out += '\n';
  }
  return out;
}

TEST(FreehandDot, IsAPlusOfFivePixelsClippedAtTheEdges) {
  struct Case {
    PixelPoint at;
    const char* want;
    PixelRect changed;
  } cases[] = {
      {{2, 1}, "..#..\n.###.\n..#..\n", {1, 0, 4, 3}},
      {{0, 0}, "##...\n#....\n.....\n", {0, 0, 2, 2}},
      {{4, 2}, ".....\n....#\n...##\n", {3, 1, 5, 3}},
      {{-1, 1}, ".....\n#....\n.....\n", {0, 1, 1, 2}},
      {{5, 3}, ".....\n.....\n.....\n", {}},
      {{INT_MAX, INT_MIN}, ".....\n.....\n.....\n", {}},
  };
  for (const Case& c : cases) {
    Picture p = White(5, 3), before = p;
    EXPECT_EQ(DrawPlusDot(p, c.at, kRed), c.changed) << c.at.x << "," << c.at.y;
    EXPECT_EQ(Changed(before, p), c.want) << c.at.x << "," << c.at.y;
  }
}

TEST(Shapes, AreDrawnWithARoundPenOfWidthFive) {
  Picture p = White(14, 9), before = p;
  DrawShape(p, Shape::Line, {4, 4}, {9, 4}, kPenWidth, PenMode::Copy, kRed);
  EXPECT_EQ(Changed(before, p),
            "..............\n"
            "..............\n"
            "...########...\n"  // 2 rows off the path: the caps reach 1.5 pixels beyond
            "..##########..\n"
            "..##########..\n"  // the path, 4 to 9, and 2.5 pixels either side
            "..##########..\n"
            "...########...\n"
            "..............\n"
            "..............\n");
  EXPECT_EQ(p.Pixel(6, 4), kRed);
}

TEST(Shapes, TakeTheRectangleWithoutItsLastColumnAndRow) {
  // From (3, 3) to (12, 13): the path runs through columns 3 and 11, rows 3 and 12.
  Picture p = White(16, 17), before = p;
  PixelRect changed =
      DrawShape(p, Shape::Rectangle, {12, 13}, {3, 3}, kPenWidth, PenMode::Copy, kRed);
  EXPECT_EQ(changed, (PixelRect{1, 1, 14, 15}));
  EXPECT_EQ(p.Pixel(3, 8), kRed);
  EXPECT_EQ(p.Pixel(11, 8), kRed);
  EXPECT_EQ(p.Pixel(13, 8), kRed) << "half the pen outside the path";
  EXPECT_EQ(p.Pixel(14, 8), kWhite);
  EXPECT_EQ(p.Pixel(7, 8), kWhite) << "not filled";
  EXPECT_EQ(p.Pixel(7, 12), kRed);

  Picture e = White(16, 17);
  DrawShape(e, Shape::Ellipse, {3, 3}, {12, 13}, kPenWidth, PenMode::Copy, kRed);
  EXPECT_EQ(e.Pixel(7, 3), kRed) << "top of the inscribed ellipse";
  EXPECT_EQ(e.Pixel(3, 8), kRed) << "its left end";
  EXPECT_EQ(e.Pixel(7, 8), kWhite) << "not filled";
  EXPECT_EQ(e.Pixel(1, 1), kWhite) << "the corner lies outside";
}

TEST(Shapes, WithNothingToSpanDrawNothing) {
  const struct {
    Shape shape;
    PixelPoint a, b;
  } cases[] = {
      {Shape::Line, {5, 5}, {5, 5}},
      {Shape::Rectangle, {5, 5}, {5, 9}},
      {Shape::Rectangle, {2, 7}, {9, 7}},
      {Shape::Ellipse, {5, 5}, {5, 5}},
  };
  for (const auto& c : cases) {
    Picture p = White(12, 12), before = p;
    EXPECT_TRUE(DrawShape(p, c.shape, c.a, c.b, kPenWidth, PenMode::Invert, kRed).Empty());
    EXPECT_EQ(p, before);
  }
}

// The rubber band: drawing the same figure twice inverts every pixel twice, also when the
// figure reaches far outside the picture.
TEST(Shapes, InvertedTwiceLeaveThePictureAsItWas) {
  std::mt19937 random(5);
  Picture p(40, 30);
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 40; ++x) p.SetPixel(x, y, Rgb{uint8_t(random()), uint8_t(x), uint8_t(y)});
  }
  const PixelPoint points[][2] = {
      {{3, 4}, {35, 20}},
      {{20, 15}, {21, 16}},
      {{-50, 10}, {90, 12}},
      {{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}},
      {{INT_MAX, 3}, {INT_MIN, 27}},
      {{10, 10}, {11, 29}},
      {{39, 0}, {0, 29}},
  };
  for (Shape shape : {Shape::Line, Shape::Rectangle, Shape::Ellipse}) {
    for (const auto& pts : points) {
      Picture work = p;
      PixelRect first = DrawShape(work, shape, pts[0], pts[1], kPenWidth, PenMode::Invert, {});
      PixelRect second = DrawShape(work, shape, pts[0], pts[1], kPenWidth, PenMode::Invert, {});
      EXPECT_EQ(first, second);
      EXPECT_EQ(work, p) << int(shape) << ": " << pts[0].x << "," << pts[0].y << " " << pts[1].x
                         << "," << pts[1].y;
    }
  }
  Picture work = p;
  DrawShape(work, Shape::Line, {3, 4}, {35, 20}, kPenWidth, PenMode::Invert, {});
  EXPECT_NE(work, p) << "one drawing does change it";
}

}  // namespace
}  // namespace tavisnap
