// Pictures of a real screen: a window of colour blocks at a known place, captured whole
// and as the active window, read back from the JPEG file.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>

#include "capture/blank_picture.h"
#include "capture/capture.h"
#include "capture/test_window_win.h"
#include "core/app_error.h"
#include "core/capture_folder.h"
#include "core/define.h"
#include "imaging/jpeg_codec.h"
#include "support/driver_win.h"
#include "support/globals.h"

namespace tavisnap::testing {
namespace {

const bool kDpiAware = MakeProcessDpiAware();

// Flat areas of a quality-100 JPEG stay within a few levels of the screen's colours.
constexpr int kTolerance = 8;

int Difference(Rgb a, Rgb b) {
  return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

bool IsDark(Rgb c) {
  return c.r + c.g + c.b < 200;
}

// Dark pixels in a 24x24 square right and below the point (where an arrow is drawn).
int DarkPixelsFrom(const Picture& p, int x0, int y0) {
  int dark = 0;
  for (int y = std::max(y0, 0); y < std::min(y0 + 24, p.Height()); ++y) {
    for (int x = std::max(x0, 0); x < std::min(x0 + 24, p.Width()); ++x) {
      dark += IsDark(p.Pixel(x, y));
    }
  }
  return dark;
}

// One window for all tests: under Wine without a window manager, hiding or destroying the
// foreground window stalls for two seconds.
class ScreenCapture : public ::testing::Test {
 protected:
  static constexpr int kLeft = 200, kTop = 150;

  static void SetUpTestSuite() { shared_ = new BlockWindow(kLeft, kTop); }
  static void TearDownTestSuite() { delete shared_; }

  void SetUp() override {
    ResetGlobals();
    CaptureDir = MakeTempDir("capture-test") + "capture";
    CaptureFile = CaptureDir + "\\capture.jpg";
    ASSERT_NE(window.hwnd(), nullptr);
    window.MoveTo(kLeft, kTop);
    ASSERT_TRUE(window.Show(0)) << "the test window did not come up in front";
    PointerAway();
  }
  void TearDown() override {
    window.SetCursorShape(IDC_ARROW);
    ResetGlobals();
  }

  // Bottom right of the screen, outside the window.
  void PointerAway() { PointerAt(GetSystemMetrics(SM_CXSCREEN) - 60, 1000); }
  void PointerAt(int x, int y) {
    SetCursorPos(x, y);
    Pump(200ms);  // lets the window under the pointer set its cursor
  }

  // Checks the blocks' corners and centres in the picture, left of visibleRight.
  void ExpectBlocksAt(const Picture& p, POINT origin, const std::string& what,
                      int visibleRight = INT_MAX) {
    for (int i = 0; i < BlockWindow::kBlocks; ++i) {
      Block b = window.BlockAt(i);
      for (POINT at :
           {POINT{b.rect.left + 3, b.rect.top + 3}, POINT{b.rect.right - 4, b.rect.bottom - 4},
            POINT{(b.rect.left + b.rect.right) / 2, (b.rect.top + b.rect.bottom) / 2}}) {
        int x = origin.x + at.x, y = origin.y + at.y;
        if (x < 0 || y < 0 || x >= std::min(p.Width(), visibleRight) || y >= p.Height()) continue;
        EXPECT_LE(Difference(p.Pixel(x, y), b.colour), kTolerance)
            << what << ": block " << i << " at " << x << "," << y;
      }
    }
  }

  static inline BlockWindow* shared_ = nullptr;
  BlockWindow& window = *shared_;
};

TEST_F(ScreenCapture, TheDesktopPictureIsTheScreenAtItsSize) {
  EXPECT_TRUE(kDpiAware) << "per-monitor awareness could not be set";
  EnsureCaptureDir();
  CapturedPicture shot = CaptureDesktop(CaptureFile);
  EXPECT_FALSE(CheckBlankPicture(shot.picture).blank) << "a desktop with a window";
  EXPECT_EQ(shot.windowTitle, "");
  Picture p = ReadJpegFile(CaptureFile);
  EXPECT_EQ(p.Width(), shot.picture.Width());
  EXPECT_EQ(p.Width(), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(p.Height(), GetSystemMetrics(SM_CYSCREEN));
  ExpectBlocksAt(p, window.Origin(), "desktop");
  EXPECT_LE(Difference(p.Pixel(kLeft + 300, kTop + 300), Rgb{255, 255, 255}), kTolerance);
}

// A black window over the whole screen, as a screen curtain lays one.
TEST_F(ScreenCapture, ACurtainedScreenIsBlank) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = L"TavisnapTestCurtain";
  RegisterClassW(&wc);
  HWND curtain = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP,
                                 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                 nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(curtain, nullptr);
  ShowWindow(curtain, SW_SHOWNOACTIVATE);
  RedrawWindow(curtain, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW);
  Pump(300ms);
  EnsureCaptureDir();
  BlankCheck check = CheckBlankPicture(CaptureDesktop(CaptureFile).picture);
  ShowWindow(curtain, SW_HIDE);
  DestroyWindow(curtain);
  Pump(300ms);
  EXPECT_TRUE(check.blank) << "share " << check.share;
  EXPECT_TRUE(IsDark(check.dominant)) << int{check.dominant.r} << "," << int{check.dominant.g};
}

TEST_F(ScreenCapture, TheWindowPictureIsTheWindowAlone) {
  EnsureCaptureDir();
  CapturedPicture shot = CaptureActiveWindow(CaptureFile);
  EXPECT_EQ(shot.windowTitle, "capture blocks");
  EXPECT_EQ(shot.window, window.hwnd()) << "the handle of the window taken";
  Picture p = ReadJpegFile(CaptureFile);
  ASSERT_EQ(p.Width(), BlockWindow::kWidth);
  ASSERT_EQ(p.Height(), BlockWindow::kHeight);
  ExpectBlocksAt(p, POINT{0, 0}, "window");
  EXPECT_LE(Difference(p.Pixel(0, 0), Rgb{255, 255, 255}), kTolerance) << "window's own corner";
}

// The title and the picture come from the one window asked for, whichever is in front:
// the receipt used to name the window in front at one moment and show another's.
TEST_F(ScreenCapture, AWindowIsTakenWithItsOwnTitleAndSize) {
  HWND other = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"behind the blocks", WS_POPUP, 40, 60,
                               300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  ShowWindow(other, SW_SHOWNOACTIVATE);
  ASSERT_TRUE(window.Show(0)) << "the blocks are no longer in front";
  EnsureCaptureDir();
  CapturedPicture shot = CaptureWindow(CaptureFile, other);
  DestroyWindow(other);
  EXPECT_EQ(shot.window, other);
  EXPECT_EQ(shot.windowTitle, "behind the blocks");
  EXPECT_EQ(shot.picture.Width(), 300);
  EXPECT_EQ(shot.picture.Height(), 200);
}

// Dark pixels in 8x9 boxes left of, right of, above and below (x, y), 3 to 10 pixels out.
struct Arms {
  int left = 0, right = 0, up = 0, down = 0;
};
Arms DarkArms(const Picture& p, int x, int y) {
  Arms a;
  for (int out = 3; out <= 10; ++out) {
    for (int across = -4; across <= 4; ++across) {
      a.left += IsDark(p.Pixel(x - out, y + across));
      a.right += IsDark(p.Pixel(x + out, y + across));
      a.up += IsDark(p.Pixel(x + across, y - out));
      a.down += IsDark(p.Pixel(x + across, y + out));
    }
  }
  return a;
}

TEST_F(ScreenCapture, ThePointerIsDrawnWithItsHotSpotOnThePointer) {
  RECT white = BlockWindow::kWhiteArea;
  POINT o = window.Origin();
  POINT inWindow{white.left + 100, white.top + 60};
  POINT onScreen{o.x + inWindow.x, o.y + inWindow.y};
  EnsureCaptureDir();

  // The arrow's hot spot is its tip: the image lies right of and below the pointer.
  PointerAt(onScreen.x, onScreen.y);
  CURSORINFO info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetCursorInfo(&info));
  ASSERT_NE(info.hCursor, nullptr) << "the system reports no cursor image";
  CaptureActiveWindow(CaptureFile);
  Picture arrow = ReadJpegFile(CaptureFile);
  EXPECT_GE(DarkPixelsFrom(arrow, inWindow.x, inWindow.y), 10);
  EXPECT_EQ(DarkPixelsFrom(arrow, inWindow.x - 25, inWindow.y - 25), 0) << "nothing above-left";
  EXPECT_EQ(DarkPixelsFrom(arrow, inWindow.x + 200, inWindow.y), 0) << "white elsewhere";
  WriteJpegFile(OutputDir() + "\\pointer-arrow-window.jpg", arrow);

  // The cross has its hot spot in the middle: its arms reach out on all four sides. In the
  // 400-row window, row 300 is where two of the eighths the screen is copied in meet, so
  // the arms up and down are drawn in different bands.
  window.SetCursorShape(IDC_CROSS);
  PointerAt(onScreen.x + 1, onScreen.y);
  PointerAt(onScreen.x, onScreen.y);
  for (bool desktop : {false, true}) {
    if (desktop) {
      CaptureDesktop(CaptureFile);
    } else {
      CaptureActiveWindow(CaptureFile);
    }
    Picture cross = ReadJpegFile(CaptureFile);
    POINT at = desktop ? onScreen : inWindow;
    Arms arms = DarkArms(cross, at.x, at.y);
    EXPECT_GE(arms.left, 4) << "desktop " << desktop;
    EXPECT_GE(arms.right, 4) << "desktop " << desktop;
    EXPECT_GE(arms.up, 4) << "desktop " << desktop;
    EXPECT_GE(arms.down, 4) << "desktop " << desktop;
    WriteJpegFile(
        OutputDir() + (desktop ? "\\pointer-cross-desktop.jpg" : "\\pointer-cross-window.jpg"),
        cross);
  }
}

TEST_F(ScreenCapture, APointerOutsideTheWindowIsLeftOut) {
  POINT o = window.Origin();
  // Just left of the window: the arrow's image, drawn from its tip, would reach into it.
  PointerAt(o.x - 3, o.y + 300);
  EnsureCaptureDir();
  CaptureActiveWindow(CaptureFile);
  Picture p = ReadJpegFile(CaptureFile);
  EXPECT_EQ(DarkPixelsFrom(p, 0, 295), 0);

  PointerAt(o.x + 3, o.y + 300);  // and just inside it does show
  CaptureActiveWindow(CaptureFile);
  EXPECT_GE(DarkPixelsFrom(ReadJpegFile(CaptureFile), 0, 295), 10);
}

TEST_F(ScreenCapture, TwoCapturesLeaveOneFileHoldingTheSecondUntilItIsDeleted) {
  std::filesystem::path dir = std::filesystem::u8path(CaptureDir);
  EXPECT_FALSE(std::filesystem::exists(dir));
  EnsureCaptureDir();
  CaptureActiveWindow(CaptureFile);
  ASSERT_TRUE(window.Show(1));
  CaptureActiveWindow(CaptureFile);
  Picture p = ReadJpegFile(CaptureFile);
  ExpectBlocksAt(p, POINT{0, 0}, "second capture");
  auto files = std::distance(std::filesystem::directory_iterator(dir), {});
  EXPECT_EQ(files, 1);
  DeleteCaptureFile();
  EXPECT_FALSE(std::filesystem::exists(dir));
}

TEST_F(ScreenCapture, AWindowPartlyOffTheDisplayKeepsItsSize) {
  int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int onScreen = 250;
  window.MoveTo(screenWidth - onScreen, kTop);
  ASSERT_TRUE(window.Show(0));
  EnsureCaptureDir();
  CaptureActiveWindow(CaptureFile);
  Picture p = ReadJpegFile(CaptureFile);
  WriteJpegFile(OutputDir() + "\\partly-off-display.jpg", p);
  EXPECT_EQ(p.Width(), BlockWindow::kWidth);
  EXPECT_EQ(p.Height(), BlockWindow::kHeight);
  ExpectBlocksAt(p, POINT{0, 0}, "visible part", onScreen);
  Rgb outside = p.Pixel(BlockWindow::kWidth - 10, 100);
  EXPECT_TRUE(IsDark(outside)) << "off the display: " << int(outside.r) << "," << int(outside.g)
                               << "," << int(outside.b);
}

TEST_F(ScreenCapture, AWriteFailureLeavesThePreviousPicture) {
  EnsureCaptureDir();
  CaptureActiveWindow(CaptureFile);
  std::string before = ReadFileBytes(CaptureFile);
  // Another program holds the file open without sharing: it cannot be replaced.
  HANDLE lock = CreateFileW(std::filesystem::u8path(CaptureFile).c_str(), GENERIC_READ, 0, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(window.Show(1));
  EXPECT_THROW(CaptureActiveWindow(CaptureFile), AppError);
  CloseHandle(lock);
  EXPECT_EQ(ReadFileBytes(CaptureFile), before);
}

}  // namespace
}  // namespace tavisnap::testing
