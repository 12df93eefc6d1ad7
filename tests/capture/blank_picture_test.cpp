#include "capture/blank_picture.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace tavisnap {
namespace {

// The arrow pointer as captures show it: white with a black outline, 12 x 19.
void DrawPointer(Picture& p, int x, int y) {
  for (int row = 0; row < 19; ++row) {
    for (int col = 0; col <= row && col < 12; ++col) {
      bool edge = col == 0 || col == row || row == 18;
      p.SetPixel(x + col, y + row, edge ? Rgb{0, 0, 0} : Rgb{255, 255, 255});
    }
  }
}

Picture Black(int width, int height) {
  return Picture(width, height);
}

// A desktop: wallpaper, a window with lines of text, and the taskbar.
Picture Desktop(Rgb wallpaper, Rgb taskbar) {
  Picture p(1920, 1080);
  p.Fill(wallpaper);
  p.FillRect(300, 200, 900, 600, Rgb{255, 255, 255});
  p.FillRect(300, 200, 900, 30, Rgb{0, 90, 180});
  for (int line = 250; line < 780; line += 20) {
    for (int x = 320; x < 1180; x += 9) p.FillRect(x, line, 6, 12, Rgb{20, 20, 20});
  }
  p.FillRect(0, 1040, 1920, 40, taskbar);
  DrawPointer(p, 800, 500);
  return p;
}

TEST(BlankPicture, OneColourOrNearlyIsBlankAndAnythingReadableIsNot) {
  const struct {
    const char* what;
    std::function<Picture()> make;
    bool blank;
  } cases[] = {
      {"black screen (screen curtain)", [] { return Black(1920, 1080); }, true},
      {"black screen with the pointer",
       [] {
         Picture p = Black(1920, 1080);
         DrawPointer(p, 960, 540);
         return p;
       },
       true},
      {"nearly black: noise of a few levels, the pointer",
       [] {
         Picture p(1920, 1080);
         for (int y = 0; y < 1080; ++y) {
           for (int x = 0; x < 1920; ++x) {
             uint8_t v = static_cast<uint8_t>((x * 7 + y * 13) % 9);
             p.SetPixel(x, y, Rgb{v, v, static_cast<uint8_t>(v + 2)});
           }
         }
         DrawPointer(p, 10, 10);
         return p;
       },
       true},
      {"white protected window",
       [] {
         Picture p(800, 600);
         p.Fill(Rgb{255, 255, 255});
         return p;
       },
       true},
      {"desktop",
       [] {
         return Desktop(Rgb{30, 90, 160}, Rgb{40, 40, 48});
       },
       false},
      {"black wallpaper, dark taskbar, no window",
       [] {
         Picture p = Black(1920, 1080);
         p.FillRect(0, 1040, 1920, 40, Rgb{40, 40, 40});
         return p;
       },
       false},
      {"one line of text on black",
       [] {
         Picture p = Black(1920, 1080);
         for (int x = 100; x < 1800; x += 9) p.FillRect(x, 500, 6, 12, Rgb{200, 200, 200});
         return p;
       },
       false},
      // One-pixel lines every fifth column: the lattice's step at this size.
      {"thin lines at the sampling period",
       [] {
         Picture p = Black(1920, 1080);
         for (int x = 1; x < 1920; x += 5) p.FillRect(x, 0, 1, 1080, Rgb{255, 255, 255});
         return p;
       },
       false},
      {"small: one pixel", [] { return Black(1, 1); }, true},
      {"small: 32 x 32, one pixel in 1024 differs",
       [] {
         Picture p = Black(32, 32);
         p.SetPixel(3, 3, Rgb{255, 0, 0});
         return p;
       },
       true},
      {"small: 10 x 10, one pixel in 100 differs",
       [] {
         Picture p = Black(10, 10);
         p.SetPixel(3, 3, Rgb{255, 0, 0});
         return p;
       },
       false},
  };
  for (const auto& c : cases) {
    BlankCheck check = CheckBlankPicture(c.make());
    EXPECT_EQ(check.blank, c.blank) << c.what << ": share " << check.share;
  }
  EXPECT_FALSE(CheckBlankPicture(Picture()).blank) << "empty";
}

TEST(BlankPicture, TheDominantColourIsTheFlatOne) {
  Picture p(640, 480);
  p.Fill(Rgb{200, 10, 10});
  p.FillRect(0, 0, 100, 100, Rgb{0, 0, 0});
  BlankCheck check = CheckBlankPicture(p);
  EXPECT_EQ(check.dominant, (Rgb{200, 10, 10}));
  EXPECT_NEAR(check.share, 1.0 - 100.0 * 100 / (640 * 480), 0.01);
  EXPECT_FALSE(check.blank);
}

}  // namespace
}  // namespace tavisnap
