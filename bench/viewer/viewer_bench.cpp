// viewer_bench [runs]
//
// On a 3840x2160 picture (25 MB): a quarter turn each way against a memcpy of the same
// buffer into memory already in use, and the two-colour and inverted displays (goal: each
// within 3x), and zoom steps of the viewer from the 100 % picture (goal: within 50 ms):
// the step and the rows the window's client area (1008 x 752) then shows, each beside the
// cost of allocating a zero-filled picture of the step's size, which a step rendering the
// whole picture into fresh memory would be bound by, and the cost of rendering the rows not
// shown yet, which saving, sending or editing the zoomed picture adds once.
// Each figure is the best of the runs; the machine is shared, so the best is the least
// disturbed.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "imaging/bmp_codec.h"
#include "imaging/picture_ops.h"
#include "viewer/form_viewer_logic.h"
#include "viewer/zoom.h"

namespace tavisnap {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWidth = 3840;
constexpr int kHeight = 2160;

// Something like a photographed screen: gradients, flat windows, text-like strokes, and
// every blue value, so the two-colour display meets its edge case too.
Picture ScreenLike() {
  Picture p(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      p.SetPixel(x, y, Rgb{uint8_t(x / 15), uint8_t(y / 9), uint8_t((x + y) & 0xFF)});
    }
  }
  p.FillRect(200, 150, 2400, 1400, Rgb{240, 240, 240});
  for (int line = 200; line < 1500; line += 24) {
    for (int x = 240; x < 2560; x += 9) p.FillRect(x, line, 2 + x % 5, 14, Rgb{20, 20, 20});
  }
  return p;
}

template <typename Setup, typename Run>
double BestMs(int runs, Setup setup, Run run) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    setup();
    auto start = Clock::now();
    run();
    best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  return best;
}

class NoView : public ViewerView {
  void PictureChanged(const PixelRect&) override {}
  void SetScrollBars(const ScrollAxis&, const ScrollAxis&) override {}
  void EnableReDraw(bool) override {}
  void EnableSend(bool) override {}
  void CheckDrawMode(DrawMode) override {}
  void CheckDrawColour(DrawColour) override {}
  void SetHourglass(bool) override {}
};

class NoPrompter : public Prompter {
  bool Show(BoxKind, const std::string& text) override {
    std::printf("unexpected message: %s\n", text.c_str());
    return true;
  }
};

}  // namespace
}  // namespace tavisnap

int main(int argc, char** argv) {
  using namespace tavisnap;
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  const Picture source = ScreenLike();
  const size_t bytes = source.SizeBytes();
  std::vector<uint8_t> target(bytes, 1);
  auto nothing = [] {};

  const double copy = BestMs(runs, nothing, [&] {
    std::memcpy(target.data(), source.Data(), bytes);
    asm volatile("" : : "r"(target.data()) : "memory");
  });
  std::printf("memcpy of the %dx%d picture (%.1f MB): %.2f ms\n", kWidth, kHeight, bytes / 1e6,
              copy);

  for (RotateDirection d : {RotateDirection::Right, RotateDirection::Left}) {
    Picture out;
    const double t = BestMs(
        runs, [&] { out = Picture(); }, [&] { out = Rotate(source, d); });
    std::printf("rotate %-5s: %6.2f ms, %.2f x memcpy (goal 3)\n",
                d == RotateDirection::Right ? "right" : "left", t, t / copy);
  }

  Picture work = source;
  const double two = BestMs(
      runs, [&] { std::memcpy(work.Data(), source.Data(), bytes); }, [&] { MakeTwoColour(work); });
  std::printf("two-colour  : %6.2f ms, %.2f x memcpy (goal 3)\n", two, two / copy);
  const double inv = BestMs(
      runs, [&] { std::memcpy(work.Data(), source.Data(), bytes); }, [&] { Invert(work); });
  std::printf("invert      : %6.2f ms, %.2f x memcpy (goal 3)\n", inv, inv / copy);

  // Zoom steps through the viewer itself, each rendered from the 100 % picture.
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "viewer_bench.bmp";
  std::ofstream(file, std::ios::binary) << EncodeBmp(source);
  NoView view;
  NoPrompter prompter;
  FormViewerLogic logic(view, prompter, [](int) {});
  logic.ClientResized(1008, 752);
  logic.FileOpen(file.string());
  std::filesystem::remove(file);
  if (logic.Image1() != source) {
    std::printf("the viewer did not open the picture\n");
    return 1;
  }
  // Each step from the 100 % picture stepped to `from` (untimed); `via`, when set, is a level
  // the viewer was at just before, as when the user zooms back and forth. A step to a
  // larger picture than any before needs fresh memory, whose first touch (page faults) a
  // new picture of the size shows alone; only the rows on show are touched by the step.
  // Level 24 is the largest picture a 4K one is zoomed to.
  const struct {
    int via, from, to;
  } steps[] = {{0, 0, 1},   {0, 1, 0},   {0, 0, -1},   {0, -8, -9}, {0, 9, 10},
               {10, 9, 10}, {0, 15, 16}, {16, 15, 16}, {0, 23, 24}, {0, 24, 23}};
  auto stepTo = [&](int level) {
    while (logic.ZoomLevel() < level) logic.KeyDown(ViewerKey::Up, true);
    while (logic.ZoomLevel() > level) logic.KeyDown(ViewerKey::Down, true);
  };
  auto setup = [&](const auto& s) {
    logic.ReDrawClick();
    stepTo(s.via);
    stepTo(s.from);
  };
  auto paint = [&] {
    const ScrollAxis& v = logic.Vertical();
    logic.Image1Rows(v.Position(), v.Position() + v.Page());
  };
  for (const auto& s : steps) {
    const ViewerKey key = s.to > s.from ? ViewerKey::Up : ViewerKey::Down;
    const double t = BestMs(
        runs, [&] { setup(s); },
        [&] {
          logic.KeyDown(key, true);
          paint();
        });
    const double rest = BestMs(
        runs,
        [&] {
          setup(s);
          logic.KeyDown(key, true);
          paint();
        },
        [&] { logic.Image1(); });
    const int w = logic.Image1Area().right, h = logic.Image1Area().bottom;
    const double fresh = BestMs(runs, nothing, [&] { Picture p(w, h); });
    char path[32];
    std::snprintf(path, sizeof path, s.via != 0 ? "(after %d)" : "", s.via);
    std::printf(
        "zoom %3d -> %3d %-10s (%5dx%-5d): %6.2f ms (goal 50); a new picture of that size "
        "alone: %6.2f ms; the rows not shown: %6.2f ms\n",
        s.from, s.to, path, w, h, t, fresh, rest);
  }
  return 0;
}
