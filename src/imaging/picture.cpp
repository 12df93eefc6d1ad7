#include "imaging/picture.h"

#include <algorithm>
#include <cstring>

#include "core/app_error.h"

namespace tavisnap {

bool IsSupportedPictureSize(int64_t width, int64_t height) {
  return width >= 0 && height >= 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
         width * height <= kMaxPicturePixels;
}

size_t Picture::StrideFor(int width) {
  return (static_cast<size_t>(width) * kBytesPerPixel + 3) & ~size_t{3};
}

Picture::Picture(int width, int height) {
  if (!IsSupportedPictureSize(width, height)) throw AppError("画像が大きすぎます");
  width_ = width;
  height_ = height;
  stride_ = StrideFor(width);
  bytes_.assign(stride_ * static_cast<size_t>(height), 0);
}

Picture::Picture(const Picture& other)
    : width_(other.width_), height_(other.height_), stride_(other.stride_) {
  bytes_.resize(other.bytes_.size());
  if (!bytes_.empty()) std::memcpy(bytes_.data(), other.bytes_.data(), bytes_.size());
}

Picture& Picture::operator=(const Picture& other) {
  if (this == &other) return *this;
  bytes_.resize(other.bytes_.size());  // first: it may throw
  if (!bytes_.empty()) std::memcpy(bytes_.data(), other.bytes_.data(), bytes_.size());
  width_ = other.width_;
  height_ = other.height_;
  stride_ = other.stride_;
  return *this;
}

void Picture::ReshapeUntouched(int width, int height) {
  if (!IsSupportedPictureSize(width, height)) throw AppError("画像が大きすぎます");
  const size_t stride = StrideFor(width);
  const size_t needed = stride * static_cast<size_t>(height);
  if (needed <= bytes_.capacity() && bytes_.capacity() / 2 <= needed) {
    bytes_.resize(needed);
  } else {
    decltype(bytes_) fresh(needed);  // before anything changes
    bytes_.swap(fresh);
  }
  width_ = width;
  height_ = height;
  stride_ = stride;
}

void Picture::Reshape(int width, int height) {
  ReshapeUntouched(width, height);
  const size_t used = static_cast<size_t>(width) * kBytesPerPixel;
  if (used == stride_) return;
  for (int y = 0; y < height; ++y) std::memset(Row(y) + used, 0, stride_ - used);
}

void Picture::FillRect(int x, int y, int width, int height, Rgb c) {
  // In 64 bits: x + width may pass either end of int (mouse coordinates far outside).
  auto clip = [](int64_t v, int limit) {
    return static_cast<int>(std::clamp<int64_t>(v, 0, limit));
  };
  int x0 = clip(x, width_);
  int y0 = clip(y, height_);
  int x1 = clip(int64_t{x} + width, width_);
  int y1 = clip(int64_t{y} + height, height_);
  for (int row = y0; row < y1; ++row) {
    for (int col = x0; col < x1; ++col) SetPixel(col, row, c);
  }
}

}  // namespace tavisnap
