// Whether a capture shows nothing: one colour, or nearly. A screen reader's screen
// curtain, a window that protects its content and a locked screen all give captures
// that are black all over; a blind user cannot see that before sending.
#pragma once

#include "imaging/picture.h"

namespace tavisnap {

// A sample counts as the dominant colour when no channel differs by more than this.
// Flat colours drawn by a curtain or a protected window come out exact or with a few
// levels of noise; anything a person could read on screen differs by far more.
inline constexpr int kBlankTolerance = 24;
// Share of samples that must be the dominant colour. The arrow pointer drawn into a
// capture covers about 150 pixels, 0.05 % of even a 640 x 480 window, and a caret less;
// one line of text across a screen is over 0.5 %, a taskbar about 4 %.
inline constexpr double kBlankShare = 0.998;

struct BlankCheck {
  bool blank = false;
  double share = 0;  // of the samples within kBlankTolerance of the dominant colour
  Rgb dominant;
};

// Samples a lattice of at least 65536 points (every pixel of a smaller picture); an
// empty picture is not blank, there is nothing to warn about.
BlankCheck CheckBlankPicture(const Picture& picture);

}  // namespace tavisnap
