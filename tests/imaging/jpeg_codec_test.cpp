#include "imaging/jpeg_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <thread>

#include "core/app_error.h"
#include "imaging/jpeg_test_files.h"
#include "imaging/row_progress.h"

namespace tavisnap {
namespace {

using testing::HeaderSegments;
using testing::LibjpegEncode;
using testing::LibjpegKind;
using testing::Segment;

const Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kYellow{255, 255, 0},
    kWhite{255, 255, 255}, kBlack{0, 0, 0}, kSlate{30, 60, 90};

int Difference(Rgb a, Rgb b) {
  return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

// Largest channel difference over the pixels for which include(x, y) holds.
template <typename Include>
int MaxDifference(const Picture& a, const Picture& b, Include include) {
  int worst = 0;
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) {
      if (include(x, y)) worst = std::max(worst, Difference(a.Pixel(x, y), b.Pixel(x, y)));
    }
  }
  return worst;
}

// 16x16 colour blocks. The encoder halves the colour resolution (the library default),
// so colour edges blur over a pixel or two; inside the blocks quality 100 keeps every
// channel within 3 (measured: at most 3 two pixels in, 1 when the blocks align with the
// 16-pixel coding units).
Picture ColourBlocks(int shift) {
  const Rgb colours[] = {kRed, kGreen, kBlue, kYellow, kWhite, kBlack, kSlate};
  Picture p(83, 50);  // width not a multiple of 4: rows carry padding
  p.Fill(kWhite);
  for (int i = 0; i < 15; ++i) {
    p.FillRect(shift + (i % 5) * 16, shift + (i / 5) * 16, 16, 16, colours[i % 7]);
  }
  return p;
}

TEST(JpegRoundTrip, KeepsSizeAndColours) {
  for (int shift : {0, 3}) {
    Picture original = ColourBlocks(shift);
    Picture decoded = DecodeJpeg(EncodeJpeg(original));
    ASSERT_EQ(decoded.Width(), 83);
    ASSERT_EQ(decoded.Height(), 50);
    auto awayFromEdges = [&](int x, int y) {
      int bx = (x - shift) & 15, by = (y - shift) & 15;
      return x >= shift && y >= shift && bx >= 2 && bx <= 13 && by >= 2 && by <= 13;
    };
    EXPECT_LE(MaxDifference(original, decoded, awayFromEdges), 4) << "shift " << shift;
  }
}

TEST(JpegRoundTrip, KeepsBlackTextOnWhiteSharp) {
  // Luminance only, so nothing is subsampled: any loss here is the quality setting.
  Picture text(64, 32);
  text.Fill(kWhite);
  for (int y = 4; y < 28; ++y) {
    for (int x = 3; x < 60; ++x) {
      if ((x / 2 + y / 3) % 3 == 0) text.SetPixel(x, y, kBlack);
    }
  }
  Picture decoded = DecodeJpeg(EncodeJpeg(text));
  EXPECT_LE(MaxDifference(text, decoded, [](int, int) { return true; }), 2);
}

const Segment* Find(const std::vector<Segment>& segments, uint8_t marker) {
  for (const Segment& s : segments) {
    if (s.marker == marker) return &s;
  }
  return nullptr;
}

TEST(JpegEncoding, IsBaselineColourJfifAtQuality100) {
  std::string jpeg = EncodeJpeg(ColourBlocks(0));
  std::vector<Segment> segments = HeaderSegments(jpeg);
  ASSERT_GE(segments.size(), 3u);
  EXPECT_EQ(segments[0].marker, 0xD8);  // SOI
  ASSERT_EQ(segments[1].marker, 0xE0);  // APP0 straight after it
  EXPECT_EQ(segments[1].payload.substr(0, 5), std::string("JFIF\0", 5));
  EXPECT_EQ(segments.back().marker, 0xDA) << "one scan header reached";

  const Segment* sof = Find(segments, 0xC0);
  ASSERT_NE(sof, nullptr) << "baseline frame (SOF0)";
  for (uint8_t other : {0xC1, 0xC2, 0xC3, 0xC9, 0xCA}) {
    EXPECT_EQ(Find(segments, other), nullptr) << "frame type " << int(other);
  }
  const std::string& f = sof->payload;
  EXPECT_EQ(uint8_t(f[0]), 8);                          // bits per sample
  EXPECT_EQ((uint8_t(f[1]) << 8) | uint8_t(f[2]), 50);  // height
  EXPECT_EQ((uint8_t(f[3]) << 8) | uint8_t(f[4]), 83);  // width
  EXPECT_EQ(uint8_t(f[5]), 3) << "colour: three components";

  int tables = 0;
  for (const Segment& s : segments) {
    if (s.marker != 0xDB) continue;
    // Each table: one byte precision/id, 64 one-byte entries; quality 100 gives all 1s.
    for (size_t t = 0; t + 65 <= s.payload.size(); t += 65, ++tables) {
      EXPECT_TRUE(std::all_of(s.payload.begin() + t + 1, s.payload.begin() + t + 65,
                              [](char q) { return q == 1; }));
    }
  }
  EXPECT_EQ(tables, 2);
  EXPECT_EQ(jpeg.substr(jpeg.size() - 2), "\xFF\xD9") << "ends with EOI";
}

// The capture's encoder takes the rows while another thread fills them, in bands of any
// size: the file is the one a whole picture gives; rows that never come end it.
TEST(JpegEncoding, AsFilledByAnotherThread) {
  const Picture original = ColourBlocks(3);
  for (int band : {1, 7, 16, 50}) {
    Picture filling(original.Width(), original.Height());
    RowProgress filled;
    std::thread filler([&] {
      for (int y = 0; y < original.Height(); y += band) {
        int end = std::min(y + band, original.Height());
        for (int row = y; row < end; ++row) {
          std::copy_n(original.Row(row), original.Stride(), filling.Row(row));
        }
        filled.Publish(end);
      }
    });
    std::string jpeg =
        EncodeJpegAsFilled(filling, [&](int needed) { return filled.WaitFor(needed); });
    filler.join();
    EXPECT_EQ(jpeg, EncodeJpeg(original)) << "bands of " << band;
  }
  for (int rowsThatCome : {0, 1, 49}) {
    RowProgress filled;
    filled.Publish(rowsThatCome);
    filled.Abandon();
    EXPECT_THROW(EncodeJpegAsFilled(original, [&](int needed) { return filled.WaitFor(needed); }),
                 AppError)
        << rowsThatCome;
  }
}

// Noise takes more than the byte per pixel the encoder starts with, so the output grows
// while the noisy top is written; the flat bottom, written after that, must arrive whole.
TEST(JpegEncoding, OutputThatOutgrowsItsFirstGuess) {
  std::mt19937 random(11);
  Picture p(512, 512);
  p.Fill(kSlate);
  for (int y = 0; y < 448; ++y) {
    for (int x = 0; x < 512; ++x) {
      p.SetPixel(x, y, Rgb{uint8_t(random()), uint8_t(random()), uint8_t(random())});
    }
  }
  std::string jpeg = EncodeJpeg(p);
  ASSERT_GT(jpeg.size(), 512u * 512u + 65536u);
  EXPECT_EQ(jpeg.substr(jpeg.size() - 2), "\xFF\xD9");
  Picture decoded = DecodeJpeg(jpeg);
  EXPECT_LE(MaxDifference(p, decoded, [](int, int y) { return y >= 464; }), 2);
}

TEST(JpegEncoding, EmptyPictureIsAWriteError) {
  try {
    EncodeJpeg(Picture());
    FAIL() << "no error";
  } catch (const AppError& e) {
    EXPECT_STREQ(e.what(), kJpegWriteError);
  }
}

TEST(JpegDecoding, OtherKindsComeOutAsColour) {
  std::vector<uint8_t> grey(16 * 16, 200);
  Picture g = DecodeJpeg(LibjpegEncode(LibjpegKind::kGrey, 16, 16, grey));
  EXPECT_LE(Difference(g.Pixel(5, 5), Rgb{200, 200, 200}), 1);

  // Adobe CMYK is stored inverted: 255 = no ink. No cyan, full magenta and yellow: red.
  std::vector<uint8_t> cmyk;
  for (int i = 0; i < 16 * 16; ++i) cmyk.insert(cmyk.end(), {255, 0, 0, 255});
  Picture c = DecodeJpeg(LibjpegEncode(LibjpegKind::kAdobeCmyk, 16, 16, cmyk));
  EXPECT_LE(Difference(c.Pixel(7, 7), kRed), 2);

  std::vector<uint8_t> rgb;
  for (int i = 0; i < 32 * 16; ++i) rgb.insert(rgb.end(), {30, 60, 90});
  Picture p = DecodeJpeg(LibjpegEncode(LibjpegKind::kProgressive, 32, 16, rgb));
  ASSERT_EQ(p.Width(), 32);
  EXPECT_LE(Difference(p.Pixel(20, 9), kSlate), 2);
}

void ExpectReadError(const std::string& bytes, const std::string& what);

// Thousands of tiny scans keep a decoder busy for minutes; real files have a dozen.
TEST(JpegDecoding, RefusesProgressiveFilesWithEndlessScans) {
  std::vector<uint8_t> rgb;
  for (int i = 0; i < 32 * 16; ++i) rgb.insert(rgb.end(), {30, 60, 90});
  std::string jpeg = LibjpegEncode(LibjpegKind::kProgressive, 32, 16, rgb);
  size_t lastScan = jpeg.rfind("\xFF\xDA");
  ASSERT_NE(lastScan, std::string::npos);
  std::string scan = jpeg.substr(lastScan, jpeg.size() - 2 - lastScan);
  auto repeated = [&](int times) {
    std::string file = jpeg.substr(0, jpeg.size() - 2);
    for (int i = 0; i < times; ++i) file += scan;
    return file + "\xFF\xD9";
  };
  EXPECT_NO_THROW(DecodeJpeg(repeated(100)));
  ExpectReadError(repeated(600), "600 scans");
}

void ExpectReadError(const std::string& bytes, const std::string& what) {
  try {
    DecodeJpeg(bytes);
    ADD_FAILURE() << what << ": decoded without error";
  } catch (const AppError& e) {
    EXPECT_STREQ(e.what(), kJpegReadError) << what;
  }
}

std::string NoisyJpeg() {
  std::mt19937 random(7);
  Picture noise(96, 64);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 96; ++x) noise.SetPixel(x, y, Rgb{uint8_t(random()), 128, 40});
  }
  return EncodeJpeg(noise);
}

TEST(JpegDecoding, TruncatedFilesAreRefusedAtEveryLength) {
  std::string jpeg = NoisyJpeg();
  ASSERT_NO_THROW(DecodeJpeg(jpeg));
  for (size_t length = 0; length < jpeg.size(); length += 61) {
    ExpectReadError(jpeg.substr(0, length), "cut at " + std::to_string(length));
  }
  ExpectReadError(jpeg.substr(0, jpeg.size() - 1), "half an EOI");
  ExpectReadError(jpeg.substr(0, jpeg.size() - 2), "no EOI");
}

TEST(JpegDecoding, CorruptAndForeignDataIsRefused) {
  std::string jpeg = NoisyJpeg();
  std::vector<Segment> segments = HeaderSegments(jpeg);
  ASSERT_FALSE(segments.empty());
  size_t scanData = segments.back().offset + 4 + segments.back().payload.size();

  std::string markerInScan = jpeg;
  markerInScan.replace(scanData + 500, 2, "\xFF\xC4");
  ExpectReadError(markerInScan, "a marker inside the scan data");

  std::string badFrame = jpeg;
  const Segment* sof = Find(segments, 0xC0);
  ASSERT_NE(sof, nullptr);
  badFrame[sof->offset + 4] = 12;  // 12-bit samples: not what the library was built for
  ExpectReadError(badFrame, "12-bit frame");

  std::string noTables = jpeg;
  const Segment* dqt = Find(segments, 0xDB);
  ASSERT_NE(dqt, nullptr);
  noTables[dqt->offset + 1] = char(0xEE);  // the quantisation tables become an APP14
  ExpectReadError(noTables, "missing quantisation tables");

  std::mt19937 random(11);
  std::string garbage(4000, '\0');
  for (char& c : garbage) c = char(random());
  ExpectReadError(garbage, "random bytes");
  ExpectReadError("\xFF\xD8" + garbage, "random bytes after SOI");
  ExpectReadError("", "nothing");
  ExpectReadError("BM6\0\0\0\0\0\0\0", "a bitmap file");
}

std::string WithSize(const std::string& jpeg, int width, int height) {
  std::string forged = jpeg;
  std::vector<Segment> segments = HeaderSegments(jpeg);
  const Segment* sof = Find(segments, 0xC0);
  if (sof == nullptr) return "";
  size_t at = sof->offset + 5;
  forged[at] = char(height >> 8), forged[at + 1] = char(height);
  forged[at + 2] = char(width >> 8), forged[at + 3] = char(width);
  return forged;
}

}  // namespace

std::string ForgeJpegSize(int width, int height) {
  return WithSize(NoisyJpeg(), width, height);
}

namespace {

TEST(JpegDecoding, AbsurdSizesAreRefused) {
  std::string jpeg = NoisyJpeg();
  ExpectReadError(WithSize(jpeg, 40000, 16), "wider than 32767");
  ExpectReadError(WithSize(jpeg, 16, 65000), "taller than 32767");
  ExpectReadError(WithSize(jpeg, 20000, 20000), "400 million pixels");
  ExpectReadError(WithSize(jpeg, 0, 64), "no width");
}

}  // namespace
}  // namespace tavisnap
