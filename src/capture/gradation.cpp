#include "capture/gradation.h"

#include <cstring>
#include <utility>
#include <vector>

namespace tavisnap {
namespace {

constexpr size_t kPixel = Picture::kBytesPerPixel;

#if defined(__GNUC__)
// Eight channels at a time in 16-bit lanes, wide enough for the sum of four.
using Bytes8 = uint8_t __attribute__((vector_size(8)));
using Lanes8 = uint16_t __attribute__((vector_size(16)));

inline Lanes8 Load(const uint8_t* p) {
  Bytes8 bytes;
  std::memcpy(&bytes, p, sizeof bytes);
  return __builtin_convertvector(bytes, Lanes8);
}

inline void Store(uint8_t* p, Lanes8 lanes) {
  Bytes8 bytes = __builtin_convertvector(lanes, Bytes8);  // every lane is below 256
  std::memcpy(p, &bytes, sizeof bytes);
}
#endif

// Channels first to end - 1 of one row; up, row and down are the table's rows.
void SmoothRow(const uint8_t* up, const uint8_t* row, const uint8_t* down, uint8_t* out,
               size_t first, size_t end) {
  size_t i = first;
#if defined(__GNUC__)
  // The right neighbour of the last channel read lies at end + 2, inside the row.
  for (; i + sizeof(Bytes8) <= end; i += sizeof(Bytes8)) {
    Lanes8 neighbours =
        (Load(up + i) + Load(row + i + kPixel) + Load(down + i) + Load(row + i - kPixel)) / 4;
    Store(out + i, (Load(row + i) + neighbours) / 2);
  }
#endif
  for (; i < end; ++i) {
    unsigned neighbours = (up[i] + row[i + kPixel] + down[i] + row[i - kPixel]) / 4;
    out[i] = static_cast<uint8_t>((row[i] + neighbours) / 2);
  }
}

}  // namespace

void SmoothPicture(Picture& picture) {
  const int width = picture.Width();
  const int height = picture.Height();
  if (width < 3 || height < 3) return;
  const size_t stride = picture.Stride();
  // Byte offsets within a row of the channels of columns 1 to width - 2.
  const size_t first = kPixel;
  const size_t end = static_cast<size_t>(width - 1) * kPixel;
  // Every pass reads the state at its start and writes the next one. The two buffers
  // take turns, so only the first pass needs a copy: the borders, which no pass writes,
  // are the same in both.
  std::vector<uint8_t> table(picture.Data(), picture.Data() + picture.SizeBytes());
  uint8_t* buffers[2] = {table.data(), picture.Data()};
  for (int pass = 0; pass < 3; ++pass) {
    const uint8_t* from = buffers[pass % 2];
    uint8_t* to = buffers[(pass + 1) % 2];  // the picture after the third pass
    for (int y = 1; y < height - 1; ++y) {
      const uint8_t* row = from + static_cast<size_t>(y) * stride;
      SmoothRow(row - stride, row, row + stride, to + static_cast<size_t>(y) * stride, first, end);
    }
  }
}

PreviewPictures PictureGradation(Picture capture, PanelSize easy, PanelSize detailed) {
  PreviewPictures previews;
  previews.easy = FitPreview(easy.width, easy.height, capture.Width(), capture.Height());
  previews.detailed =
      FitPreview(detailed.width, detailed.height, capture.Width(), capture.Height());
  SmoothPicture(capture);
  previews.picture = std::move(capture);
  return previews;
}

}  // namespace tavisnap
