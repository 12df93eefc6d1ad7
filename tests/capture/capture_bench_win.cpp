// Times CaptureDesktop on the whole screen, and the JPEG encode within it, under the same
// conditions as a real capture (a window of colour blocks on the screen).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "capture/capture.h"
#include "capture/jpeg_codec.h"
#include "capture/test_window_win.h"
#include "support/driver_win.h"

using namespace tavisnap;
using Clock = std::chrono::steady_clock;

namespace {

template <typename Work>
std::vector<double> TimeRuns(int runs, Work work) {
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    auto start = Clock::now();
    work();
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(ms.begin(), ms.end());
  return ms;
}

}  // namespace

int main() {
  testing::MakeProcessDpiAware();
  testing::BlockWindow window(200, 150);
  window.Show(0);
  std::string file = testing::MakeTempDir("capture-bench") + "capture.jpg";
  const int runs = 10;
  CaptureDesktop(file);  // warm-up
  std::vector<double> capture = TimeRuns(runs, [&] { CaptureDesktop(file); });
  Picture picture = ReadJpegFile(file);
  std::vector<double> encode = TimeRuns(runs, [&] { EncodeJpeg(picture); });
  std::vector<double> write = TimeRuns(runs, [&] { WriteJpegFile(file, picture); });
  std::printf("capture_desktop %dx%d: best %.1f ms, median %.1f ms (%d runs), file %zu bytes\n",
              picture.Width(), picture.Height(), capture.front(), capture[runs / 2], runs,
              testing::ReadFileBytes(file).size());
  std::printf(
      "capture_desktop parts: jpeg encode best %.1f ms, encode + file replace best %.1f ms, "
      "screen copy and pointer about %.1f ms\n",
      encode.front(), write.front(), capture.front() - write.front());
  return 0;
}
