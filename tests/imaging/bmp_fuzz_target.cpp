// libFuzzer entry for the BMP reader, built by tools/fuzz-bmp with ASan and UBSan. Any
// input must end in a picture or an AppError; a crash, a leak or undefined behaviour is a
// finding.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/app_error.h"
#include "imaging/bmp_codec.h"

namespace {

// A run-length file of a few bytes may rightly declare a picture of 100 million pixels;
// decoding such pictures only makes each run slow. The size checks that decide this are
// still reached by every input up to the allocation.
bool DeclaresHugePicture(const uint8_t* data, size_t size) {
  auto u16 = [data](size_t at) { return uint32_t{data[at]} | uint32_t{data[at + 1]} << 8; };
  auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
  if (size < 26) return false;
  int64_t w, h;
  if (u32(14) == 12) {
    w = u16(18), h = u16(20);
  } else {
    w = static_cast<int32_t>(u32(18)), h = static_cast<int32_t>(u32(22));
  }
  return w * (h < 0 ? -h : h) > (int64_t{1} << 22);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (DeclaresHugePicture(data, size)) return -1;  // not added to the corpus
  try {
    tavisnap::Picture p =
        tavisnap::DecodeBmp(std::string_view(reinterpret_cast<const char*>(data), size));
    if (p.Empty() || p.SizeBytes() != p.Stride() * static_cast<size_t>(p.Height()))
      __builtin_trap();
  } catch (const tavisnap::AppError&) {
  }
  return 0;
}
