#include <windows.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "capture/capture.h"
#include "capture/capture_geometry.h"
#include "core/app_error.h"
#include "core/file_util.h"
#include "imaging/jpeg_codec.h"
#include "imaging/picture.h"
#include "imaging/row_progress.h"
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

// The cursor to draw and where, read once so that every band draws the same pointer.
// Anything unreadable (no pointer position, hidden or unknown cursor) leaves the picture
// without a pointer.
struct Pointer {
  HCURSOR cursor = nullptr;
  ScreenPoint at;
};

std::optional<Pointer> FindPointer(const CapturePlan& plan) {
  POINT pos;
  if (!GetCursorPos(&pos)) return std::nullopt;
  CURSORINFO cursor{};
  cursor.cbSize = sizeof(cursor);
  if (!GetCursorInfo(&cursor) || cursor.hCursor == nullptr) return std::nullopt;
  IconBitmaps icon(cursor.hCursor);
  if (!icon.ok()) return std::nullopt;
  ScreenPoint hotSpot{static_cast<int>(icon.info().xHotspot),
                      static_cast<int>(icon.info().yHotspot)};
  std::optional<ScreenPoint> at =
      PointerDrawOrigin(plan, ScreenPoint{cursor.ptScreenPos.x, cursor.ptScreenPos.y}, hotSpot);
  if (!at) return std::nullopt;
  return Pointer{cursor.hCursor, *at};
}

// The screen copy in bands: while one band is copied, the encoder takes the rows of the
// bands before it into the Picture and encodes them, so that the copy and the encoding,
// about as long as each other, take the time of one.
constexpr int kBands = 8;

struct Grabbed {
  Picture picture;
  std::string jpeg;
};

// Copies the planned screen rectangle and the pointer into a Picture and encodes it.
// Parts of a window that lie outside the displays stay black (a DIB section starts
// zeroed).
Grabbed GrabAndEncode(HDC screen, const CapturePlan& plan) {
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
  std::optional<ScreenCopy> copy = OnScreenPart(plan, screenRect);
  std::optional<Pointer> pointer = FindPointer(plan);

  // A 24-bit top-down DIB has the Picture's layout, padding included.
  const auto* dibBytes = static_cast<const uint8_t*>(bits);
  RowProgress filled;
  Grabbed grabbed;
  bool encoded = false;
  RowWorker encoder(filled, [&] {
    try {
      grabbed.picture = Picture(plan.width, plan.height);
      const size_t stride = grabbed.picture.Stride();
      int taken = 0;
      grabbed.jpeg = EncodeJpegAsFilled(grabbed.picture, [&](int needed) {
        int rows = filled.WaitFor(needed);
        if (rows > taken) {
          std::memcpy(grabbed.picture.Row(taken), dibBytes + static_cast<size_t>(taken) * stride,
                      static_cast<size_t>(rows - taken) * stride);
          taken = rows;
        }
        return rows;
      });
      encoded = true;
    } catch (...) {  // told as a failed capture below
    }
  });
  bool copied = true;
  for (int band = 0; band < kBands && copied; ++band) {
    const int y0 = plan.height * band / kBands, y1 = plan.height * (band + 1) / kBands;
    if (copy) {
      const int from = std::max(y0, copy->to.y), to = std::min(y1, copy->to.y + copy->height);
      copied = to <= from || BitBlt(memory.get(), copy->to.x, from, copy->width, to - from, screen,
                                    copy->from.x, copy->from.y + (from - copy->to.y), SRCCOPY);
    }
    if (copied && pointer) {
      // Clipped to the band: the rows above it may already be in the encoder's hands.
      SaveDC(memory.get());
      IntersectClipRect(memory.get(), 0, y0, plan.width, y1);
      DrawIconEx(memory.get(), pointer->at.x, pointer->at.y, pointer->cursor, 0, 0, 0, nullptr,
                 DI_NORMAL | DI_DEFAULTSIZE);
      RestoreDC(memory.get(), -1);
    }
    GdiFlush();
    if (copied) filled.Publish(y1);
  }
  encoder.Join();  // the rows not copied are abandoned there
  if (!copied) throw AppError(kCaptureError);
  if (!encoded) throw AppError(kJpegWriteError);
  return grabbed;
}

std::optional<ScreenRect> WindowRect(HWND window) {
  RECT r;
  if (window == nullptr || !GetWindowRect(window, &r)) return std::nullopt;
  return ScreenRect{r.left, r.top, r.right, r.bottom};
}

std::string WindowTitle(HWND window) {
  wchar_t title[512] = {};
  if (window == nullptr || GetWindowTextW(window, title, 512) <= 0) return {};
  return Narrow(title);
}

// One window handle for the title and the rectangle: the window in front can change
// between two questions, and the receipt must name the window the picture shows.
CapturedPicture Capture(const std::string& fileName, std::optional<HWND> window) {
  CapturedPicture shot;
  Grabbed grabbed;
  if (window) {
    shot.window = *window;
    shot.windowTitle = WindowTitle(*window);
  }
  shot.front = window ? *window : GetForegroundWindow();
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  if (shot.front &&
      GetGUIThreadInfo(GetWindowThreadProcessId(static_cast<HWND>(shot.front), nullptr), &thread)) {
    shot.focus = thread.hwndFocus;
  }
  {
    PhysicalPixels physical;
    ScreenDc screen;
    if (!screen.get()) throw AppError(kCaptureError);
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    CapturePlan plan = window ? PlanWindowCapture(WindowRect(*window), width, height)
                              : PlanDesktopCapture(width, height);
    grabbed = GrabAndEncode(screen.get(), plan);
  }
  // Read back at once by the send panel, worthless after a crash: no flush to wait for.
  if (!AtomicWriteFile(fileName, grabbed.jpeg, FileDurability::kScratch)) {
    throw AppError(kJpegWriteError);
  }
  shot.picture = std::move(grabbed.picture);
  return shot;
}

}  // namespace

CapturedPicture CaptureDesktop(const std::string& fileName) {
  return Capture(fileName, std::nullopt);
}

CapturedPicture CaptureWindow(const std::string& fileName, WindowHandle window) {
  return Capture(fileName, static_cast<HWND>(window));
}

CapturedPicture CaptureActiveWindow(const std::string& fileName) {
  return Capture(fileName, GetForegroundWindow());
}

}  // namespace tavisnap
