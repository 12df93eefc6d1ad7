#include "imaging/gradation.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "imaging/jpeg_codec.h"
#include "imaging/row_progress.h"

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

// Channels first to end - 1 of one row; up, row and down are the rows above and below.
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

constexpr int kPasses = 3;
constexpr int kRowsPerHandOver = 128;

}  // namespace

// The passes run together down the picture, each a few rows behind the one before, so
// that a row is fetched from memory once instead of once per pass. A pass's rows are
// kept in a ring of three (all the next pass reads); the last pass writes into the
// picture rows that no pass reads any more. Borders, which no pass changes, are read
// from the picture.
void SmoothPicture(Picture& picture) {
  SmoothPicture(picture, nullptr);
}

bool SmoothPicture(Picture& picture, const RowsReady& rowsReady) {
  const int width = picture.Width();
  const int height = picture.Height();
  if (width < 3 || height < 3) return !rowsReady || rowsReady(height) >= height;
  const size_t stride = picture.Stride();
  // Byte offsets within a row of the channels of columns 1 to width - 2.
  const size_t first = kPixel;
  const size_t end = static_cast<size_t>(width - 1) * kPixel;
  std::vector<uint8_t> rings(static_cast<size_t>(kPasses - 1) * 3 * stride);
  // Where row y after pass `pass` is (0: the picture as it came; the last: the result).
  auto rowAfter = [&](int pass, int y) -> uint8_t* {
    if (pass == 0 || pass == kPasses || y == 0 || y == height - 1) return picture.Row(y);
    return rings.data() + (static_cast<size_t>(pass - 1) * 3 + static_cast<size_t>(y % 3)) * stride;
  };
  // Step r makes row r of the first pass, row r - 1 of the second, r - 2 of the third.
  int ready = rowsReady ? 0 : height;
  for (int r = 1; r < height - 1 + kPasses - 1; ++r) {
    // The first pass reads the row below its own.
    const int needed = std::min(r + 2, height);
    if (ready < needed && (ready = rowsReady(needed)) < needed) return false;
    for (int pass = 1; pass <= kPasses; ++pass) {
      const int y = r - (pass - 1);
      if (y < 1 || y > height - 2) continue;
      uint8_t* out = rowAfter(pass, y);
      if (pass < kPasses) {  // the ring's border pixels, the picture's until the last pass
        const uint8_t* source = picture.Row(y);
        std::memcpy(out, source, kPixel);
        std::memcpy(out + end, source + end, kPixel);
      }
      SmoothRow(rowAfter(pass - 1, y - 1), rowAfter(pass - 1, y), rowAfter(pass - 1, y + 1), out,
                first, end);
    }
  }
  return true;
}

namespace {

PreviewPictures Fitted(Picture smoothed, PanelSize easy, PanelSize detailed) {
  PreviewPictures previews;
  previews.easy = FitPreview(easy.width, easy.height, smoothed.Width(), smoothed.Height());
  previews.detailed =
      FitPreview(detailed.width, detailed.height, smoothed.Width(), smoothed.Height());
  previews.picture = std::move(smoothed);
  return previews;
}

}  // namespace

PreviewPictures PictureGradation(Picture capture, PanelSize easy, PanelSize detailed) {
  SmoothPicture(capture);
  return Fitted(std::move(capture), easy, detailed);
}

// The smoothing runs on a second thread a few rows behind the decoder, so the user
// waits for the decoding alone. A smoothing that fails there (no memory for its rows)
// may have written part of the picture; the preview is then made afresh on this thread,
// so that the failure costs time and nothing else.
PreviewPictures DecodePreview(std::string_view jpeg, PanelSize easy, PanelSize detailed) {
  Picture picture;
  RowProgress decoded;
  bool smoothed = false;
  std::optional<RowWorker> smoother;
  try {
    smoother.emplace(decoded, [&] {
      try {
        if (decoded.WaitFor(0) < 0) return;  // the picture has no size yet
        smoothed = SmoothPicture(picture, [&](int needed) { return decoded.WaitFor(needed); });
      } catch (...) {  // smoothed stays false
      }
    });
  } catch (const std::system_error&) {  // no thread to be had: one after the other
    return PictureGradation(DecodeJpeg(jpeg), easy, detailed);
  }
  // Handed over in batches: waking the other thread costs a system call, under Wine a
  // round trip to the server. A decoding that throws leaves through the worker's join.
  int handedOver = -1;
  DecodeJpegInto(jpeg, picture, [&](int rows) {
    if (rows == 0 || rows >= handedOver + kRowsPerHandOver || rows == picture.Height()) {
      decoded.Publish(handedOver = rows);
    }
  });
  smoother->Join();
  if (!smoothed) return PictureGradation(DecodeJpeg(jpeg), easy, detailed);
  return Fitted(std::move(picture), easy, detailed);
}

}  // namespace tavisnap
