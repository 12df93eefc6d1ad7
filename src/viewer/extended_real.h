// Numbers of the 80-bit extended floating-point format (64-bit significand, rounding to
// nearest, ties to even), computed with integers. The zoom sizes are defined by that format's
// rounding; computing them this way gives the same sizes whatever precision the processor's
// floating-point unit has been set to (Windows starts x64 programs at 53 bits).
#pragma once

#include <cstdint>

namespace tavisnap {

class ExtendedReal {
 public:
  ExtendedReal() = default;  // zero
  static ExtendedReal FromInt(int64_t value);
  // 0.1 as the format holds it: 0xCCCCCCCCCCCCCCCD x 2^-67, slightly above a tenth.
  static ExtendedReal Tenth();

  // Each result is the exact one rounded once.
  friend ExtendedReal operator*(const ExtendedReal& a, const ExtendedReal& b);
  friend ExtendedReal operator+(const ExtendedReal& a, const ExtendedReal& b);

  // Toward zero. The value must be below 2^62 in magnitude.
  int64_t Truncate() const;

 private:
  // From an exact magnitude × 2^exponent.
  static ExtendedReal Round(bool negative, unsigned __int128 magnitude, int exponent);

  bool negative_ = false;
  uint64_t significand_ = 0;  // zero, or with its top bit set
  int exponent_ = 0;          // the value is significand_ x 2^exponent_
};

}  // namespace tavisnap
