#include "viewer/zoom.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "core/app_error.h"
#include "viewer/extended_real.h"

namespace tavisnap {
namespace {

constexpr int kBpp = Picture::kBytesPerPixel;

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
  LazyStretch stretch;
  stretch.Start(source, width, height, out);
  stretch.Complete();
}

void LazyStretch::Start(const Picture& source, int width, int height, Picture& out) {
  if (!IsSupportedPictureSize(width, height)) throw AppError("画像が大きすぎます");
  if (source.Empty() || width == 0 || height == 0) {
    out = Picture(width, height);
    Clear();
    return;
  }
  // Everything that can fail comes before out or this changes.
  std::vector<SourceRun> columns = SourceRuns(source.Width(), width);
  std::vector<SourceRun> rows = SourceRuns(source.Height(), height);
  const bool enlarging = width >= source.Width() && height >= source.Height();
  std::vector<uint8_t> scratch(enlarging ? 0 : static_cast<size_t>(width) * kBpp);
  std::vector<bool> rendered(static_cast<size_t>(height), false);
  out.ReshapeUntouched(width, height);
  source_ = &source;
  out_ = &out;
  columns_ = std::move(columns);
  rows_ = std::move(rows);
  scratch_ = std::move(scratch);
  rendered_ = std::move(rendered);
  pending_ = height;
  enlarging_ = enlarging;
}

void LazyStretch::Clear() {
  source_ = nullptr;
  out_ = nullptr;
  rendered_.clear();
  pending_ = 0;
}

void LazyStretch::Render(int first, int last) {
  if (pending_ == 0) return;
  const int height = static_cast<int>(rendered_.size());
  first = std::clamp(first, 0, height);
  last = std::clamp(last, first, height);
  for (int y = first; y < last; ++y) {
    if (!rendered_[static_cast<size_t>(y)]) RenderRow(y);
  }
  if (pending_ == 0) Clear();
}

void LazyStretch::RenderRow(int y) {
  const Picture& source = *source_;
  Picture& out = *out_;
  const size_t rowBytes = columns_.size() * kBpp;
  const SourceRun& run = rows_[static_cast<size_t>(y)];
  uint8_t* to = out.Row(y);
  const size_t above = static_cast<size_t>(y) - 1;
  if (y > 0 && rendered_[above] && run.first == rows_[above].first &&
      run.last == rows_[above].last) {
    std::memcpy(to, out.Row(y - 1), rowBytes);  // enlarging: the same source row again
  } else if (enlarging_) {
    GatherRow(source.Row(run.first), to, columns_, source.Width());  // one source row
  } else {
    ReduceRow(source.Row(run.first), to, columns_);
    for (int sy = run.first + 1; sy < run.last; ++sy) {
      ReduceRow(source.Row(sy), scratch_.data(), columns_);
      AndInto(to, scratch_.data(), rowBytes);
    }
  }
  std::memset(to + rowBytes, 0, out.Stride() - rowBytes);
  rendered_[static_cast<size_t>(y)] = true;
  --pending_;
}

}  // namespace tavisnap
