// The pages of a paged window (PageDialog children of the frame) laid over its tab
// control, one shown and enabled at a time. The frame keeps the pages and the tab
// control's items; this places and shows them the one way every paged window does.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "win/layout_win.h"
#include "win/window_win.h"

namespace tavisnap {

class PagedFrame {
 public:
  // The pages lie on the tab control's display area.
  PagedFrame() = default;
  // The pages lie on `area` of the frame's client area, in pixels at 96 dpi (its id is
  // unused): below a tab control that shows only its strip.
  explicit PagedFrame(const Placement& area) : area_(area) {}

  // The tab control and the pages in page order, once they exist; until then Place and
  // Show do nothing.
  void SetPages(HWND tab, std::vector<PageDialog*> pages);

  // Each page on its area, right after the tab control in Z order, which is the tab
  // order, then laid out at dpi.
  void Place(UINT dpi) const;

  // The page at index shown and enabled, then the others hidden and disabled, so that
  // the focus can move into the shown page before its old place disappears.
  void Show(size_t index) const;
  void Reveal(size_t index) const;
  void HideAllBut(size_t index) const;

 private:
  HWND tab_ = nullptr;
  std::vector<PageDialog*> pages_;
  std::optional<Placement> area_;
};

}  // namespace tavisnap
