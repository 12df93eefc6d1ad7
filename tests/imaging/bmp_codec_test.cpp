// Every file of the table is opened to the expected picture or refused with the expected
// text, and a refusal takes no memory for the picture: allocations are watched through this
// program's own operator new.
#include "imaging/bmp_codec.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "core/app_error.h"
#include "imaging/bmp_test_files.h"

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
namespace {

TEST(BmpDecoding, OpensOrRefusesEveryFileOfTheTable) {
  for (const testing::BmpCase& c : testing::BmpCases()) {
    SCOPED_TRACE(c.name);
    g_largestAllocation = 0;
    try {
      Picture p = DecodeBmp(c.bytes);
      if (c.picture) {
        EXPECT_EQ(p, *c.picture);
      } else {
        ADD_FAILURE() << "opened; should be refused with " << c.error;
      }
    } catch (const AppError& e) {
      const size_t largest = g_largestAllocation.load();
      if (c.picture) {
        ADD_FAILURE() << "refused: " << e.what();
      } else {
        EXPECT_STREQ(e.what(), c.error.c_str());
      }
      EXPECT_LT(largest, 64u * 1024) << "a refusal takes no memory for the picture";
    }
  }
}

TEST(BmpDecoding, TakesThePicturesMemoryOnlyForAnAcceptedFile) {
  // The watch does see the picture: the large RLE case of the table allocates it.
  for (const testing::BmpCase& c : testing::BmpCases()) {
    if (c.name != "RLE8, a large picture from a tiny file") continue;
    g_largestAllocation = 0;
    DecodeBmp(c.bytes);
    EXPECT_GE(g_largestAllocation.load(), 2000u * 1000 * 3);
    return;
  }
  FAIL() << "case missing";
}

TEST(BmpEncoding, WritesA24BitBottomUpFileThatReadsBack) {
  Picture p(5, 3);  // rows padded by one byte
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) p.SetPixel(x, y, Rgb{uint8_t(x * 50), uint8_t(y * 90), 7});
  }
  std::string bytes = EncodeBmp(p);
  ASSERT_EQ(bytes.size(), 54u + 16 * 3);
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  EXPECT_EQ(static_cast<uint8_t>(bytes[22]), 3) << "positive height: bottom-up";
  EXPECT_EQ(static_cast<uint8_t>(bytes[28]), 24);
  EXPECT_EQ(static_cast<uint8_t>(bytes[54 + 4]), 180) << "the first stored row is the bottom one";
  EXPECT_EQ(DecodeBmp(bytes), p);
  EXPECT_THROW(EncodeBmp(Picture()), AppError);
}

}  // namespace
}  // namespace tavisnap
