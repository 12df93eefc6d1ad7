#include "viewer/zoom.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "viewer/extended_real.h"

namespace tavisnap {
namespace {

constexpr int kBpp = Picture::kBytesPerPixel;

// The source pixels [first, last) that make destination pixel d of one side.
struct SourceRun {
  int first = 0;
  int last = 0;
};

std::vector<SourceRun> SourceRuns(int source, int destination) {
  std::vector<SourceRun> runs(static_cast<size_t>(destination));
  const int64_t s = source, d = destination;
  for (int64_t i = 0; i < d; ++i) {
    SourceRun& run = runs[static_cast<size_t>(i)];
    if (d >= s) {
      run.first = static_cast<int>(i * s / d);
      run.last = run.first + 1;
    } else {  // the s with floor(s * d / source) == i: from ceil(i * source / d)
      run.first = static_cast<int>((i * s + d - 1) / d);
      run.last = static_cast<int>(((i + 1) * s + d - 1) / d);
    }
  }
  return runs;
}

// One destination row from one source row: each output pixel the AND of its run.
void StretchRow(const uint8_t* from, uint8_t* to, const std::vector<SourceRun>& runs) {
  for (const SourceRun& run : runs) {
    const uint8_t* p = from + static_cast<size_t>(run.first) * kBpp;
    uint8_t b = p[0], g = p[1], r = p[2];
    for (int x = run.first + 1; x < run.last; ++x) {
      p += kBpp;
      b &= p[0];
      g &= p[1];
      r &= p[2];
    }
    to[0] = b;
    to[1] = g;
    to[2] = r;
    to += kBpp;
  }
}

void AndInto(uint8_t* to, const uint8_t* from, size_t bytes) {
  for (size_t i = 0; i < bytes; ++i) to[i] &= from[i];
}

}  // namespace

int64_t ZoomedSide(int side, int level) {
  const ExtendedReal scale =
      ExtendedReal::FromInt(1) + ExtendedReal::FromInt(level) * ExtendedReal::Tenth();
  return (ExtendedReal::FromInt(side) * scale).Truncate();
}

PictureSize ZoomedSize(int width, int height, int level) {
  auto side = [level](int s) { return s > 0 ? std::max<int64_t>(1, ZoomedSide(s, level)) : 0; };
  return {side(width), side(height)};
}

Picture StretchBlackOnWhite(const Picture& source, int width, int height) {
  Picture out(width, height);
  if (out.Empty() || source.Empty()) return out;
  const std::vector<SourceRun> columns = SourceRuns(source.Width(), width);
  const std::vector<SourceRun> rows = SourceRuns(source.Height(), height);
  const size_t rowBytes = static_cast<size_t>(width) * kBpp;
  std::vector<uint8_t> scratch(rowBytes);
  for (int y = 0; y < height; ++y) {
    const SourceRun& run = rows[static_cast<size_t>(y)];
    uint8_t* to = out.Row(y);
    if (y > 0 && run.first == rows[static_cast<size_t>(y) - 1].first &&
        run.last == rows[static_cast<size_t>(y) - 1].last) {
      std::memcpy(to, out.Row(y - 1), rowBytes);  // enlarging: the same source row again
      continue;
    }
    StretchRow(source.Row(run.first), to, columns);
    for (int sy = run.first + 1; sy < run.last; ++sy) {
      StretchRow(source.Row(sy), scratch.data(), columns);
      AndInto(to, scratch.data(), rowBytes);
    }
  }
  return out;
}

}  // namespace tavisnap
