// Times the way from a hotkey to the send panel ready on a Wine screen of 1920x1080 that
// shows the native benchmark's desktop of windows and text (a flat screen would flatter
// the codec): CaptureDesktop (screen copy in bands with the pointer, the JPEG encoder
// alongside, file replace), then the panel's read and decode of the file with the three
// smoothing passes alongside, and the fit of both previews; against a bare libjpeg-turbo
// encode + decode of the same frame (goal: at most 2). Also each stage on its own, one
// after the other, and the bare screen copy. Best of the runs, ours and the bare library
// alternating.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include <utility>
#include "bench/capture/bench_frame.h"
#include "capture/capture.h"
#include "capture/test_window_win.h"
#include "imaging/gradation.h"
#include "imaging/jpeg_codec.h"
#include "imaging/reduce_size.h"
#include "support/driver_win.h"

using namespace tavisnap;
using bench::Millis;

namespace {

void Best(double& best, double ms) {
  best = std::min(best, ms);
}

// What the platform's screen copy costs by itself: one BitBlt of the screen into a
// 24-bit DIB, without the pointer.
void BareScreenCopy(int width, int height) {
  testing::ScreenGrab copy(RECT{0, 0, width, height}, 24, true);
}

// A borderless window over the whole screen that shows the picture.
class ScreenPicture {
 public:
  explicit ScreenPicture(Picture picture) : picture_(std::move(picture)) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TavisnapBenchScreen";
    RegisterClassW(&wc);
    hwnd_ =
        CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0,
                        picture_.Width(), picture_.Height(), nullptr, nullptr, wc.hInstance, this);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    InvalidateRect(hwnd_, nullptr, FALSE);
    testing::Pump(std::chrono::milliseconds(500));
  }
  ~ScreenPicture() { DestroyWindow(hwnd_); }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<ScreenPicture*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg != WM_PAINT || !self) return DefWindowProcW(hwnd, msg, wp, lp);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    const Picture& p = self->picture_;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = p.Width();
    info.bmiHeader.biHeight = -p.Height();  // rows top-down, as the Picture keeps them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    SetDIBitsToDevice(dc, 0, 0, p.Width(), p.Height(), 0, 0, 0, p.Height(), p.Data(), &info,
                      DIB_RGB_COLORS);
    EndPaint(hwnd, &ps);
    return 0;
  }

  Picture picture_;
  HWND hwnd_ = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
  int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  testing::MakeProcessDpiAware();
  ScreenPicture shown(bench::ScreenLike());
  std::string file = testing::MakeTempDir("capture-bench") + "capture.jpg";
  CaptureDesktop(file);  // warm-up
  const Picture frame = ReadJpegFile(file);

  double capture = 1e9, encode = 1e9, write = 1e9, read = 1e9, decode = 1e9, smooth = 1e9,
         fit = 1e9, preview = 1e9, chain = 1e9, bare = 1e9, bareCopy = 1e9;
  size_t bytes = 0;
  for (int i = 0; i < runs; ++i) {
    PreviewPictures previews;
    Best(chain, Millis([&] {
           CaptureDesktop(file);
           previews = DecodePreview(ReadJpegBytes(file));
         }));
    Best(bare, Millis([&] { bench::BareDecode(bench::BareEncode(frame)); }));
    Best(bareCopy, Millis([&] { BareScreenCopy(frame.Width(), frame.Height()); }));
    if (previews.easy.width <= 0 || previews.detailed.width <= 0) {
      std::printf("error: no preview\n");
      return 1;
    }
    std::string jpeg;
    Picture decoded;
    Best(capture, Millis([&] { CaptureDesktop(file); }));
    Best(encode, Millis([&] { jpeg = EncodeJpeg(frame); }));
    Best(write, Millis([&] { WriteJpegFile(file, frame, FileDurability::kScratch); }));
    Best(read, Millis([&] { decoded = ReadJpegFile(file); }));
    Best(preview, Millis([&] { DecodePreview(ReadJpegBytes(file)); }));
    Best(decode, Millis([&] { decoded = DecodeJpeg(jpeg); }));
    Best(smooth, Millis([&] { SmoothPicture(decoded); }));
    Best(fit, Millis([&] {
           FitPreview(kEasyPreviewPanel.width, kEasyPreviewPanel.height, frame.Width(),
                      frame.Height());
           FitPreview(kDetailedPreviewPanel.width, kDetailedPreviewPanel.height, frame.Width(),
                      frame.Height());
         }));
    bytes = jpeg.size();
  }
  std::printf(
      "hotkey to send panel ready %dx%d under Wine (capture, encode, decode, smoothing, fit): "
      "%.1f ms, bare libjpeg-turbo encode + decode %.1f ms, ratio %.2f (goal <= 2), best of %d\n",
      frame.Width(), frame.Height(), chain, bare, chain / bare, runs);
  std::printf(
      "  CaptureDesktop %.1f ms; the panel's read, decode and smoothing %.1f ms; on their own: "
      "encode %.1f ms, file replace about %.1f ms, file read and decode %.1f ms (decode %.1f), "
      "smoothing (3 passes) %.1f ms, fit of both previews %.4f ms; file %zu bytes\n",
      capture, preview, encode, std::max(0.0, write - encode), read, decode, smooth, fit, bytes);
  std::printf(
      "  bare BitBlt of the screen %.1f ms; against bare BitBlt + encode + decode (%.1f ms) the "
      "way takes %.2f times as long\n",
      bareCopy, bareCopy + bare, chain / (bareCopy + bare));
  return 0;
}
