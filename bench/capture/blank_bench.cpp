// capture_blank_bench [runs]
//
// The blank-picture check on a 1920 x 1080 capture, a desktop and a black screen (the
// check's worst case: every sample lands in one bin and is compared again), against a
// budget of 5 ms; also against one plain pass over every byte of the frame, the least any
// whole-picture look can cost. Best of runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "bench_frame.h"
#include "capture/blank_picture.h"

namespace tavisnap::bench {
namespace {

double Ms(Clock::time_point from) {
  return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

template <typename F>
double BestOf(int runs, F run) {
  double best = 1e9;
  for (int i = 0; i < runs; ++i) {
    Clock::time_point start = Clock::now();
    run();
    best = std::min(best, Ms(start));
  }
  return best;
}

}  // namespace
}  // namespace tavisnap::bench

int main(int argc, char** argv) {
  using namespace tavisnap;
  using namespace tavisnap::bench;
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
  constexpr double kBudgetMs = 5.0;
  Picture desktop = ScreenLike();
  Picture black(1920, 1080);
  volatile bool sink = false;
  volatile unsigned sum = 0;
  double plain = BestOf(runs, [&] {
    unsigned s = 0;
    for (size_t i = 0; i < desktop.SizeBytes(); ++i) s += desktop.Data()[i];
    sum = s;
  });
  std::printf("blank check at 1920x1080, best of %d runs, budget %.1f ms\n", runs, kBudgetMs);
  std::printf("  one pass over every byte: %.3f ms\n", plain);
  bool ok = true;
  for (auto [name, picture] : {std::pair{"desktop", &desktop}, std::pair{"black", &black}}) {
    BlankCheck check = CheckBlankPicture(*picture);
    double ms = BestOf(runs, [&] { sink = CheckBlankPicture(*picture).blank; });
    std::printf("  %-8s %.3f ms  (blank %s, share %.4f)  ratio to budget %.2f, to one pass %.2f\n",
                name, ms, check.blank ? "yes" : "no", check.share, ms / kBudgetMs, ms / plain);
    ok = ok && ms < kBudgetMs;
  }
  (void)sink;
  (void)sum;
  std::printf("goal (under %.1f ms): %s\n", kBudgetMs, ok ? "met" : "NOT met");
  return ok ? 0 : 1;
}
