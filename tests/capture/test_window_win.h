// A borderless window of solid colour blocks at a known place, for checking pictures of
// the screen; and making the test process per-monitor DPI aware as the program is.
#pragma once

#include <windows.h>

#include "imaging/picture.h"

namespace tavisnap::testing {

// Per-monitor-v2 awareness, as the program's manifest asks for; loaded by name because
// older systems (and Wine versions) may lack it. Returns whether it was set.
bool MakeProcessDpiAware();

struct Block {
  RECT rect;  // in window coordinates
  Rgb colour;
};

class BlockWindow {
 public:
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 400;
  // A white area free of blocks, for the pointer.
  static constexpr RECT kWhiteArea{40, 240, 600, 380};

  BlockWindow(int x, int y);
  ~BlockWindow();
  BlockWindow(const BlockWindow&) = delete;
  BlockWindow& operator=(const BlockWindow&) = delete;

  HWND hwnd() const { return hwnd_; }
  // The blocks in the current palette (0 or 1: the second swaps the colours around).
  Block BlockAt(int index) const;
  static constexpr int kBlocks = 4;
  // Repaints in the palette and waits until the screen shows it; then brings the window
  // to the foreground. False when either does not happen in time.
  bool Show(int palette);
  void MoveTo(int x, int y);
  // The cursor the window shows (a standard one, IDC_...).
  void SetCursorShape(const wchar_t* id);
  POINT Origin() const;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void Paint(HDC dc) const;
  bool ScreenShowsBlocks() const;

  HWND hwnd_ = nullptr;
  int palette_ = 0;
};

}  // namespace tavisnap::testing
