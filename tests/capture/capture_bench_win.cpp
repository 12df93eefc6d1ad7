// Times the way from a hotkey to the send panel ready on a Wine screen of 1920x1080:
// CaptureDesktop (screen copy, pointer, JPEG encode, file replace), then the panel's read
// and decode of the file, the three smoothing passes and the fit of both previews;
// against a bare libjpeg-turbo encode + decode of the same frame (goal: at most 2). Also
// each stage on its own. Best of the runs, ours and the bare library alternating.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/capture/bench_frame.h"
#include "capture/capture.h"
#include "capture/gradation.h"
#include "capture/jpeg_codec.h"
#include "capture/reduce_size.h"
#include "capture/test_window_win.h"
#include "support/driver_win.h"

using namespace tavisnap;
using bench::Millis;

namespace {

void Best(double& best, double ms) {
  best = std::min(best, ms);
}

}  // namespace

int main(int argc, char** argv) {
  int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  testing::MakeProcessDpiAware();
  testing::BlockWindow window(200, 150);
  window.Show(0);
  std::string file = testing::MakeTempDir("capture-bench") + "capture.jpg";
  CaptureDesktop(file);  // warm-up
  const Picture frame = ReadJpegFile(file);

  double capture = 1e9, encode = 1e9, write = 1e9, read = 1e9, decode = 1e9, smooth = 1e9,
         fit = 1e9, chain = 1e9, bare = 1e9;
  size_t bytes = 0;
  for (int i = 0; i < runs; ++i) {
    PreviewPictures previews;
    Best(chain, Millis([&] {
           CaptureDesktop(file);
           previews = PictureGradation(ReadJpegFile(file));
         }));
    Best(bare, Millis([&] { bench::BareDecode(bench::BareEncode(frame)); }));
    if (previews.easy.width <= 0 || previews.detailed.width <= 0) {
      std::printf("error: no preview\n");
      return 1;
    }
    std::string jpeg;
    Picture decoded;
    Best(capture, Millis([&] { CaptureDesktop(file); }));
    Best(encode, Millis([&] { jpeg = EncodeJpeg(frame); }));
    Best(write, Millis([&] { WriteJpegFile(file, frame); }));
    Best(read, Millis([&] { decoded = ReadJpegFile(file); }));
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
      "  stages: CaptureDesktop %.1f ms (screen copy and pointer about %.1f, encode %.1f, file "
      "replace about %.1f), file read and decode %.1f ms (decode %.1f), smoothing (3 passes) "
      "%.1f ms, fit of both previews %.4f ms; file %zu bytes\n",
      capture, std::max(0.0, capture - write), encode, std::max(0.0, write - encode), read, decode,
      smooth, fit, bytes);
  return 0;
}
