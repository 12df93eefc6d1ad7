#include "capture/capture_geometry.h"

#include <gtest/gtest.h>

namespace tavisnap {
namespace {

// What a per-monitor-aware process sees of a 1920x1080 desktop (as the user sets it up)
// at the usual scale factors: every coordinate in physical pixels.
struct Scaling {
  int percent;
  int Physical(int logical) const { return logical * percent / 100; }
  ScreenPoint Physical(ScreenPoint p) const { return {Physical(p.x), Physical(p.y)}; }
};
const Scaling kScalings[] = {{100}, {125}, {150}, {200}};

TEST(DesktopCapture, TakesEveryPhysicalPixelOfThePrimaryDisplay) {
  const ScreenPoint expectedSize[] = {{1920, 1080}, {2400, 1350}, {2880, 1620}, {3840, 2160}};
  for (size_t i = 0; i < std::size(kScalings); ++i) {
    const Scaling& s = kScalings[i];
    CapturePlan plan = PlanDesktopCapture(s.Physical(1920), s.Physical(1080));
    EXPECT_EQ((ScreenPoint{plan.width, plan.height}), expectedSize[i]) << s.percent << "%";
    EXPECT_EQ(plan.source, (ScreenPoint{0, 0}));
    // The pointer on the last pixel of the display, an I-beam with its hot spot mid-image
    // (the cursor image grows with the scale too).
    ScreenPoint pointer{plan.width - 1, plan.height - 1};
    ScreenPoint hotSpot = s.Physical(ScreenPoint{8, 16});
    std::optional<ScreenPoint> at = PointerDrawOrigin(plan, pointer, hotSpot);
    ASSERT_TRUE(at);
    EXPECT_EQ(*at, (ScreenPoint{plan.width - 1 - hotSpot.x, plan.height - 1 - hotSpot.y}));
  }
}

TEST(WindowCapture, PutsThePointerOnTheSameSpotOfTheWindowAtEveryScale) {
  // An 800x600 window at (300, 200) with the pointer on its bottom-right corner button.
  for (const Scaling& s : kScalings) {
    ScreenPoint topLeft = s.Physical(ScreenPoint{300, 200});
    ScreenPoint bottomRight = s.Physical(ScreenPoint{1100, 800});
    CapturePlan plan =
        PlanWindowCapture(ScreenRect{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y},
                          s.Physical(1920), s.Physical(1080));
    EXPECT_EQ(plan.kind, CaptureKind::Window);
    EXPECT_EQ(plan.source, topLeft);
    EXPECT_EQ(plan.width, s.Physical(800)) << s.percent << "%";
    EXPECT_EQ(plan.height, s.Physical(600));

    std::optional<ScreenPoint> at =
        PointerDrawOrigin(plan, s.Physical(ScreenPoint{1080, 780}), ScreenPoint{0, 0});
    ASSERT_TRUE(at) << s.percent << "%";
    // 20 logical pixels in from the right and bottom edges, whatever the scale.
    EXPECT_EQ(plan.width - at->x, s.Physical(20));
    EXPECT_EQ(plan.height - at->y, s.Physical(20));
  }
}

// Why every value is taken in physical pixels: at 150 %, a DPI-unaware view reports the
// same window as 800x600 at (300, 200) while the screen copy and a physical pointer
// position are 1.5 times as far out.
TEST(WindowCapture, LogicalSizeWithPhysicalPositionsLosesThePointerAndTheWindow) {
  Scaling s{150};
  ScreenPoint pointer = s.Physical(ScreenPoint{1080, 780});  // on the window's corner button
  CapturePlan mixed = PlanWindowCapture(ScreenRect{450, 300, 450 + 800, 300 + 600}, 1920, 1080);
  EXPECT_FALSE(PointerDrawOrigin(mixed, pointer, ScreenPoint{0, 0}))
      << "the button lies beyond the short picture";
  CapturePlan physical = PlanWindowCapture(ScreenRect{450, 300, 1650, 1200}, 2880, 1620);
  EXPECT_TRUE(PointerDrawOrigin(physical, pointer, ScreenPoint{0, 0}));
  EXPECT_EQ(mixed.width * mixed.height * 9, physical.width * physical.height * 4)
      << "the logical size covers only 4/9 of the window";
}

TEST(WindowCapture, KeepsTheFullRectangleWhereverTheWindowLies) {
  // Half off the left edge, and on a second display left of and above the primary one.
  for (ScreenRect r : {ScreenRect{-300, 100, 500, 700}, ScreenRect{-1700, -900, -100, 300}}) {
    CapturePlan plan = PlanWindowCapture(r, 1920, 1080);
    EXPECT_EQ(plan.source, (ScreenPoint{r.left, r.top}));
    EXPECT_EQ(plan.width, r.right - r.left);
    EXPECT_EQ(plan.height, r.bottom - r.top);
    std::optional<ScreenPoint> at =
        PointerDrawOrigin(plan, ScreenPoint{r.left + 10, r.top + 20}, ScreenPoint{3, 4});
    ASSERT_TRUE(at);
    EXPECT_EQ(*at, (ScreenPoint{7, 16}));
  }
}

TEST(WindowCapture, DrawsThePointerOnlyWhileItsHotSpotIsInThePicture) {
  CapturePlan plan = PlanWindowCapture(ScreenRect{100, 50, 500, 350}, 1920, 1080);
  ScreenPoint hot{5, 5};
  EXPECT_TRUE(PointerDrawOrigin(plan, ScreenPoint{100, 50}, hot)) << "top-left pixel";
  EXPECT_TRUE(PointerDrawOrigin(plan, ScreenPoint{499, 349}, hot)) << "bottom-right pixel";
  EXPECT_EQ(*PointerDrawOrigin(plan, ScreenPoint{100, 50}, hot), (ScreenPoint{-5, -5}))
      << "an image hanging over the edge is drawn clipped";
  EXPECT_FALSE(PointerDrawOrigin(plan, ScreenPoint{500, 200}, hot)) << "right edge is outside";
  EXPECT_FALSE(PointerDrawOrigin(plan, ScreenPoint{300, 350}, hot)) << "bottom edge";
  EXPECT_FALSE(PointerDrawOrigin(plan, ScreenPoint{99, 200}, hot));
  EXPECT_FALSE(PointerDrawOrigin(plan, ScreenPoint{1500, 900}, hot)) << "elsewhere on screen";
}

TEST(WindowCapture, TakesTheDesktopWithoutAUsableWindow) {
  for (std::optional<ScreenRect> r :
       {std::optional<ScreenRect>{}, std::optional<ScreenRect>{ScreenRect{10, 10, 10, 50}},
        std::optional<ScreenRect>{ScreenRect{10, 60, 90, 20}}}) {
    CapturePlan plan = PlanWindowCapture(r, 2880, 1620);
    EXPECT_EQ(plan.kind, CaptureKind::Desktop);
    EXPECT_EQ(plan.source, (ScreenPoint{0, 0}));
    EXPECT_EQ(plan.width, 2880);
    EXPECT_EQ(plan.height, 1620);
  }
}

TEST(ScreenCopy, CopiesOnlyThePartOnTheDisplays) {
  // Two displays side by side: a 1920x1080 primary, a second one of 1280 to its left.
  ScreenRect screens{-1280, 0, 1920, 1080};
  auto copyOf = [&](ScreenRect window) {
    return OnScreenPart(PlanWindowCapture(window, 1920, 1080), screens);
  };
  std::optional<ScreenCopy> inside = copyOf(ScreenRect{-200, 100, 600, 700});
  ASSERT_TRUE(inside);
  EXPECT_EQ(inside->to, (ScreenPoint{0, 0}));
  EXPECT_EQ(inside->from, (ScreenPoint{-200, 100}));
  EXPECT_EQ(inside->width, 800);
  EXPECT_EQ(inside->height, 600);

  // Hanging over the right and bottom edges: the top-left 250x200 is on screen.
  std::optional<ScreenCopy> offRight = copyOf(ScreenRect{1670, 880, 2310, 1280});
  ASSERT_TRUE(offRight);
  EXPECT_EQ(offRight->to, (ScreenPoint{0, 0}));
  EXPECT_EQ(offRight->width, 250);
  EXPECT_EQ(offRight->height, 200);

  // Hanging over the left and top edges: the on-screen part lands further in.
  std::optional<ScreenCopy> offLeft = copyOf(ScreenRect{-1380, -50, -980, 250});
  ASSERT_TRUE(offLeft);
  EXPECT_EQ(offLeft->to, (ScreenPoint{100, 50}));
  EXPECT_EQ(offLeft->from, (ScreenPoint{-1280, 0}));
  EXPECT_EQ(offLeft->width, 300);
  EXPECT_EQ(offLeft->height, 250);

  EXPECT_FALSE(copyOf(ScreenRect{-32000, -32000, -31840, -31972})) << "a minimised window";
  EXPECT_TRUE(OnScreenPart(PlanDesktopCapture(1920, 1080), screens));
}

}  // namespace
}  // namespace tavisnap
