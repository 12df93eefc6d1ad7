#include "capture/blank_picture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace tavisnap {
namespace {

constexpr int64_t kMinSamples = 65536;

// Bins of 16 levels a channel: the dominant colour is the mean of the fullest bin.
constexpr int kBinBits = 4;
constexpr int kBins = 1 << (3 * kBinBits);

int BinOf(const uint8_t* bgr) {
  constexpr int shift = 8 - kBinBits;
  return (bgr[2] >> shift) << (2 * kBinBits) | (bgr[1] >> shift) << kBinBits | bgr[0] >> shift;
}

int SampleStep(const Picture& picture) {
  int64_t pixels = int64_t{picture.Width()} * picture.Height();
  return std::max(1, static_cast<int>(std::sqrt(static_cast<double>(pixels) / kMinSamples)));
}

// Each sampled row starts at another column, so that a pattern repeating with the
// step's period does not fall on the same columns all the way down.
template <typename Visit>
void ForEachSample(const Picture& picture, int step, Visit visit) {
  for (int y = 0, row = 0; y < picture.Height(); y += step, ++row) {
    const uint8_t* line = picture.Row(y);
    for (int x = (row * 2) % step; x < picture.Width(); x += step) {
      visit(line + static_cast<size_t>(x) * Picture::kBytesPerPixel);
    }
  }
}

}  // namespace

BlankCheck CheckBlankPicture(const Picture& picture) {
  BlankCheck check;
  if (picture.Empty()) return check;
  const int step = SampleStep(picture);
  std::vector<uint32_t> counts(kBins, 0);
  std::vector<std::array<uint64_t, 3>> sums(kBins, {0, 0, 0});
  int64_t samples = 0;
  ForEachSample(picture, step, [&](const uint8_t* p) {
    int bin = BinOf(p);
    ++counts[bin];
    sums[bin][0] += p[0];
    sums[bin][1] += p[1];
    sums[bin][2] += p[2];
    ++samples;
  });
  size_t top = static_cast<size_t>(std::max_element(counts.begin(), counts.end()) - counts.begin());
  uint64_t n = counts[top];
  const int b = static_cast<int>(sums[top][0] / n), g = static_cast<int>(sums[top][1] / n),
            r = static_cast<int>(sums[top][2] / n);
  int64_t near = 0;
  ForEachSample(picture, step, [&](const uint8_t* p) {
    near += std::abs(p[0] - b) <= kBlankTolerance && std::abs(p[1] - g) <= kBlankTolerance &&
            std::abs(p[2] - r) <= kBlankTolerance;
  });
  check.dominant = Rgb{static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b)};
  check.share = static_cast<double>(near) / static_cast<double>(samples);
  check.blank = check.share >= kBlankShare;
  return check;
}

}  // namespace tavisnap
