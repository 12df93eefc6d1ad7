// A plain window of the test program that stands in front, as the user's own work
// would when a hotkey is pressed: it takes the keyboard focus and is what the window
// capture photographs.
#pragma once

#include <windows.h>

namespace tavisnap::testing {

class FrontWindow {
 public:
  FrontWindow(int x, int y, int width, int height);
  ~FrontWindow();
  FrontWindow(const FrontWindow&) = delete;
  FrontWindow& operator=(const FrontWindow&) = delete;

  HWND hwnd() const { return hwnd_; }
  // Brings it to the foreground and waits until it is there.
  bool Activate();
  SIZE Size() const;

 private:
  HWND hwnd_ = nullptr;
};

}  // namespace tavisnap::testing
