#include "support/accessibility_win.h"

#include <oleacc.h>

#include <algorithm>

#include "win/text_win.h"

namespace tavisnap::testing {
namespace {

void EnsureCom() {
  thread_local bool initialised = false;
  if (!initialised) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // S_FALSE when it already was
    initialised = true;
  }
}

std::wstring ClassName(HWND hwnd) {
  wchar_t buf[256] = {};
  GetClassNameW(hwnd, buf, 256);
  return buf;
}

}  // namespace

std::vector<HWND> TabOrder(HWND dialog) {
  std::vector<HWND> order;
  HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
  for (HWND item = first; item && order.size() < 500;) {
    order.push_back(item);
    item = GetNextDlgTabItem(dialog, item, FALSE);
    if (item == first || std::find(order.begin(), order.end(), item) != order.end()) break;
  }
  return order;
}

AccessibleInfo DescribeAccessible(HWND control) {
  EnsureCom();
  AccessibleInfo info;
  info.hwnd = control;
  info.className = ClassName(control);
  IAccessible* acc = nullptr;
  // __uuidof: MinGW's IID_IAccessible symbol does not hold the interface's identifier.
  HRESULT hr = AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                          __uuidof(IAccessible), reinterpret_cast<void**>(&acc));
  if (FAILED(hr) || !acc) return info;
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  if (acc->get_accName(self, &name) == S_OK && name) {
    info.name.assign(name, SysStringLen(name));
    SysFreeString(name);
  }
  VARIANT role;
  VariantInit(&role);
  if (acc->get_accRole(self, &role) == S_OK && role.vt == VT_I4) {
    info.role = role.lVal;
    wchar_t text[128] = {};
    GetRoleTextW(static_cast<DWORD>(role.lVal), text, 128);
    info.roleText = text;
  }
  VariantClear(&role);
  acc->Release();
  return info;
}

AccessibilityAudit AuditTabOrder(HWND dialog, const std::vector<std::wstring>& expectedNames) {
  AccessibilityAudit audit;
  std::vector<HWND> order = TabOrder(dialog);
  std::string problems;
  for (size_t i = 0; i < order.size(); ++i) {
    AccessibleInfo info = DescribeAccessible(order[i]);
    audit.report += "  " + std::to_string(i) + ": [" + Narrow(info.className) + ", " +
                    Narrow(info.roleText) + "] \"" + Narrow(info.name) + "\"\n";
    if (info.name.empty()) {
      audit.ok = false;
      problems += "  control " + std::to_string(i) + " (" + Narrow(info.className) +
                  ") has no accessible name\n";
    }
    audit.controls.push_back(std::move(info));
  }
  for (size_t i = 0; i < std::max(expectedNames.size(), audit.controls.size()); ++i) {
    std::wstring want = i < expectedNames.size() ? expectedNames[i] : L"(nothing)";
    std::wstring got = i < audit.controls.size() ? audit.controls[i].name : L"(nothing)";
    if (want != got) {
      audit.ok = false;
      problems += "  tab stop " + std::to_string(i) + ": expected \"" + Narrow(want) +
                  "\", found \"" + Narrow(got) + "\"\n";
    }
  }
  audit.report = "tab order:\n" + audit.report + (problems.empty() ? "" : "problems:\n" + problems);
  return audit;
}

}  // namespace tavisnap::testing
