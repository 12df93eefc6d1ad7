#include "viewer/scroll_axis.h"

#include <algorithm>

namespace tavisnap {

void ScrollAxis::SetRange(int range) {
  range_ = std::max(range, 0);
  ScrollTo(position_);
}

void ScrollAxis::SetPage(int page) {
  page_ = std::max(page, 0);
  ScrollTo(position_);
}

void ScrollAxis::ScrollTo(int64_t position) {
  position_ = static_cast<int>(std::clamp<int64_t>(position, 0, MaxPosition()));
}

}  // namespace tavisnap
