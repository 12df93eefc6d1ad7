#include "support/menu_picture_win.h"

#include <cstdint>
#include <cstdlib>
#include <map>

#include "support/driver_win.h"

namespace tavisnap::testing {
namespace {

struct Rgb {
  int r, g, b;
};

Rgb Unpack(uint32_t bgra) {
  return {static_cast<int>((bgra >> 16) & 0xFF), static_cast<int>((bgra >> 8) & 0xFF),
          static_cast<int>(bgra & 0xFF)};
}

int Distance(uint32_t a, uint32_t b) {
  Rgb x = Unpack(a), y = Unpack(b);
  return std::abs(x.r - y.r) + std::abs(x.g - y.g) + std::abs(x.b - y.b);
}

// Text drawn in the text colour has strokes near black; greyed text never gets below
// the grey it is drawn in.
bool IsDark(uint32_t bgra) {
  Rgb c = Unpack(bgra);
  return c.r < 80 && c.g < 80 && c.b < 80;
}

// The window's pixels as they are on the screen, top-down, 0x00RRGGBB.
std::vector<uint32_t> Grab(HWND window, int& width, int& height) {
  RECT r;
  GetWindowRect(window, &r);
  width = r.right - r.left;
  height = r.bottom - r.top;
  return ScreenPixels(r);
}

}  // namespace

std::vector<PictureTextLine> TextLinesOf(HWND window) {
  int w = 0, h = 0;
  std::vector<uint32_t> px = Grab(window, w, h);
  std::vector<PictureTextLine> lines;
  if (px.empty()) return lines;
  auto at = [&](int x, int y) { return px[static_cast<size_t>(y) * w + x]; };

  std::map<uint32_t, int> counts;
  for (uint32_t c : px) ++counts[c];
  uint32_t background = 0;
  int most = 0;
  for (auto [colour, n] : counts) {
    if (n > most) most = n, background = colour;
  }
  auto ink = [&](int x, int y) { return Distance(at(x, y), background) > 48; };

  // The frame: columns inked nearly all the way down.
  std::vector<bool> frame(static_cast<size_t>(w));
  for (int x = 0; x < w; ++x) {
    int inked = 0;
    for (int y = 0; y < h; ++y) inked += ink(x, y);
    frame[static_cast<size_t>(x)] = inked * 10 > h * 8;
  }
  constexpr int kMinTextHeight = 5;  // separators are one or two lines of pixels
  int start = -1;
  bool dark = false;
  for (int y = 0; y <= h; ++y) {
    bool inked = false, darkRow = false;
    for (int x = 0; y < h && x < w; ++x) {
      if (frame[static_cast<size_t>(x)] || !ink(x, y)) continue;
      inked = true;
      darkRow = darkRow || IsDark(at(x, y));
    }
    if (inked) {
      if (start < 0) start = y, dark = false;
      dark = dark || darkRow;
    } else if (start >= 0) {
      if (y - start >= kMinTextHeight) lines.push_back({start, y, dark});
      start = -1;
    }
  }
  return lines;
}

std::string Describe(const std::vector<PictureTextLine>& lines) {
  std::string out;
  for (const PictureTextLine& line : lines) {
    if (!out.empty()) out += ' ';
    out += line.dark ? "dark" : "grey";
  }
  return out;
}

}  // namespace tavisnap::testing
