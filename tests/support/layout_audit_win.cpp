#include "support/layout_audit_win.h"

#include <commctrl.h>

#include <optional>
#include <vector>

#include "support/driver_win.h"
#include "win/text_win.h"

namespace tavisnap::testing {
namespace {

bool Contains(const RECT& outer, const RECT& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

std::string Describe(HWND control) {
  return Narrow(ClassOf(control)) + " " + std::to_string(GetDlgCtrlID(control)) + " \"" +
         Narrow(TextOf(control)) + "\"";
}

std::string Size(LONG width, LONG height) {
  return std::to_string(width) + "x" + std::to_string(height);
}

// The text's extent at the control's own font, as DrawText lays it out.
SIZE TextExtent(HWND control, const std::wstring& text, UINT format, int wrapWidth = 0) {
  HDC dc = GetDC(control);
  auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
  RECT r{0, 0, wrapWidth, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return {r.right - r.left, r.bottom - r.top};
}

// The room the control's text needs, for the controls whose text is a caption or an
// informative text; nullopt for the others (user input, lists).
std::optional<SIZE> TextNeeds(HWND control, int clientWidth) {
  std::wstring text = TextOf(control);
  if (text.empty()) return std::nullopt;
  std::wstring cls = ClassOf(control);
  LONG style = GetWindowLongW(control, GWL_STYLE);
  if (_wcsicmp(cls.c_str(), L"Static") == 0) {
    UINT prefix = (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
    switch (style & SS_TYPEMASK) {
      case SS_LEFT:
      case SS_CENTER:
      case SS_RIGHT:
        return TextExtent(control, text, DT_WORDBREAK | prefix, clientWidth);
      case SS_LEFTNOWORDWRAP:
      case SS_SIMPLE:
        return TextExtent(control, text, DT_SINGLELINE | prefix);
      default:
        return std::nullopt;
    }
  }
  if (_wcsicmp(cls.c_str(), L"Button") == 0) {
    SIZE t = TextExtent(control, text, DT_SINGLELINE);
    switch (style & BS_TYPEMASK) {
      case BS_PUSHBUTTON:
      case BS_DEFPUSHBUTTON:
        return SIZE{t.cx + 8, t.cy + 4};  // the button's edge and focus rectangle
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON:
      case BS_3STATE:
      case BS_AUTO3STATE:
        return SIZE{t.cx + GetSystemMetrics(SM_CXMENUCHECK) + 4, t.cy};
      case BS_GROUPBOX:
        return SIZE{t.cx + 16, t.cy};  // the caption sits in the frame's top line
      default:
        return std::nullopt;
    }
  }
  if (_wcsicmp(cls.c_str(), L"Edit") == 0 && (style & ES_READONLY) && !(style & ES_MULTILINE)) {
    auto margins = static_cast<DWORD>(SendMessageW(control, EM_GETMARGINS, 0, 0));
    SIZE t = TextExtent(control, text, DT_SINGLELINE | DT_NOPREFIX);
    return SIZE{t.cx + LOWORD(margins) + HIWORD(margins), t.cy};
  }
  return std::nullopt;
}

// Controls that hold or frame others and so may lie under them.
bool IsContainer(HWND control) {
  std::wstring cls = ClassOf(control);
  if (cls == L"#32770" || cls == WC_TABCONTROLW) return true;
  return _wcsicmp(cls.c_str(), L"Button") == 0 &&
         (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

void AuditChildren(HWND parent, LayoutAudit& audit) {
  auto fault = [&audit](const std::string& line) {
    audit.ok = false;
    audit.report += line + "\n";
  };
  std::vector<HWND> shown;
  for (HWND child : Children(parent)) {
    if (GetParent(child) == parent && IsWindowVisible(child)) shown.push_back(child);
  }
  RECT client;
  GetClientRect(parent, &client);
  HWND tab = nullptr;
  for (HWND child : shown) {
    if (ClassOf(child) == WC_TABCONTROLW) tab = child;
  }
  for (HWND child : shown) {
    RECT r = RectIn(child, parent);
    if (!Contains(client, r)) {
      fault(Describe(child) + ": reaches out of its parent's client area");
    }
    if (ClassOf(child) == L"#32770") {
      if (tab) {
        RECT area = RectIn(tab, parent);
        SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
        if (!Contains(area, r)) fault(Describe(child) + ": page out of the tab's display area");
      }
      AuditChildren(child, audit);
      continue;
    }
    RECT inner;
    GetClientRect(child, &inner);
    if (auto needs = TextNeeds(child, inner.right)) {
      if (needs->cx > inner.right || needs->cy > inner.bottom) {
        fault(Describe(child) + ": its text needs " + Size(needs->cx, needs->cy) + ", it has " +
              Size(inner.right, inner.bottom));
      }
    }
  }
  for (size_t i = 0; i < shown.size(); ++i) {
    if (IsContainer(shown[i])) continue;
    for (size_t j = i + 1; j < shown.size(); ++j) {
      if (IsContainer(shown[j])) continue;
      RECT a = RectIn(shown[i], parent), b = RectIn(shown[j], parent), both;
      if (IntersectRect(&both, &a, &b)) {
        fault(Describe(shown[i]) + " and " + Describe(shown[j]) + ": on top of each other");
      }
    }
  }
}

}  // namespace

LayoutAudit AuditLayout(HWND window) {
  LayoutAudit audit;
  AuditChildren(window, audit);
  return audit;
}

}  // namespace tavisnap::testing
