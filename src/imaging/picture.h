// A 24-bit picture in memory, shared by the capture, the send panel's previews and the
// viewer.
//
// Layout: rows top-down; each pixel three bytes in the order blue, green, red; each row
// padded with zero bytes to a multiple of 4. This is the memory of a top-down 24-bit DIB
// (BITMAPINFOHEADER with a negative height), so GDI can draw a Picture, and a DIB section
// can be copied into one, with no per-pixel conversion. Accessors speak RGB.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace tavisnap {

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The largest picture this program handles; anything larger is refused before memory
// is allocated (a forged file header must not cost gigabytes).
inline constexpr int kMaxPictureSide = 32767;
inline constexpr int64_t kMaxPicturePixels = 100'000'000;

// True when a picture of this size may be created (0x0 is allowed: the empty picture).
bool IsSupportedPictureSize(int64_t width, int64_t height);

// An allocator whose value-less construction leaves a byte as memory holds it: a picture
// remade at another size is written whole by its maker, so zeroing it first (and, for fresh
// memory, touching every page) would be wasted.
template <typename T>
struct UninitialisedAllocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = UninitialisedAllocator<U>;
  };
  UninitialisedAllocator() = default;
  template <typename U>
  UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}
  template <typename U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};

class Picture {
 public:
  static constexpr int kBytesPerPixel = 3;

  Picture() = default;
  // A black picture. Throws AppError for a size IsSupportedPictureSize refuses.
  Picture(int width, int height);
  // A copy is one memcpy, not a loop through the allocator; assigning a copy changes
  // nothing when memory runs out.
  Picture(const Picture& other);
  Picture& operator=(const Picture& other);
  Picture(Picture&&) noexcept = default;
  Picture& operator=(Picture&&) noexcept = default;

  // Gives the picture another size in the memory it already has when that is large enough
  // and not more than twice what the new size needs, so that a picture remade again and
  // again (the viewer's zoom) touches no fresh pages. The pixels are then left as they were
  // in memory, the row padding zero: the caller writes every pixel. Throws AppError for a
  // size IsSupportedPictureSize refuses, and std::bad_alloc; the picture is unchanged then.
  void Reshape(int width, int height);
  // As Reshape, but the row padding is left as memory holds it too, and memory not kept is
  // not touched: pages of rows never written cost nothing. The caller writes each row whole,
  // padding zero, before anything reads it.
  void ReshapeUntouched(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  // Bytes from the start of one row to the next.
  size_t Stride() const { return stride_; }
  static size_t StrideFor(int width);

  uint8_t* Data() { return bytes_.data(); }
  const uint8_t* Data() const { return bytes_.data(); }
  size_t SizeBytes() const { return bytes_.size(); }
  uint8_t* Row(int y) { return bytes_.data() + static_cast<size_t>(y) * stride_; }
  const uint8_t* Row(int y) const { return bytes_.data() + static_cast<size_t>(y) * stride_; }

  // No bounds checks: callers stay within Width() x Height().
  Rgb Pixel(int x, int y) const {
    const uint8_t* p = Row(y) + static_cast<size_t>(x) * kBytesPerPixel;
    return Rgb{p[2], p[1], p[0]};
  }
  void SetPixel(int x, int y, Rgb c) {
    uint8_t* p = Row(y) + static_cast<size_t>(x) * kBytesPerPixel;
    p[0] = c.b;
    p[1] = c.g;
    p[2] = c.r;
  }
  // Fills the rectangle, clipped to the picture.
  void FillRect(int x, int y, int width, int height, Rgb c);
  void Fill(Rgb c) { FillRect(0, 0, width_, height_, c); }

  friend bool operator==(const Picture&, const Picture&) = default;

 private:
  int width_ = 0;
  int height_ = 0;
  size_t stride_ = 0;
  std::vector<uint8_t, UninitialisedAllocator<uint8_t>> bytes_;
};

}  // namespace tavisnap
