// The viewer's mouse figures drawn into a picture's memory: lines, rectangles and ellipses
// with a round pen, either inverting what lies under the pen (the rubber band) or in a
// colour, and the plus-shaped freehand dots.
//
// Coordinates are picture pixels and may lie anywhere in the 32-bit range (a captured
// mouse reports positions far outside the picture); everything is clipped to the picture.
#pragma once

#include <cstdint>

#include "imaging/picture.h"

namespace tavisnap {

struct PixelPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// A part of a picture, right and bottom exclusive; empty when right <= left or
// bottom <= top.
struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

enum class Shape { Line, Rectangle, Ellipse };

enum class PenMode {
  Invert,  // every pixel under the pen becomes 255 - value in each channel, once
  Copy,    // every pixel under the pen takes the pen's colour
};

inline constexpr int kPenWidth = 5;

// The outline of the shape from `from` to `to` with a round pen of penWidth pixels, centred
// on the figure's path. A rectangle and an ellipse take the rectangle spanned by the two
// points, without its right column and bottom row, whichever way round the points are; the
// ellipse is the one inscribed in it. A line of length 0 and a rectangle or ellipse that is
// empty in either direction draw nothing. Every covered pixel is changed exactly once, so
// drawing the same figure twice with PenMode::Invert restores the picture.
// Returns the part of the picture that changed (empty when none did).
PixelRect DrawShape(Picture& picture, Shape shape, PixelPoint from, PixelPoint to, int penWidth,
                    PenMode mode, Rgb colour);

// The five pixels at and beside `at` (left, right, above, below), those inside the picture.
PixelRect DrawPlusDot(Picture& picture, PixelPoint at, Rgb colour);

}  // namespace tavisnap
