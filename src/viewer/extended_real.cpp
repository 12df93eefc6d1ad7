#include "viewer/extended_real.h"

namespace tavisnap {
namespace {

using U128 = unsigned __int128;

int BitLength(U128 v) {
  uint64_t high = static_cast<uint64_t>(v >> 64);
  if (high) return 128 - __builtin_clzll(high);
  uint64_t low = static_cast<uint64_t>(v);
  return low ? 64 - __builtin_clzll(low) : 0;
}

}  // namespace

ExtendedReal ExtendedReal::Round(bool negative, U128 magnitude, int exponent) {
  ExtendedReal r;
  const int bits = BitLength(magnitude);
  if (bits == 0) return r;
  r.negative_ = negative;
  if (bits <= 64) {
    r.significand_ = static_cast<uint64_t>(magnitude) << (64 - bits);
    r.exponent_ = exponent - (64 - bits);
    return r;
  }
  int shift = bits - 64;
  U128 kept = magnitude >> shift;
  const U128 rest = magnitude & ((U128{1} << shift) - 1);
  const U128 half = U128{1} << (shift - 1);
  if (rest > half || (rest == half && (kept & 1))) ++kept;
  if (kept >> 64) {  // rounded up to 2^64
    kept >>= 1;
    ++shift;
  }
  r.significand_ = static_cast<uint64_t>(kept);
  r.exponent_ = exponent + shift;
  return r;
}

ExtendedReal ExtendedReal::FromInt(int64_t value) {
  const uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : value;
  return Round(value < 0, magnitude, 0);
}

ExtendedReal ExtendedReal::Tenth() {
  ExtendedReal r;
  r.significand_ = 0xCCCCCCCCCCCCCCCDull;
  r.exponent_ = -67;
  return r;
}

ExtendedReal operator*(const ExtendedReal& a, const ExtendedReal& b) {
  return ExtendedReal::Round(a.negative_ != b.negative_, U128{a.significand_} * b.significand_,
                             a.exponent_ + b.exponent_);
}

ExtendedReal operator+(const ExtendedReal& a, const ExtendedReal& b) {
  if (b.significand_ == 0) return a;
  if (a.significand_ == 0) return b;
  const ExtendedReal& big = a.exponent_ >= b.exponent_ ? a : b;
  const ExtendedReal& small = a.exponent_ >= b.exponent_ ? b : a;
  const int gap = big.exponent_ - small.exponent_;
  U128 x, y;
  int exponent;
  if (gap <= 63) {  // exact in 128 bits
    x = U128{big.significand_} << gap;
    y = small.significand_;
    exponent = small.exponent_;
  } else {
    // 63 guard bits below big's significand; what falls off small's end is kept as a sticky
    // bit, which decides ties correctly.
    x = U128{big.significand_} << 63;
    exponent = big.exponent_ - 63;
    const int drop = gap - 63;
    y = drop >= 64 ? 1
                   : (small.significand_ >> drop) |
                         ((small.significand_ & ((uint64_t{1} << drop) - 1)) != 0);
  }
  if (big.negative_ == small.negative_) return ExtendedReal::Round(big.negative_, x + y, exponent);
  if (x >= y) return ExtendedReal::Round(big.negative_, x - y, exponent);
  return ExtendedReal::Round(small.negative_, y - x, exponent);
}

int64_t ExtendedReal::Truncate() const {
  uint64_t magnitude;
  if (exponent_ >= 0) {
    magnitude = significand_ << exponent_;
  } else if (exponent_ <= -64) {
    magnitude = 0;
  } else {
    magnitude = significand_ >> -exponent_;
  }
  return negative_ ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
}

}  // namespace tavisnap
