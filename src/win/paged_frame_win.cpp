#include "win/paged_frame_win.h"

#include <commctrl.h>

namespace tavisnap {

void PagedFrame::SetPages(HWND tab, std::vector<PageDialog*> pages) {
  tab_ = tab;
  pages_ = std::move(pages);
}

void PagedFrame::Place(UINT dpi) const {
  if (!tab_) return;
  HWND frame = GetParent(tab_);
  RECT r;
  if (area_) {
    r.left = ScaleForDpi(area_->x, dpi);
    r.top = ScaleForDpi(area_->y, dpi);
    r.right = r.left + ScaleForDpi(area_->width, dpi);
    r.bottom = r.top + ScaleForDpi(area_->height, dpi);
  } else {
    GetWindowRect(tab_, &r);
    MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&r), 2);
    SendMessageW(tab_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  }
  // The last page first: each goes right after the tab control, so they end in page order.
  for (auto page = pages_.rbegin(); page != pages_.rend(); ++page) {
    SetWindowPos((*page)->hwnd(), tab_, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOACTIVATE);
    (*page)->ApplyLayout();
  }
}

void PagedFrame::Show(size_t index) const {
  Reveal(index);
  HideAllBut(index);
}

void PagedFrame::Reveal(size_t index) const {
  if (index >= pages_.size()) return;
  HWND page = pages_[index]->hwnd();
  EnableWindow(page, TRUE);
  ShowWindow(page, SW_SHOWNA);
}

void PagedFrame::HideAllBut(size_t index) const {
  for (size_t i = 0; i < pages_.size(); ++i) {
    if (i == index) continue;
    ShowWindow(pages_[i]->hwnd(), SW_HIDE);
    EnableWindow(pages_[i]->hwnd(), FALSE);
  }
}

}  // namespace tavisnap
