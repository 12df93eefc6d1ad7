#include "viewer/zoom.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/app_error.h"
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
void ReduceRow(const uint8_t* from, uint8_t* to, const std::vector<SourceRun>& runs) {
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

// Enlarging (runs of one pixel): four bytes at a time, each store's fourth byte overwritten
// by the next pixel. The pixels from the source's last one on go three bytes at a time, so
// nothing is read past its row or written past the destination's last pixel.
void GatherRow(const uint8_t* from, uint8_t* to, const std::vector<SourceRun>& runs,
               int sourceWidth) {
  const size_t count = runs.size();
  size_t i = 0;
  for (; i + 1 < count && runs[i].first < sourceWidth - 1; ++i, to += kBpp) {
    uint32_t v;
    std::memcpy(&v, from + static_cast<size_t>(runs[i].first) * kBpp, sizeof v);
    std::memcpy(to, &v, sizeof v);
  }
  for (; i < count; ++i, to += kBpp) {
    std::memcpy(to, from + static_cast<size_t>(runs[i].first) * kBpp, kBpp);
  }
}

void AndInto(uint8_t* to, const uint8_t* from, size_t bytes) {
  size_t i = 0;
  for (; i + 8 <= bytes; i += 8) {
    uint64_t a, b;
    std::memcpy(&a, to + i, sizeof a);
    std::memcpy(&b, from + i, sizeof b);
    a &= b;
    std::memcpy(to + i, &a, sizeof a);
  }
  for (; i < bytes; ++i) to[i] &= from[i];
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
  Picture out;
  StretchBlackOnWhite(source, width, height, out);
  return out;
}

void StretchBlackOnWhite(const Picture& source, int width, int height, Picture& out) {
  if (!IsSupportedPictureSize(width, height)) throw AppError("画像が大きすぎます");
  if (source.Empty() || width == 0 || height == 0) {
    out = Picture(width, height);
    return;
  }
  // Everything that can fail comes before out changes.
  const std::vector<SourceRun> columns = SourceRuns(source.Width(), width);
  const std::vector<SourceRun> rows = SourceRuns(source.Height(), height);
  const size_t rowBytes = static_cast<size_t>(width) * kBpp;
  const bool enlarging = width >= source.Width() && height >= source.Height();
  std::vector<uint8_t> scratch(enlarging ? 0 : rowBytes);
  out.Reshape(width, height);
  for (int y = 0; y < height; ++y) {
    const SourceRun& run = rows[static_cast<size_t>(y)];
    uint8_t* to = out.Row(y);
    if (y > 0 && run.first == rows[static_cast<size_t>(y) - 1].first &&
        run.last == rows[static_cast<size_t>(y) - 1].last) {
      std::memcpy(to, out.Row(y - 1), rowBytes);  // enlarging: the same source row again
      continue;
    }
    if (enlarging) {
      GatherRow(source.Row(run.first), to, columns, source.Width());
      continue;  // one source row
    }
    ReduceRow(source.Row(run.first), to, columns);
    for (int sy = run.first + 1; sy < run.last; ++sy) {
      ReduceRow(source.Row(sy), scratch.data(), columns);
      AndInto(to, scratch.data(), rowBytes);
    }
  }
}

}  // namespace tavisnap
