// The hourglass of a long operation: the wait cursor, then the cursor from before it.
#pragma once

#include <windows.h>

#include "addressbook/csv_window.h"

namespace tavisnap {

class WaitCursor final : public Hourglass {
 public:
  void Show() override { previous_ = SetCursor(LoadCursorW(nullptr, IDC_WAIT)); }
  void Restore() override { SetCursor(previous_); }

 private:
  HCURSOR previous_ = nullptr;
};

}  // namespace tavisnap
