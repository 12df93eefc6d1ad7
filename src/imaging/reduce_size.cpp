#include "imaging/reduce_size.h"

#include <limits>

namespace tavisnap {
namespace {

// The figures are defined in x87 extended precision; another format gives other pixels.
using Extended = long double;
static_assert(std::numeric_limits<Extended>::digits == 64, "80-bit extended precision needed");

int Truncate(Extended value) {
  return static_cast<int>(value);
}  // toward zero

int Percent(int part, int whole) {
  return Truncate(static_cast<Extended>(part) / static_cast<Extended>(whole) * 100);
}

}  // namespace

int ReduceSize(int panelWidth, int panelHeight, int pictureWidth, int pictureHeight) {
  bool wider = pictureWidth > panelWidth;
  bool higher = pictureHeight > panelHeight;
  if (!wider && !higher) return 100;
  if (wider && !higher) return Percent(panelWidth, pictureWidth);
  if (!wider && higher) return Percent(panelHeight, pictureHeight);
  if (pictureHeight - panelHeight < pictureWidth - panelWidth) {
    return Percent(panelWidth, pictureWidth);
  }
  return Percent(panelHeight, pictureHeight);
}

PreviewPlacement FitPreview(int panelWidth, int panelHeight, int pictureWidth, int pictureHeight) {
  // p x 0.01 first, with 0.01 as an extended value: the product is a little off a whole
  // hundredth, which is what makes 1280 at 40 % give 511.
  Extended scale = ReduceSize(panelWidth, panelHeight, pictureWidth, pictureHeight) * 0.01L;
  PreviewPlacement p;
  p.width = Truncate(pictureWidth * scale);
  p.height = Truncate(pictureHeight * scale);
  p.left = Truncate(Extended(panelWidth) / 2 - Extended(p.width) / 2);
  p.top = Truncate(Extended(panelHeight) / 2 - Extended(p.height) / 2);
  return p;
}

}  // namespace tavisnap
