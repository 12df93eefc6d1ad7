// A forged header must be refused before the picture's memory is taken. The allocations
// are watched through this program's own operator new.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "core/app_error.h"
#include "imaging/jpeg_codec.h"

namespace {
std::atomic<size_t> g_largestAllocation{0};
}  // namespace

void* operator new(size_t size) {
  size_t seen = g_largestAllocation.load();
  while (size > seen && !g_largestAllocation.compare_exchange_weak(seen, size)) {
  }
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
// GCC takes the pairing of a replaced operator new with free() for a mismatch.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, size_t) noexcept {
  std::free(p);
}
#pragma GCC diagnostic pop

namespace tavisnap {

std::string ForgeJpegSize(int width, int height);  // jpeg_codec_test.cpp

namespace {

TEST(JpegDecoding, RefusesHugeHeadersBeforeAllocating) {
  std::string big = EncodeJpeg(Picture(1000, 1000));
  g_largestAllocation = 0;
  DecodeJpeg(big);
  EXPECT_GE(g_largestAllocation.load(), 3'000'000u) << "the watch sees the picture's memory";

  std::string forged = ForgeJpegSize(20000, 20000);
  ASSERT_FALSE(forged.empty());
  g_largestAllocation = 0;
  EXPECT_THROW(DecodeJpeg(forged), AppError);
  EXPECT_LT(g_largestAllocation.load(), 1'000'000u);
}

}  // namespace
}  // namespace tavisnap
