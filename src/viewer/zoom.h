// The viewer's zoom: levels, the size a picture is shown at, and the stretch that makes
// the picture on show.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/picture.h"

namespace tavisnap {

// The shown scale is 1 + level x 0.1: from 0.1 to 6.0.
inline constexpr int kMinZoomLevel = -9;
inline constexpr int kMaxZoomLevel = 50;

// side x (1 + level x 0.1) in 80-bit extended arithmetic, 0.1 held in that format, truncated
// toward zero: level -9 turns 1000 into 99, level 10 doubles exactly.
int64_t ZoomedSide(int side, int level);

struct PictureSize {
  int64_t width = 0;
  int64_t height = 0;
  friend bool operator==(const PictureSize&, const PictureSize&) = default;
};

// The size a picture of width x height is shown at. A side the truncation would make 0 is
// kept at 1 pixel, so a thin picture zoomed out stays a picture.
PictureSize ZoomedSize(int width, int height, int level);

// The source stretched to width x height as GDI's StretchBlt does in its default mode
// (BLACKONWHITE): enlarging repeats pixels; reducing combines every source pixel that falls
// on one output pixel with a bitwise AND of their colours. Destination pixel d of a side
// takes source pixel floor(d x source / destination) when enlarging; when reducing it
// takes every source pixel s with floor(s x destination / source) = d.
// Throws AppError for a size IsSupportedPictureSize refuses.
Picture StretchBlackOnWhite(const Picture& source, int width, int height);
// The same into `out`, in the memory out already holds when Picture::Reshape can keep it.
// out must not be source. On an error out is unchanged.
void StretchBlackOnWhite(const Picture& source, int width, int height, Picture& out);

// The source pixels [first, last) that make one destination pixel of a side.
struct SourceRun {
  int first = 0;
  int last = 0;
};

// The same stretch made a band of rows at a time, so that a zoomed picture costs only the
// rows looked at: Start gives out its size in memory left untouched, Render writes the rows
// asked for that are not written yet. Each row comes out as the whole stretch makes it.
class LazyStretch {
 public:
  LazyStretch() = default;
  LazyStretch(const LazyStretch&) = delete;
  LazyStretch& operator=(const LazyStretch&) = delete;

  // Until every row is rendered or Clear(), source stays unchanged and in place, and out is
  // left to this.
  // out must not be source. Throws AppError for a size IsSupportedPictureSize refuses, and
  // std::bad_alloc; out and the rows still to render are unchanged then.
  void Start(const Picture& source, int width, int height, Picture& out);
  // Rows [first, last) of out, clipped to it. Allocates nothing.
  void Render(int first, int last);
  void Complete() { Render(0, static_cast<int>(rendered_.size())); }
  // Forgets the rows still to render: out has been replaced whole.
  void Clear();

 private:
  void RenderRow(int y);

  const Picture* source_ = nullptr;
  Picture* out_ = nullptr;
  std::vector<SourceRun> columns_;
  std::vector<SourceRun> rows_;
  std::vector<uint8_t> scratch_;
  std::vector<bool> rendered_;
  int pending_ = 0;
  bool enlarging_ = false;
};

}  // namespace tavisnap
