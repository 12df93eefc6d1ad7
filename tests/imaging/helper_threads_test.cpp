// The helper threads of the capture and the preview when things go wrong: a scope left
// by an error while its worker waits for rows, and a smoothing thread out of memory.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <stdexcept>
#include <thread>

#include "imaging/gradation.h"
#include "imaging/jpeg_codec.h"
#include "imaging/row_progress.h"

namespace {

// While set, every allocation on a thread other than `allocatingThread` fails.
std::atomic<bool> failOtherThreads{false};
std::thread::id allocatingThread;

}  // namespace

// The replacement pair is malloc and free, which GCC cannot see through.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
  if (failOtherThreads.load() && std::this_thread::get_id() != allocatingThread) {
    throw std::bad_alloc();
  }
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
#pragma GCC diagnostic pop

namespace tavisnap {
namespace {

TEST(RowWorker, AScopeLeftByAnErrorJoinsItsWaitingWorker) {
  RowProgress filled;
  int seen = 0;
  EXPECT_THROW(
      {
        RowWorker worker(filled, [&] { seen = filled.WaitFor(10); });
        filled.Publish(3);
        throw std::runtime_error("the filling failed halfway");
      },
      std::runtime_error);
  EXPECT_EQ(seen, -1) << "told that no more rows come";
}

TEST(DecodePreview, ASmoothingThreadOutOfMemoryStillGivesThePreview) {
  Picture p(97, 130);
  for (int y = 0; y < p.Height(); ++y) {
    for (int x = 0; x < p.Width(); ++x) p.SetPixel(x, y, Rgb{uint8_t(x * 7), uint8_t(y), 0});
  }
  const std::string jpeg = EncodeJpeg(p);
  const PreviewPictures expected = PictureGradation(DecodeJpeg(jpeg));
  allocatingThread = std::this_thread::get_id();
  failOtherThreads = true;
  PreviewPictures previews = DecodePreview(jpeg);
  failOtherThreads = false;
  EXPECT_EQ(previews.picture, expected.picture);
  EXPECT_EQ(previews.easy, expected.easy);
}

}  // namespace
}  // namespace tavisnap
