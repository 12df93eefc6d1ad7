// The viewer's whole-picture operations: quarter turns, the two-colour display and the
// inverted display. They work on the picture's memory row by row.
#pragma once

#include "imaging/picture.h"

namespace tavisnap {

enum class RotateDirection { Right, Left };  // clockwise, counter-clockwise

// A picture of the swapped size: for Right, pixel (x, y) goes to (H - 1 - y, x); for Left,
// to (y, W - 1 - x).
Picture Rotate(const Picture& picture, RotateDirection direction);

// Every pixel whose packed colour blue * 65536 + green * 256 + red is at most 0xA00000
// becomes yellow, every other pixel black.
void MakeTwoColour(Picture& picture);

// Every channel c becomes 255 - c.
void Invert(Picture& picture);

}  // namespace tavisnap
