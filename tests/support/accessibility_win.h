// An accessibility audit through MSAA, as a screen reader meets a window: the controls
// the Tab key visits, in order, each with the name and role its accessible object gives.
// A control without a name is a failure: the reader would announce nothing useful.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tavisnap::testing {

struct AccessibleInfo {
  HWND hwnd = nullptr;
  std::wstring className;
  std::wstring name;      // empty when the object gives none
  long role = 0;          // ROLE_SYSTEM_*, 0 when unknown
  std::wstring roleText;  // the system's text for the role
};

// The controls the Tab key visits in a dialog (nested control parents included), from
// the first; visible, enabled tab stops only.
std::vector<HWND> TabOrder(HWND dialog);

// The accessible name and role of a control's client object.
AccessibleInfo DescribeAccessible(HWND control);

struct AccessibilityAudit {
  bool ok = true;
  std::vector<AccessibleInfo> controls;
  std::string report;  // UTF-8: each control in order, then what is wrong
};

// Walks the tab order of `dialog`. Fails on a control without a name, and when the
// names in order differ from `expectedNames`.
AccessibilityAudit AuditTabOrder(HWND dialog, const std::vector<std::wstring>& expectedNames);

// The role a screen reader must announce for a control of this kind (ROLE_SYSTEM_*), or
// 0 for a kind without a rule.
long ExpectedRole(HWND control);

// AuditTabOrder, and as a table: each tab stop with its role, which must be its kind's;
// every text shown that Tab cannot reach (a read-only edit out of the tab order, a
// static text that neither names the control after it nor describes the one before it)
// is a failure, since a screen reader user would never hear it. Empty `expectedNames`
// skip the order check.
AccessibilityAudit AuditWindow(HWND dialog, const std::vector<std::wstring>& expectedNames);

// Every entry of the menu and of its submenus has an access key, and within one level
// no key leads to two entries. The report lists the entries with their keys.
AccessibilityAudit AuditMenu(HMENU menu);

}  // namespace tavisnap::testing
