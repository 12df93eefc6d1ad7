#include "capture/capture_geometry.h"

#include <algorithm>

namespace tavisnap {

CapturePlan PlanDesktopCapture(int screenWidth, int screenHeight) {
  return CapturePlan{CaptureKind::Desktop, ScreenPoint{0, 0}, screenWidth, screenHeight};
}

CapturePlan PlanWindowCapture(const std::optional<ScreenRect>& window, int screenWidth,
                              int screenHeight) {
  if (!window || window->right <= window->left || window->bottom <= window->top) {
    return PlanDesktopCapture(screenWidth, screenHeight);
  }
  return CapturePlan{CaptureKind::Window, ScreenPoint{window->left, window->top},
                     window->right - window->left, window->bottom - window->top};
}

std::optional<ScreenCopy> OnScreenPart(const CapturePlan& plan, const ScreenRect& virtualScreen) {
  int left = std::max(plan.source.x, virtualScreen.left);
  int top = std::max(plan.source.y, virtualScreen.top);
  int right = std::min(plan.source.x + plan.width, virtualScreen.right);
  int bottom = std::min(plan.source.y + plan.height, virtualScreen.bottom);
  if (right <= left || bottom <= top) return std::nullopt;
  return ScreenCopy{ScreenPoint{left - plan.source.x, top - plan.source.y}, ScreenPoint{left, top},
                    right - left, bottom - top};
}

std::optional<ScreenPoint> PointerDrawOrigin(const CapturePlan& plan, ScreenPoint pointer,
                                             ScreenPoint hotSpot) {
  ScreenPoint inPicture{pointer.x - plan.source.x, pointer.y - plan.source.y};
  if (plan.kind == CaptureKind::Window) {
    bool inside = inPicture.x >= 0 && inPicture.x < plan.width && inPicture.y >= 0 &&
                  inPicture.y < plan.height;
    if (!inside) return std::nullopt;
  }
  return ScreenPoint{inPicture.x - hotSpot.x, inPicture.y - hotSpot.y};
}

}  // namespace tavisnap
