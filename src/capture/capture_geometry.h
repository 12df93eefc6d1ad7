// Where a capture copies from and where the pointer goes in the picture. All values are
// in one coordinate space: physical screen pixels, which is what GetSystemMetrics,
// GetWindowRect and GetCursorPos report to a per-monitor-DPI-aware thread.
#pragma once

#include <optional>

namespace tavisnap {

struct ScreenPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

enum class CaptureKind { Desktop, Window };

// The screen rectangle to copy: the picture is width x height and its (0, 0) is the
// screen point source.
struct CapturePlan {
  CaptureKind kind = CaptureKind::Desktop;
  ScreenPoint source;
  int width = 0;
  int height = 0;
};

// The primary display from its top-left corner, at its size.
CapturePlan PlanDesktopCapture(int screenWidth, int screenHeight);

// The window's whole rectangle, also where it lies off the display. Without a window
// rectangle (no foreground window, or it cannot be read, or it is empty) the desktop is
// taken instead.
CapturePlan PlanWindowCapture(const std::optional<ScreenRect>& window, int screenWidth,
                              int screenHeight);

// A copy of width x height pixels from the screen point `from` to the picture point `to`.
struct ScreenCopy {
  ScreenPoint to;
  ScreenPoint from;
  int width = 0;
  int height = 0;
};

// The part of the plan that lies on the virtual screen (the rectangle around all
// displays), or nullopt when none does. Only that part is copied: a screen copy that
// reaches past the displays fails outright on some systems (Wine), and the rest of the
// picture stays black.
std::optional<ScreenCopy> OnScreenPart(const CapturePlan& plan, const ScreenRect& virtualScreen);

// Top-left corner, in picture coordinates, at which the cursor image is drawn so that its
// hot spot lies on the pointer. A window picture shows the pointer only while it lies
// inside the picture (nullopt otherwise); the desktop picture always draws it and lets
// the drawing clip.
std::optional<ScreenPoint> PointerDrawOrigin(const CapturePlan& plan, ScreenPoint pointer,
                                             ScreenPoint hotSpot);

}  // namespace tavisnap
