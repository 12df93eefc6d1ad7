#include "imaging/bmp_codec.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "core/app_error.h"

namespace tavisnap {
namespace {

constexpr int kBpp = Picture::kBytesPerPixel;
constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;

enum Compression : uint32_t {
  kRgb = 0,
  kRle8 = 1,
  kRle4 = 2,
  kBitFields = 3,
  kAlphaBitFields = 6,
};

[[noreturn]] void Refuse(const char* text) {
  throw AppError(text);
}

// Little-endian fields; reading past the end means the file was cut short.
class Bytes {
 public:
  explicit Bytes(std::string_view b) : b_(b) {}
  size_t Size() const { return b_.size(); }
  uint8_t U8(size_t at) const {
    Need(at, 1);
    return static_cast<uint8_t>(b_[at]);
  }
  uint16_t U16(size_t at) const {
    Need(at, 2);
    return static_cast<uint16_t>(Raw(at) | Raw(at + 1) << 8);
  }
  uint32_t U32(size_t at) const {
    Need(at, 4);
    return Raw(at) | Raw(at + 1) << 8 | Raw(at + 2) << 16 | Raw(at + 3) << 24;
  }
  int32_t I32(size_t at) const { return static_cast<int32_t>(U32(at)); }
  const uint8_t* At(size_t at) const { return reinterpret_cast<const uint8_t*>(b_.data()) + at; }
  void Need(size_t at, size_t count) const {
    if (at > b_.size() || count > b_.size() - at) Refuse(kBmpTruncated);
  }

 private:
  uint32_t Raw(size_t at) const { return static_cast<uint8_t>(b_[at]); }
  std::string_view b_;
};

// A colour channel taken from a pixel value by its mask and scaled to 0 ... 255.
class Channel {
 public:
  Channel() = default;
  explicit Channel(uint32_t mask) : mask_(mask) {
    if (mask == 0) return;
    shift_ = __builtin_ctz(mask);
    max_ = mask >> shift_;
  }
  uint8_t operator()(uint32_t pixel) const {
    if (max_ == 0) return 0;
    uint64_t v = (pixel & mask_) >> shift_;
    if (max_ == 255) return static_cast<uint8_t>(v);
    return static_cast<uint8_t>((v * 255 + max_ / 2) / max_);
  }

 private:
  uint32_t mask_ = 0;
  int shift_ = 0;
  uint64_t max_ = 0;
};

struct Header {
  int64_t width = 0;
  int64_t height = 0;  // rows; positive
  bool topDown = false;
  int bits = 0;
  uint32_t compression = kRgb;
  uint32_t colorsUsed = 0;
  size_t paletteStart = 0;
  size_t paletteEntrySize = 4;
  uint32_t masks[3] = {0, 0, 0};  // red, green, blue
  size_t pixelStart = 0;
};

Header ReadHeader(const Bytes& file) {
  file.Need(0, kFileHeaderSize + 4);
  if (file.U8(0) != 'B' || file.U8(1) != 'M') Refuse(kBmpBroken);
  Header h;
  h.pixelStart = file.U32(10);
  const uint32_t size = file.U32(14);
  const bool windows = size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
  if (size != 12 && !windows) Refuse(kBmpUnsupported);
  file.Need(kFileHeaderSize, size);
  int64_t height = 0;
  if (size == 12) {  // OS/2 1.x: 16-bit sizes, 3-byte palette entries, no compression
    h.width = file.U16(18);
    height = file.U16(20);
    h.bits = file.U16(24);
    h.paletteEntrySize = 3;
  } else {
    h.width = file.I32(18);
    height = file.I32(22);
    h.bits = file.U16(28);
    h.compression = file.U32(30);
    h.colorsUsed = file.U32(46);
  }
  h.paletteStart = kFileHeaderSize + size;
  if (h.compression == kBitFields || h.compression == kAlphaBitFields) {
    // After a 40-byte header the masks follow it; larger headers hold them.
    const size_t at = kFileHeaderSize + kInfoHeaderSize;
    for (int i = 0; i < 3; ++i) h.masks[i] = file.U32(at + 4 * static_cast<size_t>(i));
    if (size == kInfoHeaderSize) h.paletteStart += h.compression == kBitFields ? 12 : 16;
  }
  h.topDown = height < 0;
  h.height = height < 0 ? -height : height;  // 64 bits: -INT32_MIN fits
  return h;
}

void Validate(const Header& h) {
  if (h.width <= 0 || h.height == 0) Refuse(kBmpBroken);
  if (!IsSupportedPictureSize(h.width, h.height)) Refuse(kBmpTooLarge);
  switch (h.compression) {
    case kRgb:
      if (h.bits != 1 && h.bits != 4 && h.bits != 8 && h.bits != 16 && h.bits != 24 &&
          h.bits != 32) {
        Refuse(kBmpUnsupported);
      }
      break;
    case kRle8:
    case kRle4:
      if (h.bits != (h.compression == kRle8 ? 8 : 4)) Refuse(kBmpBroken);
      if (h.topDown) Refuse(kBmpBroken);  // compressed rows run bottom-up only
      break;
    case kBitFields:
    case kAlphaBitFields:
      if (h.bits != 16 && h.bits != 32) Refuse(kBmpBroken);
      break;
    default:  // JPEG or PNG inside, or unknown
      Refuse(kBmpUnsupported);
  }
  if (h.pixelStart < h.paletteStart) Refuse(kBmpBroken);
}

using Palette = std::array<Rgb, 256>;  // indices past the file's entries stay black

Palette ReadPalette(const Bytes& file, const Header& h) {
  Palette palette{};
  if (h.bits > 8) return palette;
  const size_t most = size_t{1} << h.bits;
  size_t count = h.colorsUsed ? std::min<size_t>(h.colorsUsed, most) : most;
  // Many writers store fewer entries than the bit depth allows; the pixels start after them.
  count = std::min(count, (h.pixelStart - h.paletteStart) / h.paletteEntrySize);
  if (count == 0) Refuse(kBmpBroken);
  file.Need(h.paletteStart, count * h.paletteEntrySize);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* e = file.At(h.paletteStart + i * h.paletteEntrySize);
    palette[i] = Rgb{e[2], e[1], e[0]};
  }
  return palette;
}

uint8_t* PixelAt(Picture& picture, int x, int y) {
  return picture.Row(y) + static_cast<size_t>(x) * kBpp;
}

void Put(uint8_t* p, Rgb c) {
  p[0] = c.b;
  p[1] = c.g;
  p[2] = c.r;
}

// ---- Uncompressed rows ----

class RowDecoder {
 public:
  RowDecoder(const Header& h, const Palette& palette) : h_(h), palette_(palette) {
    uint32_t red = h.masks[0], green = h.masks[1], blue = h.masks[2];
    if (h.compression == kRgb && h.bits == 16) red = 0x7C00, green = 0x03E0, blue = 0x001F;
    if (h.compression == kRgb && h.bits == 32) red = 0xFF0000, green = 0xFF00, blue = 0xFF;
    plainBgrx_ = h.bits == 32 && red == 0xFF0000 && green == 0xFF00 && blue == 0xFF;
    red_ = Channel(red);
    green_ = Channel(green);
    blue_ = Channel(blue);
  }

  void Decode(const uint8_t* in, uint8_t* out, int width) const {
    switch (h_.bits) {
      case 1:
      case 4:
      case 8:
        Indexed(in, out, width);
        break;
      case 16:
        for (int x = 0; x < width; ++x, in += 2, out += kBpp) Masked(in[0] | in[1] << 8, out);
        break;
      case 24:
        std::memcpy(out, in, static_cast<size_t>(width) * kBpp);
        break;
      case 32:
        for (int x = 0; x < width; ++x, in += 4, out += kBpp) {
          if (plainBgrx_) {
            out[0] = in[0], out[1] = in[1], out[2] = in[2];
          } else {
            Masked(uint32_t{in[0]} | uint32_t{in[1]} << 8 | uint32_t{in[2]} << 16 |
                       uint32_t{in[3]} << 24,
                   out);
          }
        }
        break;
    }
  }

 private:
  void Indexed(const uint8_t* in, uint8_t* out, int width) const {
    const int bits = h_.bits;
    const int perByte = 8 / bits;
    const unsigned mask = (1u << bits) - 1;
    for (int x = 0; x < width; ++x, out += kBpp) {
      const int shift = 8 - bits * (x % perByte + 1);  // leftmost pixel in the high bits
      Put(out, palette_[(in[x / perByte] >> shift) & mask]);
    }
  }
  void Masked(uint32_t pixel, uint8_t* out) const {
    out[0] = blue_(pixel);
    out[1] = green_(pixel);
    out[2] = red_(pixel);
  }

  const Header& h_;
  const Palette& palette_;
  Channel red_, green_, blue_;
  bool plainBgrx_ = false;
};

Picture DecodeRows(const Bytes& file, const Header& h, const Palette& palette) {
  const int64_t rowBytes = (h.width * h.bits + 31) / 32 * 4;
  // The last row's padding may be missing.
  const int64_t needed = rowBytes * (h.height - 1) + (h.width * h.bits + 7) / 8;
  file.Need(h.pixelStart, static_cast<size_t>(needed));
  Picture picture(static_cast<int>(h.width), static_cast<int>(h.height));
  RowDecoder decoder(h, palette);
  for (int64_t i = 0; i < h.height; ++i) {
    const int y = static_cast<int>(h.topDown ? i : h.height - 1 - i);
    decoder.Decode(file.At(h.pixelStart + static_cast<size_t>(i * rowBytes)), picture.Row(y),
                   picture.Width());
  }
  return picture;
}

// ---- Run-length rows (bottom-up) ----

// Without a picture it only walks the stream, so that a file cut short is refused before
// the picture's memory is taken.
class RleDecoder {
 public:
  RleDecoder(const Bytes& file, const Header& h, const Palette& palette, Picture* picture)
      : file_(file),
        at_(h.pixelStart),
        four_(h.compression == kRle4),
        width_(h.width),
        height_(h.height),
        palette_(palette),
        picture_(picture) {}

  void Run() {
    const int64_t height = height_;
    while (row_ < height) {
      if (at_ + 2 > file_.Size()) Refuse(kBmpTruncated);  // no end-of-picture mark
      const uint8_t count = file_.U8(at_), code = file_.U8(at_ + 1);
      at_ += 2;
      if (count > 0) {
        Repeat(count, code);
      } else if (code == 0) {  // end of line
        x_ = 0;
        ++row_;
      } else if (code == 1) {  // end of picture; the rest stays black
        return;
      } else if (code == 2) {  // move right and up
        x_ += file_.U8(at_);
        row_ += file_.U8(at_ + 1);
        at_ += 2;
      } else {
        Literal(code);
      }
    }
  }

 private:
  void Set(int64_t x, uint8_t index) {
    if (!picture_ || x >= width_ || row_ >= height_) return;  // clipped
    Put(PixelAt(*picture_, static_cast<int>(x), static_cast<int>(height_ - 1 - row_)),
        palette_[index]);
  }
  // count pixels: one index, or two alternating for RLE4.
  void Repeat(int count, uint8_t code) {
    const int64_t fit = picture_ ? std::min<int64_t>(count, std::max<int64_t>(width_ - x_, 0)) : 0;
    for (int64_t i = 0; i < fit; ++i) {
      Set(x_ + i, four_ ? static_cast<uint8_t>(i % 2 ? code & 0x0F : code >> 4) : code);
    }
    x_ += count;
  }
  // count indices stored as they are, padded to an even number of bytes.
  void Literal(int count) {
    const size_t bytes = four_ ? (static_cast<size_t>(count) + 1) / 2 : count;
    file_.Need(at_, bytes);
    const uint8_t* p = file_.At(at_);
    for (int i = 0; picture_ && i < count; ++i) {
      uint8_t index = four_ ? (i % 2 ? p[i / 2] & 0x0F : p[i / 2] >> 4) : p[i];
      Set(x_ + i, index);
    }
    x_ += count;
    at_ += (bytes + 1) & ~size_t{1};
  }

  const Bytes& file_;
  size_t at_;
  bool four_;
  int64_t width_;
  int64_t height_;
  const Palette& palette_;
  Picture* picture_;
  int64_t x_ = 0;    // may run past the width; such pixels are dropped
  int64_t row_ = 0;  // counted from the bottom
};

}  // namespace

Picture DecodeBmp(std::string_view bytes) {
  const Bytes file(bytes);
  const Header h = ReadHeader(file);
  Validate(h);
  const Palette palette = ReadPalette(file, h);
  if (h.pixelStart > file.Size()) Refuse(kBmpTruncated);
  if (h.compression == kRle8 || h.compression == kRle4) {
    RleDecoder(file, h, palette, nullptr).Run();
    Picture picture(static_cast<int>(h.width), static_cast<int>(h.height));
    RleDecoder(file, h, palette, &picture).Run();
    return picture;
  }
  return DecodeRows(file, h, palette);
}

std::string EncodeBmp(const Picture& picture) {
  if (picture.Empty()) throw AppError(kBmpWriteError);
  const size_t imageSize = picture.Stride() * static_cast<size_t>(picture.Height());
  const size_t offset = kFileHeaderSize + kInfoHeaderSize;
  std::string out(offset + imageSize, '\0');
  auto put16 = [&out](size_t at, uint32_t v) {
    out[at] = static_cast<char>(v & 0xFF);
    out[at + 1] = static_cast<char>(v >> 8 & 0xFF);
  };
  auto put32 = [&put16](size_t at, uint32_t v) {
    put16(at, v & 0xFFFF);
    put16(at + 2, v >> 16);
  };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, static_cast<uint32_t>(out.size()));
  put32(10, static_cast<uint32_t>(offset));
  put32(14, static_cast<uint32_t>(kInfoHeaderSize));
  put32(18, static_cast<uint32_t>(picture.Width()));
  put32(22, static_cast<uint32_t>(picture.Height()));  // positive: bottom-up
  put16(26, 1);                                        // planes
  put16(28, 24);                                       // bits per pixel
  put32(34, static_cast<uint32_t>(imageSize));
  // The picture's rows have the file's padding already; only their order differs.
  for (int y = 0; y < picture.Height(); ++y) {
    std::memcpy(&out[offset + static_cast<size_t>(picture.Height() - 1 - y) * picture.Stride()],
                picture.Row(y), picture.Stride());
  }
  return out;
}

}  // namespace tavisnap
