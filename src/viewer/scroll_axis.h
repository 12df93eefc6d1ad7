// One of the viewer window's scroll bars: the range is the side of the picture on show, the
// page the side of the client area; the position stays within 0 ... range - page.
#pragma once

#include <cstdint>

namespace tavisnap {

class ScrollAxis {
 public:
  int Range() const { return range_; }
  int Page() const { return page_; }
  int Position() const { return position_; }
  int MaxPosition() const { return range_ > page_ ? range_ - page_ : 0; }
  // The bar is needed only when the picture does not fit.
  bool Needed() const { return range_ > page_; }

  void SetRange(int range);
  void SetPage(int page);
  // Clamped to 0 ... MaxPosition().
  void ScrollTo(int64_t position);
  void ScrollBy(int64_t delta) { ScrollTo(int64_t{position_} + delta); }

 private:
  int range_ = 0;
  int page_ = 0;
  int position_ = 0;
};

}  // namespace tavisnap
