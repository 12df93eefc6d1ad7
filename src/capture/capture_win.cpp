#include <windows.h>

#include <cstring>
#include <optional>

#include "capture/capture.h"
#include "capture/capture_geometry.h"
#include "capture/jpeg_codec.h"
#include "capture/picture.h"
#include "core/app_error.h"
#include "win/gdi_handles_win.h"
#include "win/text_win.h"

namespace tavisnap {
namespace {

// The screen size, the window rectangle, the pointer and the screen DC must all speak
// physical pixels; mixing in DPI-virtualised values would cut the picture short or put
// the pointer in the wrong place. The program is per-monitor aware by its manifest; a
// thread that is not is switched for the capture (per-monitor v1 where v2 is unknown, as
// in Wine 8). Loaded by name: older systems lack it.
class PhysicalPixels {
 public:
  PhysicalPixels() {
    set_ = reinterpret_cast<SetContext>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")));
    if (!set_) return;
    old_ = set_(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    if (!old_) old_ = set_(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
  }
  ~PhysicalPixels() {
    if (set_ && old_) set_(old_);
  }
  PhysicalPixels(const PhysicalPixels&) = delete;
  PhysicalPixels& operator=(const PhysicalPixels&) = delete;

 private:
  using SetContext = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);
  SetContext set_ = nullptr;
  DPI_AWARENESS_CONTEXT old_ = nullptr;
};

// Draws the current cursor image with its hot spot on the pointer. Anything unreadable
// (no pointer position, hidden or unknown cursor) leaves the picture without a pointer.
void DrawPointer(HDC dc, const CapturePlan& plan) {
  POINT pos;
  if (!GetCursorPos(&pos)) return;
  CURSORINFO cursor{};
  cursor.cbSize = sizeof(cursor);
  if (!GetCursorInfo(&cursor) || cursor.hCursor == nullptr) return;
  IconBitmaps icon(cursor.hCursor);
  if (!icon.ok()) return;
  ScreenPoint hotSpot{static_cast<int>(icon.info().xHotspot),
                      static_cast<int>(icon.info().yHotspot)};
  std::optional<ScreenPoint> at =
      PointerDrawOrigin(plan, ScreenPoint{cursor.ptScreenPos.x, cursor.ptScreenPos.y}, hotSpot);
  if (!at) return;
  DrawIconEx(dc, at->x, at->y, cursor.hCursor, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
}

// Copies the planned screen rectangle and the pointer into a Picture. Parts of a window
// that lie outside the displays stay black (a DIB section starts zeroed).
Picture Grab(HDC screen, const CapturePlan& plan) {
  Picture picture(plan.width, plan.height);
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
  bmi.bmiHeader.biWidth = plan.width;
  bmi.bmiHeader.biHeight = -plan.height;  // top-down, the Picture's row order
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 24;
  bmi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  GdiObject<HBITMAP> dib(CreateDIBSection(screen, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
  MemoryDc memory(screen);
  if (!dib.get() || !bits || !memory.get() || !memory.Select(dib.get())) {
    throw AppError(kCaptureError);
  }
  int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  ScreenRect screenRect{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                        top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  if (std::optional<ScreenCopy> copy = OnScreenPart(plan, screenRect)) {
    if (!BitBlt(memory.get(), copy->to.x, copy->to.y, copy->width, copy->height, screen,
                copy->from.x, copy->from.y, SRCCOPY)) {
      throw AppError(kCaptureError);
    }
  }
  DrawPointer(memory.get(), plan);
  GdiFlush();
  // A 24-bit top-down DIB has the Picture's layout, padding included.
  std::memcpy(picture.Data(), bits, picture.SizeBytes());
  return picture;
}

std::optional<ScreenRect> ForegroundWindowRect() {
  HWND window = GetForegroundWindow();
  RECT r;
  if (window == nullptr || !GetWindowRect(window, &r)) return std::nullopt;
  return ScreenRect{r.left, r.top, r.right, r.bottom};
}

std::string ForegroundWindowTitle() {
  HWND window = GetForegroundWindow();
  wchar_t title[512] = {};
  if (window == nullptr || GetWindowTextW(window, title, 512) <= 0) return {};
  return Narrow(title);
}

CapturedPicture Capture(const std::string& fileName, bool activeWindow) {
  CapturedPicture shot;
  Picture& picture = shot.picture;
  if (activeWindow) shot.windowTitle = ForegroundWindowTitle();
  {
    PhysicalPixels physical;
    ScreenDc screen;
    if (!screen.get()) throw AppError(kCaptureError);
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    CapturePlan plan = activeWindow ? PlanWindowCapture(ForegroundWindowRect(), width, height)
                                    : PlanDesktopCapture(width, height);
    picture = Grab(screen.get(), plan);
  }
  WriteJpegFile(fileName, picture);
  return shot;
}

}  // namespace

CapturedPicture CaptureDesktop(const std::string& fileName) {
  return Capture(fileName, false);
}

CapturedPicture CaptureActiveWindow(const std::string& fileName) {
  return Capture(fileName, true);
}

}  // namespace tavisnap
