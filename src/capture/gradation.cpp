#include "capture/gradation.h"

#include <cstring>
#include <utility>
#include <vector>

namespace tavisnap {

void SmoothPicture(Picture& picture) {
  const int width = picture.Width();
  const int height = picture.Height();
  if (width < 3 || height < 3) return;
  constexpr size_t kPixel = Picture::kBytesPerPixel;
  const size_t stride = picture.Stride();
  // Byte offsets within a row of the channels of columns 1 to width - 2.
  const size_t first = kPixel;
  const size_t end = static_cast<size_t>(width - 1) * kPixel;
  // One table for the three passes: the state at the start of the pass.
  std::vector<uint8_t> table(picture.SizeBytes());
  for (int pass = 0; pass < 3; ++pass) {
    std::memcpy(table.data(), picture.Data(), table.size());
    for (int y = 1; y < height - 1; ++y) {
      const uint8_t* up = table.data() + static_cast<size_t>(y - 1) * stride;
      const uint8_t* row = up + stride;
      const uint8_t* down = row + stride;
      uint8_t* out = picture.Row(y);
      for (size_t i = first; i < end; ++i) {
        unsigned neighbours = (up[i] + row[i + kPixel] + down[i] + row[i - kPixel]) / 4;
        out[i] = static_cast<uint8_t>((row[i] + neighbours) / 2);
      }
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
