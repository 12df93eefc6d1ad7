// What the viewer's logic does to its window, so that the logic runs without one in tests.
// The window reads the picture on show and the scroll bars from FormViewerLogic.
#pragma once

#include <cstdint>

#include "imaging/picture.h"
#include "viewer/drawing.h"
#include "viewer/scroll_axis.h"

namespace tavisnap {

// The check marks of "図形(&D)": ShapeLine, ShapeRect, ShapeEllipse, ShapeFree; None is
// "図形モード解除(&M)" (no entry marked, no drawing).
enum class DrawMode { None, Line, Rectangle, Ellipse, Free };

// The entries of "描画色(&C)".
enum class DrawColour { Black, White, Red, Blue, Yellow };

// The colour packed as 0x00BBGGRR (red in the low byte).
constexpr uint32_t PackedColour(DrawColour colour) {
  switch (colour) {
    case DrawColour::White:
      return 0xFFFFFF;
    case DrawColour::Red:
      return 0x0000FF;
    case DrawColour::Blue:
      return 0xFF0000;
    case DrawColour::Yellow:
      return 0x00FFFF;
    case DrawColour::Black:
      break;
  }
  return 0x000000;
}

constexpr Rgb UnpackColour(uint32_t packed) {
  return Rgb{static_cast<uint8_t>(packed & 0xFF), static_cast<uint8_t>(packed >> 8 & 0xFF),
             static_cast<uint8_t>(packed >> 16 & 0xFF)};
}

class ViewerView {
 public:
  virtual ~ViewerView() = default;

  // Image1's picture changed within `area` (picture pixels). After a change of size the
  // area is the whole new picture; an empty picture gives an empty area.
  virtual void PictureChanged(const PixelRect& area) = 0;
  // The scroll bars' ranges, pages or positions changed.
  virtual void SetScrollBars(const ScrollAxis& horizontal, const ScrollAxis& vertical) = 0;
  virtual void EnableReDraw(bool enabled) = 0;  // "元に戻す(&R)"
  virtual void EnableSend(bool enabled) = 0;    // "タビスナップで送る(&S)"
  virtual void CheckDrawMode(DrawMode mode) = 0;
  virtual void CheckDrawColour(DrawColour colour) = 0;
  // The hourglass pointer during rotation and the colour operations.
  virtual void SetHourglass(bool on) = 0;
};

}  // namespace tavisnap
