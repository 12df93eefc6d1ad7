// Window geometry: every window states its client size and its controls' places in
// pixels at 96 dpi; these helpers scale them for the window's dpi. Templates hold only
// controls, styles, captions and tab order.
#pragma once

#include <windows.h>

#include <map>
#include <span>

namespace tavisnap {

// A font by face name and cell height in pixels at 96 dpi.
struct LayoutFont {
  const wchar_t* face = L"ＭＳ Ｐゴシック";
  int pixels = 12;  // 9 points
};

// One control's place in its window's client area, in pixels at 96 dpi. A width and
// height of 0 leave the control's size alone (a status bar sizes itself). fontPixels 0
// gives the control the layout's font.
struct Placement {
  int id;
  int x, y, width, height;
  int fontPixels = 0;
};

struct DialogLayout {
  // 0 x 0 for a page: its owner places and sizes it.
  int clientWidth = 0;
  int clientHeight = 0;
  LayoutFont font;
  std::span<const Placement> controls;
  bool centred = true;
};

inline int ScaleForDpi(int pixels, UINT dpi) {
  return MulDiv(pixels, static_cast<int>(dpi), 96);
}

// The fonts of one window at its current dpi; they live as long as the window uses them.
class LayoutFonts {
 public:
  LayoutFonts() = default;
  LayoutFonts(const LayoutFonts&) = delete;
  LayoutFonts& operator=(const LayoutFonts&) = delete;
  ~LayoutFonts() { Clear(); }

  // The font of that face and 96-dpi height at dpi; nullptr when none can be made.
  HFONT Get(const LayoutFont& wanted, UINT dpi);
  void Clear();

 private:
  struct Key {
    const wchar_t* face;
    int pixels;
    UINT dpi;
    auto operator<=>(const Key&) const = default;
  };
  std::map<Key, HFONT> fonts_;
};

// Sets every child's font to the layout's, then places and sizes the listed controls
// (with their own fonts where they have one).
void ApplyPlacements(HWND window, const DialogLayout& layout, UINT dpi, LayoutFonts& fonts);

// Gives the window a client area of width x height pixels (already scaled). Measured
// rather than computed, because a menu bar may wrap into a second line at a new width.
void SizeClientArea(HWND window, int width, int height);

// Centres the window on the work area of the monitor it is on (the primary one when it
// is on none).
void CentreOnWorkArea(HWND window);

}  // namespace tavisnap
