// A layout audit of a shown window, as its picture would show it wrong: a caption or an
// informative text that does not fit its control at the control's own font, a control that
// reaches out of its parent's client area (a page out of its tab control's display area),
// two controls on top of each other.
#pragma once

#include <windows.h>

#include <string>

namespace tavisnap::testing {

struct LayoutAudit {
  bool ok = true;
  std::string report;  // UTF-8: one line per fault
};

// Walks the visible controls of `window` and of its child dialogs (pages).
LayoutAudit AuditLayout(HWND window);

}  // namespace tavisnap::testing
