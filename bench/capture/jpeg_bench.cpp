// capture_jpeg_bench [runs]
//
// Encodes a synthetic 1920x1080 screen (a gradient desktop, windows with flat areas and
// title bars, lines of text-like glyphs, coloured icons) with EncodeJpeg and with a bare
// libjpeg-turbo encode of the same pixels and settings (memory destination, quality 100,
// defaults otherwise), alternating, and prints the best time of each and their ratio; the
// same for decoding. Goal: the codec within 1.1 of the bare library.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_frame.h"
#include "imaging/jpeg_codec.h"
#include "imaging/picture.h"

int main(int argc, char** argv) {
  using namespace tavisnap;
  using namespace tavisnap::bench;
  int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  Picture screen = ScreenLike();
  std::string ours, bare;
  double encode = 1e9, bareEncode = 1e9, decode = 1e9, bareDecode = 1e9;
  for (int i = 0; i < runs; ++i) {
    encode = std::min(encode, Millis([&] { ours = EncodeJpeg(screen); }));
    bareEncode = std::min(bareEncode, Millis([&] { bare = BareEncode(screen); }));
    decode = std::min(decode, Millis([&] { DecodeJpeg(ours); }));
    bareDecode = std::min(bareDecode, Millis([&] { BareDecode(bare); }));
  }
  if (ours != bare) std::printf("warning: the two encoders wrote different files\n");
  std::printf(
      "jpeg encode 1920x1080 q100: codec %.1f ms, bare libjpeg-turbo %.1f ms, "
      "ratio %.3f (goal <= 1.1), %zu bytes, best of %d\n",
      encode, bareEncode, encode / bareEncode, ours.size(), runs);
  std::printf("jpeg decode 1920x1080: codec %.1f ms, bare libjpeg-turbo %.1f ms, ratio %.3f\n",
              decode, bareDecode, decode / bareDecode);
  return 0;
}
